// Print-file reports of the wave stages: write_breaking_statistics (averages of
// the undiffracted breaking statistics), write_last_step_waves (final waves of
// the last time step) and stop_on_closure_depth (bad balance of the wave
// input, then the error stop). The stages only fill the state; these read it.

#include "output/wave_reports.h"

#include <algorithm>
#include <span>
#include <string_view>
#include <vector>

#include "model/error_stop.h"
#include "output/format.h"

namespace coastra {
namespace {

// Layouts. Design note: ten values a line, heights and angles with two
// decimals, transport rates (x 100) with four; the last step's lists take the
// layout of the other wave lists of the print file.
constexpr std::string_view BRK_VALUES = "(1X, 10F11.2)";
constexpr std::string_view BRK_RATES = "(1X, 10F11.4)";
constexpr std::string_view LAST_STEP_VALUES = "(1X, 10F11.2)";

}  // namespace

void write_breaking_statistics(const Settings& cfg, const InputState& in, const WaveState& wv,
                               const StepState& step, RunState& run) {
  const int nw = cfg.NX + 1;
  // The sums are weighted by the length of each step: divided by the hours run
  // (through the last step; at least one step), they are time averages.
  const double n = run.ELAPSED + static_cast<double>(step.DT);
  const bool metres = in.LENFAC >= 0.5F;
  std::vector<double> avg(static_cast<std::size_t>(nw));
  std::ostream& p = *run.PRT;
  p << "\n\n ********************\n"
    << " OUTPUT OF UNDIFFRACTED BREAKING WAVE STATISITCS\n"
    << " N.B. THESE VALUES ARE NOT SMOOTHED!\n";
  p << (metres ? " AVERAGE UNDIFFRACTED BREAKING WAVE HEIGHTS (M).\n"
               : " AVERAGE UNDIFFRACTED BREAKING WAVE HEIGHTS (FT).\n");
  for (int i = 1; i <= nw; ++i) avg[static_cast<std::size_t>(i - 1)] = wv.SUMHB(i) / n;
  fwrite(p, BRK_VALUES, std::span<const double>(avg));
  p << '\n' << " AVERAGE UNDIFFRACTED BREAKING WAVE ANGLE TO SHORELINE (DEG)\n";
  const double deg = 180.0 / static_cast<double>(PI);
  for (int i = 1; i <= nw; ++i) avg[static_cast<std::size_t>(i - 1)] = wv.SUMANG(i) * deg / n;
  fwrite(p, BRK_VALUES, std::span<const double>(avg));
  p << '\n';
  double qfac = 100.0;
  if (metres) {
    p << " AVERAGE LONGSHORE TRANSPORT RATE BASED ON UNDIFFRACTED WAVES *100 (M3/SEC)\n";
  } else {
    p << " AVERAGE LONGSHORE TRANSPORT RATE BASED ON UNDIFFRACTED WAVES *100 (YARDS3/SEC)\n";
    const double yd = static_cast<double>(in.YDFAC);
    qfac = 100.0 / (yd * yd * yd);
  }
  for (int i = 1; i <= nw; ++i) avg[static_cast<std::size_t>(i - 1)] = wv.SUMQ(i) * qfac / n;
  fwrite(p, BRK_RATES, std::span<const double>(avg));
  p << '\n';
}

void write_last_step_waves(const Settings& cfg, const InputState& in, const WaveState& wv,
                           RunState& run) {
  const int nw = cfg.NX + 1;
  // Once per run: the two lists are built in single precision as they print.
  std::vector<float> h(static_cast<std::size_t>(nw));
  std::vector<float> d(static_cast<std::size_t>(nw));
  for (int i = 1; i <= nw; ++i) {
    h[static_cast<std::size_t>(i - 1)] = wv.HBD(i) / in.LENFAC;
    d[static_cast<std::size_t>(i - 1)] = wv.THETABD(i) * 180.0F / PI;
  }
  std::ostream& p = *run.PRT;
  p << " LAST TIME STEP. DIFFRACTED WAVES ALONGSHORE\n";
  fwrite(p, LAST_STEP_VALUES, std::span<const float>(h));
  fwrite(p, LAST_STEP_VALUES, std::span<const float>(d));
}

void stop_on_closure_depth(const Settings& cfg, const WaveState& wv, RunState& run, int cell) {
  const int nx = cfg.NX;
  std::ostream& p = *run.PRT;
  lwrite(p, "ERROR. BAD BALANCE IN WAVE INPUT PARAMETERS");
  lwrite(p, "CAUSING DLTZ TO BE ZERO OR NEGATIVE.");
  lwrite(p, "PLEASE CHECK YOUR WAVE INPUT PARAMETERS.");
  lwrite(p, "CURRENT TIME STEP:", run.ISTEP);
  lwrite(p, "CURRENT INDEX:", cell);
  lwrite(p, "HRF:", wv.HRF.span(1, nx));
  lwrite(p, "TRF:", wv.TRF.span(1, nx));
  lwrite(p, "ZRFPRTOUT:", wv.ZRF.span(1, nx));
  error_stop("ERROR. DLTZ is negative. Please check input wave parameters.");
}

void stop_on_kd_failure(RunState& run) {
  std::ostream& p = *run.PRT;
  lwrite(p, "ERROR IN \"KDGODA\".");
  lwrite(p, "KD CALCULATION DID NOT CONVERGE");
  stop_run(run, "ERROR IN \"KDGODA\". KD CALCULATION DID NOT CONVERGE");
}

}  // namespace coastra

// The stage-timing table: one line per stage of the time-step loop with the
// wall-clock seconds charged to it and its share of the whole loop, then the
// total. Written to the console after the loop, before the end-of-run reports.

#include "output/stage_report.h"

#include "output/format.h"

namespace coastra {

namespace {
// Labels padded to 12 columns so that they read left-aligned.
constexpr const char* STAGE_LABEL[NSTAGE] = {"WAVE INPUT  ", "BREAKING    ", "DIFFRACTION ",
                                             "TRANSPORT   ", "SOLVER      ", "BOOKKEEPING ",
                                             "OUTPUT      "};
constexpr std::string_view TIMES_HEADER = "(/, 1X, 'STAGE TIMES', 8X, 'SECONDS', 3X, 'SHARE')";
constexpr std::string_view TIMES_LINE = "(1X, A12, F14.3, F7.1, ' %')";
}  // namespace

void write_stage_times(RunState& run) {
  double total = 0.0;  // (s)
  for (double s : run.TIMES.SEC) total += s;
  std::ostream& c = *run.CON;
  fwrite(c, TIMES_HEADER);
  for (int k = 0; k < NSTAGE; ++k) {
    const double s = run.TIMES.SEC[static_cast<std::size_t>(k)];
    fwrite(c, TIMES_LINE, STAGE_LABEL[k], s, total > 0.0 ? 100.0 * s / total : 0.0);
  }
  fwrite(c, TIMES_LINE, "TOTAL       ", total, total > 0.0 ? 100.0 : 0.0);
}

}  // namespace coastra

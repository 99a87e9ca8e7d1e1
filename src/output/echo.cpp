// Start-up reports: the banner and the echo of the input in the print file,
// the title box on the console, and the initial shoreline.
// Routines: write_banner_and_echo, write_initial_shoreline.

#include "output/echo.h"

#include <algorithm>
#include <string>
#include <vector>

#include "output/format.h"
#include "output/reports.h"

namespace coastra {

namespace {

// Block letters of the program name, five rows high.
constexpr std::string_view BANNER[] = {
    "      ****   ***    ***    ****  *****  ****    ***  ",
    "     *      *   *  *   *  *        *    *   *  *   * ",
    "     *      *   *  *****   ***     *    ****   ***** ",
    "     *      *   *  *   *      *    *    *  *   *   * ",
    "      ****   ***   *   *  ****     *    *   *  *   * ",
};
constexpr std::string_view BOX_INDENT = "                      ";

// Layouts of the echo lines. The labels carry their own blanks.
constexpr std::string_view RUN_TITLE = "(1X, A4, 1X, A70)";
constexpr std::string_view GRID_UNIFORM = "(A, F7.1, A, F8.2, A, I3, A, I8, A, I7)";
constexpr std::string_view GRID_VARIABLE = "(A, F8.2, A, I3, A, I8, A, I7)";
constexpr std::string_view WAVES_AND_GRAIN = "(A, I3, A, I4, A, F8.3)";
constexpr std::string_view STATION_DEPTH = "(A, F6.1)";
constexpr std::string_view CELLS_10 = "(10I7)";
constexpr std::string_view DATES_10 = "(10I10)";

constexpr int TITLE_LENGTH = 64;  // the run title is a 64-character text

void write_int_list(std::ostream& os, std::string_view layout, const std::vector<int>& v) {
  if (!v.empty()) fwrite(os, layout, std::span<const int>(v));
}

// Values first..last of a per-wall or per-item array, divided by scale.
std::vector<double> values_of(const Vec1<float>& a, int first, int last, double scale = 1.0) {
  std::vector<double> v;
  for (int i = first; i <= last; ++i) v.push_back(static_cast<double>(a(i)) / scale);
  return v;
}

void write_banner(RunState& run) {
  std::ostream& p = *run.PRT;
  // 1. Print file: a new page, the block letters, the program box, the version.
  p << "\f\n";
  for (std::string_view row : BANNER) p << row << '\n';
  empty_line(p);
  p << BOX_INDENT << "+---------+\n";
  p << BOX_INDENT << "| Coastra |\n";
  p << BOX_INDENT << "+---------+\n";
  empty_line(p);
  lwrite(p, VERSION_LINE);
  for (int k = 0; k < 3; ++k) empty_line(p);
  // 2. Console: the title box.
  std::ostream& c = *run.CON;
  for (int k = 0; k < 3; ++k) empty_line(c);
  lwrite(c, "+-------------------------------------+");
  lwrite(c, "|               Coastra               |");
  lwrite(c, "+-------------------------------------+");
  lwrite(c, VERSION_LINE);
  for (int k = 0; k < 2; ++k) empty_line(c);
}

// Title and unit system (echo items 2 and 3).
void echo_title_and_units(const Settings& cfg, RunState& run) {
  std::ostream& p = *run.PRT;
  std::string title = cfg.TITLE;
  title.resize(TITLE_LENGTH, ' ');
  fwrite(p, RUN_TITLE, " RUN: ", title);
  if (cfg.UNITSYS != 2) {
    lwrite(p, "METRIC UNITS");
    return;
  }
  lwrite(p, "AMERICAN CUSTOMARY UNITS");
  if (cfg.WAVEFAC > 0.5F) lwrite(p, "Wave heights input and reported in meters");
  lwrite(p, "Median Grain Size (D50) input and reported in     millimeters");
}

// Groins, detached breakwaters and beach fills (echo items 4 and 5).
void echo_structures(const Settings& cfg, const InputState& in, RunState& run) {
  std::ostream& p = *run.PRT;
  const double len = static_cast<double>(in.LENFAC);
  const int nndg = std::min(cfg.NNDG, MXNDG);
  if (nndg > 0) {
    lwrite(p, "GROIN X-COORDINATES");
    std::vector<int> cells;
    for (int k = 1; k <= nndg; ++k) cells.push_back(cfg.IXNDG(k));
    write_int_list(p, CELLS_10, cells);
    lwrite(p, "DISTANCE TO GROIN TIPS FROM X-AXIS");
    write_list(p, VALUES_10, values_of(cfg.YNDG, 1, nndg, len));
    lwrite(p, "GROIN PERMEABILITIES");
    write_list(p, VALUES_10, values_of(cfg.PNDG, 1, nndg));
  }
  const int ndb = std::min(cfg.NDB, MXDB);
  if (ndb > 0) {
    // Tips in breakwater order from the tip list (distances in metres), passing
    // over its boundary entries (cell -1 on the left, 9998 on the right).
    std::vector<int> cells;
    std::vector<double> dist;
    for (int k = 1; k <= std::min(in.NTIP, 2 * MXDB + 2); ++k) {
      if (in.ITIP(k) == -1 || in.ITIP(k) == 9998) continue;
      cells.push_back(in.ITIP(k));
      dist.push_back(static_cast<double>(in.YTIP(k)) / len);
    }
    lwrite(p, "X-COORDINATES OF DETACHED BREAKWATER TIPS");
    write_int_list(p, CELLS_10, cells);
    lwrite(p, "DISTANCE TO BREAKWATER TIPS FROM X-AXIS");
    write_list(p, VALUES_10, dist);
    lwrite(p, "DETACHED BREAKWATER TRANSMISSION COEFFICIENTS");
    write_list(p, VALUES_10, values_of(cfg.TRANDB, 1, ndb));
  }
  const int nbf = std::min(cfg.NBF, MXBF);
  if (nbf > 0) {
    std::vector<int> starts, ends, first, last;
    for (int k = 1; k <= nbf; ++k) {
      starts.push_back(cfg.BFDATS(k));
      ends.push_back(cfg.BFDATE(k));
      first.push_back(cfg.IBFS(k));
      last.push_back(cfg.IBFE(k));
    }
    lwrite(p, "DATES OR TIME STEPS WHEN FILLS START");
    write_int_list(p, DATES_10, starts);
    lwrite(p, "DATES OR TIME STEPS WHEN FILLS END");
    write_int_list(p, DATES_10, ends);
    lwrite(p, "CELL INDEX WHERE FILLS START");
    write_int_list(p, CELLS_10, first);
    lwrite(p, "CELL INDEX WHERE FILLS END");
    write_int_list(p, CELLS_10, last);
  }
}

// Grid, time step, waves and grain size (echo items 6 and 7).
void echo_grid_and_waves(const Settings& cfg, const InputState& in, const WaveState& wv,
                         const StepState& step, RunState& run) {
  std::ostream& p = *run.PRT;
  const float len = in.LENFAC;
  if (in.VARDX) {
    fwrite(p, GRID_VARIABLE, " DX = VARIES    DT =", step.DT, "    ISSTART =", in.ISTART,
           "    NX =", cfg.NX, "    NTS =", in.NTS);
  } else {
    fwrite(p, GRID_UNIFORM, " DX =", cfg.DX(1) / len, "    DT =", step.DT, "    ISSTART =",
           in.ISTART, "    NX =", cfg.NX, "    NTS =", in.NTS);
  }
  fwrite(p, WAVES_AND_GRAIN, " NWAVES =", wv.NWAVES, "    NWFIL =", cfg.NUMWAVES, "    D50 =",
         cfg.D50);
  const int nst = std::clamp(cfg.NUMWAVES, 0, MXWAVEF);
  for (int k = 1; k <= nst; ++k) fwrite(p, STATION_DEPTH, " WMDEP  =", cfg.WMDEP(k) / len);
}

// Per-wall parameter lists (echo item 8). The arrays hold one value per wall
// 1..NX+1 and the transport uses every one of them, so all are echoed.
void echo_parameters(const Settings& cfg, const InputState& in, RunState& run) {
  std::ostream& p = *run.PRT;
  const int nwall = cfg.NX + 1;
  const double len = static_cast<double>(in.LENFAC);
  const auto list = [&](std::string_view label, const Vec1<float>& a, double scale) {
    lwrite(p, label);
    write_list(p, VALUES_10, values_of(a, 1, nwall, scale));
  };
  list("Wave Height Amplification Factor (HAMP or HCNGF) =", cfg.HAMP, 1.0);
  list("Wave Angle Amplification Factor (THETAAMP or ZCNGF) =", cfg.THETAAMP, 1.0);
  list("Wave Angle Incremental Adjustment Term (THETADEL or ZCNGA) =", cfg.THETADEL, 1.0);
  list("Longshore Sediment Transport Coefficient (K1) =", cfg.K1, 1.0);
  list("Longshore Sediment Transport Coefficient 2 (K2) =", cfg.K2, 1.0);
  list("Depth of Closure (DCLOS) =", cfg.DCLOS, len);
  list("Average Berm Height (ABH) =", cfg.BERMHT, len);
  // The regional wave-angle switch and its smoothing setting are read and
  // echoed so a user sees what was given; they change nothing in the run.
  lwrite(p, "WAVREGANG =", cfg.WAVREGANG, "IWAVREGSMOOTH =", cfg.IWAVREGSMOOTH);
}

}  // namespace

void write_banner_and_echo(const Settings& cfg, const InputState& in, const WaveState& wv,
                           const StepState& step, RunState& run) {
  write_banner(run);
  echo_title_and_units(cfg, run);
  echo_structures(cfg, in, run);
  echo_grid_and_waves(cfg, in, wv, step, run);
  echo_parameters(cfg, in, run);
}

void write_initial_shoreline(const Settings& cfg, const InputState& in, RunState& run) {
  lwrite(*run.PRT, "INITIAL SHORELINE POSITION ", length_label(in));
  write_list(*run.PRT, VALUES_10, baseline_positions(cfg, in, in.YINIT));
}

}  // namespace coastra

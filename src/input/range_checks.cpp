// The range checks of set-up: permeabilities, seawall and alongshore end
// cells, the breaker index, magnitudes that would overflow or underflow the
// single-precision transport, and the warnings on implausible grain sizes,
// transport coefficients and station depths. Defines check_value_ranges.
// The table of these ranges is kept in the README ("What Coastra refuses").

#include "input/range_checks.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <string_view>
#include <utility>

#include "model/error_stop.h"
#include "output/format.h"

namespace coastra {

namespace {

// Design note: magnitudes. A transport coefficient, amplification, berm
// height, closure depth or baseline origin beyond HUGE_VALUE takes the
// products of the transport (height squared, celerity, time factor) past the
// single-precision limit of about 3.4E38 within a few steps; a positive value
// below TINY_VALUE (subnormal, or nearly so) underflows them to 0 and a later
// division to infinity (a grain size of 1E-40 mm gives a profile parameter
// of 0 and an infinite slope coefficient). Neither can be meant: no coast has
// a coefficient of 1E10 or a grain of 1E-30 mm.
constexpr float HUGE_VALUE = 1.0E10F;
// Design note: a length that moves or places the shoreline (fill widths,
// boundary movement, structure and seawall lines) ends up in the shoreline
// and contour files, whose F14.2 fields print at most 11 digits before the
// point; far before that it means nothing: no coast is 1000 km wide. Such a
// value is refused naming its key rather than run into fields of asterisks.
constexpr float LENGTH_LIMIT = 1.0E6F;   // model length unit
constexpr float TINY_VALUE = 1.0E-30F;

// Implausible but possible: one warning line each.
constexpr float K1_PLAUSIBLE = 2.0F;        // transport coefficient (dimensionless)
constexpr float D50_PLAUSIBLE = 50.0F;      // median grain size (mm)
constexpr float STATION_DEEP = 500.0F;      // wave station depth (m)
constexpr float STATION_SHALLOW = 1.0F;     // wave station depth (m)

std::string entry_text(std::string_view key, std::string_view entry, int k) {
  std::string t(key);
  t += ' ';
  t += entry;
  t += ' ';
  edit_i(t, k, 0);
  return t;
}

[[noreturn]] void refuse(std::string_view key, std::string_view entry, int k,
                         std::string_view rule) {
  error_stop(entry_text(key, entry, k) + ": " + std::string(rule));
}

void warn(RunState& run, const std::string& text) {
  const std::string t = " WARNING. " + text + '\n';
  *run.CON << t;
  *run.PRT << t;
}

// 1. Groin permeabilities, 0 (tight) to 1 (open). The lists are sorted by
// wall; the entry named is the groin's line in the file.
void check_permeabilities(const Settings& c) {
  for (int k = 1; k <= std::min(c.NNDG, MXNDG); ++k) {
    if (!(c.PNDG(k) >= 0.0F && c.PNDG(k) <= 1.0F))
      refuse("PNDG", "entry", c.INDGORD(k), "permeability must lie in [0, 1]");
  }
  for (int k = 1; k <= std::min(c.NDG, MXDG); ++k) {
    if (!(c.PDG(k) >= 0.0F && c.PDG(k) <= 1.0F))
      refuse("PDG", "entry", c.IDGORD(k), "permeability must lie in [0, 1]");
  }
}

// Design note: a groin whose tip distance was never given would stand at the
// baseline, landward of the beach, and block nothing while the reports list
// it; it is refused naming the first groin line (in file order) without one.
void check_tip_distances(const Settings& c) {
  if (c.NOTIPNDG != 0) refuse("IXNDG", "entry", c.NOTIPNDG, "groin without its YNDG tip distance");
  if (c.NOTIPDG != 0) refuse("IXDG", "entry", c.NOTIPDG, "groin without its YDG tip distance");
}

// 2. Seawalls: both end cells in 1..NX, the first not after the last.
void check_seawalls(const Settings& c) {
  for (int s = 1; s <= std::min(c.NSW, MXSW); ++s) {
    if (c.ISWBEG(s) < 1 || c.ISWBEG(s) > c.NX)
      refuse("ISWBEG", "entry", s, "seawall cell " + std::to_string(c.ISWBEG(s)) + " outside 1..NX");
    if (c.ISWEND(s) < 1 || c.ISWEND(s) > c.NX)
      refuse("ISWEND", "entry", s, "seawall cell " + std::to_string(c.ISWEND(s)) + " outside 1..NX");
    if (c.ISWEND(s) < c.ISWBEG(s))
      refuse("ISWEND", "entry", s, "seawall ends before its first cell ISWBEG");
  }
}

// 3. End cells of the alongshore segments: each in 1..NX and after the one
// before it. A 0 ends the list (no further segment).
void check_segment_ends(const Settings& c, const Vec1<int>& ends, std::string_view key) {
  for (int j = 1; j <= ends.n() && ends(j) != 0; ++j) {
    const int e = ends(j);
    if (e < 1 || e > c.NX)
      refuse(key, "entry", j, "end cell " + std::to_string(e) + " outside 1..NX");
    if (j > 1 && e <= ends(j - 1))
      refuse(key, "entry", j, "end cell " + std::to_string(e) + " not after the entry before");
  }
}

// 4. Per-wall values: finite magnitude, and the coefficients not underflowing.
void check_wall_values(const Settings& c, const Vec1<float>& v, std::string_view key, bool tiny) {
  for (int i = 1; i <= c.NX + 1; ++i) {
    const float a = std::fabs(v(i));
    if (!(a <= HUGE_VALUE)) refuse(key, "at wall", i, "magnitude above 1E10");
    if (tiny && a > 0.0F && a < TINY_VALUE) refuse(key, "at wall", i, "positive value below 1E-30");
  }
}

// 5. Implausible values, one line for each key (the first wall or station).
void warn_implausible(const Settings& cfg, RunState& run) {
  for (int i = 1; i <= cfg.NX + 1; ++i) {
    if (cfg.K1(i) > K1_PLAUSIBLE) {
      warn(run, entry_text("K1", "AT WALL", i) + " ABOVE 2: IMPLAUSIBLE TRANSPORT COEFFICIENT");
      break;
    }
  }
  if (cfg.D50 > D50_PLAUSIBLE) warn(run, "D50 ABOVE 50 MM: IMPLAUSIBLE GRAIN SIZE");
  for (int k = 1; k <= std::min(cfg.NWAVEFILES, MXWAVEF); ++k) {
    const float d = cfg.WMDEP(k);
    if (d > STATION_DEEP || d < STATION_SHALLOW) {
      warn(run, entry_text("WAVEID", "LINE", k) +
                  (d > STATION_DEEP ? ": STATION DEEPER THAN 500 M" : ": STATION SHALLOWER THAN 1 M"));
    }
  }
}

// The cross-shore response: a switch, rates and the equilibrium slope that
// cannot be negative (a negative rate would grow the excursion without bound),
// and a reference energy that a beach has (the mean Hs^2 of its waves: a
// missing XSEREF reads 0 and is refused by this check).
void check_cross_shore(const Settings& c) {
  if (c.XSHORE != 0 && c.XSHORE != 1) error_stop("XSHORE must be 0 or 1");
  if (c.XSHORE == 0) return;
  for (const auto& [ends, key] :
       {std::pair{&c.IXSSEND, "IXSSEND"}, std::pair{&c.IXSKACCEND, "IXSKACCEND"},
        std::pair{&c.IXSKEROEND, "IXSKEROEND"}, std::pair{&c.IXSEREFEND, "IXSEREFEND"}})
    check_segment_ends(c, *ends, key);
  for (const auto& [v, key] : {std::pair{&c.XSS, "XSS"}, std::pair{&c.XSKACC, "XSKACC"},
                               std::pair{&c.XSKERO, "XSKERO"}, std::pair{&c.XSEREF, "XSEREF"}}) {
    check_wall_values(c, *v, key, false);
    for (int i = 1; i <= c.NX + 1; ++i)
      if ((*v)(i) < 0.0F) refuse(key, "at wall", i, "negative");
  }
  for (int i = 1; i <= c.NX + 1; ++i)
    if (!(c.XSEREF(i) > 0.0F)) refuse("XSEREF", "at wall", i, "must be positive with XSHORE 1");
}

}  // namespace

void check_value_ranges(const Settings& cfg, RunState& run) {
  // 1-3. Structures and segments.
  check_permeabilities(cfg);
  check_tip_distances(cfg);
  check_seawalls(cfg);
  for (const auto& [ends, key] :
       {std::pair{&cfg.IK1END, "IK1END"}, std::pair{&cfg.IK2END, "IK2END"},
        std::pair{&cfg.IHAMPEND, "IHAMPEND"}, std::pair{&cfg.ITHETAAMPEND, "ITHETAAMPEND"},
        std::pair{&cfg.ITHETADELEND, "ITHETADELEND"}, std::pair{&cfg.IBERMHTEND, "IBERMHTEND"},
        std::pair{&cfg.IDCLOSEND, "IDCLOSEND"}}) {
    check_segment_ends(cfg, *ends, key);
  }
  // 4. Breaker index: breaking height over depth, at most 2 on any beach.
  if (!(cfg.GAMMA > 0.0F && cfg.GAMMA <= 2.0F)) error_stop("GAMMA (breaker index) must lie in (0, 2]");
  // 5. Magnitudes the single-precision transport can carry.
  check_wall_values(cfg, cfg.K1, "K1", true);
  check_wall_values(cfg, cfg.K2, "K2", false);
  check_wall_values(cfg, cfg.HAMP, "HAMP", false);
  check_wall_values(cfg, cfg.THETAAMP, "THETAAMP", false);
  check_wall_values(cfg, cfg.BERMHT, "BERMHT", false);
  check_wall_values(cfg, cfg.DCLOS, "DCLOS", false);
  if (!(std::fabs(cfg.X0) <= HUGE_VALUE)) error_stop("X0 (baseline origin) magnitude above 1E10");
  if (cfg.D50 > 0.0F && cfg.D50 < TINY_VALUE) error_stop("D50 (grain size) positive value below 1E-30");
  // 6. Lengths that reach the data files.
  const auto length = [](float v, std::string_view key, std::string_view entry, int k) {
    if (!(std::fabs(v) <= LENGTH_LIMIT)) refuse(key, entry, k, "magnitude above 1E6");
  };
  for (int k = 1; k <= std::min(cfg.NBF, MXBF); ++k) length(cfg.YADD(k), "YADD", "of beach fill", k);
  for (int k = 1; k <= std::min(cfg.NNDG, MXNDG); ++k)
    length(cfg.YNDG(k), "YNDG", "entry", cfg.INDGORD(k));
  for (int k = 1; k <= std::min(cfg.NDG, MXDG); ++k) length(cfg.YDG(k), "YDG", "entry", cfg.IDGORD(k));
  for (int k = 1; k <= std::min(cfg.NDB, MXDB); ++k) {
    length(cfg.DBY1(k), "DBY1", "of breakwater", k);
    length(cfg.DBY2(k), "DBY2", "of breakwater", k);
  }
  for (int k = 1; k <= std::min(cfg.NSW, MXSW); ++k) {
    length(cfg.SWY1(k), "SWY1", "of seawall", k);
    length(cfg.SWY2(k), "SWY2", "of seawall", k);
  }
  if (!(std::fabs(cfg.LMOVY)
    <= LENGTH_LIMIT)) error_stop("LMOVY (left boundary movement) magnitude above 1E6");
  if (!(std::fabs(cfg.RMOVY)
    <= LENGTH_LIMIT)) error_stop("RMOVY (right boundary movement) magnitude above 1E6");
  check_cross_shore(cfg);
  // 7. Possible but implausible.
  warn_implausible(cfg, run);
}

}  // namespace coastra

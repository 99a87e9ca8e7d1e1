// The end-of-file steps of the configuration: the groin lists sorted by wall
// (file order kept beside them), the checks for the header and the required
// files, the diffracting-groin depth, the seven alongshore parameters expanded
// from segments to walls 1..NX+1, the print-file check, the warnings flag, the
// unit settings (UNITSYS, ENGLISH, VOLLABEL, WAVEFAC) and the date and step
// checks. Defines config_end_of_file.

#include "input/config_end.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <utility>

#include "input/clock.h"
#include "input/config_keys.h"
#include "input/config_lint.h"
#include "model/error_stop.h"
#include "output/format.h"

namespace coastra {

namespace {

// Selection sort of a groin list by wall: the smallest remaining wall (the
// first among equals) is swapped into place, its attributes with it; ord keeps
// each groin's position in file order.
template <class... A>
void sort_by_wall(int n, Vec1<int>& ix, Vec1<int>& ord, A&... attr) {
  for (int k = 1; k <= n; ++k) ord(k) = k;
  for (int i = 1; i < n; ++i) {
    int jmin = i;
    for (int j = i + 1; j <= n; ++j)
      if (ix(j) < ix(jmin)) jmin = j;
    if (jmin == i) continue;
    std::swap(ix(i), ix(jmin));
    std::swap(ord(i), ord(jmin));
    (std::swap(attr(i), attr(jmin)), ...);
  }
}

std::string range_text(std::string_view what, int lo, int hi) {
  std::string t(what);
  edit_i(t, lo, 0);
  if (hi > lo) {
    t += '-';
    edit_i(t, hi, 0);
  }
  return t;
}

// One alongshore parameter from its segment values and segment end cells to the
// walls 1..NX+1. Segment j runs from the wall after end cell j-1 to end cell j;
// an end cell equal to NX, or a 0 (no further end cell), runs the segment to
// the last wall. Walls beyond NX+1 (and beyond the capacity, when NX is too
// large, which set-up reports) are never filled, nor walls below 1 when end
// cells are out of order; a segment that reaches the last wall ends the
// expansion, as every later one would start beyond it.
// Design note: nvals is the number of values the key's line gave (0 when the
// key was not given: its walls keep the default 0 without a word). A segment
// beyond them takes a value nobody wrote, 0 (one value for one end cell short
// of NX leaves the coast after it without transport, or without waves); values
// beyond the last segment are never used. Either is most likely a slip, so
// each gets one warning naming the key and the walls or values concerned.
void expand_alongshore(const Settings& cfg, RunState& run, const Vec1<float>& seg,
                       const Vec1<int>& ends, Vec1<float>& wall, std::string_view name,
                       std::string_view endname, int nvals) {
  const int nx = cfg.NX;
  const int last = nx >= MXWALL ? MXWALL : nx + 1;
  int used = 1;                  // segments that received walls
  int zero_lo = 0, zero_hi = 0;  // walls given a value that was not written
  if (ends(1) == 0) {
    const std::string msg =
        "No " + std::string(endname) + " specified. " + std::string(name) +
        " is constant alongshore";
    lwrite(*run.CON, msg);
    lwrite(*run.PRT, msg);
    for (int i = 1; i <= last; ++i) wall(i) = seg(1);
  } else {
    int start = 1;
    for (int j = 1; j <= last; ++j) {
      const int e = ends(j);
      const bool to_end = e == nx || e == 0;
      const int stop = to_end ? last : std::min(e, last);
      for (int i = std::max(start, 1); i <= stop; ++i) wall(i) = seg(j);
      used = j;
      if (j > nvals && std::max(start, 1) <= stop) {
        if (zero_lo == 0) zero_lo = std::max(start, 1);
        zero_hi = stop;
      }
      if (to_end || e >= last) break;
      start = e + 1;
    }
  }
  if (nvals == 0) return;
  const std::string key(name), endkey(endname);
  if (zero_lo > 0)
    config_warning(run, key + " leaves " + range_text("walls ", zero_lo, zero_hi) +
                          " at 0: give one value more than " + endkey + " cells");
  if (nvals > used)
    config_warning(run, key + range_text(" values ", used + 1, nvals) + " dropped: " +
                          (ends(1) == 0 ? "no " + endkey + " given"
                                        : endkey + " ends the coast at segment " +
                                              std::to_string(used)));
}

// Left-adjusted, lower case, 6 characters: the form the unit texts are held in.
std::string unit_text(const std::string& s) {
  std::size_t i = 0;
  while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
  std::string t = s.substr(i);
  for (char& ch : t)
    if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
  t.resize(6, ' ');
  return t;
}

// 2 for feet "(ft)", 1 for metres "(m)", 0 for anything else.
int unit_kind(const std::string& t) {
  if (t[1] == 'f' && t[2] == 't') return 2;
  if (t[1] == 'm') return 1;
  return 0;
}

// Items given for a key (0: never given with a value).
int given(const ReadFacts& f, std::string_view key) {
  return f.given[static_cast<std::size_t>(find_key(key))];
}

// Design note: these keys have no default that could stand for them. Without
// a unit the coast would silently run in one; a transport coefficient, wave
// height or direction factor left at 0 moves nothing; a berm height or closure
// depth of 0 divides the transport by nothing. A run without one of them is
// refused naming it; an explicit 0 is honoured where the physics allows it
// (DCLOS must be positive, below).
constexpr std::pair<std::string_view, std::string_view> REQUIRED[] = {
    {"CSTUNITS", "model length unit"}, {"WAVUNITS", "wave height unit"},
    {"K1", "transport coefficient"},   {"HAMP", "wave height factor"},
    {"THETAAMP", "wave direction factor"}, {"BERMHT", "berm height"},
    {"DCLOS", "depth of closure"},
};

}  // namespace

bool config_end_of_file(Settings& cfg, RunState& run, const ReadFacts& facts) {
  Settings& c = cfg;
  const float lastddg = facts.lastddg;
  // Design note: the text settings are held at their full width, as the
  // reports lay them out: TITLE 64 characters, the unit texts 6 (left-adjusted
  // and lower case, below); a name (file or inlet) is held without trailing blanks.
  c.TITLE.resize(64, ' ');
  // 1. Groins in ascending wall order (only the stored entries: a count beyond
  // capacity is reported by set-up).
  sort_by_wall(std::min(c.NNDG, MXNDG), c.IXNDG, c.INDGORD, c.YNDG, c.PNDG);
  sort_by_wall(std::min(c.NDG, MXDG), c.IXDG, c.IDGORD, c.YDG, c.DDG, c.PDG);
  // 2.-4. Required items.
  if (!c.HEADER) error_stop("Configuration file not targeted for Coastra");
  if (c.INIFILE.empty()) error_stop("Initial Shoreline filename omitted in config file");
  if (c.NWAVEFILES == 0 || c.WAVEFILE[c.NWAVEFILES].empty())
    error_stop("WAVEINFILE filename omitted in config file");
  for (const auto& [key, meaning] : REQUIRED)
    if (given(facts, key) == 0)
      error_stop(std::string(key) + " (" + std::string(meaning) + ") omitted in config file");
  // 5. Diffraction needs the depth at the groin tips.
  if (c.NDG > 0 && lastddg == 0.0F) {
    lwrite(*run.CON,
           "Diffracting groin depth file DDG omitted or set to             zero in config file");
    return false;
  }
  // 6. Alongshore parameters per wall.
  const auto expand = [&](const Vec1<float>& seg, const Vec1<int>& ends, Vec1<float>& wall,
                          std::string_view name, std::string_view endname) {
    expand_alongshore(cfg, run, seg, ends, wall, name, endname, given(facts, name));
  };
  expand(c.K1SEG, c.IK1END, c.K1, "K1", "IK1END");
  expand(c.K2SEG, c.IK2END, c.K2, "K2", "IK2END");
  expand(c.HAMPSEG, c.IHAMPEND, c.HAMP, "HAMP", "IHAMPEND");
  expand(c.THETAAMPSEG, c.ITHETAAMPEND, c.THETAAMP, "THETAAMP", "ITHETAAMPEND");
  expand(c.THETADELSEG, c.ITHETADELEND, c.THETADEL, "THETADEL", "ITHETADELEND");
  expand(c.BERMHTSEG, c.IBERMHTEND, c.BERMHT, "BERMHT", "IBERMHTEND");
  expand(c.DCLOSSEG, c.IDCLOSEND, c.DCLOS, "DCLOS", "IDCLOSEND");
  // The cross-shore response's parameters only when it is on: a run without
  // it has neither their values nor their notes. Its reference energy has no
  // sound default (the mean Hs^2 of the coast's waves).
  if (c.XSHORE == 1) {
    if (given(facts, "XSEREF") == 0) error_stop("XSEREF (reference wave energy) is required with XSHORE 1");
    expand(c.XSSSEG, c.IXSSEND, c.XSS, "XSS", "IXSSEND");
    expand(c.XSKACCSEG, c.IXSKACCEND, c.XSKACC, "XSKACC", "IXSKACCEND");
    expand(c.XSKEROSEG, c.IXSKEROEND, c.XSKERO, "XSKERO", "IXSKEROEND");
    expand(c.XSEREFSEG, c.IXSEREFEND, c.XSEREF, "XSEREF", "IXSEREFEND");
  }
  // The active profile height BERMHT + DCLOS divides every shoreline change;
  // the closure depth must be a depth.
  for (int i = 1; i <= std::min(c.NX, MXWALL - 1) + 1; ++i) {
    if (!(c.DCLOS(i) > 0.0F))
      error_stop("DCLOS at wall " + std::to_string(i) + " must be > 0 (depth of closure)");
  }
  // Inlets: the reservoir model divides by every equilibrium volume, so an
  // inlet without one is refused (a 0 given is lifted to 0.00001 as it is read).
  for (const std::string_view key : {"VVSEQ", "VVSFQ", "VVSBQL", "VVSBQR", "VVSAQL", "VVSAQR"}) {
    const int lines = given(facts, key);
    if (c.INLETS && lines < std::min(c.NINL, MXINL))
      error_stop(std::string(key) + " of inlet " + std::to_string(lines + 1) +
                 " not given (equilibrium volume)");
  }
  // Dredging windows, as fills and bypass operations: both ends dates of the
  // calendar, or both step numbers (a start of 0 switches an event off).
  const bool step_run = c.SIMDATS == c.SIMDATE;
  for (int n = 1; n <= std::min(c.NDRED, MXDRED); ++n) {
    if (c.IDREDS(n) == 0) continue;
    const std::string event = " of dredging event " + std::to_string(n);
    const bool sdate = c.IDREDS(n) > DATE_THRESHOLD, edate = c.IDREDE(n) > DATE_THRESHOLD;
    if (sdate != edate) error_stop("IDREDS and IDREDE" + event + ": one a date, one a step");
    if (!sdate) continue;
    if (step_run) error_stop("IDREDS" + event + " is a date in a run of steps");
    if (!valid_date(c.IDREDS(n))) error_stop("IDREDS" + event + " is no date YYYYMMDD");
    if (!valid_date(c.IDREDE(n))) error_stop("IDREDE" + event + " is no date YYYYMMDD");
  }
  // 7. Print file.
  if (c.PRTOUT && c.PRFILE.empty()) error_stop("PRTFILE filename omitted in config file");
  // 8. Warnings flag.
  c.IPRWARN = c.PRWARN ? 1 : 0;
  // 9. Units of the model lengths and of the wave heights.
  c.CSTUNITS = unit_text(c.CSTUNITS);
  switch (unit_kind(c.CSTUNITS)) {
    case 2: c.UNITSYS = 2; c.ENGLISH = true; c.VOLLABEL = "CY"; break;
    case 1: c.UNITSYS = 1; c.ENGLISH = false; c.VOLLABEL = "M3"; break;
    default: error_stop("CSTUNITS must be (ft) or (m)");
  }
  c.WAVUNITS = unit_text(c.WAVUNITS);
  switch (unit_kind(c.WAVUNITS)) {
    case 2: c.WAVEFAC = 0.3048F; break;
    case 1: c.WAVEFAC = 1.0F; break;
    default: error_stop("WAVUNITS must be (ft) or (m)");
  }
  // 10. Dates and steps.
  // Design note: the dates have no sound default. A missing start date (0)
  // before a calendar end date would run from year 0, two thousand years of
  // steps; a missing end date would be refused as earlier than the start. Both
  // are named as missing, and a negative one (neither a date nor a count) as
  // such, before the order of the two is compared.
  if (given(facts, "SIMDATS") == 0) error_stop("SIMDATS (start date) omitted in config file");
  if (given(facts, "SIMDATE") == 0) error_stop("SIMDATE (end date) omitted in config file");
  if (c.SIMDATS < 0) error_stop("SIMDATS must not be negative");
  if (c.SIMDATE < 0) error_stop("SIMDATE must not be negative");
  // A calendar run's dates are eight digits (a run of steps gives the same
  // count twice): "2020010" would be year 202 and a run of 1800 years.
  if (c.SIMDATS != c.SIMDATE || c.SIMDATE >= DATE_THRESHOLD) {
    if (!facts.simdats8) error_stop("SIMDATS must be a date of eight digits YYYYMMDD");
    if (!facts.simdate8) error_stop("SIMDATE must be a date of eight digits YYYYMMDD");
  }
  if (c.SIMDATE < c.SIMDATS) error_stop("SIMDATE must be >= SIMDATS");
  if (c.DT <= 0.0F) error_stop("DT must be > 0.");
  if (c.DTSAVE <= 0.0F) error_stop("DTSAVE must be > 0.");
  return true;
}

}  // namespace coastra

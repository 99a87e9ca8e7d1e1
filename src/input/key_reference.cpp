// The reference of the configuration keys: one documentation entry per key
// of the table (default, unit, whether required, meaning), joined with what
// the table itself says (kind, list and role) into the text `coastra --keys`
// prints and docs/keys.md holds.
//   key_doc, write_key_reference

#include "input/key_reference.h"

#include <iterator>
#include <string>

#include "input/config_keys.h"

namespace coastra {

namespace {

// L: the model length unit (CSTUNITS), V: its volume unit.
constexpr std::string_view L = "L", V = "V";

constexpr KeyDoc DOCS[] = {
    {"TITLE", "blank", "-", false, "run title (64 characters), shown on the console and in the print file"},
    {"INIFILE", "-", "-", true, "initial shoreline file: four header lines, then NX positions"},
    {"REGFILE", "blank", "-", false, "regional contour file, same layout as INIFILE (used with IREG)"},
    {"WAVEID", "-", "-", true, "wave station: cell, depth of its waves (L), form (0 undated, N dated events), file"},
    {"WLFILE", "blank", "-", false, "water-level series: records announced, file"},
    {"TIDEFILE", "-", "-", false, "tidal-current station: wall, records announced, file"},
    {"PRFILE", "-", "-", true, "print file; the eight data files are named from it (run.out: run.slo ...)"},
    {"DXFILE", "blank", "-", false, "cell-spacing file, read when DX is -1"},
    {"CSTUNITS", "-", "-", true, "length unit of the model, (m) or (ft); volumes in m3 or yd3"},
    {"WAVUNITS", "-", "-", true, "unit of the wave heights in the wave files, (m) or (ft)"},
    {"BYPFILE", "blank", "-", false, "file of non-uniform bypass events (with QQDATS, QQDATE, IQQS, IQQE)"},
    {"INLNAME", "Inlet<k>", "-", false, "name of the current inlet, also of its .irv file (no path separator)"},
    {"NUMWAVES", "0", "-", false, "wave stations used; 0 or less: every WAVEID line"},
    {"KTIDE", "1.0", "-", false, "factor on the tidal currents"},
    {"X0", "0", L, false, "baseline origin, x of the map frame"},
    {"Y0", "0", L, false, "baseline origin, y of the map frame"},
    {"AZIMUTH", "0", "degrees", false, "baseline orientation, clockwise from north"},
    {"NX", "0", "cells", true, "number of shoreline cells, 1 to 4000"},
    {"DX", "0", L, true, "cell width (the first value); -1 reads the widths from DXFILE"},
    {"SIMDATS", "-", "YYYYMMDD", true, "start date (equal to SIMDATE: a number of time steps)"},
    {"SIMDATE", "-", "YYYYMMDD", true, "end date (equal to SIMDATS: a number of time steps)"},
    {"DT", "-", "hours", true, "time step, > 0"},
    {"DTSAVE", "-", "hours", true, "interval of the data-file records, a multiple of DT"},
    {"PRTOUT", "T", "-", false, "write the print file"},
    {"PRWARN", "T", "-", false, "write repeated warnings to the print file"},
    {"PRDATE", "-", "YYYYMMDD", false, "date or step number of an intermediate report, one line each"},
    {"DTADAPT", "0", "-", false, "1: adaptive time step"},
    {"DTMIN", "0.0001", "hours", false, "smallest adaptive time step (0: 0.0001)"},
    {"DTMAX", "DT", "hours", false, "largest adaptive time step (0: DT)"},
    {"NSTABDTMIN", "28", "days", false, "stable period before the time step grows again (0: 28)"},
    {"STABMIN", "0.5", "-", false, "stability parameter below which DT may grow"},
    {"STABMAX", "0.5", "-", false, "stability parameter above which DT is halved or a warning given"},
    {"K1", "-", "-", true, "transport coefficient of the longshore transport"},
    {"IK1END", "0", "cell", false, "last cell of each K1 segment"},
    {"K2", "0", "-", false, "second transport coefficient (alongshore gradient of the breaking height)"},
    {"IK2END", "0", "cell", false, "last cell of each K2 segment"},
    {"HAMP", "-", "-", true, "factor on the offshore wave height"},
    {"IHAMPEND", "0", "cell", false, "last cell of each HAMP segment"},
    {"THETAAMP", "-", "-", true, "factor on the offshore wave direction"},
    {"ITHETAAMPEND", "0", "cell", false, "last cell of each THETAAMP segment"},
    {"THETADEL", "0", "degrees", false, "added to the offshore wave direction"},
    {"ITHETADELEND", "0", "cell", false, "last cell of each THETADEL segment"},
    {"BERMHT", "-", L, true, "berm height"},
    {"IBERMHTEND", "0", "cell", false, "last cell of each BERMHT segment"},
    {"DCLOS", "-", L, true, "depth of closure, > 0"},
    {"IDCLOSEND", "0", "cell", false, "last cell of each DCLOS segment"},
    {"XSHORE", "0", "-", false, "1: the cross-shore equilibrium response moves every cell as well"},
    {"XSS", "0", "m/m2", false, "cross-shore response: shoreline per wave energy, Yeq = -XSS (Hs^2 - XSEREF)"},
    {"IXSSEND", "0", "cell", false, "last cell of each XSS segment"},
    {"XSKACC", "0", "1/(m day)", false, "cross-shore response: accretion rate per metre of wave height"},
    {"IXSKACCEND", "0", "cell", false, "last cell of each XSKACC segment"},
    {"XSKERO", "0", "1/(m day)", false, "cross-shore response: erosion rate per metre of wave height"},
    {"IXSKEROEND", "0", "cell", false, "last cell of each XSKERO segment"},
    {"XSEREF", "-", "m2", false, "cross-shore response: wave energy Hs^2 of Yeq = 0, > 0 (required with XSHORE 1)"},
    {"IXSEREFEND", "0", "cell", false, "last cell of each XSEREF segment"},
    {"ISMOOTH", "11", "cells", false, "smoothing window of the offshore contour (made odd)"},
    {"IREG", "0", "-", false, "regional contour: 0 none, 1 waves turned to it, 3 contour kept"},
    {"GAMMA", "0.78", "-", false, "breaker index, breaking height over depth, in (0, 2]"},
    {"WAVREGANG", "0", "-", false, "read and echoed; no effect"},
    {"IWAVREGSMOOTH", "0", "-", false, "read and echoed; no effect"},
    {"D50", "0", "mm", false, "median grain size"},
    {"LBCTYPE", "0", "-", false, "left boundary: 0 pinned, 1 or 2 groin, 3 moving shoreline"},
    {"LMOVY", "0", L, false, "left boundary: shoreline change per LMOVPER period"},
    {"LMOVPER", "0", "-", false, "period of LMOVY: 1 the run, 2 a day, 3 a time step"},
    {"LGROINY", "0", L, false, "left boundary groin: tip to shoreline outside the grid"},
    {"RBCTYPE", "0", "-", false, "right boundary, as LBCTYPE"},
    {"RMOVY", "0", L, false, "right boundary: shoreline change per RMOVPER period"},
    {"RMOVPER", "0", "-", false, "period of RMOVY, as LMOVPER"},
    {"RGROINY", "0", L, false, "right boundary groin: tip to shoreline outside the grid"},
    {"IXNDG", "-", "wall", false, "wall of a non-diffracting groin"},
    {"YNDG", "-", L, false, "tip distance of the groin from the baseline"},
    {"PNDG", "0", "-", false, "groin permeability, 0 to 1"},
    {"IXDG", "-", "wall", false, "wall of a diffracting groin"},
    {"YDG", "-", L, false, "tip distance of the groin from the baseline"},
    {"DDG", "-", L, false, "depth at the groin tip, > 0"},
    {"PDG", "0", "-", false, "groin permeability, 0 to 1"},
    {"DBI1", "-", "cell", false, "cell of the first tip of a detached breakwater"},
    {"DBY1", "-", L, false, "first tip distance from the baseline"},
    {"DBDEP1", "-", L, false, "depth at the first tip"},
    {"DBI2", "-", "cell", false, "cell of the second tip"},
    {"DBY2", "-", L, false, "second tip distance from the baseline"},
    {"DBDEP2", "-", L, false, "depth at the second tip"},
    {"TRANDB", "0", "-", false, "constant transmission coefficient, 0 to 1"},
    {"KTMETDB", "-", "-", false, "computed transmission: method 0, 1 or 2 (instead of TRANDB)"},
    {"HDB", "-", L, false, "crest height above the bed"},
    {"BDB", "-", L, false, "crest width"},
    {"SSDB", "-", "-", false, "seaward face slope, rise over run"},
    {"SHSDB", "-", "-", false, "shoreward face slope, rise over run"},
    {"D50DB", "-", L, false, "median stone diameter of the latest KTMETDB breakwater"},
    {"PDB", "-", "-", false, "permeability of the latest KTMETDB breakwater"},
    {"IDB1", "0", "-", false, "read and echoed; no effect"},
    {"IDBN", "0", "-", false, "read and echoed; no effect"},
    {"ISWBEG", "-", "cell", false, "first cell of a seawall"},
    {"ISWEND", "-", "cell", false, "last cell of the current seawall"},
    {"SWY1", "-", L, false, "seawall line at its first cell, from the baseline"},
    {"SWY2", "-", L, false, "seawall line at its last cell, from the baseline"},
    {"DTWL", "0", "hours", false, "read; the interval is taken from the water-level file"},
    {"BFDATS", "-", "YYYYMMDD", false, "start of a beach fill (date or step number)"},
    {"BFDATE", "-", "YYYYMMDD", false, "end of the fill, same form as BFDATS"},
    {"IBFS", "-", "cell", false, "first cell of the fill"},
    {"IBFE", "-", "cell", false, "last cell of the fill"},
    {"YADD", "-", L, false, "beach width the fill adds over its window"},
    {"QQDATS", "-", "YYYYMMDD", false, "start of the BYPFILE operation"},
    {"QQDATE", "-", "YYYYMMDD", false, "end of the BYPFILE operation"},
    {"IQQS", "-", "cell", false, "first placement cell of the BYPFILE operation"},
    {"IQQE", "-", "cell", false, "last placement cell of the BYPFILE operation"},
    {"BPDATS", "-", "YYYYMMDD", false, "start of a bypass operation (date or step number)"},
    {"BPDATE", "-", "YYYYMMDD", false, "end of the operation, same form as BPDATS"},
    {"IBPS", "-", "cell", false, "first placement cell of the operation"},
    {"IBPE", "-", "cell", false, "last placement cell of the operation"},
    {"QBP", "-", "V/hour", false, "bypass rate over the placement cells; negative removes"},
    {"IINLS", "-", "cell", false, "first cell of a tidal inlet"},
    {"IINLE", "-", "cell", false, "last cell of the inlet"},
    {"IBYPL1", "-", "cell", false, "first cell of the left attachment range"},
    {"IBYPL2", "-", "cell", false, "last cell of the left attachment range"},
    {"IBYPR1", "-", "cell", false, "first cell of the right attachment range"},
    {"IBYPR2", "-", "cell", false, "last cell of the right attachment range"},
    {"VVSE", "-", V, false, "ebb shoal volume at the start"},
    {"VVSF", "-", V, false, "flood shoal volume at the start"},
    {"VVSBL", "-", V, false, "left bypass bar volume at the start"},
    {"VVSBR", "-", V, false, "right bypass bar volume at the start"},
    {"VVSAL", "-", V, false, "left attachment bar volume at the start"},
    {"VVSAR", "-", V, false, "right attachment bar volume at the start"},
    {"VVSEQ", "-", V, false, "ebb shoal equilibrium volume, > 0 (required for an inlet)"},
    {"VVSFQ", "-", V, false, "flood shoal equilibrium volume, > 0 (required for an inlet)"},
    {"VVSBQL", "-", V, false, "left bypass bar equilibrium volume, > 0 (required for an inlet)"},
    {"VVSBQR", "-", V, false, "right bypass bar equilibrium volume, > 0 (required for an inlet)"},
    {"VVSAQL", "-", V, false, "left attachment bar equilibrium volume, > 0 (required for an inlet)"},
    {"VVSAQR", "-", V, false, "right attachment bar equilibrium volume, > 0 (required for an inlet)"},
    {"YINLL", "-", L, false, "left edge of the inlet from the baseline (0: the beach next to it)"},
    {"YINLR", "-", L, false, "right edge of the inlet from the baseline (0: the beach next to it)"},
    {"JBCL", "-", "-", false, "left jetty factor of the current inlet"},
    {"JBCR", "-", "-", false, "right jetty factor of the current inlet"},
    {"IMOR", "-", "-", false, "dredging event of the current inlet: reservoir 1-6"},
    {"IDREDS", "-", "YYYYMMDD", false, "first day of the dredging event (0: event off)"},
    {"IDREDE", "-", "YYYYMMDD", false, "last day of the dredging event"},
    {"DRDAY", "-", "days", false, "days the following DREDV volumes are spread over, > 0"},
    {"DREDV", "-", V, false, "volume dredged by the current event (negative: placed)"},
    {"IQMAPV1", "-", "cell", false, "first cell of a budget volume cell"},
    {"IQMAPV2", "-", "cell", false, "last cell of the budget volume cell"},
    {"IQMAPQ1", "-", "wall", false, "first wall of a budget flux arrow"},
    {"IQMAPQ2", "-", "wall", false, "last wall of the budget flux arrow"},
};

std::string kind_text(const KeySpec& k) {
  switch (k.kind) {
    case Kind::INT8: return "integer (8 columns)";
    case Kind::INT: return "integer";
    case Kind::REAL: return "real";
    case Kind::DOUBLE: return "real (double)";
    case Kind::LOGICAL: return "logical T/F";
    case Kind::REALS: return "reals";
    case Kind::INTS: return "integers";
    case Kind::SPECIAL: break;
  }
  if (k.key == "WAVEID") return "integer, real, integer, file";
  if (k.key == "WLFILE") return "integer, file";
  if (k.key == "TIDEFILE") return "integer, integer, file";
  if (k.key == "TITLE" || k.key == "CSTUNITS" || k.key == "WAVUNITS" || k.key == "INLNAME")
    return "text";
  return "file";
}

// The alongshore parameters and their end-cell lists.
constexpr std::string_view ALONGSHORE[][2] = {
    {"K1", "IK1END"},           {"K2", "IK2END"},         {"HAMP", "IHAMPEND"},
    {"THETAAMP", "ITHETAAMPEND"}, {"THETADEL", "ITHETADELEND"}, {"BERMHT", "IBERMHTEND"},
    {"DCLOS", "IDCLOSEND"},       {"XSS", "IXSSEND"},       {"XSKACC", "IXSKACCEND"},
    {"XSKERO", "IXSKEROEND"},     {"XSEREF", "IXSEREFEND"},
};

// How the values of a key spread: along the coast (alongshore lists), over
// the entries of a list (one line per entry), or a single setting.
std::string spread_text(const KeySpec& k) {
  for (const auto& a : ALONGSHORE) {
    if (k.key == a[0])
      return "one value per segment; segment j ends at the j-th " + std::string(a[1]) +
             " cell, the last at NX; without " + std::string(a[1]) + ": the first value on every wall";
    if (k.key == a[1]) return "end cell of each " + std::string(a[0]) + " segment, ascending";
  }
  const std::string opener(k.group == Group::NONE ? "" : group_spec(k.group).opener);
  switch (k.role) {
    case Role::OPENS: return "each line opens a new entry";
    case Role::SEQ: return "the k-th line belongs to the k-th " + opener + " entry";
    case Role::CUR: return "belongs to the latest " + opener + " entry";
    case Role::FIRST: return "entry 1 of the " + opener + " list";
    case Role::SCALAR: break;
  }
  if (k.key == "WAVEID" || k.key == "TIDEFILE") return "one line per station";
  if (k.key == "DX") return "the first value for every cell";
  return "one setting; the last line wins";
}

}  // namespace

const KeyDoc* key_doc(std::string_view key) {
  for (const KeyDoc& d : DOCS)
    if (d.key == key) return &d;
  return nullptr;
}

void write_key_reference(std::ostream& os) {
  os << "# Configuration keys\n\n"
     << "Generated by `coastra --keys`. Each line of a configuration is `KEY: value`,\n"
     << "the key from column 1. L is the model length unit (m or ft, `CSTUNITS`),\n"
     << "V its volume unit (m3 or yd3). A key that is not given takes its default;\n"
     << "a required key has none and the run is refused without it.\n\n"
     << "| key | kind | default | unit | required | values | meaning |\n"
     << "|---|---|---|---|---|---|---|\n";
  for (int i = 0; i < config_key_count(); ++i) {
    const KeySpec& k = config_key(i);
    const KeyDoc* d = key_doc(k.key);
    os << "| `" << k.key << "` | " << kind_text(k) << " | " << (d ? d->deflt : "?") << " | "
       << (d ? d->unit : "?") << " | " << (d && d->required ? "yes" : "no") << " | "
       << spread_text(k) << " | " << (d ? d->meaning : "?") << " |\n";
  }
}

}  // namespace coastra

// Set-up checks of the diffracting groins and detached breakwaters: tip
// depths, one-cell and reversed breakwaters, fixed transmission coefficients
// and the properties of computed transmission.
//   check_groin_depths, check_breakwater

#include "input/structure_checks.h"

#include <algorithm>
#include <string>
#include <utility>

#include "model/error_stop.h"

namespace coastra {

namespace {

// "KEY of detached breakwater k must be ..." (an error-stop message).
std::string breakwater_text(const char* key, int k, const char* rule) {
  return std::string(key) + " of detached breakwater " + std::to_string(k) + " " + rule;
}

}  // namespace

void check_groin_depths(const Settings& cfg) {
  // Design note: waves are carried to every diffracting tip by refraction to
  // the tip depth, which needs water there; a groin tip on dry ground or at no
  // depth is refused, named by the groin's number in the input.
  for (int k = 1; k <= std::min(cfg.NDG, MXDG); ++k) {
    if (!(cfg.DDG(k) > 0.0F))
      error_stop("DDG of diffracting groin " + std::to_string(cfg.IDGORD(k)) + " must be > 0");
  }
}

// One breakwater's tips and transmission properties, in metres.
// Design note: a tip at no depth leaves no water to carry waves to; two tips in
// one cell make a breakwater of no length; a fixed coefficient outside [0, 1]
// would create or invert wave energy. With computed transmission every
// breakwater needs its own KTMETDB line (a missing one would silently take
// method 0), and the properties its method divides by must be positive:
// method 1 BDB and D50DB, method 2 BDB, any other method HDB, D50DB and both
// slopes of the cross-section area (with a crest width BDB that is not negative,
// so the area stays positive). All are refused naming the key and the
// breakwater's number. Tips given right to left are put in order, each cell
// with its own distance and depth.
void check_breakwater(Settings& cfg, int k) {
  Settings& c = cfg;
  if (!(c.DBDEP1(k) > 0.0F)) error_stop(breakwater_text("DBDEP1", k, "must be > 0"));
  if (!(c.DBDEP2(k) > 0.0F)) error_stop(breakwater_text("DBDEP2", k, "must be > 0"));
  if (c.DBI1(k) == c.DBI2(k))
    error_stop("DBI1 and DBI2 of detached breakwater " + std::to_string(k) + " are one cell");
  if (c.DBI1(k) > c.DBI2(k)) {
    std::swap(c.DBI1(k), c.DBI2(k));
    std::swap(c.DBY1(k), c.DBY2(k));
    std::swap(c.DBDEP1(k), c.DBDEP2(k));
  }
  if (!(c.TRANDB(k) >= 0.0F && c.TRANDB(k) <= 1.0F))
    error_stop(breakwater_text("TRANDB", k, "must lie in [0, 1]"));
  if (c.TRANMODE != 1) return;
  if (k > c.NKTMET) error_stop("KTMETDB line missing for detached breakwater " + std::to_string(k));
  const int method = c.KTMETDB(k);
  const std::string rule = "must be > 0 for KTMETDB " + std::to_string(method);
  const auto positive = [&](const char* key, float v) {
    if (!(v > 0.0F)) error_stop(breakwater_text(key, k, rule.c_str()));
  };
  if (method == 1 || method == 2) {
    positive("BDB", c.BDB(k));
    if (method == 1) positive("D50DB", c.D50DB(k));
    return;
  }
  positive("HDB", c.HDB(k));
  positive("SSDB", c.SSDB(k));
  positive("SHSDB", c.SHSDB(k));
  positive("D50DB", c.D50DB(k));
  if (c.BDB(k) < 0.0F) error_stop(breakwater_text("BDB", k, "must not be negative"));
}

}  // namespace coastra

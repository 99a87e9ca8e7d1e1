// Input checking and model set-up: unit factors and the conversion of every
// length to metres and every volume to cubic metres, the run length, the grid,
// the groin, breakwater, boundary and beach-fill checks, and the structure
// lists (groins IXG/YG/PG, breakwater tips ITIP/YTIP/DTIP, diffracting
// structures IDIFF/YDIFF/DDIFF). Defines check_input_and_setup,
// setup_after_config and boundary_rate.

#include "input/setup.h"

#include <algorithm>
#include <string>
#include <initializer_list>
#include <vector>

#include "input/clock.h"
#include "input/config_reader.h"
#include "input/range_checks.h"
#include "input/structure_checks.h"
#include "model/error_stop.h"
#include "output/format.h"

namespace coastra {

namespace {

inline constexpr int LEFT_TIP = -1;       // breakwater tip list: left boundary entry
inline constexpr int RIGHT_TIP = 9998;    // breakwater tip list: right boundary entry
inline constexpr int RIGHT_DIFF = -2;     // diffracting-structure list: right boundary entry

// A set-up error: its lines go to the console, the error stop carries the first.
[[noreturn]] void setup_error(RunState& run, std::initializer_list<const char*> lines) {
  for (const char* line : lines) *run.CON << line << '\n';
  error_stop(*lines.begin());
}

void setup_warning(RunState& run, std::initializer_list<const char*> lines) {
  for (const char* line : lines) *run.CON << line << '\n';
}

// A capacity error: two lines and the capacity, then the error stop.
[[noreturn]] void limit_error(RunState& run, const char* line1, const char* line2, int limit) {
  *run.CON << line1 << '\n' << line2 << '\n';
  lwrite(*run.CON, "MAXIMUM NUMBER IS ", limit);
  error_stop(line1);
}

// 2. Unit factors: metres per model length unit and per yard.
void set_unit_factors(const Settings& cfg, InputState& in) {
  const bool feet = cfg.UNITSYS == 2;
  in.LENFAC = feet ? 0.3048F : 1.0F;
  in.YDFAC = feet ? 0.9144F : 1.0F;
}

// 3. Inlet reservoir volumes and dredged volumes from cubic yards to cubic metres.
void convert_volumes(Settings& cfg, const InputState& in) {
  Settings& c = cfg;
  const float vfac = in.YDFAC * in.YDFAC * in.YDFAC;
  if (c.INLETS) {
    for (int k = 1; k <= std::min(c.NINL, MXINL); ++k) {
      for (Vec1<float>* v : {&c.VVSE, &c.VVSF, &c.VVSBL, &c.VVSBR, &c.VVSAL, &c.VVSAR, &c.VVSEQ,
                             &c.VVSFQ, &c.VVSBQL, &c.VVSBQR, &c.VVSAQL, &c.VVSAQR}) {
        (*v)(k) *= vfac;
      }
    }
  }
  if (c.DREDGING) {
    for (int n = 1; n <= std::min(c.NDRED, MXDRED); ++n) c.DREDV(n) *= vfac;
  }
}

// 4. Steps per day and the defaults of the adaptive time step.
void set_adaptive_defaults(Settings& cfg, InputState& in) {
  Settings& c = cfg;
  in.NSPERDAY = 24.0F / c.DT;
  if (c.DTADAPT != 1) return;
  // Design note: the adaptive step only ever halves DT, and stops where half of
  // it would fall below DTMIN. A negative DTMIN would let it halve without end
  // (towards a step of no length); a DTMIN above DT is a contradiction. Both
  // are refused, naming the key; 0 takes the default below.
  if (c.DTMIN < 0.0 || c.DTMIN > static_cast<double>(c.DT))
    error_stop("DTMIN must lie between 0 and DT when DTADAPT = 1");
  if (c.DTMIN == 0.0) c.DTMIN = 0.0001;
  if (c.DTMAX == 0.0F) c.DTMAX = c.DT;
  if (c.NSTABDTMIN == 0.0F) c.NSTABDTMIN = 28.0F;
  c.NSTABDTMIN *= in.NSPERDAY;  // days to time steps
}

// 7. Profile lengths per wall and the depths of the wave stations to metres.
void convert_lengths(Settings& cfg, const InputState& in) {
  Settings& c = cfg;
  for (int i = 1; i <= MXWALL; ++i) {
    c.BERMHT(i) *= in.LENFAC;
    c.DCLOS(i) *= in.LENFAC;
  }
  for (int k = 1; k <= MXWAVEF; ++k) c.WMDEP(k) *= in.LENFAC;
}

// Design note: a wave station in water of no depth has no wave number to start
// breaking from, and a negative transport coefficient turns the one-line model
// into an anti-diffusion that blows the shoreline up within days. Neither can
// be meant, so both are refused here with the key named.
void check_physical_inputs(const Settings& cfg) {
  // Below 1 cm the wave number of the station overflows single precision.
  for (int k = 1; k <= std::min(cfg.NWAVEFILES, MXWAVEF); ++k) {
    if (!(cfg.WMDEP(k) >= 0.01F))
      error_stop("WAVEID line " + std::to_string(k) + ": wave station depth must be >= 0.01 m");
  }
  for (int i = 1; i <= cfg.NX + 1; ++i) {
    if (cfg.K1(i) < 0.0F) error_stop("K1 must not be negative (wall " + std::to_string(i) + ")");
    if (cfg.K2(i) < 0.0F) error_stop("K2 must not be negative (wall " + std::to_string(i) + ")");
  }
}

// 8. The grid: cell count, uniform spacing in metres, smoothing window.
void set_grid(Settings& cfg, RunState& run, InputState& in) {
  Settings& c = cfg;
  // The cell count is checked before the spacing is copied to every cell, so a
  // count beyond the capacity never writes past the spacing list.
  if (c.NX > MXCELL) {
    limit_error(run, " ERROR. TOO MANY SHORELINE CELLS.",
                " PLEASE CHANGE VALUE OF \"nx\" IN YOUR .cfg FILE.", MXCELL);
  }
  // Design note: a grid without cells cannot be simulated and would index
  // cell 0 everywhere; it is refused here rather than failing later.
  if (c.NX <= 0) error_stop("NX must be > 0");
  in.VARDX = c.DX(1) == -1.0F;
  if (!in.VARDX) {
    // Design note: a zero or negative uniform width would divide by zero in
    // every slope; it is refused.
    if (!(c.DX(1) > 0.0F)) error_stop("DX must be > 0");
    // Only the first value counts. DX(NX+1) gets it too: the last wall reads it.
    const float dx = c.DX(1) * in.LENFAC;
    for (int i = 1; i <= c.NX + 1; ++i) c.DX(i) = dx;
  }
  // Design note: a smoothing window wider than the coast is limited to the
  // largest odd window that fits (NX if odd, else NX - 1), with a warning.
  if (c.ISMOOTH > c.NX) {
    c.ISMOOTH = (c.NX % 2 == 1) ? c.NX : c.NX - 1;
    lwrite(*run.PRT, "WARNING. ISMOOTH REDUCED TO", c.ISMOOTH);
  }
  // The window is centred on its cell, so an even window of 3 or more loses one
  // cell; normalised here once, so no stage rewrites the setting during the run.
  if (c.ISMOOTH >= 3 && c.ISMOOTH % 2 == 0) c.ISMOOTH -= 1;
}

// 9-10. Groin counts and walls; tip distances and depths to metres.
void check_groins(Settings& cfg, RunState& run, const InputState& in) {
  Settings& c = cfg;
  if (c.NNDG > MXNDG) {
    limit_error(run, " ERROR. TOO MANY NON-DIFFRACTING GROINS. PLEASE",
                " CHANGE VALUE OF \"NNDG\" IN YOUR .cfg FILE.", MXNDG);
  }
  for (int k = 1; k <= c.NNDG; ++k) {
    if (c.IXNDG(k) < 1 || c.IXNDG(k) > c.NX + 1) {
      setup_error(run, {" ERROR. NON-DIFFRACTING GROIN OUTSIDE CALCULATION GRID.",
                        " PLEASE CHANGE IN YOUR .cfg FILE."});
    }
  }
  for (int k = 1; k <= c.NNDG; ++k) c.YNDG(k) *= in.LENFAC;

  if (c.NDG > MXDG) {
    limit_error(run, " ERROR. TOO MANY DIFFRACTING GROINS. PLEASE CHANGE",
                " VALUE OF \"NDG\" IN YOUR .cfg FILE.", MXDG);
  }
  for (int k = 1; k <= c.NDG; ++k) {
    if (c.IXDG(k) < 1 || c.IXDG(k) > c.NX + 1) {
      setup_error(run, {" ERROR. DIFFRACTING GROIN OUTSIDE CALCULATION",
                        " GRID. PLEASE CHANGE IN YOUR .cfg FILE."});
    }
  }
  for (int k = 1; k <= c.NDG; ++k) {
    c.YDG(k) *= in.LENFAC;
    c.DDG(k) *= in.LENFAC;
  }
  check_groin_depths(cfg);
}

// 11. The merged groin list, ascending by wall; on equal walls the diffracting
// groin first. Groins next to a boundary or closer than two walls are refused.
void build_groin_list(const Settings& cfg, RunState& run, InputState& in) {
  int i = 1, j = 1, n = 0;
  while (i <= cfg.NNDG || j <= cfg.NDG) {
    const bool take_dg = j <= cfg.NDG && (i > cfg.NNDG || cfg.IXDG(j) <= cfg.IXNDG(i));
    ++n;
    if (take_dg) {
      in.IXG(n) = cfg.IXDG(j);
      in.YG(n) = cfg.YDG(j);
      in.PG(n) = cfg.PDG(j);
      in.IGKIND(n) = 2;
      ++j;
    } else {
      in.IXG(n) = cfg.IXNDG(i);
      in.YG(n) = cfg.YNDG(i);
      in.PG(n) = cfg.PNDG(i);
      in.IGKIND(n) = 1;
      ++i;
    }
  }
  in.NGRO = n;
  if (n == 0) return;
  // A groin one wall inside a boundary would leave a boundary cell with no
  // transport gradient of its own.
  if (in.IXG(1) == 2 || in.IXG(n) == cfg.NX) {
    setup_error(run, {" ERROR. GROIN NEXT TO GRID BOUNDARY. ",
                      " MOVE GROIN OR GRID ONE STEP IN EITHER DIRECTION."});
  }
  for (int k = 1; k < n; ++k) {
    if (in.IXG(k + 1) - in.IXG(k) < 2) {
      setup_error(run, {" ERROR. GROINS MUST BE SEPARATED BY AT LEAST",
                        " TWO CALCULATION CELLS. PLEASE CHANGE."});
    }
  }
}

// 12. Breakwater count and the tip list, two entries per breakwater in
// breakwater order, tip distances and depths in metres.
void build_tip_list(Settings& cfg, RunState& run, InputState& in) {
  Settings& c = cfg;
  if (c.NDB > MXDB) {
    limit_error(run, " ERROR. TOO MANY DETACHED BREAKWATERS. PLEASE",
                " CHANGE VALUE OF \"NDB\" IN YOUR .cfg FILE.", MXDB);
  }
  in.NTIP = 0;
  for (int k = 1; k <= c.NDB; ++k) {
    // The configuration values themselves are converted, so that every later
    // reader of the breakwater finds metres. Crest height, crest width and
    // armour size are lengths of the model unit too: the transmission formulas
    // compare them with depths and wave heights in metres.
    c.DBY1(k) *= in.LENFAC;
    c.DBDEP1(k) *= in.LENFAC;
    c.DBY2(k) *= in.LENFAC;
    c.DBDEP2(k) *= in.LENFAC;
    c.HDB(k) *= in.LENFAC;
    c.BDB(k) *= in.LENFAC;
    c.D50DB(k) *= in.LENFAC;
    check_breakwater(cfg, k);
    ++in.NTIP;
    in.ITIP(in.NTIP) = c.DBI1(k) + in.ISTART - 1;
    in.YTIP(in.NTIP) = c.DBY1(k);
    in.DTIP(in.NTIP) = c.DBDEP1(k);
    ++in.NTIP;
    in.ITIP(in.NTIP) = c.DBI2(k) + in.ISTART - 1;
    in.YTIP(in.NTIP) = c.DBY2(k);
    in.DTIP(in.NTIP) = c.DBDEP2(k);
  }
}

// A boundary entry of the tip list: the left one in front, the right one at the end.
void add_boundary_tip(InputState& in, bool left) {
  if (left) {
    for (int k = in.NTIP; k >= 1; --k) {
      in.ITIP(k + 1) = in.ITIP(k);
      in.YTIP(k + 1) = in.YTIP(k);
      in.DTIP(k + 1) = in.DTIP(k);
    }
  }
  ++in.NTIP;
  const int at = left ? 1 : in.NTIP;
  in.ITIP(at) = left ? LEFT_TIP : RIGHT_TIP;
  in.YTIP(at) = 0.0F;
  in.DTIP(at) = 0.0F;
}

// The texts of one side's boundary messages (the two sides differ in more than
// the side's name).
struct side_texts {
  const char* type2;          // invalid type, lines 2 and 3
  const char* type3;
  const char* pinned_groin;   // pinned beach with a groin, line 2
  const char* pinned_rate2;   // pinned beach with a rate, lines 2 and 4
  const char* pinned_rate4;
  const char* moving_groin;   // moving shoreline with a groin, line 2
  const char* period2;        // invalid movement period, lines 2 and 3
  const char* period3;
  const char* groiny1;        // zero groin-tip distance, lines 1 and 3
  const char* groiny3;
};

constexpr side_texts LEFT_TEXTS = {
    " LEFT-HAND MODEL BOUNDARY.  PLEASE CHANGE VALUEOF",
    " \"LBCTYPE\" IN YOUR .cfg FILE.",
    " GROIN ARE SPECIFIED ON THE LEFT-HAND MODEL BOUNDARY.",
    " ON LEFT-HAND MODEL BOUNDARY AND A RATE OF SHORELINE",
    " ON LEFT-HAND BOUNDARY REASSIGNED TO ZERO.",
    " A GROIN ARE SPECIFIED ON THE LEFT-HAND MODEL BOUNDARY.",
    " ON LEFT-HAND MODEL BOUNDARY.  PLEASE CHANGE VALUE OF",
    " \"LMOVPER\" IN YOUR .cfg FILE.",
    " WARNING. DISTANCE FROM GROIN TIP ON LEFT-HAND BOUNDARY",
    " VERIFY VALUE OF \"LGROINY\" IN YOUR .cfg FILE."};

constexpr side_texts RIGHT_TEXTS = {
    " RIGHT-HAND MODEL BOUNDARY.  PLEASE CHANGE VALUE OF",
    " \"RBCTYPE\" IN YOUR .cfg FILE.",
    " GROIN ARE SPECIFIED ON THE RIGHT-HAND MODEL BOUNDARY.",
    " ON RIGHT-HAND MODEL BOUNDARY AND A RATE OF SHORELINE",
    " ON RIGHT-HAND BOUNDARY REASSIGNED TO ZERO.",
    " A GROIN ARE SPECIFIED ON THE RIGHT-HAND MODEL  BOUNDARY.",
    " ON RIGHT-HAND MODEL BOUNDARY.  PLEASE CHANGE VALUE OF",
    " \"RMOVPER\" IN YOUR .cfg FILE.",
    " WARNING. DISTANCE FROM GROIN TIP ON RIGHT-HAND BOUNDARY",
    " VERIFY VALUE OF \"RGROINY\" IN YOUR .cfg FILE."};

// 13-14. One lateral boundary: type checks, its tip-list entry, the boundary
// displacement per step (m) and the movement flag.
void set_boundary(Settings& cfg, const WaveState& wv, RunState& run, InputState& in,
                  bool left) {
  Settings& c = cfg;
  const side_texts& t = left ? LEFT_TEXTS : RIGHT_TEXTS;
  const int bctype = left ? c.LBCTYPE : c.RBCTYPE;
  float& movy = left ? c.LMOVY : c.RMOVY;
  const int movper = left ? c.LMOVPER : c.RMOVPER;
  float& groiny = left ? c.LGROINY : c.RGROINY;
  double& dy = left ? in.DYL : in.DYR;
  const int wall = left ? 1 : c.NX + 1;
  const bool groin_here = in.NGRO > 0 && in.IXG(left ? 1 : in.NGRO) == wall;
  const bool dgroin_here = c.NDG > 0 && c.IXDG(left ? 1 : c.NDG) == wall;

  dy = 0.0;
  // Types run 0..3; a negative type would leave the boundary without a
  // condition, so it is refused with the same message as a type above 3.
  if (bctype < 0 || bctype > 3) {
    setup_error(run, {" ERROR. INVALID BOUNDARY CONDITION SPECIFICATION ON", t.type2, t.type3});
  }
  if (bctype == 0) {
    // Pinned beach: the boundary cell's shoreline holds still.
    if (groin_here) {
      setup_error(run, {" ERROR. BOTH \"PINNED-BEACH\" BOUNDARY CONDITION AND A", t.pinned_groin,
                        " NOT ALLOWED. PLEASE CHANGE YOUR .cfg FILE."});
    }
    add_boundary_tip(in, left);
    if (movy != 0.0F) {
      movy = 0.0F;
      setup_warning(run, {" WARNING. \"PINNED-BEACH\" BOUNDARY CONDITION SPECIFIED", t.pinned_rate2,
                          " CHANGE WAS ALSO SPECIFIED.  RATE OF SHORELINE CHANGE", t.pinned_rate4});
    }
  } else if (bctype == 3) {
    // Moving shoreline: a prescribed displacement per time step.
    if (groin_here) {
      setup_error(run, {" ERROR. BOTH \"MOVING-SHORELINE\" BOUNDARY CONDITION AND", t.moving_groin,
                        " NOT ALLOWED. PLEASE CHANGE YOUR .cfg FILE."});
    }
    add_boundary_tip(in, left);
    if (movper < 1 || movper > 3) {
      setup_error(run, {" ERROR. INVALID BOUNDARY MOVEMENT PERIOD SPECIFICATION", t.period2,
                        t.period3});
    }
    dy = boundary_rate(cfg, in, wv, movy, movper);
  } else {
    // Gated boundary: a groin on the boundary wall passes part of the transport.
    if (!left && in.NGRO == 0) {
      setup_error(run, {" ERROR. GATED BOUNDARY CONDITION SPECIFIED AT N+1,",
                        "BUT NO GROIN SPECIFIED AT N+1"});
    }
    if (groiny == 0.0F) {
      setup_warning(run, {t.groiny1, " TO SHORELINE OUTSIDE GRID SPECIFIED AS ZERO. PLEASE",
                          t.groiny3});
    }
    groiny *= in.LENFAC;
    // A diffracting groin on the boundary wall is itself the list's end entry.
    if (!dgroin_here) add_boundary_tip(in, left);
  }
  // The boundary moves by the rule of its type exactly when no groin stands on it.
  (left ? in.LMOVE : in.RMOVE) = !groin_here;
}

// 15. Breakwater tips against the boundaries and the grid.
void check_breakwater_ends(const Settings& cfg, const InputState& in, RunState& run) {
  const int right = cfg.NX + 1;
  const bool groin_left = in.NGRO > 0 && in.IXG(1) == 1;
  const bool groin_right = in.NGRO > 0 && in.IXG(in.NGRO) == right;
  const bool dg_left = cfg.NDG > 0 && cfg.IXDG(1) == 1;
  const bool dg_right = cfg.NDG > 0 && cfg.IXDG(cfg.NDG) == right;
  for (int k = 1; k <= cfg.NDB; ++k) {
    for (int tip = 1; tip <= 2; ++tip) {
      const int cell = (tip == 1 ? cfg.DBI1(k) : cfg.DBI2(k)) + in.ISTART - 1;
      const float y = tip == 1 ? cfg.DBY1(k) : cfg.DBY2(k);
      if (cell == 1 && !groin_left) {
        setup_error(run, {" ERROR. DETACHED BREAKWATER ENDING ON OPEN ",
                          " LEFT-HAND BOUNDARY NOT ALLOWED. ",
                          " PLEASE CHANGE IN YOUR .cfg FILE."});
      }
      if (cell == 1 && dg_left && cfg.YDG(1) != y) {
        setup_error(run, {" ERROR. DETACHED BREAKWATER AND DIFFRACTING  GROIN ON",
                          " LEFT-HAND BOUNDARY MUST BE CONNECTED.  PLEASE CHANGE",
                          " IN YOUR .cfg FILE."});
      }
      if (cell == right && !groin_right) {
        setup_error(run, {" ERROR. DETACHED BREAKWATER ENDING ON OPEN ",
                          " RIGHT-HAND BOUNDARY NOT ALLOWED. ",
                          " PLEASE CHANGE IN YOUR .cfg FILE."});
      }
      if (cell == right && dg_right && cfg.YDG(cfg.NDG) != y) {
        setup_error(run, {" ERROR. DETACHED BREAKWATER AND DIFFRACTING GROIN ON",
                          " RIGHT-HAND BOUNDARY MUST BE CONNECTED.  PLEASE CHANGE",
                          " IN YOUR .cfg FILE."});
      }
      if (cell < 1 || cell > right) {
        setup_error(run, {" ERROR. DETACHED BREAKWATER TIP OUTSIDE ",
                          " CALCULATION GRID. PLEASE CHANGE IN YOUR .cfg FILE."});
      }
    }
  }
}

struct diff_entry {
  int wall;
  float y, d;
  int rank;  // order on a shared wall: 0 groin, 1 tip ending a breakwater, 2 tip starting one
  int kind;  // KIND_END, KIND_GROIN or KIND_BREAKWATER
  int bw;    // breakwater number of a tip, else 0
};

// 16. The diffracting-structure list: diffracting groins (doubled unless on a
// boundary wall) merged by cell with the tip list, ending with the right
// boundary entry; then the connection and overlap checks. Each entry keeps its
// kind and, for a breakwater tip, its breakwater number.
// Design note: the merge orders the entries by cell whatever the order in which
// the breakwaters, or the two tips of one breakwater, were given; a list out of
// cell order would pair the wrong structures into diffraction segments. On a
// shared cell the groin comes first, then a tip that ends a breakwater, then a
// tip that starts one, so that two breakwaters sharing a cell are paired the
// same way whichever was given first.
void build_diffraction_list(const Settings& cfg, RunState& run, InputState& in,
                            StructureState& st) {
  const int right = cfg.NX + 1;
  std::vector<diff_entry> list;
  list.reserve(static_cast<std::size_t>(2 * cfg.NDG + in.NTIP));
  for (int k = 1; k <= cfg.NDG; ++k) {
    const diff_entry e{cfg.IXDG(k), cfg.YDG(k), cfg.DDG(k), 0, KIND_GROIN, 0};
    list.push_back(e);
    if (e.wall != 1 && e.wall != right) list.push_back(e);
  }
  // The tip list holds two tips per breakwater in breakwater order, between its
  // boundary entries; the j-th real tip belongs to breakwater (j + 1) / 2.
  int ntip = 0;
  for (int t = 1; t <= in.NTIP; ++t) {
    const int cell = in.ITIP(t);
    if (cell == LEFT_TIP || cell == RIGHT_TIP) {
      list.push_back({cell, in.YTIP(t), in.DTIP(t), 1, KIND_END, 0});
      continue;
    }
    ++ntip;
    const bool first_given = ntip % 2 == 1;
    const int k = (ntip + 1) / 2;
    // The tip at the lower cell starts the breakwater (the first given on a tie).
    const int here = first_given ? cfg.DBI1(k) : cfg.DBI2(k);
    const int other = first_given ? cfg.DBI2(k) : cfg.DBI1(k);
    const bool starts = here < other || (here == other && first_given);
    list.push_back({cell, in.YTIP(t), in.DTIP(t), starts ? 2 : 1, KIND_BREAKWATER, k});
  }
  std::stable_sort(list.begin(), list.end(), [](const diff_entry& a, const diff_entry& b) {
    return a.wall != b.wall ? a.wall < b.wall : a.rank < b.rank;
  });
  int n = 0;
  for (const diff_entry& e : list) {
    ++n;
    in.IDIFF(n) = e.wall;
    in.YDIFF(n) = e.y;
    in.DDIFF(n) = e.d;
    st.IDKIND(n) = e.kind;
    st.IDBW(n) = e.bw;
  }
  if (n == 0) {
    n = 2;
    in.IDIFF(1) = LEFT_TIP;
    in.YDIFF(1) = in.DDIFF(1) = 0.0F;
    st.IDKIND(1) = KIND_END;
    st.IDBW(1) = 0;
  }
  const bool dg_right = cfg.NDG > 0 && cfg.IXDG(cfg.NDG) == right;
  if (!dg_right) {
    in.IDIFF(n) = RIGHT_DIFF;
    in.YDIFF(n) = in.DDIFF(n) = 0.0F;
    st.IDKIND(n) = KIND_END;
    st.IDBW(n) = 0;
  }
  in.NDIFF = n;

  // A breakwater may meet a diffracting groin only at the groin's tip.
  const int shift = in.ISTART - 1;
  for (int k = 1; k <= cfg.NDB; ++k) {
    for (int j = 1; j <= cfg.NDG; ++j) {
      if ((cfg.IXDG(j) == cfg.DBI1(k) + shift && cfg.YDG(j) != cfg.DBY1(k)) ||
          (cfg.IXDG(j) == cfg.DBI2(k) + shift && cfg.YDG(j) != cfg.DBY2(k))) {
        setup_error(run, {" ERROR. DETACHED BREAKWATER CAN ONLY",
                          " CONNECT TO A GROIN AT THE GROIN TIP.", " PLEASE CONSULT YOUR MANUAL."});
      }
    }
  }
  // Design note: besides a diffracting groin between the tips of a breakwater,
  // a tip of another breakwater between them is refused as an overlap too: the
  // segment table pairs the list entries two by two and would pair tips of
  // different breakwaters. Breakwaters that share a tip cell do not overlap.
  for (int k = 1; k <= cfg.NDB; ++k) {
    const int lo = std::min(cfg.DBI1(k), cfg.DBI2(k));
    const int hi = std::max(cfg.DBI1(k), cfg.DBI2(k));
    bool overlap = false;
    for (int j = 1; j <= cfg.NDG; ++j) overlap = overlap || (lo < cfg.IXDG(j) && cfg.IXDG(j) < hi);
    for (int j = 1; j <= cfg.NDB; ++j) {
      if (j == k) continue;
      overlap =
          overlap || (lo < cfg.DBI1(j) && cfg.DBI1(j) < hi) || (lo < cfg.DBI2(j) && cfg.DBI2(j) < hi);
    }
    if (overlap) {
      setup_error(run, {" ERROR. DIFFRACTING STRUCTURES OVERLAP.", " PLEASE CONSULT YOUR MANUAL."});
    }
  }
}

// 17. Beach fills: cells inside the grid and in order; added width to metres.
void check_beach_fills(Settings& cfg, RunState& run, const InputState& in) {
  Settings& c = cfg;
  for (int k = 1; k <= std::min(c.NBF, MXBF); ++k) {
    // The refusals name the keys and the fill (its number in the input).
    const std::string fill = " of beach fill " + std::to_string(k);
    if (c.IBFS(k) < 1 || c.IBFE(k) > c.NX) {
      setup_warning(run, {" ERROR. BEACH FILL IS OUTSIDE CALCULATION GRID.",
                          " PLEASE CORRECT YOUR .cfg FILE."});
      error_stop("IBFS/IBFE" + fill + " outside cells 1.." + std::to_string(c.NX));
    }
    if (c.IBFS(k) > c.IBFE(k)) {
      setup_warning(run, {" START X-COORDINATE OF BEACH FILL IS .GT. END X-COORDINATE.",
                          " PLEASE CORRECT YOUR .cfg FILE."});
      error_stop("IBFS" + fill + " is after its IBFE");
    }
    c.YADD(k) *= in.LENFAC;
  }
}

}  // namespace

double boundary_rate(const Settings& cfg, const InputState& in, const WaveState& wv, float movy,
                     int movper) {
  const float amount = movy * in.LENFAC;  // (m)
  float rate = 0.0F;                      // (m per time step)
  switch (movper) {
    case 1: {
      // Amount over the whole run, spread over the run length in steps before
      // rounding. A run given as a step count has no day count: its NTS is used.
      const bool step_count = cfg.SIMDATS == cfg.SIMDATE;
      const float steps =
          step_count ? static_cast<float>(in.NTS) : static_cast<float>(in.NDAYS) * in.NSPERDAY;
      rate = amount / steps;
      break;
    }
    case 2:
      rate = amount / in.NSPERDAY;  // amount per day
      break;
    case 3:
      rate = amount;  // amount per time step
      break;
    default:
      return 0.0;
  }
  // Several wave components in one step each move the boundary by their share.
  if (wv.NWAVES > 1) rate /= static_cast<float>(wv.NWAVES);
  return static_cast<double>(rate);
}

int setup_after_config(ModelState& m) {
  // 2-3. Unit factors; volumes to cubic metres.
  set_unit_factors(m.cfg, m.input());
  convert_volumes(m.cfg, m.input());
  // 4-5. Steps per day, adaptive defaults, start date and run length.
  set_adaptive_defaults(m.cfg, m.input());
  set_run_length(m.cfg, m.run(), m.input());
  // 6. Intermediate print-outs.
  if (m.cfg.NOUT > MXOUT) {
    limit_error(m.run(), " ERROR. TOO MANY INTERMEDIATE PRINT-OUTS REQUESTED.",
                " PLEASE CHANGE VALUE OF \"NOUT\" IN START FILE.", MXOUT);
  }
  // 7-8. Lengths to metres; the grid.
  convert_lengths(m.cfg, m.input());
  set_grid(m.cfg, m.run(), m.input());
  check_physical_inputs(m.cfg);
  check_value_ranges(m.cfg, m.run());
  // 9-12. Groins, the groin list, breakwaters and their tip list.
  check_groins(m.cfg, m.run(), m.input());
  build_groin_list(m.cfg, m.run(), m.input());
  build_tip_list(m.cfg, m.run(), m.input());
  // 13-14. Lateral boundaries.
  set_boundary(m.cfg, m.waves(), m.run(), m.input(), true);
  set_boundary(m.cfg, m.waves(), m.run(), m.input(), false);
  // 15-16. Breakwater ends; the diffracting-structure list.
  check_breakwater_ends(m.cfg, m.input(), m.run());
  build_diffraction_list(m.cfg, m.run(), m.input(), m.structures());
  // 17. Beach fills.
  check_beach_fills(m.cfg, m.run(), m.input());
  return 1;
}

int check_input_and_setup(ModelState& m, const std::string& cfgname) {
  // 1. The configuration fills the settings record and opens the data files.
  m.ISTART = 1;
  if (!read_config(m.cfg, m.run(), cfgname)) return 0;
  return setup_after_config(m);
}

}  // namespace coastra

// Input checking and model set-up after the configuration has been read: unit
// conversions, grid, groin, breakwater, boundary and beach-fill checks; the
// diffracting groins and detached breakwaters (tip depths, one-cell and reversed
// breakwaters, coefficients, what computed transmission needs), refused through
// the set-up function and end to end, their structure lists, and the
// diffraction segment table built from them (factors, active count, processing
// order and joins, re-derived when a transmission coefficient changes).

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "input/setup.h"
#include "model/state.h"
#include "support/refusal.h"
#include "support/run_helpers.h"
#include "support/structure_coast.h"
#include "waves/segment_table.h"

namespace coastra {
namespace {

// A valid metric configuration: 20 cells of 10 m, one year in 1-hour steps,
// pinned beaches at both ends, no structures; breakwaters fully opaque.
struct SetupCase : test::StructureRig {
  SetupCase() : StructureRig(20) {}
  std::string stop() {  // the error-stop message of the set-up, or "(no stop)"
    return test::stop_message([&] { setup_after_config(m); });
  }
  void groins(std::initializer_list<int> walls) {
    for (int w : walls) c.IXNDG(++c.NNDG) = w;
  }
  void fill(int first, int last) {
    c.IBFS(++c.NBF) = first;
    c.IBFE(c.NBF) = last;
  }
  using StructureRig::breakwater;
  void breakwater(int i1, float y1, int i2, float y2) {
    StructureRig::breakwater(i1, y1, i2, y2, 0.0F);
  }
};

// Entries 1..n of a 1-based array.
template <class V>
auto head(const V& v, int n) { return std::vector(v.data() + 1, v.data() + 1 + n); }

// A set-up refused after edit with the error stop first (for the explained
// refusals, " ERROR. ...", the console's first line), the console holding the
// line that names the side, key or limit (names; "" for none). first
// "(no stop)": the set-up goes through.
struct Refusal {
  std::function<void(SetupCase&)> edit;
  std::string first, names;
};

void check_refusals(std::initializer_list<Refusal> rows) {
  int n = 0;
  for (const Refusal& r : rows) {
    SetupCase k;
    r.edit(k);
    EXPECT_EQ(k.stop(), r.first) << "row " << n;
    if (r.first.rfind(" ERROR.", 0) == 0) {
      EXPECT_EQ(k.con.str().substr(0, r.first.size() + 1), r.first + "\n") << "row " << n;
    }
    if (!r.names.empty()) {
      EXPECT_TRUE(test::has_line(k.con.str(), r.names)) << "row " << n << "\n" << k.con.str();
    }
    ++n;
  }
}

// The state's arrays take their zeros from calloc rather than from writing
// them: memory that an earlier state filled must still come back as zeros.
TEST(Setup, StateArraysStartAtZeroOnMemoryUsedBefore) {
  const auto all_zero = [](const auto& v) {
    const auto s = v.span(0, v.n() + 1);
    return std::all_of(s.begin(), s.end(), [](auto x) { return x == 0; });
  };
  for (int round = 0; round < 3; ++round) {
    auto m = make_state();
    EXPECT_TRUE(all_zero(m->YSHORE) && all_zero(m->QLS) && all_zero(m->QEV) && all_zero(m->IXG) &&
                all_zero(m->cfg.K1SEG) && all_zero(m->RECVAL))
        << "round " << round;
    m->YSHORE.fill(7.0);
    m->QLS.fill(-1.0F);
    m->QEV.fill(3.0);
    m->IXG.fill(-5);
    m->cfg.K1SEG.fill(2.0F);
    m->RECVAL.fill(9.0);
  }
}

TEST(Setup, FeetInputIsHeldInMetres) {
  SetupCase f;
  f.c.UNITSYS = 2;
  f.c.NX = 40;
  for (int i = 1; i <= 3; ++i) f.c.DX(i) = 20.0F + 10.0F * static_cast<float>(i);  // 30 40 50
  f.c.INLETS = f.c.DREDGING = true;
  f.c.NINL = f.c.NDRED = 1;
  f.c.VVSE(1) = f.c.VVSAQR(1) = f.c.DREDV(1) = 1000.0F;  // cubic yards
  f.c.BERMHT(1) = f.c.DCLOS(4001) = f.c.WMDEP(1) = 100.0F;
  f.fill(1, 3);
  f.c.YADD(1) = 100.0F;
  f.groins({5});
  f.c.YNDG(1) = 100.0F;
  f.dgroin(10, 100.0F);
  f.breakwater(20, 100.0F, 30, 100.0F);
  f.c.DBDEP1(1) = f.c.HDB(1) = f.c.BDB(1) = f.c.D50DB(1) = 100.0F;  // crest and armour
  f.c.SSDB(1) = 0.5F;  // a slope has no unit
  ASSERT_EQ(f.stop(), "(no stop)");
  for (float v : {f.c.VVSE(1), f.c.VVSAQR(1), f.c.DREDV(1)}) EXPECT_NEAR(v, 764.55F, 0.01F);
  for (float v : {f.c.BERMHT(1), f.c.DCLOS(4001), f.c.WMDEP(1), f.c.YADD(1), f.c.YNDG(1),
                  f.c.YDG(1), f.m.YTIP(2), f.m.DTIP(2), f.c.HDB(1), f.c.BDB(1), f.c.D50DB(1)}) {
    EXPECT_FLOAT_EQ(v, 30.48F);
  }
  EXPECT_EQ(f.c.SSDB(1), 0.5F);
  EXPECT_FLOAT_EQ(f.c.DDG(1), 0.6096F);
  for (int i = 1; i <= 41; ++i) EXPECT_FLOAT_EQ(f.c.DX(i), 9.144F) << i;  // first value only
}

TEST(Setup, EachRefusalNamesItsFault) {
  using K = SetupCase;
  check_refusals({
      {[](K& k) { k.c.NX = 4000; }, "(no stop)", ""},
      {[](K& k) { k.c.NX = 4001; }, " ERROR. TOO MANY SHORELINE CELLS.", " MAXIMUM NUMBER IS        4000"},
      {[](K& k) { k.c.NX = 0; }, "NX must be > 0", ""},
      {[](K& k) { k.c.DX(1) = 0.0F; }, "DX must be > 0", ""},
      {[](K& k) { k.c.NWAVEFILES = 2; k.c.WMDEP(1) = 10.0F; },
       "WAVEID line 2: wave station depth must be >= 0.01 m", ""},
      {[](K& k) { k.c.K1(21) = -0.1F; }, "K1 must not be negative (wall 21)", ""},   // the last wall, NX + 1
      {[](K& k) { k.c.K2(3) = -0.1F; }, "K2 must not be negative (wall 3)", ""},
      {[](K& k) { k.c.K1(21) = 0.0F; }, "(no stop)", ""},  // zero transport is allowed
      // groins: two cells apart is enough (one apart is refused: end to end)
      {[](K& k) { k.groins({5, 7}); }, "(no stop)", ""},
      {[](K& k) { k.groins({2}); }, " ERROR. GROIN NEXT TO GRID BOUNDARY. ", ""},
      {[](K& k) { k.groins({20}); }, " ERROR. GROIN NEXT TO GRID BOUNDARY. ", ""},
      {[](K& k) { k.dgroin(22, 1.0F); }, " ERROR. DIFFRACTING GROIN OUTSIDE CALCULATION", ""},
      {[](K& k) { k.groins({0}); }, " ERROR. NON-DIFFRACTING GROIN OUTSIDE CALCULATION GRID.",
       " PLEASE CHANGE IN YOUR .cfg FILE."},
      {[](K& k) { k.c.NNDG = 251; }, " ERROR. TOO MANY NON-DIFFRACTING GROINS. PLEASE",
       " MAXIMUM NUMBER IS         250"},
      {[](K& k) { k.c.NDG = 251; }, " ERROR. TOO MANY DIFFRACTING GROINS. PLEASE CHANGE", " VALUE OF \"NDG\" IN YOUR .cfg FILE."},
      // lateral boundaries, each side with its own texts
      {[](K& k) { k.groins({1}); }, " ERROR. BOTH \"PINNED-BEACH\" BOUNDARY CONDITION AND A",
       " GROIN ARE SPECIFIED ON THE LEFT-HAND MODEL BOUNDARY."},
      {[](K& k) { k.groins({21}); }, " ERROR. BOTH \"PINNED-BEACH\" BOUNDARY CONDITION AND A",
       " GROIN ARE SPECIFIED ON THE RIGHT-HAND MODEL BOUNDARY."},
      {[](K& k) { k.c.LBCTYPE = 4; }, " ERROR. INVALID BOUNDARY CONDITION SPECIFICATION ON",
       " LEFT-HAND MODEL BOUNDARY.  PLEASE CHANGE VALUEOF"},
      {[](K& k) { k.c.RBCTYPE = -1; }, " ERROR. INVALID BOUNDARY CONDITION SPECIFICATION ON",
       " RIGHT-HAND MODEL BOUNDARY.  PLEASE CHANGE VALUE OF"},
      {[](K& k) { k.c.RBCTYPE = 1; }, " ERROR. GATED BOUNDARY CONDITION SPECIFIED AT N+1,",
       "BUT NO GROIN SPECIFIED AT N+1"},
      {[](K& k) { k.c.RBCTYPE = 3; k.c.RMOVPER = 1; k.groins({21}); },
       " ERROR. BOTH \"MOVING-SHORELINE\" BOUNDARY CONDITION AND",
       " A GROIN ARE SPECIFIED ON THE RIGHT-HAND MODEL  BOUNDARY."},
      {[](K& k) { k.c.LBCTYPE = 3; k.c.LMOVPER = 1; k.groins({1}); },
       " ERROR. BOTH \"MOVING-SHORELINE\" BOUNDARY CONDITION AND",
       " A GROIN ARE SPECIFIED ON THE LEFT-HAND MODEL BOUNDARY."},
      {[](K& k) { k.c.LBCTYPE = 3; k.c.LMOVPER = 4; }, " ERROR. INVALID BOUNDARY MOVEMENT PERIOD SPECIFICATION",
       " \"LMOVPER\" IN YOUR .cfg FILE."},
      {[](K& k) { k.c.RBCTYPE = 3; }, " ERROR. INVALID BOUNDARY MOVEMENT PERIOD SPECIFICATION",
       " \"RMOVPER\" IN YOUR .cfg FILE."},
      // breakwaters
      {[](K& k) { k.c.NDB = 126; }, " ERROR. TOO MANY DETACHED BREAKWATERS. PLEASE", " MAXIMUM NUMBER IS         125"},
      {[](K& k) { k.breakwater(1, 100.0F, 5, 100.0F); }, " ERROR. DETACHED BREAKWATER ENDING ON OPEN ",
       " LEFT-HAND BOUNDARY NOT ALLOWED. "},
      {[](K& k) { k.breakwater(15, 100.0F, 21, 100.0F); }, " ERROR. DETACHED BREAKWATER ENDING ON OPEN ",
       " RIGHT-HAND BOUNDARY NOT ALLOWED. "},
      // a tip on a boundary cell must meet the diffracting groin there at its tip
      {[](K& k) { k.c.LBCTYPE = 1; k.c.LGROINY = 5.0F; k.dgroin(1, 100.0F); k.breakwater(1, 90.0F, 5, 100.0F); },
       " ERROR. DETACHED BREAKWATER AND DIFFRACTING  GROIN ON", " LEFT-HAND BOUNDARY MUST BE CONNECTED.  PLEASE CHANGE"},
      {[](K& k) { k.c.RBCTYPE = 2; k.c.RGROINY = 5.0F; k.dgroin(21, 100.0F); k.breakwater(15, 100.0F, 21, 90.0F); },
       " ERROR. DETACHED BREAKWATER AND DIFFRACTING GROIN ON", " RIGHT-HAND BOUNDARY MUST BE CONNECTED.  PLEASE CHANGE"},
      {[](K& k) { k.breakwater(10, 100.0F, 22, 100.0F); }, " ERROR. DETACHED BREAKWATER TIP OUTSIDE ", ""},
      {[](K& k) { k.dgroin(8, 100.0F); k.breakwater(8, 120.0F, 14, 120.0F); }, " ERROR. DETACHED BREAKWATER CAN ONLY",
       " CONNECT TO A GROIN AT THE GROIN TIP."},
      {[](K& k) { k.dgroin(10, 1.0F); k.breakwater(8, 100.0F, 14, 120.0F); }, " ERROR. DIFFRACTING STRUCTURES OVERLAP.", ""},
      {[](K& k) { k.breakwater(4, 100.0F, 10, 100.0F); k.breakwater(8, 100.0F, 14, 100.0F); },
       " ERROR. DIFFRACTING STRUCTURES OVERLAP.", ""},
      {[](K& k) { k.breakwater(4, 100.0F, 10, 100.0F); k.breakwater(10, 100.0F, 14, 100.0F); }, "(no stop)", ""},
      // beach fills: the error stop names the keys, the console keeps its lines
      {[](K& k) { k.fill(1, 20); }, "(no stop)", ""},
      {[](K& k) { k.fill(0, 5); }, "IBFS/IBFE of beach fill 1 outside cells 1..20",
       " ERROR. BEACH FILL IS OUTSIDE CALCULATION GRID."},
      {[](K& k) { k.fill(10, 23); }, "IBFS/IBFE of beach fill 1 outside cells 1..20",
       " ERROR. BEACH FILL IS OUTSIDE CALCULATION GRID."},
      {[](K& k) { k.fill(8, 5); }, "IBFS of beach fill 1 is after its IBFE",
       " START X-COORDINATE OF BEACH FILL IS .GT. END X-COORDINATE."},
      {[](K& k) { k.c.NOUT = 500; }, "(no stop)", ""},
      {[](K& k) { k.c.NOUT = 501; }, " ERROR. TOO MANY INTERMEDIATE PRINT-OUTS REQUESTED.", " MAXIMUM NUMBER IS         500"},
      // DTMIN must lie in [0, DT] for the adaptive step, and is not checked without it
      {[](K& k) { k.c.DTADAPT = 1; k.c.DT = 2.0F; k.c.DTMIN = -0.5; }, "DTMIN must lie between 0 and DT when DTADAPT = 1", ""},
      {[](K& k) { k.c.DTADAPT = 1; k.c.DT = 2.0F; k.c.DTMIN = 2.5; }, "DTMIN must lie between 0 and DT when DTADAPT = 1", ""},
      {[](K& k) { k.c.DTADAPT = 1; k.c.DT = 2.0F; k.c.DTMIN = 2.0; }, "(no stop)", ""},
      {[](K& k) { k.c.DTMIN = -1.0; }, "(no stop)", ""},
      // the right-hand warnings (the left-hand texts are pinned whole below)
      {[](K& k) { k.c.RMOVY = -2.0F; }, "(no stop)", " ON RIGHT-HAND BOUNDARY REASSIGNED TO ZERO."},
      {[](K& k) { k.c.RBCTYPE = 2; k.groins({21}); }, "(no stop)",
       " VERIFY VALUE OF \"RGROINY\" IN YOUR .cfg FILE."},
  });
}

TEST(Setup, GridSmoothingWindowAndAdaptiveDefaults) {
  // ISMOOTH 11 on 8 cells: the widest odd window that fits, warned; on 9 cells
  // the whole coast; an even window loses a cell once, here, not during the
  // run, and unwarned.
  for (const auto& [nx, ismooth, kept, warning] :
       {std::tuple{8, 11, 7, " WARNING. ISMOOTH REDUCED TO          7\n"},
        {9, 11, 9, " WARNING. ISMOOTH REDUCED TO          9\n"}, {20, 6, 5, ""}}) {
    SetupCase w;
    w.c.NX = nx;
    w.c.ISMOOTH = ismooth;
    ASSERT_EQ(w.stop(), "(no stop)");
    EXPECT_EQ(w.c.ISMOOTH, kept) << nx;
    EXPECT_EQ(w.prt.str(), warning) << nx;
  }
  SetupCase adapt;  // adaptive defaults; the quiet period in days becomes steps
  adapt.c.DTADAPT = 1;
  adapt.c.DT = 2.0F;
  ASSERT_EQ(adapt.stop(), "(no stop)");
  EXPECT_EQ(adapt.c.DTMIN, 0.0001);
  EXPECT_EQ(adapt.c.DTMAX, 2.0F);
  EXPECT_EQ(adapt.c.NSTABDTMIN, 336.0F);  // 28 days x 12 steps a day
}

TEST(Setup, GroinListAndBoundaryWarnings) {
  SetupCase merged;  // one list by wall, each groin with its kind and tip
  merged.groins({5, 13});
  merged.c.YNDG(2) = 130.0F;
  merged.dgroin(9, 90.0F);
  ASSERT_EQ(merged.stop(), "(no stop)");
  EXPECT_EQ(head(merged.m.IXG, merged.m.NGRO), (std::vector<int>{5, 9, 13}));
  EXPECT_EQ(head(merged.m.IGKIND, 3), (std::vector<int>{1, 2, 1}));
  EXPECT_EQ(head(merged.m.YG, 3), (std::vector<float>{0, 90, 130}));
  EXPECT_TRUE(merged.m.LMOVE && merged.m.RMOVE);
  // A pinned beach with a rate: warned of, the rate dropped, on its own side.
  SetupCase rate;
  rate.c.LMOVY = 5.0F;
  ASSERT_EQ(rate.stop(), "(no stop)");
  EXPECT_EQ(rate.c.LMOVY, 0.0F);
  EXPECT_EQ(rate.con.str(),
            " WARNING. \"PINNED-BEACH\" BOUNDARY CONDITION SPECIFIED\n"
            " ON LEFT-HAND MODEL BOUNDARY AND A RATE OF SHORELINE\n"
            " CHANGE WAS ALSO SPECIFIED.  RATE OF SHORELINE CHANGE\n"
            " ON LEFT-HAND BOUNDARY REASSIGNED TO ZERO.\n");
  // A gated end with a zero tip distance: a warning only, naming its key.
  SetupCase zero;
  zero.c.UNITSYS = 2;
  zero.c.LBCTYPE = 2;
  zero.c.RBCTYPE = 1;
  zero.c.RGROINY = 10.0F;
  zero.groins({1, 21});
  ASSERT_EQ(zero.stop(), "(no stop)");
  EXPECT_EQ(zero.con.str(),
            " WARNING. DISTANCE FROM GROIN TIP ON LEFT-HAND BOUNDARY\n"
            " TO SHORELINE OUTSIDE GRID SPECIFIED AS ZERO. PLEASE\n"
            " VERIFY VALUE OF \"LGROINY\" IN YOUR .cfg FILE.\n");
  EXPECT_FLOAT_EQ(zero.c.RGROINY, 3.048F);
}

TEST(Setup, MovingBoundaryRatePerTimeStep) {
  // Displacement per step of each moving end: LMOVPER/RMOVPER 1 spreads LMOVY
  // over the run, 2 is per day, 3 per step; feet are converted.
  struct Case { int unitsys, dats, date; float dt; int per; float movy; double dyl; };
  for (const Case& k : {Case{1, 1000, 1000, 1.0F, 1, 10.0F, 0.01},   // over 1000 steps
                        Case{1, 20010101, 20010411, 24.0F, 1, 10.0F, 0.1},   // over 100 days
                        Case{2, 20000101, 20010101, 6.0F, 2, 1.0F, 0.3048 / 4.0}}) {
    SetupCase s;
    s.c.UNITSYS = k.unitsys;
    s.c.SIMDATS = k.dats;
    s.c.SIMDATE = k.date;
    s.c.DT = k.dt;
    s.c.LBCTYPE = s.c.RBCTYPE = 3;
    s.c.LMOVPER = k.per;
    s.c.LMOVY = k.movy;
    s.c.RMOVPER = 3;
    s.c.RMOVY = -10.0F;  // per step
    ASSERT_EQ(s.stop(), "(no stop)");
    EXPECT_NEAR(s.m.DYL, k.dyl, 1e-6 * k.dyl) << k.dats;
    EXPECT_NEAR(s.m.DYR, k.unitsys == 2 ? -3.048 : -10.0, 1e-6) << k.dats;
    EXPECT_TRUE(s.m.LMOVE && s.m.RMOVE);
  }
}

// ---- diffracting structures ----

// The set-up coast with two valid breakwaters (cells 4..8 and 12..16, tips 2 m
// deep, TRANDB 0.5).
struct StructureCase : SetupCase {
  StructureCase() {
    for (int k = 1; k <= 2; ++k) breakwater(8 * k - 4, 100.0F, 8 * k, 100.0F, 0.5F);
  }
  // Computed transmission: every breakwater with its own method line and all
  // properties zero, so each test sets exactly what the method needs.
  void computed(int m1, int m2) {
    c.TRANMODE = 1;
    c.NKTMET = 2;
    c.KTMETDB(1) = m1;
    c.KTMETDB(2) = m2;
  }
};

// Each case edits the valid pair of breakwaters once: accepted ("(no stop)")
// or refused with its message. Messages that the end-to-end refusals below
// quote are checked there only.
TEST(StructureSetup, TipDepthsCoefficientsAndWhatComputedTransmissionDividesBy) {
  using Edit = std::function<void(StructureCase&)>;
  // Method 2 needs BDB only; method 1 BDB and D50DB (its D50DB: end to end below).
  const Edit narrow = [](StructureCase& k) {
    k.computed(2, 1);
    k.c.BDB(1) = k.c.BDB(2) = 5.0F;
    k.c.D50DB(2) = 0.5F;
  };
  // Computed transmission of any other code than 1 and 2 (here 3 and 0): HDB,
  // SSDB, SHSDB and D50DB, with a crest width not negative.
  const Edit reef = [](StructureCase& k) {
    k.computed(3, 0);
    for (int j = 1; j <= 2; ++j) {
      k.c.HDB(j) = 3.0F;
      k.c.SSDB(j) = k.c.SHSDB(j) = 0.5F;
      k.c.D50DB(j) = 0.5F;
    }
  };
  const std::pair<Edit, std::string> cases[] = {
      {[](StructureCase&) {}, "(no stop)"},
      {[](StructureCase& k) { k.c.DBDEP2(1) = -1.0F; },
       "DBDEP2 of detached breakwater 1 must be > 0"},
      // Diffracting groins are named by their line in the input, not their sorted place.
      {[](StructureCase& k) {
         k.c.NDB = 0;
         k.dgroin(6, 50.0F, 0.0F);
         k.dgroin(12, 50.0F);
         k.c.IDGORD(1) = 2;  // the groin at wall 6 was given second
         k.c.IDGORD(2) = 1;
       },
       "DDG of diffracting groin 2 must be > 0"},
      // Fixed coefficients lie in [0, 1] (above 1: end to end below).
      {[](StructureCase& k) { k.c.TRANDB(1) = 0.0F; }, "(no stop)"},
      {[](StructureCase& k) { k.c.TRANDB(1) = 1.0F; }, "(no stop)"},
      {[](StructureCase& k) { k.c.TRANDB(1) = -0.1F; },
       "TRANDB of detached breakwater 1 must lie in [0, 1]"},
      {narrow, "(no stop)"},
      {[&](StructureCase& k) { narrow(k); k.c.BDB(1) = 0.0F; },
       "BDB of detached breakwater 1 must be > 0 for KTMETDB 2"},
      {reef, "(no stop)"},  // BDB 0 is a triangular crest
      {[&](StructureCase& k) { reef(k); k.c.HDB(2) = 0.0F; },
       "HDB of detached breakwater 2 must be > 0 for KTMETDB 0"},
      {[&](StructureCase& k) { reef(k); k.c.SSDB(2) = 0.0F; },
       "SSDB of detached breakwater 2 must be > 0 for KTMETDB 0"},
      {[&](StructureCase& k) { reef(k); k.c.SHSDB(2) = 0.0F; },
       "SHSDB of detached breakwater 2 must be > 0 for KTMETDB 0"},
      {[&](StructureCase& k) { reef(k); k.c.D50DB(2) = 0.0F; },
       "D50DB of detached breakwater 2 must be > 0 for KTMETDB 0"},
      {[&](StructureCase& k) { reef(k); k.c.BDB(1) = -1.0F; },
       "BDB of detached breakwater 1 must not be negative"},
  };
  for (const auto& [edit, message] : cases) {
    StructureCase k;
    edit(k);
    EXPECT_EQ(k.stop(), message);
  }
}

TEST(StructureSetup, ReversedTipsAreSwappedAndTheStructureListSorted) {
  // Breakwater 1 given right to left (its tip at cell 16 first) and beside a
  // diffracting groin at wall 10: its tips are swapped, each cell keeping its
  // distance and depth.
  StructureCase k;
  k.c.NDB = 0;
  k.breakwater(16, 160.0F, 12, 120.0F, 0.5F, 3.0F);
  k.c.DBDEP2(1) = 1.0F;
  k.breakwater(4, 100.0F, 8, 100.0F, 0.5F);
  k.dgroin(10, 90.0F);
  ASSERT_EQ(k.stop(), "(no stop)");
  EXPECT_EQ(k.c.DBI1(1), 12);
  EXPECT_EQ(k.c.DBI2(1), 16);
  // Tip list: left end, breakwater 1, breakwater 2 (breakwater order), right end.
  EXPECT_EQ(head(k.m.ITIP, k.m.NTIP), (std::vector<int>{-1, 12, 16, 4, 8, 9998}));
  EXPECT_EQ(head(k.m.YTIP, k.m.NTIP), (std::vector<float>{0, 120, 160, 100, 100, 0}));
  EXPECT_EQ(head(k.m.DTIP, k.m.NTIP), (std::vector<float>{0, 1, 3, 2, 2, 0}));
  // The diffracting structures by wall, the groin entered twice, the grid
  // ends -1 and -2.
  EXPECT_EQ(head(k.m.IDIFF, k.m.NDIFF), (std::vector<int>{-1, 4, 8, 10, 10, 12, 16, -2}));
  EXPECT_EQ(head(k.m.YDIFF, k.m.NDIFF), (std::vector<float>{0, 100, 100, 90, 90, 120, 160, 0}));
  EXPECT_EQ(head(k.m.DDIFF, k.m.NDIFF), (std::vector<float>{0, 2, 2, 2, 2, 1, 3, 0}));
}

// The same refusals from configuration lines, through the whole program.
TEST(StructureSetup, RefusalsEndTheProgramNamingKeyAndBreakwater) {
  // The lines of a breakwater from cell i1 (tip depth d1) to cell i2, 200 m out.
  const auto bw = [](int i1, int d1, int i2) {
    return "DBI1: " + std::to_string(i1) + "\nDBY1: 200\nDBDEP1: " + std::to_string(d1) +
           "\nDBI2: " + std::to_string(i2) + "\nDBY2: 200\nDBDEP2: 2\n";
  };
  test::expect_line_refusals({
      {"", bw(5, 0, 10) + "TRANDB: 0.5", "DBDEP1 of detached breakwater 1 must be > 0"},
      {"", bw(5, 2, 10) + bw(14, 2, 14), "DBI1 and DBI2 of detached breakwater 2 are one cell"},
      {"", bw(5, 2, 10) + "TRANDB: 1.5", "TRANDB of detached breakwater 1 must lie in [0, 1]"},
      {"", bw(5, 2, 10) + bw(14, 2, 18) + "KTMETDB: 2\nBDB: 5\nBDB: 5",
       "KTMETDB line missing for detached breakwater 2"},
      {"", bw(5, 2, 10) + "KTMETDB: 1\nBDB: 5",
       "D50DB of detached breakwater 1 must be > 0 for KTMETDB 1"},
      {"", "IXDG: 8\nYDG: 100\nDDG: 0\nIXDG: 14\nYDG: 100\nDDG: 2",
       "DDG of diffracting groin 1 must be > 0"}});
}

// ---- the diffraction segment table ----

// The structure coast of nx cells of 10 m with its segment table.
struct Table : test::StructureRig {
  explicit Table(int nx) : StructureRig(nx) {}
  // Set-up (which must go through) and the table.
  void build() {
    ASSERT_EQ(test::stop_message([&] { setup_after_config(m); }), "(no stop)");
    build_segment_table(m.cfg, m.input(), m.structures(), m.scratch());
  }
  auto factors() const { return head(m.SEGFAC, m.NSEG); }
};

// Expected table: list walls (-1, -2 the grid ends), segment factors, active
// count (-1: not checked), processing order ({}: not checked), joined walls.
struct Want {
  std::vector<int> walls;
  std::vector<float> factors;
  int active;
  std::vector<int> order, joined;
};

void expect_table(Table& t, const Want& w) {
  t.build();
  EXPECT_EQ(head(t.m.ISEGW, t.m.NSEGENT), w.walls);
  EXPECT_EQ(t.factors(), w.factors);
  if (w.active >= 0) {
    EXPECT_EQ(t.m.NSEGACT, w.active);
  }
  if (!w.order.empty()) {
    EXPECT_EQ(head(t.m.SEGORD, t.m.NSEG), w.order);
  }
  for (int i = 1; i <= t.c.NX + 1; ++i)
    EXPECT_EQ(t.m.JOINFLAG(i), std::count(w.joined.begin(), w.joined.end(), i) ? 1 : 0) << i;
}

TEST(SegmentTable, GroinsBreakwatersJoinsAndBoundaryGroins) {
  Table t(80);   // the worked example: a groin and a partly transmitting breakwater
  t.dgroin(20, 100.0F);
  t.breakwater(40, 150.0F, 60, 160.0F, 0.3F);
  expect_table(t, {{-1, 20, 20, 40, 60, -2}, {1.0F, -1.0F, 1.0F, 0.3F, 1.0F}, 4, {1, 2, 3, 5, 4},
                   {}});
  EXPECT_EQ(t.m.SEGBW(4), 1);
  EXPECT_EQ(t.m.KSEGT(1), KIND_END);   // kinds of the list entries
  EXPECT_EQ(t.m.KSEGT(3), KIND_GROIN);
  EXPECT_EQ(t.m.KSEGT(5), KIND_BREAKWATER);
  EXPECT_EQ(t.m.IDBW(5), 1);
  EXPECT_EQ(t.m.IDBW(2), 0);
  Table none(20);   // no structure: one open segment
  expect_table(none, {{-1, -2}, {1.0F}, 1, {}, {}});
  Table bg(80);   // a breakwater starting at a groin's tip; an opaque one is no component
  bg.dgroin(20, 100.0F);
  bg.breakwater(20, 100.0F, 40, 120.0F, 0.0F);
  expect_table(bg, {{-1, 20, 20, 40, -2}, {1.0F, -1.0F, 0.0F, 1.0F}, 2, {}, {20}});
  Table ends(20);   // groins on both boundary walls are doubled
  ends.c.LBCTYPE = ends.c.RBCTYPE = 1;
  ends.c.LGROINY = ends.c.RGROINY = 5.0F;
  ends.dgroin(1, 50.0F);
  ends.dgroin(21, 50.0F);
  expect_table(ends, {{1, 1, 21, 21}, {-1.0F, 1.0F, -1.0F}, 1, {}, {}});
  Table right(20);   // a breakwater joined to the groin on the right boundary wall
  right.c.RBCTYPE = 1;
  right.c.RGROINY = 5.0F;
  right.dgroin(21, 80.0F);
  right.breakwater(15, 90.0F, 21, 80.0F, 0.5F);
  expect_table(right, {{-1, 15, 21, 21}, {1.0F, 0.5F, -1.0F}, -1, {1, 3, 2}, {21}});
  Table left(20);   // and on the left boundary wall
  left.c.LBCTYPE = 1;
  left.c.LGROINY = 5.0F;
  left.dgroin(1, 80.0F);
  left.breakwater(1, 80.0F, 6, 90.0F, 0.5F);
  expect_table(left, {{1, 1, 6, -2}, {-1.0F, 0.5F, 1.0F}, -1, {}, {1}});
}

TEST(SegmentTable, ChangedCoefficientIsTakenUpByTheDerivation) {
  Table t(80);
  t.breakwater(30, 100.0F, 50, 100.0F, 0.0F);
  t.build();
  // Coefficients recomputed during the run: opaque; partly transmitting (merged
  // last); never above 0.99 (a breakwater does not amplify waves); below the
  // active threshold again.
  for (const auto& [kt, factor, active, order] :
       {std::tuple{0.0F, 0.0F, 2, std::vector<int>{1, 2, 3}}, {0.6F, 0.6F, 3, {1, 3, 2}},
        {1.0F, 0.99F, 3, {1, 3, 2}}, {0.005F, 0.005F, 2, {1, 2, 3}}}) {
    t.c.TRANDB(1) = kt;
    derive_segment_order(t.m.cfg, t.m.structures());
    EXPECT_EQ(t.factors(), (std::vector<float>{1.0F, factor, 1.0F})) << kt;
    EXPECT_EQ(t.m.NSEGACT, active) << kt;
    EXPECT_EQ(head(t.m.SEGORD, t.m.NSEG), order) << kt;
  }
}

}  // namespace
}  // namespace coastra

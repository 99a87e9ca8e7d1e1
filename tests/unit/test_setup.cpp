// Input checking and model set-up after the configuration has been read: unit
// conversions, grid, groin, breakwater, boundary and beach-fill checks, and the
// structure lists.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <tuple>

#include "input/setup.h"
#include "model/state.h"
#include "support/run_helpers.h"
#include "support/state_rig.h"

namespace coastra {
namespace {

// A valid metric configuration: 20 cells of 10 m, one year in 1-hour steps,
// pinned beaches at both ends, no structures.
struct SetupCase : test::StateRig {
  Settings& c = m.cfg;
  SetupCase() {
    c.UNITSYS = 1;
    c.NX = 20;
    c.DX(1) = 10.0F;
    c.SIMDATS = 20000101;
    c.SIMDATE = 20010101;
    c.DT = m.DT = 1.0F;
  }
  std::string stop() {  // the error-stop message of the set-up, or "(no stop)"
    return test::stop_message([&] { setup_after_config(m); });
  }
  void groins(std::initializer_list<int> walls) {
    for (int w : walls) c.IXNDG(++c.NNDG) = w;
  }
  void dgroin(int wall, float y) {
    c.IXDG(++c.NDG) = wall;
    c.YDG(c.NDG) = y;
    c.DDG(c.NDG) = 2.0F;
  }
  void fill(int first, int last) {
    c.IBFS(++c.NBF) = first;
    c.IBFE(c.NBF) = last;
  }
  void breakwater(int i1, float y1, int i2, float y2) {
    ++c.NDB;
    c.DBI1(c.NDB) = i1;
    c.DBY1(c.NDB) = y1;
    c.DBI2(c.NDB) = i2;
    c.DBY2(c.NDB) = y2;
    c.DBDEP1(c.NDB) = c.DBDEP2(c.NDB) = 2.0F;
  }
};

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
  f.c.DBDEP1(1) = 100.0F;
  ASSERT_EQ(f.stop(), "(no stop)");
  for (float v : {f.c.VVSE(1), f.c.VVSAQR(1), f.c.DREDV(1)}) EXPECT_NEAR(v, 764.55F, 0.01F);
  for (float v : {f.c.BERMHT(1), f.c.DCLOS(4001), f.c.WMDEP(1), f.c.YADD(1), f.c.YNDG(1),
                  f.c.YDG(1), f.m.YTIP(2), f.m.DTIP(2)}) {
    EXPECT_FLOAT_EQ(v, 30.48F);
  }
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
      // groins: two cells apart is enough (one apart is refused: end to end)
      {[](K& k) { k.groins({5, 7}); }, "(no stop)", ""},
      {[](K& k) { k.groins({2}); }, " ERROR. GROIN NEXT TO GRID BOUNDARY. ", ""},
      {[](K& k) { k.groins({20}); }, " ERROR. GROIN NEXT TO GRID BOUNDARY. ", ""},
      {[](K& k) { k.dgroin(22, 1.0F); }, " ERROR. DIFFRACTING GROIN OUTSIDE CALCULATION", ""},
      {[](K& k) { k.groins({0}); }, " ERROR. NON-DIFFRACTING GROIN OUTSIDE CALCULATION GRID.", ""},
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
      {[](K& k) { k.dgroin(8, 100.0F); k.breakwater(8, 100.0F, 14, 120.0F); }, "(no stop)", ""},
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
  SetupCase v;  // DX -1: the spacing comes from the spacing file
  v.c.DX(1) = -1.0F;
  ASSERT_EQ(v.stop(), "(no stop)");
  EXPECT_TRUE(v.m.VARDX);
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
  SetupCase ok;  // zero transport is allowed
  ok.c.K1(21) = 0.0F;
  EXPECT_EQ(ok.stop(), "(no stop)");
  SetupCase adapt;  // adaptive defaults; the quiet period in days becomes steps
  adapt.c.DTADAPT = 1;
  adapt.c.DT = 2.0F;
  ASSERT_EQ(adapt.stop(), "(no stop)");
  EXPECT_EQ(adapt.c.DTMIN, 0.0001);
  EXPECT_EQ(adapt.c.DTMAX, 2.0F);
  EXPECT_EQ(adapt.c.NSTABDTMIN, 336.0F);  // 28 days x 12 steps a day
}

TEST(Setup, GroinListAndBoundaryWarnings) {
  SetupCase ends;  // groins on both boundary walls, with gated boundaries
  ends.c.LBCTYPE = 1;
  ends.c.RBCTYPE = 2;
  ends.c.LGROINY = ends.c.RGROINY = 5.0F;
  ends.groins({1, 21});
  ASSERT_EQ(ends.stop(), "(no stop)");
  EXPECT_FALSE(ends.m.LMOVE);
  EXPECT_FALSE(ends.m.RMOVE);
  SetupCase merged;  // one list by wall, each groin with its kind and tip
  merged.groins({5, 13});
  merged.c.YNDG(2) = 130.0F;
  merged.dgroin(9, 90.0F);
  ASSERT_EQ(merged.stop(), "(no stop)");
  ASSERT_EQ(merged.m.NGRO, 3);
  EXPECT_EQ(merged.m.IXG(2), 9);
  EXPECT_EQ(merged.m.IGKIND(2), 2);
  EXPECT_EQ(merged.m.YG(2), 90.0F);
  EXPECT_EQ(merged.m.YG(3), 130.0F);
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
  SetupCase count;  // 10 m over a run of 1000 steps given as a step count
  count.c.SIMDATS = count.c.SIMDATE = 1000;
  count.c.LBCTYPE = 3;
  count.c.LMOVPER = 1;
  count.c.LMOVY = 10.0F;
  ASSERT_EQ(count.stop(), "(no stop)");
  EXPECT_NEAR(count.m.DYL, 0.01, 1e-8);
  SetupCase dated;  // 10 m over 100 days of daily steps
  dated.c.SIMDATS = 20010101;
  dated.c.SIMDATE = 20010411;
  dated.c.DT = 24.0F;
  dated.c.LBCTYPE = 3;
  dated.c.LMOVPER = 1;
  dated.c.LMOVY = 10.0F;
  ASSERT_EQ(dated.stop(), "(no stop)");
  EXPECT_NEAR(dated.m.DYL, 0.1, 1e-7);
  SetupCase feet;  // 1 ft a day in 6-hour steps on the left, -10 ft a step on the right
  feet.c.UNITSYS = 2;
  feet.c.DT = 6.0F;
  feet.c.LBCTYPE = feet.c.RBCTYPE = 3;
  feet.c.LMOVPER = 2;
  feet.c.LMOVY = 1.0F;
  feet.c.RMOVPER = 3;
  feet.c.RMOVY = -10.0F;
  ASSERT_EQ(feet.stop(), "(no stop)");
  EXPECT_NEAR(feet.m.DYL, 0.3048 / 4.0, 1e-7);
  EXPECT_NEAR(feet.m.DYR, -3.048, 1e-6);
  EXPECT_TRUE(feet.m.LMOVE && feet.m.RMOVE);
}

TEST(Setup, TipAndDiffractingStructureLists) {
  SetupCase f;  // a diffracting groin enters twice; the boundaries close the list
  f.c.NX = 80;
  f.dgroin(20, 100.0F);
  f.breakwater(40, 150.0F, 60, 160.0F);
  ASSERT_EQ(f.stop(), "(no stop)");
  ASSERT_EQ(f.m.NTIP, 4);
  const int tips[4] = {-1, 40, 60, 9998};
  for (int k = 1; k <= 4; ++k) EXPECT_EQ(f.m.ITIP(k), tips[k - 1]) << k;
  ASSERT_EQ(f.m.NDIFF, 6);
  const int walls[6] = {-1, 20, 20, 40, 60, -2};
  for (int k = 1; k <= 6; ++k) EXPECT_EQ(f.m.IDIFF(k), walls[k - 1]) << k;
  EXPECT_EQ(f.m.YDIFF(3), 100.0F);
  EXPECT_EQ(f.m.DDIFF(2), 2.0F);
  EXPECT_EQ(f.m.YDIFF(5), 160.0F);

  SetupCase ends;  // diffracting groins on the boundary walls enter once and close the list
  ends.c.LBCTYPE = ends.c.RBCTYPE = 1;
  ends.c.LGROINY = ends.c.RGROINY = 5.0F;
  ends.dgroin(1, 0.0F);
  ends.dgroin(21, 0.0F);
  ASSERT_EQ(ends.stop(), "(no stop)");
  ASSERT_EQ(ends.m.NDIFF, 2);
  EXPECT_EQ(ends.m.IDIFF(1), 1);
  EXPECT_EQ(ends.m.IDIFF(2), 21);

  SetupCase order;  // breakwaters given right to left, one with its tips reversed
  order.c.NX = 80;
  order.breakwater(60, 160.0F, 50, 150.0F);
  order.dgroin(30, 100.0F);
  order.breakwater(10, 110.0F, 20, 120.0F);
  ASSERT_EQ(order.stop(), "(no stop)");
  EXPECT_EQ(order.m.ITIP(2), 50);  // breakwater order kept, its reversed tips put in order
  EXPECT_EQ(order.m.ITIP(4), 10);
  ASSERT_EQ(order.m.NDIFF, 8);
  const int sorted[8] = {-1, 10, 20, 30, 30, 50, 60, -2};
  const float ys[8] = {0.0F, 110.0F, 120.0F, 100.0F, 100.0F, 150.0F, 160.0F, 0.0F};
  for (int k = 1; k <= 8; ++k) {
    EXPECT_EQ(order.m.IDIFF(k), sorted[k - 1]) << k;
    EXPECT_EQ(order.m.YDIFF(k), ys[k - 1]) << k;
  }
}

}  // namespace
}  // namespace coastra

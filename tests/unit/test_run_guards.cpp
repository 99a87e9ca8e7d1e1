// Guards of a run: non-finite results stopped in the step, impossible and
// implausible configuration values met at set-up. The run cases are otherwise
// valid runs with one wrong line or one bad file; each checks the exit status,
// the one message and the files.

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "driver/finite_guard.h"
#include "model/error_stop.h"
#include "support/refusal.h"
#include "support/run_helpers.h"
#include "support/state_rig.h"

namespace coastra {
namespace {

using Case = test::RunCase;

// ---- non-finite results ----

TEST(NonFiniteGuard, FindsNaNAndInfinitiesAtAnyIndexAndNothingElse) {
  // Every length across the vector lanes and tails, every index 1..n; the
  // finite extremes (largest, subnormal, -0) pass; elements 0 and n + 1 are
  // never looked at.
  using lim = std::numeric_limits<float>;
  const float nan = lim::quiet_NaN(), inf = lim::infinity();
  const float specials[] = {nan, inf, -inf}, edges[] = {lim::max(), lim::denorm_min(), -0.0F};
  for (int n = 1; n <= 40; ++n) {
    std::vector<float> a(static_cast<std::size_t>(n) + 2, nan);
    std::vector<double> d(a.size(), static_cast<double>(inf));
    for (int i = 1; i <= n; ++i) {
      a[static_cast<std::size_t>(i)] = edges[i % 3];
      d[static_cast<std::size_t>(i)] = -1.0e300 * i;
    }
    ASSERT_EQ(any_nonfinite(a.data(), n), 0) << n;
    ASSERT_EQ(any_nonfinite(d.data(), n), 0) << n;
    for (int at = 1; at <= n; ++at) {
      const auto k = static_cast<std::size_t>(at);
      a[k] = specials[at % 3];
      d[k] = static_cast<double>(specials[(at + 1) % 3]);
      EXPECT_EQ(any_nonfinite(a.data(), n), 1) << n << " at " << at;
      EXPECT_EQ(any_nonfinite(d.data(), n), 1) << n << " at " << at;
      a[k] = edges[at % 3];
      d[k] = -1.0e300 * at;
    }
  }
}

TEST(NonFiniteGuard, StopNamesStepPlaceAndQuantityAndLeavesTheStateFinite) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  // Step 12 of 10 cells, the shoreline moved from YSTART to YSHORE in it. (A
  // guard that stopped on finite values would stop every run the suite makes.)
  auto rig = [] {
    auto r = std::make_unique<test::StateRig>();
    r->m.cfg.NX = 10;
    r->m.ISTEP = 12;
    for (int i = 1; i <= 11; ++i) {
      r->m.HBD(i) = 1.5F;
      r->m.QLS(i) = 0.01F * static_cast<float>(i);
    }
    for (int i = 1; i <= 10; ++i) {
      r->m.YSTART(i) = 100.0 + i;
      r->m.YSHORE(i) = 200.0 + i;
    }
    return r;
  };
  // Breaking: the quantity formed first is named (THETAB before HBD), even at
  // a higher wall; every non-finite value becomes 0, the rest stays.
  auto b = rig();
  b->m.HBD(4) = nan;
  b->m.THETAB(7) = -inf;
  guard_breaking(b->m.cfg, b->m.run(), b->m.waves());
  const std::string bline =
      " ERROR. TIME STEP 12: UNDIFFRACTED BREAKING WAVE ANGLE THETAB AT WALL 7 IS NOT A FINITE "
      "NUMBER.\n";
  EXPECT_EQ(b->prt.str(), bline);
  EXPECT_EQ(b->con.str(), bline);
  EXPECT_EQ(b->m.IRUNERR, 1);
  EXPECT_EQ(b->m.HBD(4), 0.0F);
  EXPECT_EQ(b->m.THETAB(7), 0.0F);
  EXPECT_EQ(b->m.HBD(5), 1.5F);
  // Last wall NX + 1 is checked; the transport is named
  // before the shoreline it moved; the shoreline goes back to where the step
  // found it.
  auto s = rig();
  s->m.QLS(11) = inf;
  s->m.YSHORE(5) = static_cast<double>(nan);
  guard_shoreline(s->m.cfg, s->m.run(), s->m.transport());
  EXPECT_EQ(s->prt.str(),
            " ERROR. TIME STEP 12: LONGSHORE TRANSPORT RATE QLS AT WALL 11 IS NOT A FINITE "
            "NUMBER.\n");
  for (int i = 1; i <= 10; ++i) EXPECT_EQ(s->m.YSHORE(i), 100.0 + i) << i;
  EXPECT_EQ(s->m.QLS(11), 0.0F);
  EXPECT_FLOAT_EQ(s->m.QLS(10), 0.1F);
  // The last cell NX alone.
  auto y = rig();
  y->m.YSHORE(10) = static_cast<double>(inf);
  guard_shoreline(y->m.cfg, y->m.run(), y->m.transport());
  EXPECT_EQ(y->prt.str(),
            " ERROR. TIME STEP 12: SHORELINE POSITION YSHORE AT CELL 10 IS NOT A FINITE NUMBER.\n");
}

TEST(NonFiniteGuard, VanishingCellStopsTheRunWithExit3AndNoFileHoldsNaNOrInfinity) {
  // Cell 10 of 1E-20 m: the time factor dt/(DX^2 h) = 21600/(1E-40 x 10) is
  // beyond single precision, so the stability parameter is infinite at step 1.
  Case c;
  c.set("DX:", "DX: -1\nDXFILE: dx.dat");
  c.dir.write("dx.dat", "spacing\n\n\n\n50 50 50 50 50 50 50 50 50 1.0E-20\n"
                        "50 50 50 50 50 50 50 50 50 50\n");
  const auto r = c.run();
  EXPECT_EQ(r.status, EXIT_EARLY_STOP) << r.console;
  const std::string line = " ERROR. TIME STEP 1: STABILITY PARAMETER S IS NOT A FINITE NUMBER.";
  EXPECT_TRUE(test::has_line(r.console, line)) << r.console;
  const std::string prt = c.dir.read("run.out");
  EXPECT_EQ(test::count_of(prt, line), 1);
  EXPECT_EQ(test::count_of(prt, "CALCULATION SCHEME UNSTABLE"), 0);  // never with S infinite
  EXPECT_TRUE(test::has_line(prt, " EXECUTION STOPPED DURING TIME STEP          1"));
  for (const auto& [name, text] : c.files()) {
    EXPECT_EQ(text.find("NaN"), std::string::npos) << name;
    EXPECT_EQ(text.find("Inf"), std::string::npos) << name;
  }
}

// ---- set-up ranges ----

TEST(SetUpRanges, ImpossibleValuesAndCausesOfNonFiniteResultsAreRefusedNamingTheKey) {
  test::expect_line_refusals({
      // 0.03 ft is 0.0091 m: the limit holds in metres after conversion.
      {"CSTUNITS:", "CSTUNITS: (ft)\nWAVEID: 1 0.03 0 waves.dat",
       "WAVEID line 1: wave station depth must be >= 0.01 m"},
      {"K1:", "K1: 3.0E38", "K1 at wall 1: magnitude above 1E10"},
      {"K1:", "K1: 0.5 1.0E-40\nIK1END: 10", "K1 at wall 11: positive value below 1E-30"},
      {"K2:", "K2: 0 2E10\nIK2END: 10", "K2 at wall 11: magnitude above 1E10"},
      {"THETAAMP:", "THETAAMP: 1.0E38", "THETAAMP at wall 1: magnitude above 1E10"},
      {"BERMHT:", "BERMHT: 1.0E38", "BERMHT at wall 1: magnitude above 1E10"},
      {"K1:", "K1: 0.5\nX0: -1.0E38", "X0 (baseline origin) magnitude above 1E10"},
      {"D50:", "D50: 1.0E-40", "D50 (grain size) positive value below 1E-30"},
      // The second groin line is the first by wall after the sort: entry 2.
      {"", "IXNDG: 15\nYNDG: 150\nPNDG: 0.2\nIXNDG: 5\nYNDG: 150\nPNDG: -0.1",
       "PNDG entry 2: permeability must lie in [0, 1]"},
      {"", "IXDG: 5\nYDG: 150\nDDG: 3\nPDG: 1.01", "PDG entry 1: permeability must lie in [0, 1]"},
      {"", "IXNDG: 5\nYNDG: 150\nIXNDG: 9\nPNDG: 0.5", "IXNDG entry 2: groin without its YNDG tip distance"},
      {"", "IXDG: 5\nDDG: 3", "IXDG entry 1: groin without its YDG tip distance"},
      {"", "ISWBEG: 0\nISWEND: 5", "ISWBEG entry 1: seawall cell 0 outside 1..NX"},
      {"", "ISWBEG: 2\nISWEND: 3\nISWBEG: 3\nISWEND: 21", "ISWEND entry 2: seawall cell 21 outside 1..NX"},
      {"", "ISWBEG: 8\nISWEND: 3", "ISWEND entry 1: seawall ends before its first cell ISWBEG"},
      {"", "K1: 0.5 0.6\nIK1END: 21", "IK1END entry 1: end cell 21 outside 1..NX"},
      {"", "K1: 0.5 0.6 0.7\nIK1END: 10 5", "IK1END entry 2: end cell 5 not after the entry before"},
      {"", "DCLOS: 8 9 10\nIDCLOSEND: 10 10 20", "IDCLOSEND entry 2: end cell 10 not after the entry before"},
      {"", "GAMMA: 2.01", "GAMMA (breaker index) must lie in (0, 2]"},
      {"", "GAMMA: 0", "GAMMA (breaker index) must lie in (0, 2]"}});
}

TEST(SetUpRanges, ImplausibleValuesWarnOnceAndTheRunGoesOn) {
  // Every wall above 2, an 80 mm grain, a 600 m station; the limits
  // themselves (GAMMA 2, permeability 0 and 1, a one-cell seawall) are taken.
  Case c;
  c.set("WAVEID:", "WAVEID: 1 600.0 0 waves.dat");
  c.cfg += "K1: 2.5\nD50: 80\nGAMMA: 2.0\nIXNDG: 5\nYNDG: 150\nPNDG: 0\nIXNDG: 9\nYNDG: 150\n"
           "PNDG: 1\nISWBEG: 4\nISWEND: 4\nSWY1: 50\nSWY2: 50\n";
  const auto r = c.run();
  EXPECT_EQ(r.status, EXIT_NORMAL) << r.console;
  const std::string prt = c.dir.read("run.out");
  for (const std::string line :
       {" WARNING. K1 AT WALL 1 ABOVE 2: IMPLAUSIBLE TRANSPORT COEFFICIENT",
        " WARNING. D50 ABOVE 50 MM: IMPLAUSIBLE GRAIN SIZE",
        " WARNING. WAVEID LINE 1: STATION DEEPER THAN 500 M"}) {
    EXPECT_EQ(test::count_of(r.console, line + "\n"), 1) << line;
    EXPECT_EQ(test::count_of(prt, line + "\n"), 1) << line;
  }
  EXPECT_EQ(test::count_of(r.console, " WARNING. "), 3);
  // A shallow station: its own line.
  Case s;
  s.set("WAVEID:", "WAVEID: 1 0.9 0 waves.dat");
  s.dir.write("waves.dat", "0.3 7.0 10.0\n");
  const auto rs = s.run();
  EXPECT_EQ(test::count_of(rs.console, " WARNING. WAVEID LINE 1: STATION SHALLOWER THAN 1 M\n"), 1);
  EXPECT_EQ(rs.status, EXIT_NORMAL) << rs.console;
}

}  // namespace
}  // namespace coastra

// Set-up of diffracting groins and detached breakwaters: tip depths, one-cell
// and reversed breakwaters, fixed coefficients, and the properties computed
// transmission needs; refused through the set-up function and end to end.

#include <gtest/gtest.h>

#include <string>

#include "input/setup.h"
#include "model/error_stop.h"
#include "support/cases.h"
#include "support/run_helpers.h"
#include "support/state_rig.h"

namespace coastra {
namespace {

// 20 metric cells of 10 m, one year in hourly steps, pinned beaches, and two
// valid breakwaters (cells 4..8 and 12..16, tips 2 m deep, TRANDB 0.5).
struct StructureCase : test::StateRig {
  Settings& c = m.cfg;
  StructureCase() {
    c.UNITSYS = 1;
    c.NX = 20;
    c.DX(1) = 10.0F;
    c.SIMDATS = 20000101;
    c.SIMDATE = 20010101;
    c.DT = 1.0F;
    c.NDB = 2;
    for (int k = 1; k <= 2; ++k) {
      c.DBI1(k) = 8 * k - 4;
      c.DBI2(k) = 8 * k;
      c.DBY1(k) = c.DBY2(k) = 100.0F;
      c.DBDEP1(k) = c.DBDEP2(k) = 2.0F;
      c.TRANDB(k) = 0.5F;
    }
  }
  // Computed transmission: every breakwater with its own method line and all
  // properties zero, so each test sets exactly what the method needs.
  void computed(int m1, int m2) {
    c.TRANMODE = 1;
    c.NKTMET = 2;
    c.KTMETDB(1) = m1;
    c.KTMETDB(2) = m2;
  }
  std::string stop() { return test::stop_message([&] { setup_after_config(m); }); }
};

// Messages that the end-to-end refusals below quote are checked there only.
TEST(StructureSetup, TipDepthsMustBePositive) {
  StructureCase ok;
  EXPECT_EQ(ok.stop(), "(no stop)");
  StructureCase d2;
  d2.c.DBDEP2(1) = -1.0F;
  EXPECT_EQ(d2.stop(), "DBDEP2 of detached breakwater 1 must be > 0");
  // Diffracting groins are named by their line in the input, not their sorted place.
  StructureCase g;
  g.c.NDB = 0;
  g.c.NDG = 2;
  g.c.IXDG(1) = 6;
  g.c.IXDG(2) = 12;
  g.c.IDGORD(1) = 2;  // the groin at wall 6 was given second
  g.c.IDGORD(2) = 1;
  g.c.DDG(2) = 1.0F;
  EXPECT_EQ(g.stop(), "DDG of diffracting groin 2 must be > 0");
}

TEST(StructureSetup, ReversedBreakwaterTipsAreSwapped) {
  // Reversed tips are swapped, each cell keeping its distance and depth.
  StructureCase rev;
  rev.c.DBI1(2) = 16;
  rev.c.DBY1(2) = 160.0F;
  rev.c.DBDEP1(2) = 3.0F;
  rev.c.DBI2(2) = 12;
  rev.c.DBY2(2) = 120.0F;
  rev.c.DBDEP2(2) = 1.0F;
  ASSERT_EQ(rev.stop(), "(no stop)");
  EXPECT_EQ(rev.c.DBI1(2), 12);
  EXPECT_EQ(rev.c.DBY1(2), 120.0F);
  EXPECT_EQ(rev.c.DBDEP1(2), 1.0F);
  EXPECT_EQ(rev.c.DBI2(2), 16);
  EXPECT_EQ(rev.c.DBY2(2), 160.0F);
  EXPECT_EQ(rev.c.DBDEP2(2), 3.0F);
  // Tip list: left end, breakwater 1, breakwater 2 in cell order, right end.
  const int cells[6] = {-1, 4, 8, 12, 16, 9998};
  for (int t = 1; t <= 6; ++t) EXPECT_EQ(rev.m.ITIP(t), cells[t - 1]) << t;
  EXPECT_EQ(rev.m.DTIP(4), 1.0F);
  EXPECT_EQ(rev.m.YTIP(5), 160.0F);
}

TEST(StructureSetup, FixedCoefficientsLieBetweenZeroAndOne) {
  for (float kt : {0.0F, 1.0F}) {
    StructureCase ok;
    ok.c.TRANDB(1) = kt;
    EXPECT_EQ(ok.stop(), "(no stop)") << kt;
  }
  StructureCase lo;  // (above 1: end to end below)
  lo.c.TRANDB(1) = -0.1F;
  EXPECT_EQ(lo.stop(), "TRANDB of detached breakwater 1 must lie in [0, 1]");
}

TEST(StructureSetup, ComputedTransmissionNeedsWhatItsMethodDividesBy) {
  // Method 2 needs BDB only; method 1 BDB and D50DB (its D50DB: end to end below).
  StructureCase ok;
  ok.computed(2, 1);
  ok.c.BDB(1) = ok.c.BDB(2) = 5.0F;
  ok.c.D50DB(2) = 0.5F;
  EXPECT_EQ(ok.stop(), "(no stop)");
  StructureCase b2;
  b2.computed(2, 1);
  b2.c.BDB(2) = 5.0F;
  b2.c.D50DB(2) = 0.5F;
  EXPECT_EQ(b2.stop(), "BDB of detached breakwater 1 must be > 0 for KTMETDB 2");

  // Any other code: HDB, SSDB, SHSDB and D50DB, with a crest width not negative.
  const auto reef = [](StructureCase& k) {
    k.computed(3, 0);
    for (int j = 1; j <= 2; ++j) {
      k.c.HDB(j) = 3.0F;
      k.c.SSDB(j) = k.c.SHSDB(j) = 0.5F;
      k.c.D50DB(j) = 0.5F;
    }
  };
  StructureCase r;
  reef(r);
  EXPECT_EQ(r.stop(), "(no stop)");  // BDB 0 is a triangular crest
  struct Missing {
    Vec1<float> Settings::*key;
    const char* message;
  };
  for (const Missing& mk :
       {Missing{&Settings::HDB, "HDB of detached breakwater 2 must be > 0 for KTMETDB 0"},
        Missing{&Settings::SSDB, "SSDB of detached breakwater 2 must be > 0 for KTMETDB 0"},
        Missing{&Settings::SHSDB, "SHSDB of detached breakwater 2 must be > 0 for KTMETDB 0"},
        Missing{&Settings::D50DB, "D50DB of detached breakwater 2 must be > 0 for KTMETDB 0"}}) {
    StructureCase k;
    reef(k);
    (k.c.*mk.key)(2) = 0.0F;
    EXPECT_EQ(k.stop(), mk.message);
  }
  StructureCase neg;
  reef(neg);
  neg.c.BDB(1) = -1.0F;
  EXPECT_EQ(neg.stop(), "BDB of detached breakwater 1 must not be negative");
}

TEST(StructureSetup, BreakwaterLengthsAreHeldInMetres) {
  StructureCase f;
  f.c.UNITSYS = 2;
  f.computed(3, 3);
  for (int j = 1; j <= 2; ++j) {
    f.c.HDB(j) = 10.0F;  // feet
    f.c.BDB(j) = 5.0F;
    f.c.SSDB(j) = f.c.SHSDB(j) = 0.5F;
    f.c.D50DB(j) = 2.0F;
  }
  ASSERT_EQ(f.stop(), "(no stop)");
  EXPECT_FLOAT_EQ(f.c.HDB(1), 3.048F);
  EXPECT_FLOAT_EQ(f.c.BDB(2), 1.524F);
  EXPECT_FLOAT_EQ(f.c.D50DB(1), 0.6096F);
  EXPECT_FLOAT_EQ(f.c.SSDB(1), 0.5F);  // slopes have no unit
  EXPECT_FLOAT_EQ(f.c.DBDEP1(1), 0.6096F);
}

// The same refusals from configuration lines, through the whole program.
TEST(StructureSetup, RefusalsEndTheProgramNamingKeyAndBreakwater) {
  struct Case {
    std::string lines, message;
  };
  const std::string bw1 = "DBI1: 5\nDBY1: 200\nDBDEP1: 2\nDBI2: 10\nDBY2: 200\nDBDEP2: 2\n";
  for (const Case& k :
       {Case{"DBI1: 5\nDBY1: 200\nDBDEP1: 0\nDBI2: 10\nDBY2: 200\nDBDEP2: 2\nTRANDB: 0.5\n",
             "DBDEP1 of detached breakwater 1 must be > 0"},
        Case{bw1 + "DBI1: 14\nDBY1: 200\nDBDEP1: 2\nDBI2: 14\nDBY2: 200\nDBDEP2: 2\n",
             "DBI1 and DBI2 of detached breakwater 2 are one cell"},
        Case{bw1 + "TRANDB: 1.5\n", "TRANDB of detached breakwater 1 must lie in [0, 1]"},
        Case{bw1 + "DBI1: 14\nDBY1: 200\nDBDEP1: 2\nDBI2: 18\nDBY2: 200\nDBDEP2: 2\n"
                   "KTMETDB: 2\nBDB: 5\nBDB: 5\n",
             "KTMETDB line missing for detached breakwater 2"},
        Case{bw1 + "KTMETDB: 1\nBDB: 5\n", "D50DB of detached breakwater 1 must be > 0 for KTMETDB 1"},
        Case{"IXDG: 8\nYDG: 100\nDDG: 0\nIXDG: 14\nYDG: 100\nDDG: 2\n",
             "DDG of diffracting groin 1 must be > 0"}}) {
    test::ScratchDir dir;
    dir.write("run.cfg", test::base_config(20, 50.0, 20200101, 20200201, 6.0, 24.0) + k.lines);
    dir.write("shore.dat", test::cell_file(std::vector<double>(20, 100.0)));
    dir.write("waves.dat", "1.0 7.0 10.0\n");
    const test::RunResult r = test::run_in(dir, {"run.cfg"});
    EXPECT_EQ(r.status, EXIT_STOPPED) << k.lines;
    const auto lines = test::lines_of(r.console);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), error_line(k.message)) << r.console;
  }
}

}  // namespace
}  // namespace coastra

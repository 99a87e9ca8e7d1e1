// Set-up of diffracting groins and detached breakwaters: tip depths, one-cell
// and reversed breakwaters, fixed coefficients, and the properties computed
// transmission needs; refused through the set-up function and end to end.

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "input/setup.h"
#include "model/error_stop.h"
#include "support/refusal.h"
#include "support/run_helpers.h"
#include "support/structure_coast.h"

namespace coastra {
namespace {

// 20 metric cells of 10 m, one year in hourly steps, pinned beaches, and two
// valid breakwaters (cells 4..8 and 12..16, tips 2 m deep, TRANDB 0.5).
struct StructureCase : test::StructureRig {
  StructureCase() : StructureRig(20) {
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
  std::string stop() { return test::stop_message([&] { setup_after_config(m); }); }
};

// Each case edits the valid pair of breakwaters once: accepted ("(no stop)")
// or refused with its message. Messages that the end-to-end refusals below
// quote are checked there only.
TEST(StructureSetup, TipDepthsCoefficientsAndWhatComputedTransmissionDividesBy) {
  using Edit = std::function<void(StructureCase&)>;
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
      {[](StructureCase& k) { k.c.DBDEP2(1) = -1.0F; }, "DBDEP2 of detached breakwater 1 must be > 0"},
      // Diffracting groins are named by their line in the input, not their sorted place.
      {[](StructureCase& k) {
         k.c.NDB = 0;
         k.c.NDG = 2;
         k.c.IXDG(1) = 6;
         k.c.IXDG(2) = 12;
         k.c.IDGORD(1) = 2;  // the groin at wall 6 was given second
         k.c.IDGORD(2) = 1;
         k.c.DDG(2) = 1.0F;
       },
       "DDG of diffracting groin 2 must be > 0"},
      // Fixed coefficients lie in [0, 1] (above 1: end to end below).
      {[](StructureCase& k) { k.c.TRANDB(1) = 0.0F; }, "(no stop)"},
      {[](StructureCase& k) { k.c.TRANDB(1) = 1.0F; }, "(no stop)"},
      {[](StructureCase& k) { k.c.TRANDB(1) = -0.1F; },
       "TRANDB of detached breakwater 1 must lie in [0, 1]"},
      // Method 2 needs BDB only; method 1 BDB and D50DB (its D50DB: end to end below).
      {[](StructureCase& k) {
         k.computed(2, 1);
         k.c.BDB(1) = k.c.BDB(2) = 5.0F;
         k.c.D50DB(2) = 0.5F;
       },
       "(no stop)"},
      {[](StructureCase& k) {
         k.computed(2, 1);
         k.c.BDB(2) = 5.0F;
         k.c.D50DB(2) = 0.5F;
       },
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
  const std::string bw1 = "DBI1: 5\nDBY1: 200\nDBDEP1: 2\nDBI2: 10\nDBY2: 200\nDBDEP2: 2\n";
  for (const auto& [lines, message] : {
           std::pair<std::string, std::string>{
               "DBI1: 5\nDBY1: 200\nDBDEP1: 0\nDBI2: 10\nDBY2: 200\nDBDEP2: 2\nTRANDB: 0.5\n",
               "DBDEP1 of detached breakwater 1 must be > 0"},
           {bw1 + "DBI1: 14\nDBY1: 200\nDBDEP1: 2\nDBI2: 14\nDBY2: 200\nDBDEP2: 2\n",
            "DBI1 and DBI2 of detached breakwater 2 are one cell"},
           {bw1 + "TRANDB: 1.5\n", "TRANDB of detached breakwater 1 must lie in [0, 1]"},
           {bw1 + "DBI1: 14\nDBY1: 200\nDBDEP1: 2\nDBI2: 18\nDBY2: 200\nDBDEP2: 2\n"
                  "KTMETDB: 2\nBDB: 5\nBDB: 5\n",
            "KTMETDB line missing for detached breakwater 2"},
           {bw1 + "KTMETDB: 1\nBDB: 5\n", "D50DB of detached breakwater 1 must be > 0 for KTMETDB 1"},
           {"IXDG: 8\nYDG: 100\nDDG: 0\nIXDG: 14\nYDG: 100\nDDG: 2\n",
            "DDG of diffracting groin 1 must be > 0"}}) {
    SCOPED_TRACE(lines);
    test::RunCase c;
    c.cfg += lines;
    test::expect_refused(c, message);
  }
}

}  // namespace
}  // namespace coastra

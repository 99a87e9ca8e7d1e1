// Per-step bookkeeping: volume change, transmission statistics, mean annual
// factor (the transport volumes of a step are held by the golden runs' print
// and transport files, their split into left and right by the transport tests).

#include <gtest/gtest.h>

#include <limits>

#include "output/bookkeeping.h"
#include "waves/transmission.h"
#include "support/state_rig.h"

namespace coastra {
namespace {

struct Bookkeeping : ::testing::Test {
  test::StateRig rig;
  ModelState& m = rig.m;
};

TEST_F(Bookkeeping, VolumeChangeIgnoresTinyMovesAndSumsCells) {
  m.cfg.NX = 4;
  const float dx[] = {10.0F, 20.0F, 30.0F, 10.0F};
  const double dy[] = {-0.00009, 2.0, -1.0, 0.0001};  // below the 0.0001 m floor, ..., at it
  for (int i = 1; i <= 4; ++i) {
    m.cfg.BERMHT(i) = 1.5F;  // active profile 1.5 + 3.5 = 5 m
    m.cfg.DCLOS(i) = 3.5F;
    m.cfg.DX(i) = dx[i - 1];
    m.YSHORE(i) = dy[i - 1];
  }
  volume_change(m.cfg, m.input(), m.transport(), m.output());
  EXPECT_EQ(m.VOLCELL(1), 0.0);
  EXPECT_DOUBLE_EQ(m.VOLCELL(2), 200.0);
  EXPECT_DOUBLE_EQ(m.VOLCELL(3), -150.0);
  EXPECT_NEAR(m.VOLCELL(4), 0.005, 1e-12);
  EXPECT_DOUBLE_EQ(m.VOLLEN(2), 10.0);
  EXPECT_DOUBLE_EQ(m.VOLLEN(3), -5.0);
  EXPECT_NEAR(m.VOLTOT, 50.005, 1e-9);
}

// (The shoreline extremes and the report dates are pinned by the golden runs.)
TEST_F(Bookkeeping, KtKeepsItsRangeWithoutValuesThatAreNotNumbers) {
  init_bookkeeping(m.cfg, m.input(), m.output());
  // A NaN among them is left out (sum 0.5 + 0.25 + 0.75 = 1.5 over 3 values).
  for (float kt : {0.5F, std::numeric_limits<float>::quiet_NaN(), 0.25F, 0.75F})
    record_kt(m.output(), 2, kt);
  EXPECT_DOUBLE_EQ(m.KTSUM(2), 1.5);
  EXPECT_EQ(m.KTMAX(2), 0.75F);
  EXPECT_EQ(m.KTMIN(2), 0.25F);
  EXPECT_EQ(m.NKT(2), 3);
}

// A run stopped by an error in its first step, or before it, simulated
// nothing: no annual factor (its value for steps run: the data-file tests).
TEST_F(Bookkeeping, RunWithoutASimulatedStepHasNoAnnualFactor) {
  m.NSPERDAY = 4.0F;
  m.ISTEP = 1;
  m.IRUNERR = 1;
  EXPECT_EQ(annual_factor(m.run(), m.input()), 0.0);
  m.IRUNERR = 0;
  m.ISTEP = 0;
  EXPECT_EQ(annual_factor(m.run(), m.input()), 0.0);
}

}  // namespace
}  // namespace coastra

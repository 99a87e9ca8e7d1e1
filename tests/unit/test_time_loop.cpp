// The time-step pipeline: a stage that sets the run error flag ends the step
// before anything of it is accumulated or recorded.

#include <gtest/gtest.h>

#include "driver/time_loop.h"
#include "support/coast_builder.h"
#include "waves/wave_input.h"

namespace coastra {
namespace {

TEST(TimeLoop, StepStoppedByTheWaveRecordAccumulatesAndRecordsNothing) {
  test::Coast r(3);
  r.station(1, 10.0F, "1.0 x 10.0\n");   // unreadable record: WAVINP sets the flag
  ModelState& m = r.m;
  m.cfg.DT = 6.0F;
  m.CLKYEAR = 2020, m.CLKMONTH = 1, m.CLKDAY = 1.0F;
  m.ISTEP = 0, m.NTS = 4, m.NWS = 1, m.NSTSAVE = 1;
  setup_wave_input(m);
  ASSERT_EQ(m.IRUNERR, 0);
  // Marks that accumulation would change: a shoreline moved away from its
  // initial position and its extremes, and the running totals.
  for (int i = 1; i <= 3; ++i) {
    m.YINIT(i) = 0.0;
    m.YSHORE(i) = 10.0;
    m.YMAX(i) = 5.0;
    m.YMIN(i) = 5.0;
  }
  m.VOLTOT = 123.0;
  m.VNET(2) = 7.0;
  m.QLS(2) = 1.0F;
  run_time_step(m);
  EXPECT_EQ(m.ISTEP, 1);
  EXPECT_EQ(m.IRUNERR, 1);
  EXPECT_NE(r.prt.str().find(" ERROR. INVALID RECORD 1 IN WAVE FILE w1.dat"), std::string::npos);
  for (int i = 1; i <= 3; ++i) {
    EXPECT_EQ(m.YSHORE(i), 10.0) << i;   // no shoreline stage ran
    EXPECT_EQ(m.YMAX(i), 5.0) << i;      // no extremes
    EXPECT_EQ(m.VOLCELL(i), 0.0) << i;   // no volume change
  }
  EXPECT_EQ(m.VOLTOT, 123.0);
  EXPECT_EQ(m.VNET(2), 7.0);              // no transport volumes
  EXPECT_EQ(m.IPROUT, 1);
}

}  // namespace
}  // namespace coastra

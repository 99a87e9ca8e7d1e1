// The time-step pipeline: a stage that sets the run error flag ends the step
// before anything of it is accumulated or recorded; the end-of-run reports of
// a run that stopped early show the volume change of its last complete step.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <sstream>
#include <vector>
#include <string>

#include "driver/run.h"
#include "driver/time_loop.h"
#include "support/cases.h"
#include "support/run_helpers.h"
#include "support/coast_builder.h"
#include "waves/wave_input.h"

namespace coastra {
namespace {

TEST(TimeLoop, StepStoppedByTheWaveRecordAccumulatesAndRecordsNothing) {
  test::Coast r(3);
  r.station(1, 10.0F, "1.0 x 10.0\n");   // unreadable record: the wave step sets the flag
  ModelState& m = r.m;
  m.DT = m.cfg.DT = 6.0F;
  m.CLKYEAR = 2020, m.CLKMONTH = 1, m.CLKDAY = 1.0F;
  m.ISTEP = 0, m.NTS = 4, m.NWS = 1, m.NSTSAVE = 1;
  setup_wave_input(m.cfg, m.input(), m.wave_input());
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

// 20 cells of 50 m with a groin at wall 10 under 10-degree waves, dated
// six-hourly records from 1 January 2020, DT 6 h, no data record before the
// end. bad_step names the step whose record cannot be read (0: none).
std::unique_ptr<ModelState> groin_coast_run(int simdate, int bad_step) {
  test::ScratchDir dir;
  dir.write("run.cfg", test::base_config(20, 50.0, 20200101, simdate, 6.0, 720.0) +
                           "WAVEID: 1 10.0 40 waves.dat\nIXNDG: 10\nYNDG: 150.0\nPNDG: 0.0\n");
  dir.write("shore.dat", test::cell_file(std::vector<double>(20, 100.0)));
  dir.write("waves.dat", test::six_hourly_waves(10, bad_step));
  auto m = make_state();
  const std::filesystem::path old = std::filesystem::current_path();
  std::filesystem::current_path(dir.path());
  std::ostringstream console;
  run_coastra_on(*m, {"run.cfg"}, console);
  std::filesystem::current_path(old);
  return m;
}

TEST(TimeLoop, EarlyStopReportsTheVolumeChangeOfTheLastCompleteStep) {
  // Ending on 5 January gives 16 steps of 6 h; the longer run stops when record
  // 17 cannot be read, so its last complete step is the same step 16.
  const auto full = groin_coast_run(20200105, 0);
  const auto stopped = groin_coast_run(20200109, 17);
  ASSERT_EQ(full->IRUNERR, 0);
  ASSERT_EQ(full->ISTEP, 16);
  ASSERT_EQ(stopped->IRUNERR, 1);
  ASSERT_EQ(stopped->ISTEP, 17);
  double moved = 0.0;
  for (int i = 1; i <= 20; ++i) {
    EXPECT_EQ(stopped->VOLCELL(i), full->VOLCELL(i)) << i;
    EXPECT_EQ(stopped->VOLLEN(i), full->VOLLEN(i)) << i;
    moved += std::fabs(full->VOLCELL(i));
  }
  EXPECT_EQ(stopped->VOLTOT, full->VOLTOT);
  EXPECT_GT(moved, 1.0);  // the groin has trapped sand: the volumes are not all zero
}

}  // namespace
}  // namespace coastra

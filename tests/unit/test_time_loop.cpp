// The time-step pipeline: a stage that sets the run error flag ends the step
// before anything of it is accumulated or recorded; a run that stopped early
// has its own status and lines, and its end-of-run reports show the volume
// change of its last complete step.

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>
#include <string>

#include "driver/run.h"
#include "model/error_stop.h"
#include "support/cases.h"
#include "support/run_helpers.h"

namespace coastra {
namespace {

// 20 cells of 50 m with a groin at wall 10 under 10-degree waves, dated
// six-hourly records from 1 January 2020, DT 6 h, no data record before the
// end. bad_step names the step whose record cannot be read (0: none).
struct GroinRun {
  test::ScratchDir dir;
  std::unique_ptr<ModelState> m = make_state();
  test::RunResult r;
  GroinRun(int simdate, int bad_step) {
    dir.write("run.cfg", test::base_config(20, 50.0, 20200101, simdate, 6.0, 720.0) +
                             "WAVEID: 1 10.0 40 waves.dat\nIXNDG: 10\nYNDG: 150.0\nPNDG: 0.0\n");
    dir.write("shore.dat", test::cell_file(std::vector<double>(20, 100.0)));
    dir.write("waves.dat", test::six_hourly_waves(10, bad_step));
    r = test::run_in(dir, {"run.cfg"}, m.get());
  }
};

TEST(TimeLoop, EarlyStopHasItsStatusItsLinesAndTheVolumeChangeOfTheLastCompleteStep) {
  // Ending on 5 January gives 16 steps of 6 h; the longer run stops when record
  // 17 cannot be read, so its last complete step is the same step 16: the
  // stopped step accumulates nothing (transport volumes, extremes).
  const GroinRun full(20200105, 0), stopped(20200109, 17);
  ASSERT_EQ(full.m->IRUNERR, 0);
  ASSERT_EQ(full.m->ISTEP, 16);
  ASSERT_EQ(stopped.m->IRUNERR, 1);
  ASSERT_EQ(stopped.m->ISTEP, 17);
  double moved = 0.0;
  for (int i = 1; i <= 20; ++i) {
    EXPECT_EQ(stopped.m->VOLCELL(i), full.m->VOLCELL(i)) << i;
    EXPECT_EQ(stopped.m->VOLLEN(i), full.m->VOLLEN(i)) << i;
    EXPECT_EQ(stopped.m->VNET(i), full.m->VNET(i)) << i;
    EXPECT_EQ(stopped.m->YMAX(i), full.m->YMAX(i)) << i;
    moved += std::fabs(full.m->VOLCELL(i));
  }
  EXPECT_EQ(stopped.m->VOLTOT, full.m->VOLTOT);
  EXPECT_GT(moved, 1.0);  // the groin has trapped sand: the volumes are not all zero
  // Its own exit status; the console names the step and the reason once, before
  // its last line; the print file ends with the end-of-run reports.
  EXPECT_EQ(stopped.r.status, EXIT_EARLY_STOP);
  EXPECT_EQ(test::count_of(stopped.r.console, "STOPPED AT TIME STEP"), 1);
  EXPECT_TRUE(test::has_line(stopped.r.console,
                             " STOPPED AT TIME STEP 17: ERROR. INVALID RECORD 17 IN WAVE FILE"
                             " waves.dat"))
      << stopped.r.console;
  EXPECT_EQ(test::last_line(stopped.r.console), " Model run completed");
  const std::string prt = stopped.dir.read("run.out");
  EXPECT_TRUE(test::has_line(prt, " EXECUTION STOPPED DURING TIME STEP         17")) << prt;
  EXPECT_NE(prt.find("OUTPUT LAST TIMESTEP NO."), std::string::npos);
  EXPECT_EQ(test::last_line(prt), " SIGN CONVENTION:  EROSION (-), ACCRETION (+)");
}

}  // namespace
}  // namespace coastra

// The program run end to end on small configurations: messages and exit
// statuses of set-up checks and early stops; the records and reports a run
// leaves behind. Runs in feet and with undated (cycling) waves
// are pinned byte for byte by the golden case feet_regional.

#include <gtest/gtest.h>

#include "model/error_stop.h"
#include "support/cases.h"
#include "support/run_helpers.h"

namespace coastra {
namespace {

using test::count_of;
using test::last_line;

// The shared run case (20 cells under steady oblique waves) with its dates,
// DT and DTSAVE replaced and extra lines appended.
struct SmallCoast : test::RunCase {
  explicit SmallCoast(const std::string& extra = "", const std::string& dates = "") {
    cfg += dates + extra;   // a later line overrides the base one
  }
};

TEST(EndToEnd, SetUpChecksExplainOnTheConsoleBeforeTheErrorLine) {
  SmallCoast coast("IXNDG: 5\nYNDG: 150.0\nPNDG: 0.0\nIXNDG: 6\nYNDG: 150.0\nPNDG: 0.0\n");
  const auto r = coast.run();
  EXPECT_EQ(r.status, EXIT_STOPPED);
  const auto lines = test::lines_of(r.console);
  ASSERT_GE(lines.size(), 3U);
  EXPECT_EQ(lines[lines.size() - 3], " ERROR. GROINS MUST BE SEPARATED BY AT LEAST");
  EXPECT_EQ(lines[lines.size() - 2], " TWO CALCULATION CELLS. PLEASE CHANGE.");
  EXPECT_EQ(lines.back(), error_line(" ERROR. GROINS MUST BE SEPARATED BY AT LEAST"));
  EXPECT_EQ(coast.dir.read("run.slo"), "earlier slo\n");  // stopped before the data files
}

TEST(EndToEnd, UnreadableWaveRecordStopsWithReportsAndItsOwnStatus) {
  SmallCoast coast("WAVEID: 1 10.0 40 waves.dat\n");  // dated form, 40 events
  coast.dir.write("waves.dat", test::six_hourly_waves(10, 19));
  const auto r = coast.run();
  EXPECT_EQ(r.status, EXIT_EARLY_STOP);
  EXPECT_EQ(last_line(r.console), " Model run completed");
  // The console names the step and the reason, once, before the last line.
  EXPECT_EQ(count_of(r.console, "STOPPED AT TIME STEP"), 1);
  EXPECT_TRUE(test::has_line(r.console, " STOPPED AT TIME STEP 19: ERROR. INVALID RECORD 19 IN WAVE FILE waves.dat"))
      << r.console;
  const std::string prt = coast.dir.read("run.out");
  // Record 19 is read at step 19 (one record a step) and cannot be read.
  EXPECT_TRUE(test::has_line(prt, " EXECUTION STOPPED DURING TIME STEP         19")) << prt;
  EXPECT_NE(prt.find("waves.dat"), std::string::npos);
  EXPECT_NE(prt.find("OUTPUT LAST TIMESTEP NO."), std::string::npos);
  EXPECT_EQ(last_line(prt), " SIGN CONVENTION:  EROSION (-), ACCRETION (+)");
}

TEST(EndToEnd, RecordsFollowTheSaveIntervalAndTheReportsTheirDates) {
  // DT 6 h, DTSAVE 24 h: a record every 4th step, labelled with the next date.
  SmallCoast coast("PRDATE: 20200115\nPRDATE: 200\n", "SIMDATE: 20200301\n");
  ASSERT_EQ(coast.run().status, EXIT_NORMAL);
  const auto slo = test::read_records(coast.dir.read("run.slo"));
  ASSERT_EQ(slo.size(), 60U);  // 240 steps / 4
  EXPECT_EQ(slo.front().label, 20200102);
  EXPECT_EQ(slo[30].label, 20200201);
  EXPECT_EQ(slo.back().label, 20200301);
  for (const auto& rec : slo) EXPECT_EQ(rec.values.size(), 20U);
  const std::string prt = coast.dir.read("run.out");
  // A date entry and a step-number entry are both honoured, in list order.
  EXPECT_EQ(count_of(prt, "SHORELINE POSITION (M) AFTER"), 2);
  EXPECT_NE(prt.find("TIME STEPS. DATE IS 20200115"), std::string::npos);
  EXPECT_NE(prt.find("     200 TIME STEPS."), std::string::npos);
  // A run of one step given as step counts writes no intermediate report.
  SmallCoast one("PRDATE: 1\n", "SIMDATS: 1\nSIMDATE: 1\nDT: 1\nDTSAVE: 1\n");
  ASSERT_EQ(one.run().status, EXIT_NORMAL);
  EXPECT_EQ(count_of(one.dir.read("run.out"), "SHORELINE POSITION (M) AFTER"), 0);
  EXPECT_NE(one.dir.read("run.out").find("OUTPUT LAST TIMESTEP NO.       1"), std::string::npos);
  // With print output off the print file is left empty; the data files are written.
  SmallCoast off("PRTOUT: F\n", "SIMDATE: 20200110\n");
  ASSERT_EQ(off.run().status, EXIT_NORMAL);
  EXPECT_EQ(off.dir.read("run.out"), "");
  EXPECT_EQ(test::read_records(off.dir.read("run.slo")).size(), 9U);
}

}  // namespace
}  // namespace coastra

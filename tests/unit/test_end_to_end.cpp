// The program run end to end on the shared small case (a line appended to its
// configuration overrides the base one): the messages and exit status of a
// set-up check; the records and reports a run leaves behind. Runs in feet and
// with undated (cycling) waves are pinned by the golden cases.

#include <gtest/gtest.h>

#include "model/error_stop.h"
#include "support/cases.h"
#include "support/refusal.h"
#include "support/run_helpers.h"

namespace coastra {
namespace {

TEST(EndToEnd, SetUpChecksExplainOnTheConsoleBeforeTheErrorLine) {
  test::RunCase coast;
  coast.cfg += "IXNDG: 5\nYNDG: 150.0\nPNDG: 0.0\nIXNDG: 6\nYNDG: 150.0\nPNDG: 0.0\n";
  // The error line last, the earlier run's data files untouched.
  const auto r = test::expect_refused(coast, " ERROR. GROINS MUST BE SEPARATED BY AT LEAST");
  const auto lines = test::lines_of(r.console);
  ASSERT_GE(lines.size(), 3U);
  EXPECT_EQ(lines[lines.size() - 3], " ERROR. GROINS MUST BE SEPARATED BY AT LEAST");
  EXPECT_EQ(lines[lines.size() - 2], " TWO CALCULATION CELLS. PLEASE CHANGE.");
}

// The records of the save interval and the reports of PRDATE dates and steps
// are pinned by the golden cases (groins_metric has both kinds of PRDATE).
TEST(EndToEnd, OneStepRunHasNoIntermediateReportAndPrintOutputOffLeavesThePrintFileEmpty) {
  // A run of one step given as step counts writes no intermediate report.
  test::RunCase one;
  one.cfg += "SIMDATS: 1\nSIMDATE: 1\nDT: 1\nDTSAVE: 1\nPRDATE: 1\n";
  ASSERT_EQ(one.run().status, EXIT_NORMAL);
  EXPECT_EQ(test::count_of(one.dir.read("run.out"), "SHORELINE POSITION (M) AFTER"), 0);
  EXPECT_NE(one.dir.read("run.out").find("OUTPUT LAST TIMESTEP NO.       1"), std::string::npos);
  // With print output off the print file is left empty; the data files are written.
  test::RunCase off;
  off.cfg += "SIMDATE: 20200110\nPRTOUT: F\n";
  ASSERT_EQ(off.run().status, EXIT_NORMAL);
  EXPECT_EQ(off.dir.read("run.out"), "");
  EXPECT_EQ(test::read_records(off.dir.read("run.slo")).size(), 9U);
}

}  // namespace
}  // namespace coastra

// Every refusal and warning of the fill and bypass schedules, each tried as a
// new user would make it: one wrong line in an otherwise valid configuration.
// The error line names the key (or the file and line) and the entry; the print
// file keeps what was written before it.

#include <gtest/gtest.h>

#include "model/error_stop.h"
#include "support/cases.h"
#include "support/refusal.h"
#include "support/run_helpers.h"

namespace coastra {
namespace {

using test::last_line;

// A valid coast of 20 cells with one fill and either two bypass operations or
// the event-file form; run_with replaces the text `from` of it by `to`.
const std::string FILL = "BFDATS: 20200110\nBFDATE: 20200120\nIBFS: 5\nIBFE: 8\nYADD: 10.0\n";
const std::string OPS =
    "BPDATS: 20200105\nBPDATE: 20200115\nIBPS: 2\nIBPE: 3\nQBP: -50.0\n"
    "BPDATS: 20200105\nBPDATE: 20200115\nIBPS: 15\nIBPE: 16\nQBP: 50.0\n";
const std::string EVENTS =
    "BYPFILE: events.dat\nQQDATS: 20200101\nQQDATE: 20200301\nIQQS: 10\nIQQE: 14\n";
const std::string EVENT_FILE = "20200105 20200110 10 12 5.0\n20200110 20200120 11 14 1 2 3 4\n";

struct Tried {
  test::RunResult r;
  std::string prt;
};

Tried run_with(const std::string& form, const std::string& from, const std::string& to,
               const std::string& events = EVENT_FILE) {
  test::RunCase c;
  c.set("SIMDATE:", "SIMDATE: 20200201");
  c.cfg += FILL + form;
  if (!from.empty()) {
    const auto at = c.cfg.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    c.cfg.replace(at, from.size(), to);
  }
  c.dir.write("events.dat", events);
  Tried t{c.run(), ""};
  t.prt = c.dir.read("run.out");
  return t;
}

TEST(ScheduleMessages, EachWrongLineIsNamed) {
  struct Case {
    std::string form, from, to, message, print_line;
  };
  const std::string date_lines = " ERROR. INCORRECT FORMAT ON BEACH FILL DATES.";
  const Case cases[] = {
      {OPS, "BFDATS: 20200110", "BFDATS: 20201310",
       "BFDATS of beach fill 1 is no date (month 1-12, day of the month)", date_lines},
      {OPS, "BFDATE: 20200120", "BFDATE: 20200231",
       "BFDATE of beach fill 1 is no date (month 1-12, day of the month)", date_lines},
      {OPS, "BFDATE: 20200120", "BFDATE: 20200110", "BFDATE of beach fill 1 must be after its BFDATS",
       ""},
      {OPS, "BFDATE: 20200120", "BFDATE: 30", "BFDATS and BFDATE of beach fill 1: one a date, one a step",
       ""},
      {OPS, "IBPE: 16", "IBPE: 21", "IBPS/IBPE of bypass operation 2 outside cells 1..20",
       " ERROR. BYPASSED MATERIAL IS PLACED OUTSIDE "},
      {OPS, "IBPS: 2", "IBPS: 4", "ERROR. Bypass start coordinate is greater than end coordinate.",
       " ERROR. START X-COORDINATE OF PLACEMENT OF"},
      {OPS, "BPDATS: 20200105", "BPDATS: 20200100", "BPDATS of bypass operation 1 is no date YYYYMMDD",
       ""},
      {OPS + EVENTS, "", "", "BPDATS lines cannot be mixed with BYPFILE", ""},
      {EVENTS, "IQQE: 14\n", "", "BYPFILE needs IQQE", ""},
      {EVENTS, "BYPFILE: events.dat\n", "", "QQDATS, QQDATE, IQQS and IQQE need BYPFILE", ""},
      {EVENTS, "IQQS: 10", "IQQS: 12", "BYPFILE events.dat line 1: cells outside IQQS..IQQE", ""},
      {EVENTS, "QQDATE: 20200301", "QQDATE: 20200101", "QQDATE must be after QQDATS", ""},
      {OPS, "BPDATE: 20200115\nIBPS: 15", "BPDATE: 2020011\nIBPS: 15",
       "BPDATE of bypass operation 2 is no date YYYYMMDD", ""},
      {OPS, "BFDATS: 20200110\nBFDATE: 20200120", "BFDATS: 0\nBFDATE: 20",
       "BFDATS of beach fill 1: steps count from 1", ""},
  };
  for (const Case& c : cases) {
    const Tried t = run_with(c.form, c.from, c.to);
    EXPECT_EQ(t.r.status, EXIT_STOPPED) << c.message;
    EXPECT_EQ(last_line(t.r.console), error_line(c.message));
    // The print file keeps its echo (written before the schedules are checked)
    // and ends with the same error line.
    EXPECT_NE(t.prt.find("CELL INDEX WHERE FILLS START"), std::string::npos) << c.message;
    EXPECT_EQ(last_line(t.prt), error_line(c.message));
    if (!c.print_line.empty()) {
      EXPECT_TRUE(test::has_line(t.prt, c.print_line)) << c.message;
    }
  }
}

TEST(ScheduleMessages, RefusedInStepCountRunsAndBeyondCapacity) {
  // A run given as a step count has no calendar for dated schedules.
  for (const auto& [extra, message] :
       {std::pair{FILL, std::string("BFDATS of beach fill 1 is a date in a run of steps")},
        std::pair{OPS, std::string("BPDATS of bypass operation 1: dates need a dated run")}}) {
    test::RunCase c;
    c.set("SIMDATS:", "SIMDATS: 400");
    c.set("SIMDATE:", "SIMDATE: 400");
    c.cfg += extra;
    test::expect_refused(c, message);   // the earlier run's data files stay whole
  }
  // 251 bypass operations: the capacity is 250.
  std::string many;
  for (int k = 0; k < 251; ++k) many += "BPDATS: 20200105\nBPDATE: 20200115\nIBPS: 2\nIBPE: 3\nQBP: 1.0\n";
  Tried t = run_with(many, "", "");
  EXPECT_EQ(last_line(t.r.console), error_line("ERROR. Too many bypassing operations."));
  EXPECT_TRUE(test::has_line(t.prt, " ERROR. TOO MANY BYPASSING OPERATIONS."));
  EXPECT_TRUE(test::has_line(t.prt, " MAXIMUM NUMBER IS         250"));
  many.resize(many.size() / 251 * 250);
  t = run_with(many, "", "");
  EXPECT_EQ(t.r.status, EXIT_NORMAL);
}

TEST(ScheduleMessages, EventFileLinesAreCheckedAndLimited) {
  const std::pair<std::string, std::string> cases[] = {
      {"20200105 20200110 10 12\n", "line 1: give one rate or one per cell (3)"},
      {"20200105 20200110 10 12 1 2\n", "line 1: give one rate or one per cell (3)"},
      {"\n20200105 2020011x 10 12 5\n", "line 2: needs start end first_cell last_cell rates"},
      {"20200105 20200110 10 12 5 x 5\n", "line 1: rate is not a number"},
      {"20200110 20200105 10 12 5\n", "line 1: event ends before it starts"},
      {"20200105 20200110 10 12 5\n20200108 20200112 10 12 5\n",
       "line 2: events out of date order or overlapping"},
      {"20200105 20200410 10 12 5\n", "line 1: event outside QQDATS..QQDATE"},
      {"20200132 20200210 10 12 5\n", "line 1: dates must be YYYYMMDD"},
      // A line longer than 65536 characters is refused, not read shortened.
      {"20200105 20200110 10 12 " + std::string(70000, '1') + "\n", "line 1: line too long"},
  };
  for (const auto& [file, what] : cases) {
    const Tried t = run_with(EVENTS, "", "", file);
    EXPECT_EQ(last_line(t.r.console), error_line("BYPFILE events.dat " + what)) << what;
  }
  // 2001 one-day events (days 1..27 of each month from 2020 on): the table holds 2000.
  std::string many;
  for (int n = 0; n < 2001; ++n) {
    const int month = n / 27, day = n % 27 + 1;
    const int date = (2020 + month / 12) * 10000 + (month % 12 + 1) * 100 + day;
    many += std::to_string(date) + " " + std::to_string(date + 1) + " 10 12 1.0\n";
  }
  const Tried t = run_with(EVENTS, "QQDATE: 20200301", "QQDATE: 20300101", many);
  EXPECT_EQ(last_line(t.r.console), error_line("BYPFILE events.dat line 2001: more than 2000 events"));
}

TEST(ScheduleMessages, BypassDateWarningsAndReversedOperation) {
  // Operation 1 from before the start to after the end: two warnings; operation
  // 2 ends before it starts: warned of and never acts. The run goes on.
  Tried t = run_with("BPDATS: 20191201\nBPDATE: 20200301\nIBPS: 2\nIBPE: 3\nQBP: -50.0\n"
                     "BPDATS: 20200115\nBPDATE: 20200105\nIBPS: 15\nIBPE: 16\nQBP: 50.0\n",
                     "", "");
  EXPECT_EQ(t.r.status, EXIT_NORMAL);
  for (const char* warning :
       {" WARNING. BYPASS OPERATION STARTS BEFORE THE\n SIMULATION HAS STARTED.\n\n",
        " WARNING. BYPASS OPERATION ENDS AFTER THE\n SIMULATION HAS ENDED.\n\n",
        " WARNING. BYPASS OPERATION 2 ENDS BEFORE IT STARTS.\n IT IS IGNORED.\n"})
    EXPECT_NE(t.prt.find(warning), std::string::npos) << warning;
  // The event span of the event-file form is warned of as bypass data.
  t = run_with(EVENTS, "QQDATE: 20200301", "QQDATE: 20200401");
  EXPECT_EQ(t.r.status, EXIT_NORMAL);
  EXPECT_NE(t.prt.find(" WARNING. BYPASS DATA ENDS AFTER THE\n SIMULATION HAS ENDED.\n\n"),
            std::string::npos);
}

}  // namespace
}  // namespace coastra

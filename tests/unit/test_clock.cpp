// Dates, run length, the simulation clock and the save interval.

#include <gtest/gtest.h>

#include <tuple>

#include <climits>
#include <cmath>
#include <string>

#include "input/clock.h"
#include "support/state_rig.h"

namespace coastra {
namespace {

// A state with the run's dates and time step as the configuration gives them.
struct ClockRig : test::StateRig {
  ClockRig(int dats, int date, float dt) {
    m.cfg.SIMDATS = dats;
    m.cfg.SIMDATE = date;
    m.DT = m.cfg.DT = dt;
  }
  template <class F>
  std::string stop(F f) {
    return test::stop_message([&] { f(m); });
  }
};

// The stages that may stop, with the sections the run passes them.
void run_length(ModelState& m) { set_run_length(m.cfg, m.run(), m.input()); }
void save_interval(ModelState& m) { check_save_interval(m.cfg, m.run(), m.output()); }

int days_between(int a, int b) {
  int y0, m0, d0, y1, m1, d1;
  split_date(a, y0, m0, d0);
  split_date(b, y1, m1, d1);
  return day_count(y0, m0, d0, y1, m1, d1);
}

TEST(DayCount, CountsMonthEndsAndLeapDaysOfTheModelCalendar) {
  EXPECT_EQ(days_between(20000101, 20010101), 366);  // leap day of 2000 inside
  EXPECT_EQ(days_between(20000301, 20010301), 365);  // leap day before the start
  EXPECT_EQ(days_between(19990301, 20000301), 366);  // leap day of the end year
  EXPECT_EQ(days_between(20200131, 20200201), 1);
  EXPECT_EQ(days_between(20201231, 20210101), 1);
  EXPECT_EQ(days_between(20200415, 20200310), -36);
  // The civil calendar: centuries are leap years only when divisible by 400.
  EXPECT_EQ(days_between(21000201, 21000301), 28);
  EXPECT_EQ(days_between(20990101, 21010101), 730);
  EXPECT_EQ(days_between(19000101, 19010101), 365);
  EXPECT_EQ(days_between(23990101, 24010101), 731);
  EXPECT_FALSE(leap_year(2001));
  EXPECT_FALSE(leap_year(2100));
  EXPECT_TRUE(leap_year(2000));
  EXPECT_TRUE(leap_year(2096));
}

TEST(RunLength, StepsFromDatesRoundHalfAwayFromZero) {
  struct Case { int dats, date; float dt; int ndays, nts; };
  for (const Case& k : {Case{20000101, 20010101, 1.0F, 366, 8784},
                        Case{20200101, 20200102, 5.0F, 1, 5},    // 4.8 steps
                        Case{20200101, 20200104, 16.0F, 3, 5},   // 4.5 steps
                        Case{20200101, 20200102, 48.0F, 1, 1}}) {  // half a step
    ClockRig r(k.dats, k.date, k.dt);
    set_run_length(r.m.cfg, r.m.run(), r.m.input());
    EXPECT_EQ(r.m.NDAYS, k.ndays) << k.dats << " DT " << k.dt;
    EXPECT_EQ(r.m.NTS, k.nts) << k.dats << " DT " << k.dt;
  }
  ClockRig count(1000, 1000, 1.0F);  // equal values below the threshold: a step count
  set_run_length(count.m.cfg, count.m.run(), count.m.input());
  EXPECT_EQ(count.m.NTS, 1000);
  ClockRig same(20200101, 20200101, 1.0F);
  EXPECT_EQ(same.stop(run_length), " ERROR. SIMULATION ENDING DATE MUST BE LATER THAN");
  EXPECT_EQ(same.con.str(),
            " ERROR. SIMULATION ENDING DATE MUST BE LATER THAN\n"
            " THE STARTING DATE. PLEASE CORRECT YOUR .cfg FILE.\n");
  ClockRig none(0, 0, 1.0F);
  EXPECT_EQ(none.stop(run_length), "NTS must be > 0");
  ClockRig huge(20000101, 20010101, 1.0e-6F);  // 8.8e9 steps: more than an integer holds
  EXPECT_EQ(huge.stop(run_length), "NTS too large: DT too small for the run");
}

TEST(RunLength, StartDateFormatIsChecked) {
  for (int start : {20201301, 20200132}) {  // month 13, day 32
    ClockRig r(start, 20210101, 1.0F);
    EXPECT_EQ(r.stop(run_length), " ERROR. INCORRECT FORMAT ON SIMULATION START DATE.");
    EXPECT_EQ(r.con.str(), " ERROR. INCORRECT FORMAT ON SIMULATION START DATE.\n"
                           " PLEASE CORRECT YOUR .cfg FILE.\n") << start;
  }
  // A day beyond its month, at either end, is no calendar date.
  for (const auto& [start, end, key] : {std::tuple{20200231, 20200310, "SIMDATS"},
                                        std::tuple{21000229, 21000310, "SIMDATS"},
                                        std::tuple{20200201, 20200431, "SIMDATE"}}) {
    ClockRig r(start, end, 24.0F);
    EXPECT_EQ(r.stop(run_length),
              std::string(key) + " is no calendar date (month 1-12, day of the month)");
  }
}

TEST(Clock, SixHourStepsKeepTheDayUntilItIsComplete) {
  ClockRig r(20000131, 20000301, 6.0F);
  set_run_length(r.m.cfg, r.m.run(), r.m.input());
  for (float day : {31.25F, 31.5F, 31.75F}) {
    advance_clock(r.m.step(), r.m.input());
    EXPECT_EQ(r.m.CLKDAY, day);
    EXPECT_EQ(r.m.CURDATE, 20000131);
  }
  EXPECT_EQ(r.m.NEXTDATE, 20000201);  // one step further, without moving the clock
  advance_clock(r.m.step(), r.m.input());
  EXPECT_EQ(r.m.CURDATE, 20000201);
  EXPECT_EQ(r.m.CLKDAY, 1.0F);
}

TEST(Clock, FiveHourStepsDropTheFractionAtMonthEnd) {
  ClockRig r(20000131, 20000301, 5.0F);
  set_run_length(r.m.cfg, r.m.run(), r.m.input());
  for (int k = 1; k <= 5; ++k) advance_clock(r.m.step(), r.m.input());
  EXPECT_EQ(r.m.CURDATE, 20000201);  // day 32.04: the 0.04 day is lost
  EXPECT_EQ(r.m.CLKDAY, 1.0F);
  for (int k = 1; k <= 4; ++k) advance_clock(r.m.step(), r.m.input());
  EXPECT_EQ(r.m.CURDATE, 20000201);
  advance_clock(r.m.step(), r.m.input());
  EXPECT_EQ(r.m.CURDATE, 20000202);
}

TEST(Clock, HourlyStepsStayOnTheCalendarForYears) {
  // 1/24 day is not exact in binary; the clock must still meet every day and
  // month boundary on the step it belongs to.
  ClockRig r(20200101, 20230101, 1.0F);
  set_run_length(r.m.cfg, r.m.run(), r.m.input());
  ASSERT_EQ(r.m.NTS, 26304);
  // The clock shows the time at the end of the step: step 8783 ends at 23:00
  // on the last day of the leap year 2020, step 8784 at midnight.
  for (int k = 1; k <= 8783; ++k) advance_clock(r.m.step(), r.m.input());
  EXPECT_EQ(r.m.CURDATE, 20201231);
  EXPECT_EQ(r.m.NEXTDATE, 20210101);
  advance_clock(r.m.step(), r.m.input());
  EXPECT_EQ(r.m.CURDATE, 20210101);
  for (int k = 8785; k <= r.m.NTS; ++k) advance_clock(r.m.step(), r.m.input());
  EXPECT_EQ(r.m.CURDATE, 20230101);
}

TEST(Clock, LeapDayAndYearRollover) {
  ClockRig leap(20960228, 20960310, 24.0F);
  set_run_length(leap.m.cfg, leap.m.run(), leap.m.input());
  advance_clock(leap.m.step(), leap.m.input());
  EXPECT_EQ(leap.m.CURDATE, 20960229);
  EXPECT_EQ(leap.m.NEXTDATE, 20960301);
  ClockRig common(21000228, 21000310, 24.0F);   // 2100 is no leap year
  set_run_length(common.m.cfg, common.m.run(), common.m.input());
  advance_clock(common.m.step(), common.m.input());
  EXPECT_EQ(common.m.CURDATE, 21000301);

  ClockRig r(20011231, 20030101, 24.0F);
  set_run_length(r.m.cfg, r.m.run(), r.m.input());
  EXPECT_EQ(r.m.NTS, 366);
  advance_clock(r.m.step(), r.m.input());
  EXPECT_EQ(r.m.CURDATE, 20020101);
  EXPECT_EQ(r.m.NYEARSIM, 1);
  EXPECT_TRUE(r.m.IYRFLAG);
  for (int k = 1; k <= 31; ++k) advance_clock(r.m.step(), r.m.input());
  EXPECT_EQ(r.m.CURDATE, 20020201);
  EXPECT_FALSE(r.m.IYRFLAG);
  EXPECT_EQ(r.m.NYEARSIM, 1);
}

TEST(SaveInterval, MultipleInThousandthsOfAnHourSetsStepsPerSave) {
  ClockRig a(20000101, 20000102, 0.1F);
  a.m.cfg.DTSAVE = 0.3F;  // neither value is exact in binary
  check_save_interval(a.m.cfg, a.m.run(), a.m.output());
  EXPECT_EQ(a.m.NSTSAVE, 3);
  ClockRig c(20000101, 20000102, 1.0F);
  c.m.cfg.DTSAVE = 2.5F;
  EXPECT_EQ(c.stop(save_interval), "ERROR. DTSAVE not a multiple of simulation time step.");
  EXPECT_EQ(c.prt.str(),
            " ERROR. DTSAVE MUST BE A MULTIPLE OF SIMULATION TIME STEP.\n"
            " PLEASE  REVIEW AND REVISE YOUR .cfg FILE.\n");
  // 2^100 steps per save (a run given as a step count may have any DT): held at
  // the largest count, never wrapped to a count that would divide by zero.
  ClockRig tiny(1000, 1000, std::ldexp(1.0F, -100));
  tiny.m.cfg.DTSAVE = 1.0F;
  check_save_interval(tiny.m.cfg, tiny.m.run(), tiny.m.output());
  EXPECT_EQ(tiny.m.NSTSAVE, INT_MAX);
}

}  // namespace
}  // namespace coastra

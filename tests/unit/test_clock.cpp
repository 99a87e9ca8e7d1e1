// Dates, run length, the simulation clock and the save interval.

#include <gtest/gtest.h>

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
  // Leap day of 2000 inside, before the start, in the end year; month and
  // year ends; backwards. Centuries are leap years only when divisible by 400.
  const int cases[][3] = {{20000101, 20010101, 366}, {20000301, 20010301, 365},
                          {19990301, 20000301, 366}, {20200131, 20200201, 1},
                          {20201231, 20210101, 1},   {20200415, 20200310, -36},
                          {21000201, 21000301, 28},  {20990101, 21010101, 730},
                          {19000101, 19010101, 365}, {23990101, 24010101, 731}};
  for (const auto& c : cases) EXPECT_EQ(days_between(c[0], c[1]), c[2]) << c[0] << " " << c[1];
}

TEST(RunLength, StepsFromDatesRoundHalfAwayFromZeroAndWrongDatesStop) {
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
  // Equal values below the threshold: a step count, also where they would be
  // no date (99: month 0; 1399: month 13); more than 10 million steps are
  // announced as a long run (1000000.1 hours: 114.08 years, under the year limit).
  for (const auto& [n, dt, console] :
       {std::tuple{99, 1.0F, ""}, {1399, 1.0F, ""}, {1000, 1.0F, ""}, {10000000, 0.1F, ""},
        {10000001, 0.1F, " WARNING. LONG RUN: 10000001 STEPS OF 0.10 HOURS, 114.1 YEARS\n"}}) {
    ClockRig count(n, n, dt);
    EXPECT_EQ(count.stop(run_length), "(no stop)");
    EXPECT_EQ(count.m.NTS, n);
    EXPECT_EQ(count.con.str(), console) << n;
  }
  // Wrong dates and step counts stop naming the fault: equal dates; no step;
  // more steps than an integer holds (8.8e9); month 13, day 32; a day beyond
  // its month at either end.
  const std::string format = " ERROR. INCORRECT FORMAT ON SIMULATION START DATE.";
  const std::string no_date = " is no calendar date (month 1-12, day of the month)";
  const std::string later = " ERROR. SIMULATION ENDING DATE MUST BE LATER THAN";
  struct Stop { int dats, date; float dt; std::string message; };
  for (const Stop& k : {Stop{20200101, 20200101, 1.0F, later}, Stop{0, 0, 1.0F, "NTS must be > 0"},
                        Stop{20000101, 20010101, 1e-6F, "NTS too large: DT too small for the run"},
                        Stop{20201301, 20210101, 1.0F, format}, Stop{20200132, 20210101, 1, format},
                        Stop{20200231, 20200310, 24.0F, "SIMDATS" + no_date},
                        Stop{21000229, 21000310, 24.0F, "SIMDATS" + no_date},
                        Stop{20200201, 20200431, 24.0F, "SIMDATE" + no_date}}) {
    ClockRig r(k.dats, k.date, k.dt);
    EXPECT_EQ(r.stop(run_length), k.message) << k.dats;
  }
  // The console explains the first two kinds.
  ClockRig same(20200101, 20200101, 1.0F), month(20201301, 20210101, 1.0F);
  same.stop(run_length);
  month.stop(run_length);
  EXPECT_EQ(same.con.str(), later + "\n THE STARTING DATE. PLEASE CORRECT YOUR .cfg FILE.\n");
  EXPECT_EQ(month.con.str(), format + "\n PLEASE CORRECT YOUR .cfg FILE.\n");
}

TEST(Clock, StepsMeetEveryDayMonthLeapDayAndYearEnd) {
  // After n steps from the start: CURDATE at the end of step n, NEXTDATE one
  // step further (the clock not moved) and CLKDAY, the day of the month.
  struct Case { int dats, date; float dt; int n, cur, next; float day; };
  for (const Case& k : {
           // 6-hour steps keep the day until it is complete
           Case{20000131, 20000301, 6.0F, 3, 20000131, 20000201, 31.75F},
           Case{20000131, 20000301, 6.0F, 4, 20000201, 20000201, 1.0F},
           // 5-hour steps: day 32.04 at month end, the 0.04 day is lost
           Case{20000131, 20000301, 5.0F, 5, 20000201, 20000201, 1.0F},
           Case{20000131, 20000301, 5.0F, 9, 20000201, 20000202, 1.0F + 20.0F / 24.0F},
           // 1/24 day is not exact in binary: step 8783 ends at 23:00 on the
           // last day of the leap year 2020, and the clock is on time 2 years on
           Case{20200101, 20230101, 1.0F, 8783, 20201231, 20210101, 31.0F + 23.0F / 24.0F},
           Case{20200101, 20230101, 1.0F, 26304, 20230101, 20230101, 1.0F},
           // a leap day in 2096, none in 2100
           Case{20960228, 20960310, 24.0F, 1, 20960229, 20960301, 29.0F},
           Case{21000228, 21000310, 24.0F, 1, 21000301, 21000302, 1.0F}}) {
    ClockRig r(k.dats, k.date, k.dt);
    set_run_length(r.m.cfg, r.m.run(), r.m.input());
    for (int s = 1; s <= k.n; ++s) advance_clock(r.m.step(), r.m.input());
    EXPECT_EQ(r.m.CURDATE, k.cur) << k.dats << " DT " << k.dt << " n " << k.n;
    EXPECT_EQ(r.m.NEXTDATE, k.next) << k.dats << " DT " << k.dt << " n " << k.n;
    EXPECT_NEAR(r.m.CLKDAY, k.day, 1e-4F) << k.dats << " DT " << k.dt << " n " << k.n;
  }
}

TEST(SaveInterval, MultipleInThousandthsOfAnHourSetsStepsPerSave) {
  ClockRig a(20000101, 20000102, 0.1F);
  a.m.cfg.DTSAVE = 1.3F;  // neither value is exact in binary: 1.3F / 0.1F = 12.999999
  check_save_interval(a.m.cfg, a.m.run(), a.m.output());
  EXPECT_EQ(a.m.NSTSAVE, 13);
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

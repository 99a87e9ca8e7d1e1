// Dates and the simulation clock. Defines split_date, leap_year, day_count,
// set_run_length (NSPERDAY, DAYINC, clock start, NDAYS, NTS), advance_clock
// (CLKDAY, CLKMONTH, CLKYEAR, STEPDATE, CURDATE, NEXTDATE, year count), retime_clock
// (the same step dated again after a change of DT) and check_save_interval
// (NSTSAVE). The calendar is the civil (Gregorian) one: a year divisible by 4
// is a leap year unless it is a century not divisible by 400 (2000 is, 2100
// is not), as the NetCDF file's proleptic_gregorian time says.

#include "input/clock.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <string>

#include "model/error_stop.h"
#include "output/format.h"

namespace coastra {

namespace {

// Days per month of a common year, January first (MONTHDAYS).
constexpr int MONTHDAYS[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

// Design note: a month outside 1..12 can reach the clock and the day count,
// because a start month 0 is accepted (a plain step count such as 99 splits
// into month 0) and an end date is not checked. Such a month has no days here
// rather than reading outside the table: a clock started in month 0 moves to
// 1 January on its first advance, and the day count stays a defined number.
int month_length(int month) { return (month >= 1 && month <= 12) ? MONTHDAYS[month - 1] : 0; }

// True when the whole day number has run past the end of the month; 29
// February of a leap year belongs to February.
bool month_finished(int iday, int month, int year) {
  if (month == 2 && iday == 29 && leap_year(year)) return false;
  return iday > month_length(month);
}

// The clock's day value after hoff hours and then n steps of dt hours from the
// anchor day value (the start day, or day 1.0 after a month ended). Forming it
// from the step count rather than adding DAYINC once per step keeps the clock
// on the calendar: 1/24 of a day is not exact in binary, and a running single-
// precision sum of it falls about one step behind every month (a month end
// then drops a whole step), so an hourly run over years would drift by days.
// hoff holds the hours run at earlier time steps when the adaptive time step
// changed DT since the anchor; it is a sum of products of a step count and a
// single-precision DT, all exact in double precision, so the clock stays on
// the calendar through any number of changes (and hoff = 0 adds nothing).
float day_after(float anchor, double hoff, int n, float dt) {
  return static_cast<float>(static_cast<double>(anchor) +
                            (hoff + static_cast<double>(n) * static_cast<double>(dt)) / 24.0);
}

// Moves a (year, month, day) clock value on by one step of dt hours and returns
// the whole day number. The day value is at least 1.0. A month that ends drops
// the fractional day: the clock restarts at day 1.0 of the next month. Returns
// true in rolled when the year changed.
int step_calendar(int& year, int& month, float& anchor, double& hoff, int& n, float& day,
                  float dt, bool& rolled) {
  ++n;
  day = day_after(anchor, hoff, n, dt);
  if (day < 1.0F) {
    anchor = 1.0F;
    hoff = 0.0;
    n = 0;
    day = 1.0F;
  }
  int iday = static_cast<int>(day);
  if (month_finished(iday, month, year)) {
    iday = 1;
    anchor = 1.0F;
    hoff = 0.0;
    n = 0;
    day = 1.0F;
    ++month;
  }
  rolled = false;
  if (month >= 13) {
    ++year;
    month = 1;
    rolled = true;
  }
  return iday;
}

int make_date(int year, int month, int iday) { return year * 10000 + month * 100 + iday; }

// Design note: a run longer than LONG_RUN_YEARS or LONG_RUN_STEPS is most
// likely a mistyped date or step, and may run for days and fill a disk; it is
// not refused (a long run can be meant) but announced before it starts with
// one warning line on the console and in the print file.
constexpr double LONG_RUN_YEARS = 200.0;
constexpr int LONG_RUN_STEPS = 10000000;
constexpr double HOURS_PER_YEAR = 365.25 * 24.0;

void announce_long_run(const Settings& cfg, RunState& run, const InputState& in) {
  const double years = static_cast<double>(in.NTS) * static_cast<double>(cfg.DT) / HOURS_PER_YEAR;
  if (!(years > LONG_RUN_YEARS) && in.NTS <= LONG_RUN_STEPS) return;
  std::string t = " WARNING. LONG RUN: ";
  edit_i(t, in.NTS, 0);
  t += " STEPS OF ";
  edit_f(t, static_cast<double>(cfg.DT), 0, 2);
  t += " HOURS, ";
  edit_f(t, years, 0, 1);
  t += " YEARS\n";
  *run.CON << t;
  *run.PRT << t;
}

}  // namespace

void split_date(int date, int& year, int& month, int& day) {
  year = date / 10000;
  month = date / 100 - 100 * year;
  day = date % 10000 - 100 * month;
}

// Design note: the century rule changes nothing from 1901 to 2099; without it
// a run past February 2100 would write the date 21000229, count a day too many
// and disagree with the NetCDF time of its own records.
bool leap_year(int year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

int days_in_month(int year, int month) {
  return month_length(month) + (month == 2 && leap_year(year) ? 1 : 0);
}

bool valid_date(int date) {
  int y = 0, mo = 0, d = 0;
  split_date(date, y, mo, d);
  return y >= 1 && mo >= 1 && mo <= 12 && d >= 1 && d <= days_in_month(y, mo);
}

int day_count(int y0, int m0, int d0, int y1, int m1, int d1) {
  // 1. Whole months between the two month starts.
  int s = 0;
  for (int mo = std::min(m0, m1); mo <= std::max(m0, m1) - 1; ++mo) s += month_length(mo);
  // 2-3. Signed month span, the days within the months, and common years.
  int days = (m1 >= m0 ? s : -s) + (d1 - d0);
  days += 365 * (y1 - y0);
  // 4. A leap day counts when 29 February of that year lies between the dates:
  // a start before March includes its own year, an end before March excludes its own.
  const int first = (m0 < 3) ? y0 : y0 + 1;
  const int last = (m1 < 3) ? y1 - 1 : y1;
  for (int y = first; y <= last; ++y) {
    if (leap_year(y)) ++days;
  }
  return days;
}

void set_run_length(const Settings& cfg, RunState& run, InputState& in) {
  // Guard for callers that bypass the configuration reader, which rejects DT <= 0.
  if (!(cfg.DT > 0.0F)) error_stop("DT must be > 0.");
  // 1. Steps per day and days per step (DT in hours).
  in.NSPERDAY = 24.0F / cfg.DT;
  in.DAYINC = 1.0F / in.NSPERDAY;
  // 2. The clock starts on the start date.
  int y0 = 0, m0 = 0, d0 = 0;
  split_date(cfg.SIMDATS, y0, m0, d0);
  in.CLKYEAR = y0;
  in.CLKMONTH = m0;
  in.CLKDAY = static_cast<float>(d0);
  // 3. Start date format, for a start that is a date.
  // Design note: a run whose length is a step count (SIMDATS = SIMDATE, at
  // most 17999999) accepts any count. Its start value is not a date, so the
  // date format is not asked of it (it would refuse most counts, 8760 among
  // them: month 87); the clock still starts from the value split as a date,
  // and a month or day beyond the calendar moves it to the first day of the
  // next month (or year) at the first step, so the record labels of such a
  // run are nominal dates.
  const bool step_count = cfg.SIMDATS == cfg.SIMDATE && cfg.SIMDATE < DATE_THRESHOLD;
  if (!step_count && (m0 > 12 || d0 > 31)) {
    *run.CON << " ERROR. INCORRECT FORMAT ON SIMULATION START DATE.\n"
             << " PLEASE CORRECT YOUR .cfg FILE.\n";
    error_stop(" ERROR. INCORRECT FORMAT ON SIMULATION START DATE.");
  }
  if (cfg.SIMDATS < cfg.SIMDATE) {
    // 4. Calendar run: days between the dates, steps rounded half away from zero.
    // Design note: the calendar has no year 0 or before; a start there (a date
    // written with too few digits, say) would count thousands of years of days.
    if (y0 < 1) error_stop("SIMDATS: a calendar run must start in year 1 or later");
    // Design note: a date beyond its month (31 April, 29 February 2021) is no
    // calendar date; the clock would skip it at the first step and the day
    // count would count days that do not exist. It is refused like a month 13.
    if (!valid_date(cfg.SIMDATS))
      error_stop("SIMDATS is no calendar date (month 1-12, day of the month)");
    if (!valid_date(cfg.SIMDATE))
      error_stop("SIMDATE is no calendar date (month 1-12, day of the month)");
    int y1 = 0, m1 = 0, d1 = 0;
    split_date(cfg.SIMDATE, y1, m1, d1);
    in.NDAYS = day_count(y0, m0, d0, y1, m1, d1);
    const float steps = static_cast<float>(in.NDAYS) * in.NSPERDAY;
    // Design note: a step count beyond the integer range (a tiny DT over a long
    // run) cannot be represented and would wrap; it is refused instead. An end
    // date that falls before the start date in the calendar (day 0 of the next
    // month, say) gives no steps, which the check below refuses.
    if (!(steps < static_cast<float>(INT_MAX))) {
      error_stop("NTS too large: DT too small for the run");
    }
    in.NTS = steps > 0.0F ? static_cast<int>(std::lround(steps)) : 0;
  } else {
    // 5. Equal start and end: a plain step count, or an empty calendar run.
    if (cfg.SIMDATE > DATE_THRESHOLD - 1) {
      *run.CON << " ERROR. SIMULATION ENDING DATE MUST BE LATER THAN\n"
               << " THE STARTING DATE. PLEASE CORRECT YOUR .cfg FILE.\n";
      error_stop(" ERROR. SIMULATION ENDING DATE MUST BE LATER THAN");
    }
    in.NDAYS = 0;
    in.NTS = cfg.SIMDATE;
  }
  // Design note: a run of no time step (a step count of 0 or less, or dates
  // closer than half a step) would divide the per-run amounts (boundary
  // movement, fills) by zero; it is refused.
  if (in.NTS < 1) error_stop("NTS must be > 0");
  announce_long_run(cfg, run, in);
}

void advance_clock(const StepState& step, InputState& in) {
  // The clock at the step start, for a change of DT within the step.
  in.CLKSTART = {in.CLKYEAR, in.CLKMONTH, in.CLKN, in.NYEARSIM, in.CLKDAY, in.CLKANCHOR,
                 in.CLKHOFF, in.IYRFLAG};
  // The date the step starts on: the date the schedules of the step are
  // tested against (dredging; fills and bypassing test the same instant in
  // hours since the run start).
  in.STEPDATE = make_date(in.CLKYEAR, in.CLKMONTH, std::max(1, static_cast<int>(in.CLKDAY)));
  // 1-3. Day, month end, year rollover (counted once per new year).
  // A day value set from outside (the start) becomes the anchor.
  if (in.CLKDAY != day_after(in.CLKANCHOR, in.CLKHOFF, in.CLKN, step.DT)) {
    in.CLKANCHOR = in.CLKDAY;
    in.CLKHOFF = 0.0;
    in.CLKN = 0;
  }
  bool rolled = false;
  const int iday = step_calendar(in.CLKYEAR, in.CLKMONTH, in.CLKANCHOR, in.CLKHOFF, in.CLKN,
                                 in.CLKDAY, step.DT, rolled);
  if (rolled && !in.IYRFLAG) {
    in.IYRFLAG = true;
    ++in.NYEARSIM;
  }
  if (in.CLKMONTH >= 2) in.IYRFLAG = false;
  // 4. Date of the current step.
  in.CURDATE = make_date(in.CLKYEAR, in.CLKMONTH, iday);
  // 5. Date one step further, on a copy of the clock.
  int year = in.CLKYEAR, month = in.CLKMONTH, n = in.CLKN;
  float anchor = in.CLKANCHOR, day = in.CLKDAY;
  double hoff = in.CLKHOFF;
  const int nday = step_calendar(year, month, anchor, hoff, n, day, step.DT, rolled);
  in.NEXTDATE = make_date(year, month, nday);
}

void retime_clock(const StepState& step, InputState& in, float dt_old) {
  // Design note: the step is dated again from the clock of its start rather
  // than by moving CLKDAY back one old step and on one new one. Moving the day
  // value cannot undo a month end or a year rollover that the old step made,
  // and would leave the day value off the anchor's step grid; from the start
  // of the step the new step ends on the calendar exactly, in every case.
  const InputState::ClockStart& c = in.CLKSTART;
  in.CLKYEAR = c.year;
  in.CLKMONTH = c.month;
  in.NYEARSIM = c.nyears;
  in.IYRFLAG = c.yrflag;
  in.CLKANCHOR = c.anchor;
  in.CLKDAY = c.day;
  // The steps of the old DT since the anchor become hours; the new DT counts
  // its steps from there.
  in.CLKHOFF = c.hoff + static_cast<double>(c.n) * static_cast<double>(dt_old);
  in.CLKN = 0;
  // (A clock not yet anchored, in the run's first step, is anchored by the
  // advance on its start day, as it was the first time.)
  advance_clock(step, in);
}

void check_save_interval(const Settings& cfg, RunState& run, OutputState& out) {
  // The remainder is taken in single precision on thousandths of an hour, so that
  // DTSAVE 0.3 with DT 0.1 (neither exact in binary) is a multiple.
  const float rem = std::fmod(1000.0F * cfg.DTSAVE, 1000.0F * cfg.DT);
  if (rem != 0.0F) {
    *run.PRT << " ERROR. DTSAVE MUST BE A MULTIPLE OF SIMULATION TIME STEP.\n"
             << " PLEASE  REVIEW AND REVISE YOUR .cfg FILE.\n";
    error_stop("ERROR. DTSAVE not a multiple of simulation time step.");
  }
  // Design note: a save interval of more steps than an integer holds (a tiny DT
  // in a run given as a step count) is held at the largest count: no periodic
  // record falls inside such a run, and the count must never wrap to 0 or below.
  const float steps = cfg.DTSAVE / cfg.DT;
  out.NSTSAVE = steps < static_cast<float>(INT_MAX) ? static_cast<int>(std::lround(steps)) : INT_MAX;
}

}  // namespace coastra

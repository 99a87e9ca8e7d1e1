// Dates and the simulation clock: date splitting, the day count, the run
// length in time steps, the per-step calendar advance and the save interval.
#pragma once

#include "model/state.h"

namespace coastra {

inline constexpr int DATE_THRESHOLD = 18000000;  // above: a calendar date; at or below: a count

// YYYYMMDD into year, month and day.
void split_date(int date, int& year, int& month, int& day);
// Days from (y0, m0, d0) to (y1, m1, d1), leap days included (civil calendar, leap_year).
int day_count(int y0, int m0, int d0, int y1, int m1, int d1);
// True for a leap year of the civil calendar (2000 yes, 2100 no).
bool leap_year(int year);
// Days of a month (0 for a month outside 1..12).
int days_in_month(int year, int month);
// True for a YYYYMMDD of the calendar: year 1 or later, month 1-12, a day of the month.
bool valid_date(int date);
// NSPERDAY, DAYINC, the clock's start and the run length NDAYS, NTS, with the
// start-date checks (error stops).
void set_run_length(const Settings& cfg, RunState& run, InputState& in);
// One clock advance: STEPDATE (the step's start), CLKDAY, CLKMONTH, CLKYEAR,
// CURDATE, NEXTDATE, with the DT in force.
void advance_clock(const StepState& step, InputState& in);
// After DT changed within a step (DT already the new value, dt_old the one
// the step was advanced with): the step's clock advance made again with the new
// DT from the clock of the step start, so the step ends on the calendar.
void retime_clock(const StepState& step, InputState& in, float dt_old);
// Checks DTSAVE against DT (error stop, its lines in the print file) and sets NSTSAVE.
void check_save_interval(const Settings& cfg, RunState& run, OutputState& out);

}  // namespace coastra

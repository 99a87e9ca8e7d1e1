// Shared pieces of the water-level and tidal-current series: one dated record
// from a bounded line, the record interval and its checks, the record in force
// at a step, and the notes of a late start and a restart. Record intervals are
// counted from the full date and time, so records either side of midnight, a
// month end or a year end are as far apart as the clock says.

#include "input/series_records.h"

#include <cmath>

#include "input/clock.h"
#include "input/field_reader.h"
#include "model/error_stop.h"
#include "output/format.h"

namespace coastra {

namespace {

// Days per month of a common year, January first.
constexpr int MONTH_DAYS[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

void add_int(std::string& s, long long v) { edit_i(s, v, 0); }

// A time of day as four digits HHMM (0930, not 930).
void add_hhmm(std::string& s, int hhmm) {
  for (int div = 1000; div >= 1; div /= 10) s += static_cast<char>('0' + hhmm / div % 10);
}

// Print-file line, then the error stop.
[[noreturn]] void series_stop(RunState& run, const std::string& line, const std::string& message) {
  *run.PRT << line << '\n';
  error_stop(message);
}

[[noreturn]] void record_stop(RunState& run, const std::string& file, int record,
                              const SeriesNames& n, std::string_view why) {
  std::string line(" ERROR. INVALID RECORD ");
  add_int(line, record);
  line += " IN ";
  line += n.upper;
  line += " FILE ";
  line += file;
  line += ": ";
  line += why;
  std::string msg("Invalid record ");
  add_int(msg, record);
  msg += " in ";
  msg += n.lower;
  msg += " file ";
  msg += file;
  series_stop(run, line, msg);
}

// A refused record pair: record k not later than k - 1, or off the interval.
[[noreturn]] void pair_stop(RunState& run, const std::string& file, int k, const SeriesNames& n,
                            std::string_view what, float hours) {
  std::string line(" ERROR. RECORD ");
  add_int(line, k);
  line += " OF ";
  line += n.upper;
  line += " FILE ";
  line += file;
  line += what;
  std::string msg(n.title);
  msg += " record ";
  add_int(msg, k);
  if (hours > 0.0F) {
    edit_f(line, static_cast<double>(hours), 0, 2);
    line += " HOURS";
    msg += " breaks the series interval: ";
  } else {
    add_int(line, k - 1);
    msg += " not later than the record before: ";
  }
  msg += file;
  series_stop(run, line, msg);
}

// Upper-case text of the series for the checks against DT ("WATER LEVEL FILE").
std::string upper_file(const SeriesNames& n) { return std::string(n.upper) + " FILE"; }

}  // namespace

StampedValue read_stamped_record(RunState& run, std::istream& in, std::string& line,
                                 const std::string& file, int record, const SeriesNames& n) {
  bool cut = false;
  if (!read_record(in, line, SERIES_LINE_MAX, cut)) {
    std::string text(" ERROR. ");
    text += n.upper;
    text += " FILE ";
    text += file;
    text += " ENDS BEFORE RECORD ";
    add_int(text, record);
    std::string msg(n.title);
    msg += " file ends before record ";
    add_int(msg, record);
    msg += ": ";
    msg += file;
    series_stop(run, text, msg);
  }
  if (cut) {
    std::string msg(n.title);
    msg += " file line ";
    add_int(msg, record);
    msg += " over ";
    add_int(msg, static_cast<long long>(SERIES_LINE_MAX));
    msg += " characters: ";
    msg += file;
    error_stop(msg);
  }
  // The date exceeds single precision, so date and time are read as integers
  // and the value as a real from the same line.
  int iv[2] = {0, 0};
  float rv[3] = {0.0F, 0.0F, 0.0F};
  bool bad = false;
  if (read_ints(line, iv, 2, bad) != 2 || bad || read_reals(line, rv, 3, bad) != 3 || bad)
    record_stop(run, file, record, n, "NOT A DATE, A TIME AND A VALUE");
  if (!calendar_stamp(iv[0], iv[1]))
    record_stop(run, file, record, n, "DATE OR TIME NOT ON THE CALENDAR (YYYYMMDD HHMM)");
  if (!std::isfinite(rv[2])) record_stop(run, file, record, n, "VALUE NOT A FINITE NUMBER");
  if (!(std::fabs(rv[2]) <= n.limit)) record_stop(run, file, record, n, n.range);
  return {iv[0], iv[1], rv[2]};
}

void check_record_count(RunState& run, int count, const std::string& file, const SeriesNames& n) {
  if (count >= 2) return;
  std::string line(" ERROR. ");
  line += n.upper;
  line += " FILE ";
  line += file;
  line += " NEEDS AT LEAST 2 RECORDS; ";
  line += n.key;
  line += " ANNOUNCES ";
  add_int(line, count);
  std::string msg(n.title);
  msg += " file needs at least 2 records: ";
  msg += file;
  series_stop(run, line, msg);
}

long long minutes_between(int date1, int time1, int date2, int time2) {
  int y1 = 0, m1 = 0, d1 = 0, y2 = 0, m2 = 0, d2 = 0;
  split_date(date1, y1, m1, d1);
  split_date(date2, y2, m2, d2);
  const long long days = day_count(y1, m1, d1, y2, m2, d2);
  const long long clock1 = 60LL * (time1 / 100) + time1 % 100;
  const long long clock2 = 60LL * (time2 / 100) + time2 % 100;
  return 1440LL * days + (clock2 - clock1);
}

bool calendar_stamp(int date, int time) {
  int y = 0, mo = 0, d = 0;
  split_date(date, y, mo, d);
  if (y < 1 || mo < 1 || mo > 12 || d < 1) return false;
  const int last = MONTH_DAYS[mo - 1] + (mo == 2 && leap_year(y) ? 1 : 0);
  if (d > last) return false;
  return time >= 0 && time / 100 <= 23 && time % 100 <= 59;
}

float series_interval(const Settings& cfg, RunState& run, const std::vector<int>& date,
                      const std::vector<int>& time, const std::string& file,
                      const SeriesNames& n) {
  // 1. Every consecutive pair: later than the one before, by the first interval.
  // Design note: the interval is taken from the full date and time (a record
  // at 0000 follows one at 2300 of the day before by 1 hour), and a series
  // whose records are not evenly spaced is refused, since the loop takes
  // record k into use (k - 1) intervals after the first.
  const long long first = minutes_between(date[0], time[0], date[1], time[1]);
  for (std::size_t k = 1; k < date.size(); ++k) {
    const long long gap = minutes_between(date[k - 1], time[k - 1], date[k], time[k]);
    const int record = static_cast<int>(k) + 1;
    if (gap <= 0) pair_stop(run, file, record, n, " IS NOT LATER THAN RECORD ", 0.0F);
    if (gap != first)
      pair_stop(run, file, record, n, " BREAKS THE RECORD INTERVAL OF ",
                static_cast<float>(first) / 60.0F);
  }
  const float hours = static_cast<float>(first) / 60.0F;
  const float dt = cfg.DT;
  std::ostream& p = *run.PRT;
  // 2. At most 6 hours between records.
  if (hours > 6.0F) {
    p << " ERROR.  Time step in " << n.lower << " file exceeds 6 hours.  Please\n"
      << " review and revise your input " << n.lower << " file.\n";
    error_stop("ERROR. " + std::string(n.title) + " time step exceeds 6 hours.");
  }
  // 3. Not shorter than the model step.
  if (dt > hours) {
    p << " ERROR. SIMULATION TIME STEP GREATER THAN TIME STEP IN " << upper_file(n) << ".\n"
      << " PLEASE REVIEW AND REVISE YOUR .cfg AND INPUT " << upper_file(n)
      << " AS APPROPRIATE.\n";
    error_stop("ERROR. Simulation time step greater than " + std::string(n.lower) +
               " time step.");
  }
  // 4. A whole number of model steps (to a thousandth of an hour).
  if (std::fmod(1000.0F * hours, 1000.0F * dt) != 0.0F) {
    p << " ERROR. TIME STEP IN " << upper_file(n)
      << " MUST BE A MULTIPLE OF SIMULATION TIME STEP.\n"
      << " PLEASE REVIEW AND REVISE YOUR " << upper_file(n) << ".\n";
    error_stop("ERROR. " + std::string(n.title) +
               " time step not a multiple of simulation time step.");
  }
  return hours;
}

int steps_per_record(float interval, float dt) {
  const long n = std::lround(interval / dt);
  return n >= 1 ? static_cast<int>(n) : 1;
}

int record_in_force(int n, int steps, int records) {
  if (n < 1 || steps < 1 || records < 1) return 1;
  return ((n - 1) / steps) % records + 1;
}

void warn_late_start(const Settings& cfg, RunState& run, int date, int time,
                     const std::string& file, const SeriesNames& n) {
  // Design note: a run whose length is a step count has no start date to
  // compare with, so it gets no warning.
  if (cfg.SIMDATS == cfg.SIMDATE && cfg.SIMDATE < DATE_THRESHOLD) return;
  if (date == cfg.SIMDATS && time == 0) return;
  std::string line(" WARNING. ");
  line += n.upper;
  line += " FILE ";
  line += file;
  line += " STARTS AT ";
  add_int(line, date);
  line += ' ';
  add_hhmm(line, time);
  line += ", NOT AT THE RUN START ";
  add_int(line, cfg.SIMDATS);
  line += " 0000; ITS FIRST RECORD IS USED FROM THE FIRST STEP.";
  *run.PRT << line << '\n';
}

void note_restart(const InputState& in, RunState& run, WaveInputState& wi, bool& noted,
                  const SeriesNames& n) {
  if (noted) return;
  noted = true;
  std::string& line = wi.WTEXT;   // the loop's reused text buffer
  line.assign(" NOTE. ");
  line += n.upper;
  line += " SERIES STARTS AGAIN FROM ITS FIRST RECORD AT TIME STEP ";
  add_int(line, run.ISTEP);
  line += ", DATE ";
  add_int(line, in.CURDATE);
  line += " (SHOWN ONCE).";
  *run.PRT << line << '\n';
}

}  // namespace coastra

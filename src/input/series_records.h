// What the water-level and tidal-current series share: reading one dated
// record "YYYYMMDD HHMM value" from a bounded line, the record interval from the
// full date and time with its checks against DT, the record in force at a step
// (both series cycle), and the print-file notes of a late start and a restart.
//   read_stamped_record, check_record_count, minutes_between, calendar_stamp,
//   series_interval, steps_per_record, record_in_force, warn_late_start, note_restart
#pragma once

#include <cstddef>
#include <istream>
#include <string>
#include <string_view>
#include <vector>

#include "model/state.h"

namespace coastra {

// The name of a series in the three forms its messages use.
struct SeriesNames {
  std::string_view lower;   // "water level"
  std::string_view upper;   // "WATER LEVEL"
  std::string_view title;   // "Water level"
  std::string_view key;     // configuration key that announces the record count
  float limit;              // largest magnitude of a value (the file's unit)
  std::string_view range;   // that limit in the words of the refusal
};
// Design note: a water level beyond 100 (m or ft) of the datum, or a tidal
// current beyond 20 (m/s or ft/s), is no tide: such a record is refused as it
// is read, naming the file and the record, before it turns into breakwater
// depths or transport rates that no data file can print.
inline constexpr SeriesNames WATER_LEVEL_NAMES{"water level", "WATER LEVEL", "Water level",
                                               "WLFILE", 100.0F, "VALUE BEYOND +-100"};
inline constexpr SeriesNames TIDAL_CURRENT_NAMES{"tidal current", "TIDAL CURRENT",
                                                 "Tidal current", "TIDEFILE", 20.0F,
                                                 "VALUE BEYOND +-20"};

// Longest series line read: a record's three items fit many times over, and
// the line buffer cannot grow without bound on a corrupt file.
inline constexpr std::size_t SERIES_LINE_MAX = 1024;

struct StampedValue {
  int DATE;     // YYYYMMDD
  int TIME;     // HHMM
  float VALUE;  // in the file's unit
};

// Record `record` (1-based, one per line) of a series file, read from the next
// line of `in` into `line`. Error stop, after a print-file line naming the file
// and the record, when the file ends first, the line is longer than
// SERIES_LINE_MAX, it does not begin with two integers and a number, or its
// date and time are not on the model's calendar.
StampedValue read_stamped_record(RunState& run, std::istream& in, std::string& line,
                                 const std::string& file, int record, const SeriesNames& n);

// Error stop unless the announced record count is at least 2 (an interval needs two).
void check_record_count(RunState& run, int count, const std::string& file, const SeriesNames& n);

// Minutes from (date1, time1) to (date2, time2) on the civil calendar (leap_year
// of the clock): dates YYYYMMDD, times HHMM.
long long minutes_between(int date1, int time1, int date2, int time2);

// True for a date with year >= 1, month 1..12 and a day of that month, and a
// time HHMM with hours 0..23 and minutes 0..59.
bool calendar_stamp(int date, int time);

// The record interval of a series (hours) from its dates and times (at least 2
// records). Every consecutive pair must be later by the interval of the first
// pair (error stops naming the record otherwise); then the interval is checked
// against 6 hours and against DT (greater than, not a multiple of) with the
// series' own messages.
float series_interval(const Settings& cfg, RunState& run, const std::vector<int>& date,
                      const std::vector<int>& time, const std::string& file,
                      const SeriesNames& n);

// Model steps per record: interval / dt rounded half away from zero, at least 1.
int steps_per_record(float interval, float dt);

// The record in force at step n (n >= 1) of a series of `records` records with
// `steps` model steps each: ((n - 1) div steps) mod records + 1. The series
// cycles, as the wave records do.
int record_in_force(int n, int steps, int records);

// Print-file warning when the first record is not at 0000 of the run's start date.
void warn_late_start(const Settings& cfg, RunState& run, int date, int time,
                     const std::string& file, const SeriesNames& n);

// Print-file note, once per series (flag `noted`), that the series starts
// again from its first record at the current step (ISTEP, CURDATE), composed in
// the reused text buffer WTEXT.
void note_restart(const InputState& in, RunState& run, WaveInputState& wi, bool& noted,
                  const SeriesNames& n);

}  // namespace coastra

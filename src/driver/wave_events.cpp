// Wave events: the event table and the wave-record time step (setup_wave_events),
// its checks against DT and NWS (check_wave_timestep), and the wave step of the
// loop (wave_step): new record, event counter, cycling at the end of the events
// and the acknowledgement of a steepness report.

#include "driver/wave_events.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "output/stage_notices.h"
#include "input/field_reader.h"
#include "model/error_stop.h"
#include "output/format.h"
#include "output/warnings.h"
#include "waves/wave_input.h"

namespace coastra {
namespace {

constexpr std::string_view STARS =
    "***************************************************************";  // 63

// Reads the date and hour of the first N records of wave file k into the event
// table, then returns the file to its first record. The records are counted
// first and the table is sized to them: a mistyped N cannot claim memory the
// file does not back, and a table of years of hourly records (hundreds of kB)
// is allocated once at its size rather than grown by doubling. False, with the
// run error flag set, when the file ends early or a date or hour cannot be
// read.
bool read_event_table(ModelState& m, int k, int n) {
  rewind_wave_file(m.run(), m.waves(), k);
  int lines = 0;
  bool cut = false;
  while (lines < n && read_record(m.FWAVE[static_cast<std::size_t>(k)], m.WLINE, WAVE_LINE_MAX, cut))
    ++lines;
  m.EVDATE.reserve(m.EVDATE.size() + static_cast<std::size_t>(lines));
  m.EVHOUR.reserve(m.EVHOUR.size() + static_cast<std::size_t>(lines));
  rewind_wave_file(m.run(), m.waves(), k);
  bool ok = true;
  for (int r = 1; r <= n && ok; ++r) {
    int iv[2] = {0, 0};
    bool bad = false;
    if (!read_wave_line(m.cfg, m.run(), m.wave_input(), k, r)) {
      wave_file_error(m.cfg, m.run(), m.wave_input(), k, r, true);
      ok = false;
    } else if (read_ints(m.WLINE, iv, 2, bad) != 2 || bad) {
      wave_file_error(m.cfg, m.run(), m.wave_input(), k, r, false);
      ok = false;
    } else {
      m.EVDATE.push_back(iv[0]);
      m.EVHOUR.push_back(iv[1]);
    }
  }
  rewind_wave_file(m.run(), m.waves(), k);
  return ok;
}

// Wave-record time step (hours) from the first two events. Events must lie in
// the same month: the day difference is all that is counted across dates.
float event_time_step(RunState& run, const WaveState& wv) {
  const int d1 = wv.EVDATE[0];
  const int d2 = wv.EVDATE[1];
  const int hh1 = wv.EVHOUR[0] / 100;
  const int hh2 = wv.EVHOUR[1] / 100;
  const int minutes = (wv.EVHOUR[1] - 100 * hh2) - (wv.EVHOUR[0] - 100 * hh1) + 60 * (hh2 - hh1);
  if (d1 == d2) return static_cast<float>(minutes) / 60.0F;
  if (d1 / 10000 != d2 / 10000) {
    *run.PRT << " ERROR.  Time step in WAVEFILE exceeds one year.  Please\n"
             << " review and revise your input wave files.\n";
    error_stop("ERROR. Wave time step exceeds one year.");
  }
  if (d1 / 100 % 100 != d2 / 100 % 100) {
    *run.PRT << " ERROR.  Time step in WAVEFILE exceeds one month.  Please\n"
             << " review and revise your input wave files.\n";
    error_stop("ERROR. Wave time step exceeds one month.");
  }
  return static_cast<float>(minutes + 24 * 60 * (d2 % 100 - d1 % 100)) / 60.0F;
}

// First event on the month and day of the start date, whatever its year.
// Design note: when none matches, the first event not earlier than the start
// date, else event 1; the counter then only dates the notices.
int initial_event(const Settings& cfg, const WaveState& wv) {
  const int n = static_cast<int>(wv.EVDATE.size());
  const int start = cfg.SIMDATS;
  for (int i = 1; i <= n; ++i) {
    if (wv.EVDATE[static_cast<std::size_t>(i - 1)] % 10000 == start % 10000) return i;
  }
  for (int i = 1; i <= n; ++i) {
    if (wv.EVDATE[static_cast<std::size_t>(i - 1)] >= start) return i;
  }
  return 1;
}

// One warning line "<10 blanks><text><I9>" into the reused buffer.
void indented_line(std::string& s, std::string_view text, long long v) {
  s.append(10, ' ');
  s += text;
  edit_i(s, v, 9);
  s += '\n';
}

// The run outlasts the events: warning block, counter back to 1, every wave
// file back to its first record.
void cycle_events(ModelState& m) {
  std::string& s = m.WTEXT;
  s.assign("\n");
  s += STARS;
  s += "\n WARNING: Current wave event exceeds maximum number of wave\n";
  s.append(10, ' ');
  s += "events as given in the configuration file (WAVEID).\n";
  s.append(10, ' ');
  s += "Cycling back to first wave event.\n";
  indented_line(s, "Specified maximum number of wave events:", m.cfg.NWAVEV);
  indented_line(s, "Current simulation date is:", m.CURDATE);
  indented_line(s, "Newly cycled wave event date is:", m.EVDATE.empty() ? 0 : m.EVDATE[0]);
  s += STARS;
  s += '\n';
  m.prt() << s;
  m.IWEVENT = 1;
  for (int k = 1; k <= std::min(m.cfg.NWAVEFILES, MXWAVEF); ++k)
    rewind_wave_file(m.run(), m.waves(), k);
}

}  // namespace

void setup_wave_events(ModelState& m) {
  const int n = m.cfg.NWAVEV;
  m.EVDATE.clear();
  m.EVHOUR.clear();
  m.IWEVENT = 1;
  // 1. Undated form, and a run that cannot read its events: one record per step.
  m.DTWAVE = m.DT;
  if (n <= 0) return;
  // 2. Event table from the file of the last WAVEID line.
  const int k = std::min(m.cfg.NWAVEFILES, MXWAVEF);
  if (k < 1) {
    m.prt() << " ERROR. NO WAVE FILE FOR THE WAVE EVENTS\n";
    stop_run(m, " ERROR. NO WAVE FILE FOR THE WAVE EVENTS");
    return;
  }
  if (!read_event_table(m, k, n)) return;
  // 3. Wave-record time step. Design note: a single event has no second one to
  //    time it; it then changes with every step (DTWAVE = DT) and the run cycles
  //    back to it.
  if (n >= 2) m.DTWAVE = event_time_step(m.run(), m.waves());
  // 4. Initial event.
  m.IWEVENT = initial_event(m.cfg, m.waves());
}

void check_wave_timestep(const StepState& step, RunState& run, WaveState& wv) {
  const float dt = step.DT;
  if (dt > wv.DTWAVE) {
    *run.PRT << " ERROR. SIMULATION TIME STEP GREATER THAN TIME STEP IN WAVE FILE.\n"
             << " PLEASE REVIEW AND REVISE YOUR .cfg AND INPUT WAVE FILES AS APPROPRIATE.\n";
    error_stop("ERROR. Simulation time step greater than wave time step");
  }
  if (std::fmod(1000.0F * wv.DTWAVE, 1000.0F * dt) != 0.0F) {
    *run.PRT << " ERROR. TIME STEP IN WAVE FILE MUST BE A MULTIPLE OF SIMULATION TIME STEP.\n"
             << " PLEASE REVIEW AND REVISE YOUR .cfg AND INPUT WAVE FILES AS APPROPRIATE.\n";
    error_stop("ERROR. Wave time step not a multiple of simulation time step");
  }
  wv.NWS = static_cast<int>(std::lround(wv.DTWAVE / dt));
}

RecordChecks wave_step(ModelState& m) {
  // 1. New record of every station, distributed to the walls, and the
  // steepness warnings its wall loop recorded. A new record opens a new
  // window of the once-per-record warnings.
  m.NWREC += 1;
  const RecordChecks checks = WAVINP(m.cfg, m.run(), m.wave_input(), m.waves(), m.warnings());
  if (checks.file.file != 0)   // a wave file that could not be read: the line, IRUNERR
    wave_file_error(m.cfg, m.run(), m.wave_input(), checks.file.file, checks.file.record,
                    checks.file.ended);
  write_step_warnings(m.cfg, m.input(), m.run(), m.waves(), m.wave_input(), m.warnings());
  // 2. Next event.
  m.IWEVENT += 1;
  // 3. Past the last event (every step in the undated form): back to the first.
  if (m.IWEVENT > m.cfg.NWAVEV) cycle_events(m);
  // 4. A wave file that could not be read ends the run.
  if (m.IRUNERR != 0) return checks;
  // 5. Date the steepness report just made.
  if (m.ISTEEP == 1 || (m.ISTEEP == 2 && m.cfg.PRWARN)) {
    std::string& s = m.WTEXT;
    s.assign(" DATE IS ");
    edit_i(s, m.CURDATE, 8);
    s += ".  TIME STEP IS ";
    edit_i(s, m.ISTEP, 8);
    s += '\n';
    m.prt() << s;
    m.ISTEEP = -1;
  }
  return checks;
}

}  // namespace coastra

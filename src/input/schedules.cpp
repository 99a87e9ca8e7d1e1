// Beach-fill, bypass-operation and bypass-event schedules: set-up checks with
// their print-file warnings and error stops, the windows in hours since the
// run start, the fill advance per step and the bypass rates per metre of
// beach, and the reader of the bypass event file.
// Routines: setup_schedules, date_hours, fill_advance, set_fill_advances.

#include "input/schedules.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "input/clock.h"
#include "input/field_reader.h"
#include "model/error_stop.h"
#include "output/format.h"

namespace coastra {
namespace {

std::string numbered(const char* keys, const char* what, int k) {
  return std::string(keys) + " of " + what + " " + std::to_string(k);
}

// A date schedule entry that is no calendar date: the print-file lines of a
// bad fill date, then the error stop naming the key and the entry.
[[noreturn]] void bad_fill_date(RunState& run, const char* key, int k) {
  *run.PRT << " ERROR. INCORRECT FORMAT ON BEACH FILL DATES.\n"
           << " PLEASE CORRECT YOUR .cfg FILE.\n";
  error_stop(numbered(key, "beach fill", k) + " is no date (month 1-12, day of the month)");
}

// Beach fills: date or step form, windows in hours since the run start.
// Design notes:
// - Both forms become a window [h0, h1) of step-start times: a dated fill from
//   the start of its first date to the start of its end date (the calendar
//   day count of the run, 29 February included); a fill in steps s..e from the
//   start of step s to the end of step e, in steps of the configured DT, so
//   that a change of DT keeps it acting over the same hours.
// - A fill whose end is not after its start, or with one end a date and the
//   other a step, is refused naming the key and the fill; so is a dated fill
//   in a run given as a step count (its dates would fall on no calendar) and a
//   step form starting before step 1.
void setup_fills(const Settings& cfg, const StepState& step, RunState& run, SourceState& src) {
  const bool step_run = cfg.SIMDATS == cfg.SIMDATE;
  for (int k = 1; k <= std::min(cfg.NBF, MXBF); ++k) {
    const int s = cfg.BFDATS(k), e = cfg.BFDATE(k);
    const bool sdate = s > DATE_THRESHOLD, edate = e > DATE_THRESHOLD;
    if (sdate != edate)
      error_stop(numbered("BFDATS and BFDATE", "beach fill", k) + ": one a date, one a step");
    if (sdate) {
      if (!valid_date(s)) bad_fill_date(run, "BFDATS", k);
      if (!valid_date(e)) bad_fill_date(run, "BFDATE", k);
      if (step_run) error_stop(numbered("BFDATS", "beach fill", k) + " is a date in a run of steps");
      src.FILLH0(k) = date_hours(cfg, s);
      src.FILLH1(k) = date_hours(cfg, e);
    } else {
      if (s < 1) error_stop(numbered("BFDATS", "beach fill", k) + ": steps count from 1");
      const double dt = static_cast<double>(cfg.DT);
      src.FILLH0(k) = static_cast<double>(s - 1) * dt;
      src.FILLH1(k) = static_cast<double>(e) * dt;
    }
    if (!(src.FILLH1(k) > src.FILLH0(k)))
      error_stop(numbered("BFDATE", "beach fill", k) + " must be after its BFDATS");
  }
  set_fill_advances(cfg, step, src);
}

// The four date warnings of a bypass schedule entry, each pair followed by an
// empty line.
void date_warnings(const Settings& cfg, RunState& run, int start, int end, const char* what) {
  std::ostream& p = *run.PRT;
  const auto warn = [&](const char* verb, const char* when, const char* tail) {
    p << " WARNING. BYPASS " << what << ' ' << verb << ' ' << when << " THE\n" << tail << "\n\n";
  };
  if (start < cfg.SIMDATS) warn("STARTS", "BEFORE", " SIMULATION HAS STARTED.");
  if (start > cfg.SIMDATE) warn("STARTS", "AFTER", " SIMULATION HAS ENDED.");
  if (end < cfg.SIMDATS) warn("ENDS", "BEFORE", " SIMULATION HAS STARTED.");
  if (end > cfg.SIMDATE) warn("ENDS", "AFTER", " SIMULATION HAS ENDED.");
}

// Dates and cells of bypass operation k (or the event span, `what` "DATA"):
// refusals name the keys and the operation.
void check_bypass_entry(const Settings& cfg, RunState& run, int k, const char* what,
                        const char* skey, const char* ekey, const char* ckeys) {
  const int s = cfg.BPDATS(k), e = cfg.BPDATE(k);
  if (cfg.SIMDATS == cfg.SIMDATE)
    error_stop(numbered(skey, "bypass operation", k) + ": dates need a dated run");
  if (!valid_date(s)) error_stop(numbered(skey, "bypass operation", k) + " is no date YYYYMMDD");
  if (!valid_date(e)) error_stop(numbered(ekey, "bypass operation", k) + " is no date YYYYMMDD");
  date_warnings(cfg, run, s, e, what);
  if (cfg.IBPS(k) < 1 || cfg.IBPE(k) > cfg.NX) {
    *run.PRT << " ERROR. BYPASSED MATERIAL IS PLACED OUTSIDE \n"
             << " CALCULATION GRID. PLEASE CORRECT YOUR \n"
             << " SPATIAL DOMAIN FILE.\n";
    error_stop(numbered(ckeys, "bypass operation", k) + " outside cells 1.." + std::to_string(cfg.NX));
  }
  if (cfg.IBPS(k) > cfg.IBPE(k)) {
    *run.PRT << " ERROR. START X-COORDINATE OF PLACEMENT OF\n"
             << " BYPASS MATERIAL IS .GT. THE END X-COORDINATE.\n"
             << " PLEASE CORRECT YOUR SPATIAL DOMAIN FILE.\n";
    error_stop("ERROR. Bypass start coordinate is greater than end coordinate.");
  }
}

// Bypass operations given by BPDATS lines.
// Design notes: QBP is a volume per hour spread over the operation's cells by
// their length, so QBPM is a volume per hour per metre of beach. An operation
// whose end does not come after its start is kept but never acts, with a
// print-file warning.
void setup_operations(const Settings& cfg, const InputState& in, RunState& run,
                      SourceState& src) {
  if (cfg.NBP > MXBP) {
    *run.PRT << " ERROR. TOO MANY BYPASSING OPERATIONS.\n"
             << " PLEASE CHANGE VALUE OF \"NBP\" IN YOUR SPATIAL DOMAIN FILE.\n";
    lwrite(*run.PRT, " MAXIMUM NUMBER IS ", MXBP);
    error_stop("ERROR. Too many bypassing operations.");
  }
  const double yd = static_cast<double>(in.YDFAC);
  const double vfac = yd * yd * yd;   // m3 per model volume unit
  for (int k = 1; k <= cfg.NBP; ++k) {
    check_bypass_entry(cfg, run, k, "OPERATION", "BPDATS", "BPDATE", "IBPS/IBPE");
    double length = 0.0;   // placement length (m)
    for (int i = cfg.IBPS(k); i <= cfg.IBPE(k); ++i) length += static_cast<double>(cfg.DX(i));
    src.QBPM(k) = cfg.QBP(k) * vfac / length;
    src.BPH0(k) = date_hours(cfg, cfg.BPDATS(k));
    src.BPH1(k) = date_hours(cfg, cfg.BPDATE(k));
    if (!(src.BPH1(k) > src.BPH0(k))) {
      *run.PRT << " WARNING. BYPASS OPERATION " << k << " ENDS BEFORE IT STARTS.\n"
               << " IT IS IGNORED.\n\n";
    }
  }
}

// One line of the bypass event file: "start end first last r1 [r2 ... rn]".
[[noreturn]] void event_error(const Settings& cfg, int line, const std::string& what) {
  error_stop("BYPFILE " + cfg.BYPFILE + " line " + std::to_string(line) + ": " + what);
}

void read_event_line(const Settings& cfg, const InputState& in, SourceState& src,
                     std::string_view text, int line) {
  std::size_t pos = 0;
  std::string_view item;
  int head[4] = {0, 0, 0, 0};
  for (int& v : head) {
    if (!next_item(text, pos, item) || !parse_int(item, v))
      event_error(cfg, line, "needs start end first_cell last_cell rates");
  }
  const int s = head[0], e = head[1], c1 = head[2], c2 = head[3];
  if (!valid_date(s) || !valid_date(e)) event_error(cfg, line, "dates must be YYYYMMDD");
  if (e <= s) event_error(cfg, line, "event ends before it starts");
  if (s < cfg.BPDATS(1) || e > cfg.BPDATE(1)) event_error(cfg, line, "event outside QQDATS..QQDATE");
  if (c1 > c2 || c1 < cfg.IBPS(1)
    || c2 > cfg.IBPE(1)) event_error(cfg, line, "cells outside IQQS..IQQE");
  const int n = src.NBPEV + 1;
  if (n > MXBPEV) event_error(cfg, line, "more than " + std::to_string(MXBPEV) + " events");
  const double h0 = date_hours(cfg, s);
  if (n > 1 && h0 < src.EVH1(n - 1)) event_error(cfg, line, "events out of date order or overlapping");
  const int off = n > 1 ? src.EVOFF(n - 1) + src.EVNR(n - 1) : 0;
  const double yd = static_cast<double>(in.YDFAC);
  const double fac = yd * yd * yd / static_cast<double>(in.LENFAC);   // to m3/h per m
  int nr = 0;
  while (next_item(text, pos, item)) {
    double r = 0.0;
    if (!parse_double(item, r)) event_error(cfg, line, "rate is not a number");
    if (off + nr + 1 > MXBPRATE) event_error(cfg, line, "too many rates in the file");
    src.QEV(off + nr + 1) = r * fac;
    ++nr;
  }
  if (nr != 1 && nr != c2 - c1 + 1)
    event_error(cfg, line, "give one rate or one per cell (" + std::to_string(c2 - c1 + 1) + ")");
  src.NBPEV = n;
  src.EVH0(n) = h0;
  src.EVH1(n) = date_hours(cfg, e);
  src.EVC1(n) = c1;
  src.EVC2(n) = c2;
  src.EVOFF(n) = off;
  src.EVNR(n) = nr;
}

// The event-file form: BYPFILE with the four QQ keys (span and cells of the
// events); BPDATS lines may not be mixed with it.
void setup_events(const Settings& cfg, const InputState& in, RunState& run, SourceState& src) {
  if (cfg.NBP > 0) error_stop("BPDATS lines cannot be mixed with BYPFILE");
  static constexpr const char* QQKEYS[4] = {"QQDATS", "QQDATE", "IQQS", "IQQE"};
  for (int b = 0; b < 4; ++b)
    if ((cfg.QQGIVEN & (1 << b)) == 0) error_stop(std::string("BYPFILE needs ") + QQKEYS[b]);
  check_bypass_entry(cfg, run, 1, "DATA", "QQDATS", "QQDATE", "IQQS/IQQE");
  if (cfg.BPDATE(1) <= cfg.BPDATS(1)) error_stop("QQDATE must be after QQDATS");
  std::string line;
  line.reserve(65536);
  int number = 0;
  bool cut = false;
  while (read_record(run.FBYP, line, 65536, cut)) {
    ++number;
    if (cut) event_error(cfg, number, "line too long");
    if (line.find_first_not_of(" \t,") == std::string::npos) continue;   // blank line
    read_event_line(cfg, in, src, line, number);
  }
}

}  // namespace

double date_hours(const Settings& cfg, int date) {
  int y0 = 0, m0 = 0, d0 = 0, y1 = 0, m1 = 0, d1 = 0;
  split_date(cfg.SIMDATS, y0, m0, d0);
  split_date(date, y1, m1, d1);
  return 24.0 * static_cast<double>(day_count(y0, m0, d0, y1, m1, d1));
}

double fill_advance(double yadd, double h0, double h1, double dt) {
  // Steps n = 0, 1, ... start at n dt; those with h0 <= n dt < h1 act. A small
  // allowance keeps a step start that equals a window end in hours, up to
  // round-off, on the right side of it.
  const double eps = 1.0e-6 * dt;
  const double steps = std::ceil((h1 - eps) / dt) - std::ceil((h0 - eps) / dt);
  return steps > 0.0 ? yadd / steps : 0.0;
}

void set_fill_advances(const Settings& cfg, const StepState& step, SourceState& src) {
  for (int k = 1; k <= std::min(cfg.NBF, MXBF); ++k)
    src.FILLADV(k) = fill_advance(static_cast<double>(cfg.YADD(k)), src.FILLH0(k), src.FILLH1(k),
                                  static_cast<double>(step.DT));
}

void setup_schedules(const Settings& cfg, const InputState& in, const StepState& step,
                     RunState& run, SourceState& src) {
  setup_fills(cfg, step, run, src);
  if (cfg.BYPFILE.empty()) {
    if (cfg.QQGIVEN != 0) error_stop("QQDATS, QQDATE, IQQS and IQQE need BYPFILE");
    setup_operations(cfg, in, run, src);
  } else {
    setup_events(cfg, in, run, src);
  }
}

}  // namespace coastra

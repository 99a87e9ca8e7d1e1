// The progress line of a run on a terminal and the terminal console buffer
// that keeps it apart from the run's own console text. Wall time is read from
// the steady clock only when a progress line is shown at all.

#include "driver/progress.h"

#include <chrono>
#include <string>

#include "input/clock.h"
#include "output/format.h"

namespace coastra {

namespace {

constexpr long long REDRAW_NS = 250'000'000;   // at most four lines a second (ns)

long long now_ns() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

// h:mm:ss of a wall time in seconds.
void append_hms(std::string& s, long long sec) {
  edit_i(s, sec / 3600, 0);
  s += ':';
  edit_i(s, sec / 60 % 60 / 10, 1);
  edit_i(s, sec / 60 % 10, 1);
  s += ':';
  edit_i(s, sec % 60 / 10, 1);
  edit_i(s, sec % 10, 1);
}

}  // namespace

void TerminalConsole::draw(std::string_view line) {
  out_->sputc('\r');
  out_->sputn(line.data(), static_cast<std::streamsize>(line.size()));
  out_->sputn("\x1b[K", 3);
  out_->pubsync();
  drawn_ = true;
}

void TerminalConsole::wipe() {
  if (!drawn_) return;
  out_->sputn("\r\x1b[K", 4);
  drawn_ = false;
}

TerminalConsole::int_type TerminalConsole::overflow(int_type c) {
  if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
  wipe();
  return out_->sputc(traits_type::to_char_type(c));
}

std::streamsize TerminalConsole::xsputn(const char* s, std::streamsize n) {
  wipe();
  return out_->sputn(s, n);
}

void show_progress(const InputState& in, RunState& run) {
  if (run.PROGRESS == nullptr) return;
  const long long t = now_ns();
  if (run.ISTEP <= 1) run.PROGT0 = t;
  const bool last = run.ISTEP >= in.NTS;
  if (run.ISTEP > 1 && !last && t - run.PROGLAST < REDRAW_NS) return;
  run.PROGLAST = t;
  const int nts = std::max(in.NTS, 1);
  const int step = std::min(run.ISTEP, nts);
  std::string& s = run.PROGBUF;
  s.clear();
  edit_i(s, static_cast<long long>(step) * 100 / nts, 4);
  s += "%  ";
  // The simulated date at the end of the step: a calendar date or a step count.
  const int d = in.NEXTDATE;
  if (d > DATE_THRESHOLD) {
    edit_iso_date(s, d);
  } else {
    s += "step ";
    edit_i(s, step, 0);
  }
  const long long elapsed = (t - run.PROGT0) / 1'000'000'000;
  s += "  elapsed ";
  append_hms(s, elapsed);
  s += "  remaining ";
  // Remaining time at the mean wall time per step so far.
  append_hms(s, step > 0 ? elapsed * (nts - step) / step : 0);
  run.PROGRESS->draw(s);
}

void end_progress(RunState& run) {
  if (run.PROGRESS != nullptr) run.PROGRESS->wipe();
}

}  // namespace coastra

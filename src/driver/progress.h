// The progress line of a run on a terminal: share of steps done, simulated
// date, elapsed and remaining wall time, redrawn in place at most four times a
// second. TerminalConsole is the console's stream buffer on a terminal: it
// wipes the progress line before any other console text, so the run's own
// lines read as they do in a log. Routines: show_progress, end_progress.
#pragma once

#include <streambuf>
#include <string_view>

#include "model/state.h"

namespace coastra {

// Design note: a stream buffer is the one place that sees every console write,
// so the wiping lives in a small class rather than in each writer.
class TerminalConsole : public std::streambuf {
 public:
  explicit TerminalConsole(std::streambuf* out) : out_(out) {}
  void draw(std::string_view line);   // "\r", the line, erase to the end of it
  void wipe();                        // erase a drawn line, cursor to column 1
 protected:
  int_type overflow(int_type c) override;
  std::streamsize xsputn(const char* s, std::streamsize n) override;
  int sync() override { return out_->pubsync(); }
 private:
  std::streambuf* out_;
  bool drawn_ = false;
};

// Draws the line for the step just done when due (first and last step, and
// every quarter second between), from the step count and the date of the
// clock; nothing unless the run's PROGRESS is set.
void show_progress(const InputState& in, RunState& run);
void end_progress(RunState& run);     // wipes the line once the loop is over

}  // namespace coastra

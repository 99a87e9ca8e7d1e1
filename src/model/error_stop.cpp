// The error stop: one 80-character console line, then the end of the run.

#include "model/error_stop.h"

#include "model/state.h"

namespace coastra {

std::string error_line(std::string_view message) {
  std::string line = "ERROR: ";
  line += message.substr(0, 73);
  line.resize(80, ' ');
  return line;
}

void error_stop(std::string_view message) { throw ErrorStop{std::string(message)}; }

void silent_stop() { throw SilentStop{}; }

void stop_run(RunState& run, std::string_view why, bool shown) {
  run.IRUNERR = 1;
  if (!run.STOPWHY.empty() || run.STOPSHOWN) return;
  run.STOPSHOWN = shown;
  if (shown) return;
  // One line: blanks at the ends dropped, inner line ends made blanks.
  std::string t;
  for (const char ch : why) t += (ch == '\n' || ch == '\r') ? ' ' : ch;
  const std::size_t a = t.find_first_not_of(' ');
  const std::size_t b = t.find_last_not_of(' ');
  run.STOPWHY = a == std::string::npos ? "see the print file" : t.substr(a, b - a + 1);
}

}  // namespace coastra

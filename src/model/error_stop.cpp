// The error stop: one 80-character console line, then the end of the run.

#include "model/error_stop.h"

namespace coastra {

std::string error_line(std::string_view message) {
  std::string line = "ERROR: ";
  line += message.substr(0, 73);
  line.resize(80, ' ');
  return line;
}

void error_stop(std::string_view message) { throw ErrorStop{std::string(message)}; }

void silent_stop() { throw SilentStop{}; }

}  // namespace coastra

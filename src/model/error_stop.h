// The error stop and the silent stop. Both unwind to the run sequence, which
// writes what they carry and returns the process exit status; streams flush on
// the way, so nothing already written is lost.
#pragma once

#include <string>
#include <string_view>

namespace coastra {

struct RunState;

struct ErrorStop {
  std::string message;  // the message as given (cut to 73 characters when written)
};
struct SilentStop {};   // ends the run with no further text

inline constexpr int EXIT_NORMAL = 0;
inline constexpr int EXIT_STOPPED = 1;       // error stop and silent stops
inline constexpr int EXIT_EARLY_STOP = 3;    // stopped early, reports written

// The console line of an error stop: "ERROR: " + message cut to 73 characters,
// padded with blanks to exactly 80 characters.
std::string error_line(std::string_view message);

[[noreturn]] void error_stop(std::string_view message);
[[noreturn]] void silent_stop();

// Sets the run error flag (IRUNERR = 1): the simulation stops at the end of
// the step and the end-of-run reports follow (exit status 3). why is what the
// print file was told (a line or two); the first reason of a run is kept in
// STOPWHY for the console line that ends the run. shown: the console has had
// the line already.
void stop_run(RunState& run, std::string_view why, bool shown = false);

}  // namespace coastra

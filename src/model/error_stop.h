// The error stop and the silent stop. Both unwind to the run sequence, which
// writes what they carry and returns the process exit status; streams flush on
// the way, so nothing already written is lost.
#pragma once

#include <string>
#include <string_view>

namespace coastra {

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

}  // namespace coastra

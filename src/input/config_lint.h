// Checks of the configuration's lines that catch a mistake the reader would
// otherwise take quietly: a keyword that is no key (with the key it most
// resembles), a key without its colon, a decimal comma, a scalar given more
// values than it reads, and alongshore lists that leave walls at 0 or drop
// values. Each is a warning on the console and in the print file, or a refusal
// with --strict (STRICT of the run).
#pragma once

#include <string>
#include <string_view>

#include "input/config_keys.h"
#include "model/state.h"

namespace coastra {

// The key of the table (or COASTRA) that word most resembles: at most one
// edit (a letter changed, added, dropped, or two neighbours swapped) away for
// a word of up to four characters, two for a longer one; "" when none is.
std::string nearest_key(std::string_view word);

// Warns about line `number` (raw text) when it has the shape of a key line but
// names no key, or starts with a key that lacks its colon.
void lint_key_shape(RunState& run, int number, std::string_view raw);

// Warns about the value of a numeric key: a comma between two digits (read as
// two values) or, for a key that reads one value, further numbers on the line.
void lint_value(RunState& run, int number, const KeySpec& ks, std::string_view value);

// One warning about the configuration (" WARNING. " + text on the console and
// in the print file), or the error stop with text under --strict.
void config_warning(RunState& run, const std::string& text);

// True when the first item of a date value is exactly eight digits.
bool eight_digits(std::string_view value);

}  // namespace coastra

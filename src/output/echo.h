// Start-up reports: the banner and the echo of the input in the print file, the
// title box on the console, and the initial shoreline.
#pragma once

#include <string_view>

#include "model/state.h"

namespace coastra {

// The program's one version, as the banner of every print file and console
// shows it; --version prints the same line.
inline constexpr std::string_view VERSION_LINE = "Version 1.1 release 8.1, OCT 2024";

void write_banner_and_echo(ModelState& m);     // print file and console title box
void write_initial_shoreline(ModelState& m);   // initial shoreline from the baseline

}  // namespace coastra

// Start-up reports: the banner and the echo of the input in the print file, the
// title box on the console, and the initial shoreline.
#pragma once

#include <string_view>

#include "model/state.h"

namespace coastra {

// The program's one version, as the banner of every print file and console
// shows it; --version prints the same line.
inline constexpr std::string_view VERSION_LINE = "Version 1.1 release 8.1, OCT 2024";

// The banner and the echo of the input in the print file, the title box on the console.
void write_banner_and_echo(const Settings& cfg, const InputState& in, const WaveState& wv,
                           const StepState& step, RunState& run);
// The initial shoreline (YINIT) from the baseline.
void write_initial_shoreline(const Settings& cfg, const InputState& in, RunState& run);

}  // namespace coastra

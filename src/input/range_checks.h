// Set-up checks of the ranges of the configured values: values that cannot be
// physical (or that would overflow single precision in the transport) are
// refused naming the key and its entry; values that are possible but
// implausible draw one warning line each on the console and in the print file.
#pragma once

#include "model/state.h"

namespace coastra {

// Runs after the lengths are in metres and the grid is set (NX checked).
// Warnings go to the console and the print file.
void check_value_ranges(const Settings& cfg, RunState& run);

}  // namespace coastra

// Start-up reports: the banner and the echo of the input in the print file, the
// title box on the console, and the initial shoreline.
#pragma once

#include "model/state.h"

namespace coastra {

void write_banner_and_echo(ModelState& m);     // print file and console title box
void write_initial_shoreline(ModelState& m);   // initial shoreline from the baseline

}  // namespace coastra

// Warnings found inside a per-wall loop, written to the print file after the
// loop from the state's warning list (model/state_warnings.h).
#pragma once

#include "model/state.h"

namespace coastra {

// Writes the recorded warnings in the order found and empties the list.
// Steepness: the first of the run is always written, later ones only with
// PRWARN (ISTEEP 1 after the first report, 2 after a later one, until the wave
// step dates and acknowledges it). A limit on repeated warnings goes here.
void write_step_warnings(ModelState& m);

}  // namespace coastra

// The time-step loop: advances the simulation from step 1 to NTS, calling every
// stage of a step in its fixed order (the pipeline and the rule of the run
// error flag are written at the top of time_loop.cpp).
#pragma once

#include "model/state.h"

namespace coastra {

// Runs the loop until the step number reaches NTS or the run error flag is set.
void run_time_loop(ModelState& m);
// One time step: physics up to "the shoreline moved", accumulation, records
// (the end test is the caller's).
void run_time_step(ModelState& m);

}  // namespace coastra

// The time-step loop: advances the simulation from step 1 to NTS, calling every
// stage of a step in its fixed order.
#pragma once

#include "model/state.h"

namespace coastra {

// Runs the loop until the step number reaches NTS or the run error flag is set.
void run_time_loop(ModelState& m);
// One time step (steps 1-8 of the loop; the end test is the caller's).
void run_time_step(ModelState& m);

}  // namespace coastra

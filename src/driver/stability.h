// The stability check of the explicit shoreline update and the adaptive time
// step: the check of the stability parameter (transport/stability_parameter.h),
// the halving and doubling of DT (their notices written by
// output/stability_notices.h), and the rescaling of every count that depends
// on the number of steps.
#pragma once

#include "model/state.h"
#include "transport/stability_parameter.h"

namespace coastra {

// Start-up, right after the configuration is read and set up: the step
// control from the settings (DT, NSTABDTMIN in steps, PRDATE); from here on
// only the clock and the adaptive step write it.
void start_step_control(const Settings& cfg, StepState& step);
// Start-up, after the run length, the boundaries and the wave-record step are
// known: counter and flags, the run length in hours, the boundary rates, the
// time factors of the DT in force.
void setup_stability(const Settings& cfg, const InputState& in, const StepState& step,
                     StabilityState& stab);
// Every step with waves, after the final breaking waves and before the groin
// factors and the transport: warnings and, with DTADAPT = 1, the change of DT.
// A stability parameter that is not finite stops the run (IRUNERR, one line).
void stability_check(ModelState& m);
// Changes DT to dt_new within the current step, after its clock advance, and
// forms every step-dependent count again (clock, NTS, NSTSAVE, NWS, NSTWL,
// NSTTC, NSTABDTMIN, DTFAC, boundary movements, the current step number); sets
// ADAPTED.
void change_time_step(ModelState& m, float dt_new);
// The step number that starts at elapsed hours with steps of dt hours, so that
// (step - 1) x dt = elapsed.
int step_number_after_change(double elapsed, float dt);

}  // namespace coastra

// Wave events: the wave-record time step and its checks against DT, the event
// table, the wave step with its cycling rule and steepness acknowledgement.
#pragma once

#include "model/state.h"
#include "waves/nearshore.h"

namespace coastra {

// Start-up: wave-record time step, event table, initial event (error stops).
void setup_wave_events(ModelState& m);
// Start-up, after the input echo: DT against the wave-record time step (error
// stops, their lines in the print file); NWS.
void check_wave_timestep(const StepState& step, RunState& run, WaveState& wv);
// The wave step of the loop: WAVINP, event counter, cycling, acknowledgement.
// Returns the record's checks (WAVINP).
RecordChecks wave_step(ModelState& m);

}  // namespace coastra

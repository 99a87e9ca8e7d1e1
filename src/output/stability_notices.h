// The notices of the stability check and the adaptive time step, on the
// console and in the print file (the buffer STABTEXT reused, nothing allocated
// in the loop). They read the date (CURDATE) and the wave event in force, write
// to the console and print file (RunState), count in WarningState and compose
// in STABTEXT (StabilityState).
#pragma once

#include "model/state.h"

namespace coastra {

// S above 0.5: the console warning and, the first time in the run or with
// PRWARN, the print-file block; at most once per wave record, counted always.
void instability_warning(const Settings& cfg, const InputState& in, const WaveState& wv,
                         RunState& run, WarningState& warn, StabilityState& stab, float s);
// S above STABMIN with DTADAPT = 1: the notice that DT is about to be halved.
void reduction_notice(const Settings& cfg, const InputState& in, const WaveState& wv,
                      RunState& run, StabilityState& stab, float s);
// The halving done: the new DT and its parameter s.
void reduced_notice(RunState& run, StabilityState& stab, float dt, float s);
// DT cannot be halved again while S is still above STABMIN: the notice the
// first time, then only with PRWARN and at most once per wave record; counted.
void held_at_dtmin(const Settings& cfg, const InputState& in, const StepState& step, RunState& run,
                   WarningState& warn, StabilityState& stab, float s);
// DT doubled after a run of quiet steps: the notice with the new DT and s.
void increase_notice(const InputState& in, RunState& run, StabilityState& stab, float dt,
                     float s);

}  // namespace coastra

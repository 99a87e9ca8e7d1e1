// Warnings found inside a per-wall loop, written to the print file after the
// loop from the state's warning list (model/state_warnings.h), and the
// end-of-run count of every kind of repeated warning.
#pragma once

#include "model/state.h"

namespace coastra {

// Writes the recorded warnings in the order found and empties the list.
// Steepness: the first of the run is always written, later ones only with
// PRWARN (ISTEEP 1 after the first report, 2 after a later one, until the wave
// step dates and acknowledges it), and never more than one per wave record.
// Composes in WTEXT.
void write_step_warnings(const Settings& cfg, const InputState& in, RunState& run, WaveState& wv,
                         WaveInputState& wi, WarningState& warn);

// End of run: the number of times each kind of repeated warning was raised,
// one line a kind, on the console and in the print file; nothing when none was.
void write_warning_counts(const WarningState& warn, RunState& run);

}  // namespace coastra

// The stage-timing table of a run that asked for it (--stage-times):
// seconds and share of the loop per stage, on the console.
#pragma once

#include "model/state.h"

namespace coastra {

void write_stage_times(RunState& run);   // TIMES, on the console

}  // namespace coastra

// Dredging of inlet reservoirs: every event whose date range holds the
// current date takes its volume for the step from the reservoir it names.
#pragma once

#include "model/state.h"

namespace coastra {

// Every step, calm or not: for each dredging event in force (IDREDS non-zero,
// IDREDS <= STEPDATE <= IDREDE: the step starts on one of its days; or
// IDREDS <= ISTEP <= IDREDE for a window given in step numbers),
// v = DREDV x DT (m3). A positive v removes at most what the reservoir holds and books the removal in VDREDRM (as -v); a
// negative v places -v into the reservoir and books it in VDREDPL.
void dredge_inlets(const Settings& cfg, const RunState& run, const InputState& in,
                   const StepState& step, InletState& inl);

}  // namespace coastra

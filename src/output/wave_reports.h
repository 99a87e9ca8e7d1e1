// Print-file reports of the wave stages: the averages of the undiffracted
// breaking statistics, the final waves of the last time step, and the report
// of a closure depth that is not positive (which ends the run).
#pragma once

#include "model/state.h"

namespace coastra {

// End of run: averages of SUMHB, SUMANG and SUMQ over the NTS steps of the run
// (calm steps included), heights in the model length unit, transport x 100.
void write_breaking_statistics(const Settings& cfg, const InputState& in, const WaveState& wv,
                               const StepState& step, RunState& run);
// Last time step: HBD (model length unit) and THETABD (deg) of walls 1..NX+1 as
// the breaking sequence leaves them (before the groin stage clips THETABD).
void write_last_step_waves(const Settings& cfg, const InputState& in, const WaveState& wv,
                           RunState& run);
// DLTZ of `cell` is not positive: the print-file report of the record's HRF,
// TRF and ZRF, then the error stop.
[[noreturn]] void stop_on_closure_depth(const Settings& cfg, const WaveState& wv, RunState& run,
                                        int cell);
// The diffraction coefficient of some wall did not converge: the print-file
// lines, and IRUNERR = 1 (the step ends, the end-of-run reports are written).
void stop_on_kd_failure(RunState& run);

}  // namespace coastra

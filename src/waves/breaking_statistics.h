// Undiffracted breaking-wave statistics: the running sums of height, angle to
// the shoreline and undiffracted transport per wall. The report of their
// averages is written by output/wave_reports.h.
#pragma once

#include "model/state.h"

namespace coastra {

// Adds the current HB, THETAB - ALPHAS and the undiffracted transport
// (CGBU A1W HB^2 sin 2a) of every wall, each times DT, to SUMHB, SUMANG, SUMQ.
// Called by the time step below the last step, after the stability check (which
// may change DT for this step), and once more at the end of the run.
void BRKSTAT(const Settings& cfg, const InputState& in, const TransportState& tr,
             const StepState& step, WaveState& wv);

}  // namespace coastra

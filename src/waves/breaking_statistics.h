// Undiffracted breaking-wave statistics: the running sums of height, angle to
// the shoreline and undiffracted transport per wall. The report of their
// averages is written by output/wave_reports.h.
#pragma once

#include "model/state.h"

namespace coastra {

// Adds the current HB, THETAB - ALPHAS and the undiffracted transport
// (CGB A1W HB^2 sin 2a) of every wall to SUMHB, SUMANG, SUMQ. Called inside the
// breaking sequence below the last step (before the final celerities overwrite
// CGB) and once more at the end of the run.
void BRKSTAT(ModelState& m);

}  // namespace coastra

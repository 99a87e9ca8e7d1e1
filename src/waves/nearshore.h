// The nearshore sequence of a time step: the representative offshore contour,
// the calm-step test, the closure depth, the shoreline orientation, breaking
// at every wall and the final (merged and smoothed) breaking waves.
#pragma once

#include "model/state.h"

namespace coastra {

// Moving average of window n (made odd) over in(1..nx) into out(1..nx), with the
// straight-line end rule; n < 3 copies.
void moving_average(const Vec1<float>& in, Vec1<float>& out, int nx, int n);
// YSMOOTH (twice smoothed, + 300 m) and ALPHAW from the current shoreline.
void offshore_contour(ModelState& m);
// True when the step is calm: a cell with TRF <= 0 or HRF = 0, or the event
// direction at or beyond +-90 degrees.
bool calm_step(const ModelState& m);
// Wave constants, DLTZ (error stop when not positive), ALPHAS, breaking at every
// wall (HB, THETAB, KB, CGB), the undiffracted statistics, the final HBD, THETABD
// and the final CGB, KB.
void breaking_waves(ModelState& m);

}  // namespace coastra

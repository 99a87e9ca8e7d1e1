// Guards of the time step against values that are not finite numbers (NaN or
// an infinity): guard_breaking after the breaking sequence, guard_shoreline
// after the shoreline moved. A guard that finds one names the step, the wall
// or cell and the quantity, sets the run error flag and leaves the state
// finite, so that the end-of-run reports and files never show NaN or Infinity.
#pragma once

#include "model/state.h"

namespace coastra {

// Breaking values HB, THETAB, CGBU, HBD, THETABD and CGB at walls 1..NX+1.
// On a find: the print-file and console line, IRUNERR = 1, and every
// non-finite value of those arrays set to 0 (no breaking wave).
void guard_breaking(ModelState& m);

// Transport QLS at walls 1..NX+1 and shoreline positions YSHORE at cells
// 1..NX. On a find: the line, IRUNERR = 1, the shoreline put back where the
// step found it (YSTART) and every non-finite transport set to 0.
void guard_shoreline(ModelState& m);

// 1 when some value of a(1..n) is not a finite number, else 0 (no early exit:
// the loop vectorises).
int any_nonfinite(const float* a, int n);
int any_nonfinite(const double* a, int n);

}  // namespace coastra

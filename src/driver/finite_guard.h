// Guards of the time step against values that are not finite numbers (NaN or
// an infinity): guard_breaking after the breaking sequence, guard_shoreline
// after the shoreline moved. A guard that finds one names the step, the wall
// or cell and the quantity, sets the run error flag and leaves the state
// finite, so that the end-of-run reports and files never show NaN or Infinity.
#pragma once

#include <string_view>

#include "model/state.h"

namespace coastra {

// The breaking values HB, THETAB, CGBU, HBD, THETABD and CGB at walls
// 1..NX+1. On a value that is not a finite number: the print-file and console
// line, IRUNERR = 1, and every non-finite value of those arrays set to 0 (no
// breaking wave).
void guard_breaking(const Settings& cfg, RunState& run, WaveState& wv);

// Transport QLS at walls 1..NX+1 and shoreline positions YSHORE at cells
// 1..NX. On a value that is not a finite number: the line, IRUNERR = 1, the
// shoreline put back where the step found it (YSTART) and every non-finite
// transport set to 0.
void guard_shoreline(const Settings& cfg, RunState& run, TransportState& tr);

// The stop on a non-finite value: " ERROR. TIME STEP n: WHAT NAME AT WHERE i IS
// NOT A FINITE NUMBER." on the console and in the print file (without the
// place when i is 0), and IRUNERR = 1. Allocates: called once per run at most.
void report_nonfinite(RunState& run, std::string_view name, std::string_view what,
                      std::string_view where, int i);

// 1 when some value of a(1..n) is not a finite number, else 0 (no early exit:
// the loop vectorises).
int any_nonfinite(const float* a, int n);
int any_nonfinite(const double* a, int n);

}  // namespace coastra

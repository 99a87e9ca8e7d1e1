// The nearshore sequence of a time step: the representative offshore contour,
// the calm-step test, the closure depth, the shoreline orientation, and the
// breaking sequence (breaking at every wall, then the final waves of
// final_waves.h). Writes no report and changes none of its inputs.
#pragma once

#include "model/state.h"

namespace coastra {

// Moving average of window n (made odd) over in(1..nx) into out(1..nx), with the
// straight-line end rule; n < 3 copies.
void moving_average(const Vec1<float>& in, Vec1<float>& out, int nx, int n);
// YSMOOTH (twice smoothed, + 300 m) and ALPHAW from the current shoreline.
void offshore_contour(ModelState& m);
// KRF, NRF: wave number and celerity ratio at the input depth DRF of every wall,
// from TRF; C02RF, CHIRF: the breaking constants of the input wave (HRF). They
// change only with the wave record, so the wave input computes them once per
// record and the steps until the next record reuse them.
void input_wave_numbers(ModelState& m);
// The same, told whether every wall has wall 1's period and depth (in bits,
// neither of them NaN), as the wave input's region finds it.
void input_wave_numbers(ModelState& m, bool same);
// Whether walls lo..hi all have wall lo's period TRF and depth DRF, in bits.
bool same_input_wave(const ModelState& m, int lo, int hi);
// Whether every wall has wall 1's period and depth (in bits, neither of them
// NaN), from same_input_wave of each part of the walls (parts_same, both
// true) and `second`, the first wall of the second part (1 for one part).
bool same_input_wave_parts(const ModelState& m, bool parts_same, int second);
// True when the step is calm: a cell with TRF <= 0 or HRF = 0, or the event
// direction at or beyond +-90 degrees.
bool calm_step(const ModelState& m);
// The breaking sequence: wave constants, ALPHAS and ALPHASCODE, IWAVOFF and
// breaking at every wall (HB, THETAB, KB, the undiffracted CGBU), the final
// HBD, THETABD and the final CGB, KB. DLTZ
// (closure_depth) is formed before, once per wave record that is not calm.
void breaking_waves(ModelState& m);

// Closure-depth quantity DLTZ per cell, from HRF and TRF of the wave record.
// Returns 0, or the first cell whose value is not positive (the caller reports
// it and stops the run; every cell is written). Called once per wave record
// that is not calm.
int closure_depth(ModelState& m);
// Shoreline orientation ALPHAS per wall from YSHORE, with the three-point mean at
// groin walls (ALPHAS(i+1) still from the previous step there); ALPHASCODE of
// every wall set to ORIENT_PLAIN.
void shoreline_orientation(ModelState& m);

}  // namespace coastra

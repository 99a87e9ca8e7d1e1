// The nearshore sequence of a time step: the representative offshore contour,
// the calm-step test, the closure depth, the shoreline orientation, and the
// breaking sequence (breaking at every wall, then the final waves of
// final_waves.h). Writes no report and changes none of its inputs.
#pragma once

#include "model/state.h"
#include "waves/final_waves.h"

namespace coastra {

// Moving average of window n (made odd) over in(1..nx) into out(1..nx), with the
// straight-line end rule; n < 3 copies.
void moving_average(const Vec1<float>& in, Vec1<float>& out, int nx, int n);
// YSMOOTH (twice smoothed, + 300 m) and ALPHAW from the current shoreline.
void offshore_contour(ModelState& m);
// KRF, NRF: wave number and celerity ratio at the input depth DRF of walls
// lo..hi (one part of the wave input's region), from TRF; C02RF, CHIRF: the
// breaking constants of the input wave (HRF). They change only with the wave
// record, so the wave input computes them once per record and the steps until
// the next record reuse them. One solution of the dispersion relation when the
// walls all share wall lo's period and depth, else one per run of walls with
// the same pair: every wall's values are those of its own pair, however the
// walls are cut into parts.
void input_wave_numbers_walls(ModelState& m, int lo, int hi);
// What a wave record's checks find over cells lo..hi (within 1..NX), with
// DLTZ, the closure-depth quantity, written at each of them: whether a cell
// has no wave (TRF <= 0 or HRF = 0) and whether a cell's DLTZ is not positive
// (or not a number). An OR of the parts gives the whole coast's answer.
struct RecordChecks {
  int no_wave = 0;
  int bad_depth = 0;
};
RecordChecks record_checks(ModelState& m, int lo, int hi);
// True when the step is calm: no_wave (a cell without a wave, from
// record_checks), or the event direction at or beyond +-90 degrees.
bool calm_step(const ModelState& m, int no_wave);
// 0 when bad_depth (from record_checks) is 0, else the first cell whose DLTZ
// is not positive (the caller reports it and stops the run).
int closure_depth(const ModelState& m, int bad_depth);
// The breaking sequence: wave constants, ALPHAS and ALPHASCODE, IWAVOFF and
// breaking at every wall (HB, THETAB, KB, the undiffracted CGBU), the final
// HBD, THETABD and the final CGB, KB. DLTZ (record_checks) is formed before,
// once per wave record.
// `check` runs over each part's walls once their final values are formed (see
// final_waves); returns the OR of its finds (0 without one, or when a stage
// set the run error flag before the final waves).
int breaking_waves(ModelState& m, WallCheck check = nullptr);

// Shoreline orientation ALPHAS per wall from YSHORE, with the three-point mean at
// groin walls (ALPHAS(i+1) still from the previous step there); ALPHASCODE of
// every wall set to ORIENT_PLAIN.
void shoreline_orientation(ModelState& m);

}  // namespace coastra

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
// KRF, NRF: wave number and celerity ratio at the input depth DRF of every wall,
// from TRF. They change only with the wave record, so the wave input computes
// them once per record and the steps until the next record reuse them.
void input_wave_numbers(ModelState& m);
// True when the step is calm: a cell with TRF <= 0 or HRF = 0, or the event
// direction at or beyond +-90 degrees.
bool calm_step(const ModelState& m);
// Wave constants, ALPHAS, breaking at every wall (HB, THETAB, KB, CGB), the
// undiffracted statistics, the final HBD, THETABD and the final CGB, KB. DLTZ
// (closure_depth) is formed before, once per wave record that is not calm.
void breaking_waves(ModelState& m);

// Closure-depth quantity DLTZ per cell, from HRF and TRF of the wave record;
// writes the print-file report and raises the error stop when a value is not
// positive. Called once per wave record that is not calm.
void closure_depth(ModelState& m);
// Shoreline orientation ALPHAS per wall from YSHORE, with the three-point mean at
// groin walls (ALPHAS(i+1) still from the previous step there).
void shoreline_orientation(ModelState& m);

// Final breaking waves (final_waves.cpp).
// Energy merge of the breaking-wave components of a step: component icomp of
// ncomp, heights H and directions THETA over walls first..last. Component 1
// clears the accumulators and HBD, THETABD; the last one forms HBD = sqrt(sum H^2)
// and THETABD = asin(sum H^2 sin 2theta / sum H^2) / 2 at every wall.
void WAVSUM(ModelState& m, int icomp, int ncomp, const Vec1<float>& H, const Vec1<float>& THETA,
            int first, int last);
// Alongshore smoothing of the merged HBD, THETABD at walls 2..NX by the structure
// states WALLTYPE and the shoreline states DBMARK, with the inlet rules (INLCELL);
// clears IGRADOFF there. In the last time step (ISTEP >= NTS) lists the final
// waves in the print file.
void final_smoothing(ModelState& m);
// Final CGB and KB at every wall from the event period and the breaking depth
// HBD / GAMMA (0 where that depth is 0).
void final_celerities(ModelState& m);

}  // namespace coastra

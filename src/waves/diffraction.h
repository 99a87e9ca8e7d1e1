// Diffraction behind diffracting groins and detached breakwaters: the
// directional spreading at a structure tip (SMAXSH), the diffraction
// coefficient of a semi-infinite barrier for random waves (KD), the damped
// fixed-point iteration of KD at a wall, the ray from a tip to the breaker
// line, the adjustment between two structures, and the stage `diffraction`
// that merges one component per segment of the segment table.
#pragma once

#include <cmath>

#include "model/state.h"

namespace coastra {

struct Spreading {
  float SMAX;   // maximum directional spreading parameter (10..100)
  float SMAXP;  // its companion 5.31 + 0.27 SMAX - 0.000103 SMAX^2
};
// Spreading at a tip of depth h (m) for waves of angular frequency OMEGA (rad/s).
Spreading SMAXSH(float h, float OMEGA);

// Diffraction coefficient sqrt(0.5 (1 + tanh(a min(theta, 6)))) for the ratio
// a = SMAX / SMAXP and the angle theta (rad) from the shadow line to the ray,
// positive towards the illuminated side.
float KD(float a, float theta);

struct TipRay {
  float BETA;   // direction of the ray from the tip to the breaking point (rad)
  float THETA;  // angle from the tip's shadow line to the ray (rad), < 0 in the shadow
};
// Ray of side 1 (tip at the lower-wall end of a gap, shadow towards lower
// walls) or side 2 (mirror image) to a point dx (m, + towards higher walls)
// along the coast and dy (m, + shoreward of the tip) across it, for the wave
// direction theta_tip (rad) at the tip.
TipRay tip_ray(int side, float dx, float dy, float theta_tip);

// Relaxed estimate after pass p (from 0): the weight of the old estimate grows
// with p from 0 (p <= 3) through 3 (4..8), 4 (9..18), ... to 10 (from 69 on).
float relax_kd(float kdstar, float kdnew, int p);

inline constexpr int KD_MAX_PASSES = 74;      // passes before the iteration gives up
inline constexpr float KD_TOLERANCE = 0.025F; // convergence on the height change (m)

struct KdIteration {
  float KD;        // coefficient of the last pass
  int passes;      // passes made
  bool converged;
};
// Damped fixed-point iteration KD = kd_of(KD*) from KD* = 1 for a wave of
// height H (m): done when the coefficient changes the height by 0.025 m or
// less between two passes; gives up after 74 passes.
template <class F>
KdIteration iterate_kd(float H, F&& kd_of) {
  float star = 1.0F;
  float prev = 1.0F;
  for (int p = 0; p < KD_MAX_PASSES; ++p) {
    const float knew = kd_of(star);
    if (std::fabs((prev - knew) * H) <= KD_TOLERANCE) return {knew, p + 1, true};
    star = relax_kd(star, knew, p);
    prev = knew;
  }
  return {prev, KD_MAX_PASSES, false};
}

// Adjustment of a coefficient between two structures from the ratio r of the
// spread of their shadow lines to the distance between them (clamped to
// [-1, 1]): diverging shadow lines (r > 0) raise KD towards 1, converging ones
// (r < 0) lower it.
float between_adjust(float kd, float r);

// The diffraction stage of a time step: visits the segments in the order
// SEGORD, forms one merge component per segment with SEGFAC > 0.01 and merges
// them through WAVSUM into HBD, THETABD (not yet smoothed). Reads HB, THETAB,
// KB, ALPHAS, ALPHAW, HRF, THETARF, DRF, TRF, HZ, ZZRAD, OMEGA, K0, YSHORE, DX,
// WALLTYPE, INLCELL and the segment table. Without diffracting structures the
// single component is the undiffracted wave over walls 1..NX+1. When KD does
// not converge, writes the print-file lines, sets IRUNERR and returns without
// forming HBD.
void diffraction(ModelState& m);

}  // namespace coastra

// Diffraction behind diffracting groins and detached breakwaters: the
// spreading at a tip (SMAXSH), the coefficient of a semi-infinite barrier for
// random waves (KD), its damped iteration at a wall, the ray from a tip to the
// breaker line, the adjustment between two structures, their branch-free forms
// for the per-wall loops, and the stage `diffraction` merging one component
// per segment of the segment table.
#pragma once

#include <cmath>

#include "model/constants.h"
#include "model/state.h"
#include "model/vector_math.h"
#include "waves/wave_relations.h"

namespace coastra {

struct Spreading {
  float SMAX;   // maximum directional spreading parameter (10..100)
  float SMAXP;  // its companion 5.31 + 0.27 SMAX - 0.000103 SMAX^2
};
// Spreading at a tip of depth h (m) for waves of angular frequency OMEGA (rad/s).
Spreading SMAXSH(float h, float OMEGA);

struct TipRay {
  float BETA;   // direction of the ray from the tip to the breaking point (rad)
  float THETA;  // angle from the tip's shadow line to the ray (rad), < 0 in the shadow
};
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

// The kernels of the per-wall loops of the stage, branch-free (selects in
// place of branches, the inline vector math), so that a loop over walls
// vectorises and every instruction set gives the same bits; a single value is
// the same function on one element.

// Diffraction coefficient sqrt(0.5 (1 + tanh(a min(theta, 6)))) for the ratio
// a = SMAX / SMAXP and the angle theta (rad) from the shadow line to the ray,
// positive towards the illuminated side.
[[gnu::always_inline]] inline float KD(float a, float theta) {
  const float x = a * (6.0F < theta ? 6.0F : theta);
  const float ep = vmath::exp(x);
  const float em = vmath::exp(-x);
  return std::sqrt(0.5F * (1.0F + (ep - em) / (ep + em)));
}

// Ray of side 1 (tip at the lower-wall end of a gap, shadow towards lower
// walls) or side 2 (mirror image) to a point dx (m, + towards higher walls)
// along the coast and dy (m, + shoreward of the tip) across it, for the wave
// direction theta_tip (rad) at the tip. A breaker line seaward of the tip
// (dy < 0): the ray turns seaward on the open side and lies along the coast
// on the side behind the structure.
[[gnu::always_inline]] inline TipRay tip_ray(int side, float dx, float dy, float theta_tip) {
  constexpr float HALF_PI = 0.5F * PI;
  const float b0 = vmath::atan(dx / dy);
  const float up = side == 1 ? HALF_PI - b0 : HALF_PI;        // seaward breaker line, dx > 0
  const float down = side == 1 ? -HALF_PI : -(HALF_PI + b0);  // seaward breaker line, dx < 0
  const float seaward = dx > 0.0F ? up : (dx < 0.0F ? down : b0);
  const float beta = dy < 0.0F ? seaward : b0;
  return {beta, side == 1 ? beta - theta_tip : theta_tip - beta};
}

// Adjustment of a coefficient between two structures from the ratio r of the
// spread of their shadow lines to the distance between them (clamped to
// [-1, 1]): diverging shadow lines (r > 0) raise KD towards 1, converging ones
// (r < 0) lower it; no ratio (0 or NaN), no adjustment.
[[gnu::always_inline]] inline float between_adjust(float kd, float r) {
  const float rc = r < -1.0F ? -1.0F : (1.0F < r ? 1.0F : r);
  // g = 1 - 2 |r| + |r|^0.33 on both sides (1 + 2r = 1 - 2|r| exactly for r < 0).
  const float ar = std::fabs(rc);
  const float g = 1.0F - 2.0F * ar + vmath::pow(ar, 0.33F);
  const float rad0 = 1.0F - (1.0F - kd * kd) * g * g;
  const float root = std::sqrt(0.0F < rad0 ? rad0 : 0.0F);
  const float raised = kd < root ? root : kd;
  const float lowered = g < 1.0F ? kd * (g < 0.0F ? 0.0F : g) : kd;
  return rc > 0.0F ? raised : (rc < 0.0F ? lowered : kd);
}

// The diffraction stage of a time step: visits the segments in the order
// SEGORD, forms one merge component per segment with SEGFAC > 0.01 and merges
// them through WAVSUM into HBD, THETABD (not yet smoothed). Reads HB, THETAB,
// KB, ALPHAS, ALPHAW, HRF, THETARF, DRF, TRF, HZ, ZZRAD, OMEGA, K0, YSHORE, DX,
// WALLTYPE, INLCELL and the segment table. Without diffracting structures the
// single component is the undiffracted wave over walls 1..NX+1. Returns false
// when KD did not converge (HBD then not formed; the caller reports it).
bool diffraction(const Settings& cfg, const TransportState& tr, const StructureState& st,
                 WaveState& wv, ScratchState& scr);

}  // namespace coastra

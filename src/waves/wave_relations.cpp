// Linear (small-amplitude) wave relations for a monochromatic wave:
//   dispersion_factor  the ninth-order approximation of the dispersion relation
//   WAVNUM             wave number, group/phase celerity ratio and group celerity
//   REFSHO             refraction (Snell) and shoaling (energy flux) over parallel contours
//   wave_numbers       WAVNUM at every wall of a range in one vectorised pass
// All lengths in metres, times in seconds, angles in radians; single precision.

#include "waves/wave_relations.h"

#include <algorithm>
#include <cmath>

#include "model/constants.h"
#include "model/simd_path.h"
#include "model/vector_math.h"

namespace coastra {

namespace {
// WAVNUM keeps its own 2 pi, 4 pi and gravity: its wave numbers differ slightly
// from those formed with the run-wide PI and GRAV, and both are used as they are.
constexpr float TWOPI_W = 6.28318F;    // 2 pi
constexpr float FOURPI_W = 12.56636F;  // 4 pi
constexpr float GRAV_W = 9.81F;        // gravity (m/s2)
constexpr float L_SHALLOW = 0.1F;      // wave length taken for a dry or nearly dry point (m)

// sinh(x) for 0 < x < 15 from one exponential. Below x = 0.25 the difference
// e - 1/e would lose bits to cancellation, and the library sinh is used; above,
// the two agree to a unit or two in the last place. WAVNUM runs at every wall
// in every step, and the library's sinh costs several exponentials.
inline float sinh_fast(float x) {
  if (x < 0.25F) return std::sinh(x);
  const float e = std::exp(x);
  return 0.5F * (e - 1.0F / e);
}
}  // namespace

float dispersion_factor(float y) { return dispersion_factor_inline(y); }

WaveNumber WAVNUM(float T, float h) {
  // 1. Angular frequency and the deep-water parameter y = k0 h.
  const float omega = TWOPI_W / T;
  const float y = omega * omega * h / GRAV_W;
  // 2-3. Wave length from (kh)^2 = y (y + 1/P(y)); a (nearly) dry point takes a
  // fixed short wave so that the breaking depth 0 still yields finite values.
  float L = L_SHALLOW;
  if (!(h < 0.01F || y == 0.0F)) {
    const float k2 = y * dispersion_factor_inline(y) / (h * h);
    L = TWOPI_W / std::sqrt(k2);
  }
  const float k = TWOPI_W / L;
  // 4. n = Cg/C; in deep water (2kh >= 15) the sinh term is negligible.
  const float twokh = FOURPI_W * h / L;
  float n = 0.5F;
  if (!(twokh >= 15.0F || twokh == 0.0F)) n = 0.5F * (1.0F + twokh / sinh_fast(twokh));
  // 5. Group celerity Cg = n L / T.
  return WaveNumber{n * L / T, n, k};
}

namespace {
// The dispersion solution of WAVNUM over walls lo..hi in one straight-line
// loop: the branches turned into selects (a lane of the other branch may
// compute an infinity or a NaN, which the select drops) and sinh from the
// branch-free exponential, so the loop vectorises. Results differ from WAVNUM
// by float rounding only (the tests bound the difference).
[[gnu::always_inline]] inline void wave_numbers_body(int lo, int hi, const float* __restrict T,
                                                     const float* __restrict h,
                                                     float* __restrict cg, float* __restrict n,
                                                     float* __restrict k) {
#pragma omp simd
  for (int i = lo; i <= hi; ++i) {
    // Wave length from (kh)^2 = y (y + 1/P(y)), a fixed short wave where dry.
    const float omega = TWOPI_W / T[i];
    const float y = omega * omega * h[i] / GRAV_W;
    const float k2 = y * dispersion_factor_inline(y) / (h[i] * h[i]);
    const float wet = TWOPI_W / std::sqrt(k2);
    // One condition per select: GCC 12 does not if-convert a combined mask.
    float L = h[i] < 0.01F ? L_SHALLOW : wet;
    L = y == 0.0F ? L_SHALLOW : L;
    // n = Cg/C, 1/2 in deep water (2kh >= 15) and where 2kh is 0.
    const float twokh = FOURPI_W * h[i] / L;
    float x = twokh >= 15.0F ? 1.0F : twokh;
    x = twokh == 0.0F ? 1.0F : x;
    const float ratio = 0.5F * (1.0F + x / vmath::sinh_pos(x));
    float nn = twokh >= 15.0F ? 0.5F : ratio;
    nn = twokh == 0.0F ? 0.5F : nn;
    n[i] = nn;
    k[i] = TWOPI_W / L;
    cg[i] = nn * L / T[i];   // group celerity Cg = n L / T
  }
}
}  // namespace

void wave_numbers(const float* __restrict T, const float* __restrict h, int lo, int hi,
                  float* __restrict cg, float* __restrict n, float* __restrict k) {
  run_kernel<wave_numbers_body>(lo, hi, T, h, cg, n, k);
}

RefractedWave REFSHO(float OMEGA, float K0, float KR, float HR, float THETAR, float CGR, float PHI,
                     float h) {
  // 1. Wave number at depth h from the dispersion approximation with the event's K0.
  const float y = K0 * h;
  const float k = std::sqrt(K0 * dispersion_factor(y) / h);
  // 2. Snell's law over parallel contours: sin(a)/C is conserved, C = OMEGA/k.
  const float a = THETAR - PHI;
  const float sin_a = std::sin(a);
  const float s_raw = sin_a * KR / k;
  const float s = std::clamp(s_raw, -1.0F, 1.0F);
  const float theta_rel = std::asin(s);
  // 3. Group celerity, with sinh written out and 2kh capped at 10 (deep water).
  const float x = std::min(2.0F * k * h, 10.0F);
  const float sinhx = (std::exp(x) - std::exp(-x)) / 2.0F;
  const float n = 0.5F * (1.0F + x / sinhx);
  const float cg = n * OMEGA / k;
  // 4. Refraction and shoaling coefficients (energy flux H^2 Cg cos(theta) conserved).
  // Design note: when Snell's law has no solution (|s| >= 1: the wave turns back
  // before reaching depth h) the ray runs parallel to the contours, where
  // cos(theta) is 0 and energy-flux conservation would give an unbounded height
  // (in single precision cos(asin(1)) is about 4e-8, a factor of thousands). The
  // height is then formed by shoaling alone (Kr = 1). The clamp is reached in
  // practice when the reference and target wave numbers nearly coincide and the
  // wave runs nearly along the contours; there cos(a)/cos(theta) tends to 1, so
  // Kr = 1 continues the solution instead of amplifying a rounding artefact.
  float kr = 1.0F;
  if (std::fabs(s_raw) < 1.0F) kr = std::sqrt(std::fabs(std::cos(a) / std::cos(theta_rel)));
  const float ks = std::sqrt(CGR / cg);
  // 5. Height at depth h.
  return RefractedWave{k, HR * kr * ks, PHI + theta_rel, cg};
}

}  // namespace coastra

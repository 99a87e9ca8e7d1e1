// Linear (small-amplitude) wave relations for a monochromatic wave:
//   WAVNUM        wave number, group/phase celerity ratio and group celerity
//                 (wave_number with the library's functions)
//   wave_numbers  wave_number at every wall of a range in one vectorised pass
//   REFSHO        refraction (Snell) and shoaling (energy flux) over parallel contours
// The formulas themselves are in wave_relations.h, written once over either
// form of the transcendental functions. All lengths in metres, times in
// seconds, angles in radians; single precision.

#include "waves/wave_relations.h"

#include <algorithm>
#include <cmath>

#include "model/simd_path.h"

namespace coastra {

WaveNumber WAVNUM(float T, float h) { return wave_number<LibraryMath>(T, h); }

namespace {
[[gnu::always_inline]] inline void wave_numbers_body(int lo, int hi, const float* __restrict T,
                                                     const float* __restrict h,
                                                     float* __restrict cg, float* __restrict n,
                                                     float* __restrict k) {
#pragma omp simd
  for (int i = lo; i <= hi; ++i) {
    const WaveNumber w = wave_number<VectorMath>(T[i], h[i]);
    n[i] = w.N;
    k[i] = w.K;
    cg[i] = w.CG;
  }
}
}  // namespace

void wave_numbers(const float* __restrict T, const float* __restrict h, int lo, int hi,
                  float* __restrict cg, float* __restrict n, float* __restrict k) {
  run_kernel<wave_numbers_body>(lo, hi, T, h, cg, n, k);
}

RefractedWave REFSHO(float OMEGA, float K0, float KR, float HR, float THETAR, float CGR, float PHI,
                     float h) {
  // 1-2. Wave number at depth h and direction by Snell's law.
  const SnellWave w = snell<LibraryMath>(K0, KR, THETAR, PHI, h);
  const float k = w.K;
  const float theta_rel = w.REL;
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
  if (std::fabs(w.S) < 1.0F) kr = std::sqrt(std::fabs(std::cos(w.A) / std::cos(theta_rel)));
  const float ks = std::sqrt(CGR / cg);
  // 5. Height at depth h.
  return RefractedWave{k, HR * kr * ks, w.THETA, cg};
}

}  // namespace coastra

// Linear wave relations: the wave number and group celerity from period and
// depth (WAVNUM), and refraction with shoaling over straight parallel contours
// (REFSHO).
#pragma once

#include "model/constants.h"

namespace coastra {

struct WaveNumber {
  float CG;  // group celerity (m/s)
  float N;   // ratio of group to phase celerity
  float K;   // wave number (1/m)
};
// Period T (s), depth h (m).
WaveNumber WAVNUM(float T, float h);
// WAVNUM at elements lo..hi of the arrays (vectorised; equal to WAVNUM within
// float rounding, see the tests): period T (s), depth
// h (m) in; group celerity cg (m/s), ratio n and wave number k (1/m) out.
void wave_numbers(const float* __restrict T, const float* __restrict h, int lo, int hi,
                  float* __restrict cg, float* __restrict n, float* __restrict k);

struct RefractedWave {
  float K;      // wave number at depth h (1/m)
  float H;      // wave height (m)
  float THETA;  // direction (rad, absolute)
  float CG;     // group celerity (m/s)
};
// Carries a wave (KR, HR, THETAR, CGR) over contours whose normal is PHI to depth
// h > 0. OMEGA and K0 are the constants of the current wave event.
RefractedWave REFSHO(float OMEGA, float K0, float KR, float HR, float THETAR, float CGR,
                     float PHI, float h);

// (kh)^2 / (k0 h) factor of the ninth-order dispersion approximation: returns
// y + 1 / (1 + d1 y + ... + d9 y^9) for y = k0 h.
float dispersion_factor(float y);
// The same, inline for the per-wall loops: P(y) summed with a running power of
// y, the same operations in the same order (the same bits).
[[gnu::always_inline]] inline float dispersion_factor_inline(float y) {
  float p = 1.0F;
  float yi = 1.0F;
#pragma GCC unroll 9
  for (float d : HUNTD) {
    yi *= y;
    p += d * yi;
  }
  return y + 1.0F / p;
}

}  // namespace coastra

// Linear wave relations: the wave number and group celerity from period and
// depth (WAVNUM), and refraction with shoaling over straight parallel contours
// (REFSHO).
#pragma once

#include <cmath>

#include "model/constants.h"
#include "model/vector_math.h"

namespace coastra {

// The constants of the wave-number relation: its own 2 pi, 4 pi and gravity.
// Design note: these differ slightly from the run-wide PI and GRAV (9.806 m/s2,
// the gravity of every other formula); the wave numbers were always formed
// with these, and the results carry their bits, so both stay, each named.
inline constexpr float TWOPI_W = 6.28318F;    // 2 pi
inline constexpr float FOURPI_W = 12.56636F;  // 4 pi
inline constexpr float GRAV_W = 9.81F;        // gravity of the wave-number relation (m/s2)
inline constexpr float L_SHALLOW = 0.1F;      // wave length taken for a dry or nearly dry point (m)

// The transcendental functions of the wave relations in two forms: the
// branch-free vector math of the per-wall loops, and the C library's, which
// the values formed once per wave record or per structure tip use (WAVNUM,
// REFSHO). Each formula below is written once, over either form; the two
// forms differ by a few units in the last place, and the results carry the
// bits of the form each caller uses.
struct VectorMath {
  [[gnu::always_inline]] static float sin(float x) { return vmath::sin(x); }
  [[gnu::always_inline]] static float asin(float x) { return vmath::asin(x); }
  // sinh(x) for 0 < x < 15.
  [[gnu::always_inline]] static float sinh(float x) { return vmath::sinh_pos(x); }
};
struct LibraryMath {
  static float sin(float x) { return std::sin(x); }
  static float asin(float x) { return std::asin(x); }
  // sinh(x) for 0 < x < 15 from one exponential. Below x = 0.25 the difference
  // e - 1/e would lose bits to cancellation, and the library sinh is used;
  // above, the two agree to a unit or two in the last place.
  static float sinh(float x) {
    if (x < 0.25F) return std::sinh(x);
    const float e = std::exp(x);
    return 0.5F * (e - 1.0F / e);
  }
};

struct WaveNumber {
  float CG;  // group celerity (m/s)
  float N;   // ratio of group to phase celerity
  float K;   // wave number (1/m)
};
// (kh)^2 / (k0 h) factor of the ninth-order dispersion approximation: returns
// y + 1 / (1 + d1 y + ... + d9 y^9) for y = k0 h, P(y) summed with a running
// power of y.
[[gnu::always_inline]] inline float dispersion_factor(float y) {
  float p = 1.0F;
  float yi = 1.0F;
#pragma GCC unroll 9
  for (float d : HUNTD) {
    yi *= y;
    p += d * yi;
  }
  return y + 1.0F / p;
}

// Wave number, celerity ratio and group celerity for period T (s) and depth
// h (m): the wave length from (kh)^2 = y (y + 1/P(y)), y = omega^2 h / g, a
// fixed short wave where (nearly) dry so that the breaking depth 0 still
// yields finite values; n = Cg/C, 1/2 in deep water (2kh >= 15) and where 2kh
// is 0; Cg = n L / T. Straight-line: both branches are formed and selected (a
// lane of the unused one may hold an infinity or a NaN, which the select
// drops), one condition per select (GCC 12 does not if-convert a combined mask).
template <class Math>
[[gnu::always_inline]] inline WaveNumber wave_number(float T, float h) {
  const float omega = TWOPI_W / T;
  const float y = omega * omega * h / GRAV_W;
  const float k2 = y * dispersion_factor(y) / (h * h);
  const float wet = TWOPI_W / std::sqrt(k2);
  float L = h < 0.01F ? L_SHALLOW : wet;
  L = y == 0.0F ? L_SHALLOW : L;
  const float twokh = FOURPI_W * h / L;
  float x = twokh >= 15.0F ? 1.0F : twokh;
  x = twokh == 0.0F ? 1.0F : x;
  const float ratio = 0.5F * (1.0F + x / Math::sinh(x));
  float n = twokh >= 15.0F ? 0.5F : ratio;
  n = twokh == 0.0F ? 0.5F : n;
  return WaveNumber{n * L / T, n, TWOPI_W / L};
}

// Period T (s), depth h (m), with the library's functions (the values of a
// wave record and of a structure tip).
WaveNumber WAVNUM(float T, float h);
// wave_number at elements lo..hi of the arrays with the vector math (the
// per-wall loops): period T (s), depth h (m) in; group celerity cg (m/s),
// ratio n and wave number k (1/m) out.
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

// Snell's law over parallel contours of normal PHI (rad): the wave of number
// KR (1/m) and direction THETAR (rad) carried to depth h (m), for the event's
// deep-water wave number K0 (1/m). sin(a)/C is conserved, C = omega/k.
struct SnellWave {
  float K;      // wave number at the depth (1/m)
  float THETA;  // direction there (rad, absolute)
  float REL;    // direction there relative to the contour normal (rad)
  float A;      // THETAR - PHI (rad)
  float S;      // sin of the relative direction before the clamp to [-1, 1] (none beyond)
};
template <class Math>
[[gnu::always_inline]] inline SnellWave snell(float K0, float KR, float THETAR, float PHI,
                                              float h) {
  const float k = std::sqrt(K0 * dispersion_factor(K0 * h) / h);
  const float a = THETAR - PHI;
  const float s = Math::sin(a) * KR / k;
  const float sc = s < -1.0F ? -1.0F : (1.0F < s ? 1.0F : s);
  const float rel = Math::asin(sc);
  return {k, PHI + rel, rel, a, s};
}

}  // namespace coastra

// Incipient breaking by a direct (non-iterative) solution of energy-flux
// conservation and Snell's law between the input point and the breaker line,
// with shallow-water celerity at breaking and a polynomial correction for the
// angle of incidence (BREAKER); breaker_line stops at the breaking depth, for
// callers that form the wave numbers of many walls in one pass.

#include "waves/breaker.h"

#include <algorithm>
#include <cmath>

#include "model/constants.h"
#include "waves/wave_relations.h"

namespace coastra {

DeepWave breaker_constants(float K0W, float H0, float T, float N0, float GAMMA) {
  // 1. Phase celerity at the input point (m/s).
  const float c0 = 2.0F * PI / (K0W * T);
  // 3. (Part) chi = c0^4 gamma^2 / (g^2 H0^2 n0), in units that make lambda_a
  // below a depth in units of c0^2/g.
  const float c02 = c0 * c0;
  const float chi = c02 * c02 * GAMMA * GAMMA / (GRAV * GRAV * H0 * H0 * N0);
  return DeepWave{c02, chi};
}

BreakerLine breaker_line(DeepWave D, float THETA0, float PHI, float GAMMA) {
  const float c02 = D.C02;
  const float chi = D.CHI;
  // 2. Direction relative to the shore normal; a wave running along the shore
  // (|cos a| below 1e-7) carries no energy flux towards it.
  const float a = THETA0 - PHI;
  const float sin_a = std::sin(a);
  float c = std::fabs(std::cos(a));
  if (c < 1.0E-7F) c = 0.0F;
  // 3-4. Breaking depth at normal incidence in units of c0^2/g:
  // lambda_a = (cos a / chi)^0.4.
  const float lambda_a = std::pow(c / chi, 0.4F);
  // 5. Correction for oblique incidence, a polynomial in xi = lambda_a sin^2 a.
  const float xi = lambda_a * sin_a * sin_a;
  const float xi2 = xi * xi;
  const float lambda =
      lambda_a * (1.0F + 0.1649F * xi + 0.5948F * xi2 - 1.6787F * xi2 * xi + 2.8573F * xi2 * xi2);
  // 6. Breaking depth and height (m).
  const float hb = lambda * c02 / GRAV;
  const float hbrk = GAMMA * hb;
  // 7. Breaking direction by Snell's law with cb/c0 = sqrt(lambda).
  // Design note: the arcsine argument is clamped to [-1, 1]. It stays inside for
  // physical input, but a steep oblique wave can push the polynomial of step 5
  // slightly beyond; clamping turns that into a wave parallel to the shore
  // instead of a NaN direction that would spread through the transport.
  const float s = std::clamp(sin_a * std::sqrt(lambda), -1.0F, 1.0F);
  const float thetab = PHI + std::asin(s);
  return BreakerLine{hbrk, thetab, hb};
}

Breaking BREAKER(float K0W, float H0, float T, float THETA0, float N0, float PHI, float GAMMA) {
  const BreakerLine b = breaker_line(breaker_constants(K0W, H0, T, N0, GAMMA), THETA0, PHI, GAMMA);
  // 8. Wave number and group celerity at the breaking depth.
  const WaveNumber wb = WAVNUM(T, b.DB);
  return Breaking{b.HB, b.THETAB, wb.K, wb.CG};
}

}  // namespace coastra

// Incipient breaking by a direct (non-iterative) solution of energy-flux
// conservation and Snell's law between the input point and the breaker line,
// with shallow-water celerity at breaking and a polynomial correction for the
// angle of incidence: breaker_constants once per wave record, breaker_lines
// over a range of walls as one vectorised loop, to the breaking depth (the
// wave number there is wave_numbers').

#include "waves/breaker.h"

#include <cmath>

#include "model/constants.h"
#include "model/simd_path.h"
#include "model/vector_math.h"

namespace coastra {

namespace {
// What depends on the wave at the input point alone (once per wave record).
struct DeepWave {
  float C02;  // squared phase celerity at the input point (m2/s2)
  float CHI;  // c0^4 gamma^2 / (g^2 H0^2 n0) (m2/s2)
};
// Steps 1 and 3 (part) of the breaking solution.
[[gnu::always_inline]] inline DeepWave constants_inline(float K0W, float H0, float T, float N0,
                                                        float GAMMA) {
  // 1. Phase celerity at the input point (m/s).
  const float c0 = 2.0F * PI / (K0W * T);
  // 3. (Part) chi = c0^4 gamma^2 / (g^2 H0^2 n0), in units that make lambda_a
  // below a depth in units of c0^2/g.
  const float c02 = c0 * c0;
  const float chi = c02 * c02 * GAMMA * GAMMA / (GRAV * GRAV * H0 * H0 * N0);
  return DeepWave{c02, chi};
}

[[gnu::always_inline]] inline void constants_body(int lo, int hi, float gamma,
                                                  const float* __restrict k0w,
                                                  const float* __restrict h0,
                                                  const float* __restrict t,
                                                  const float* __restrict n0,
                                                  float* __restrict c02, float* __restrict chi) {
#pragma omp simd
  for (int i = lo; i <= hi; ++i) {
    const DeepWave d = constants_inline(k0w[i], h0[i], t[i], n0[i], gamma);
    c02[i] = d.C02;
    chi[i] = d.CHI;
  }
}
}  // namespace

void breaker_constants(int lo, int hi, float GAMMA, const float* __restrict K0W,
                       const float* __restrict H0, const float* __restrict T,
                       const float* __restrict N0, float* __restrict C02, float* __restrict CHI) {
  run_kernel<constants_body>(lo, hi, GAMMA, K0W, H0, T, N0, C02, CHI);
}

namespace {
// Steps 2-7 of the breaking solution at every wall of lo..hi as one
// straight-line loop: the offshore gate and the clamps as selects, the
// branch-free sine, cosine, power and arcsine. The offshore-directed gate
// breaks a shore-normal wave over a baseline-parallel contour.
// Design note: the arcsine argument is clamped to [-1, 1]. It stays inside for
// physical input, but a steep oblique wave can push the polynomial of step 5
// slightly beyond; clamping turns that into a wave parallel to the shore
// instead of a NaN direction that would spread through the transport.
[[gnu::always_inline]] inline void breaker_body(int lo, int hi, float zz_deg, float gamma,
                                                const float* __restrict c02v,
                                                const float* __restrict chiv,
                                                const float* __restrict theta0,
                                                const float* __restrict phiv,
                                                float* __restrict hbv, float* __restrict thetabv,
                                                float* __restrict dbv, int* __restrict offv) {
#pragma omp simd
  for (int i = lo; i <= hi; ++i) {
    const float rel = zz_deg - phiv[i] * 180.0F / PI;
    const bool off = (rel >= 90.0F) | (rel <= -90.0F);
    const float theta = vmath::select(off, 0.0F, theta0[i]);
    const float phi = vmath::select(off, 0.0F, phiv[i]);
    // Step 2: direction relative to the shore normal; along the shore no flux.
    const vmath::SinCos sc = vmath::sincos(theta - phi);
    const float ca = std::fabs(sc.c);
    const float c = vmath::select(ca < 1.0E-7F, 0.0F, ca);
    // Steps 3-4: lambda_a = (cos a / chi)^0.4.
    const float lambda_a = vmath::pow(c / chiv[i], 0.4F);
    // Step 5: correction for oblique incidence.
    const float xi = lambda_a * sc.s * sc.s;
    const float xi2 = xi * xi;
    const float lambda =
        lambda_a * (1.0F + 0.1649F * xi + 0.5948F * xi2 - 1.6787F * xi2 * xi + 2.8573F * xi2 * xi2);
    // Steps 6-7: depth, height and direction of breaking.
    const float hb = lambda * c02v[i] / GRAV;
    float s = sc.s * std::sqrt(lambda);
    s = vmath::select(s > 1.0F, 1.0F, s);
    s = vmath::select(s < -1.0F, -1.0F, s);
    hbv[i] = gamma * hb;
    thetabv[i] = phi + vmath::asin(s);
    dbv[i] = hb;
    offv[i] = static_cast<int>(off);
  }
}
}  // namespace

void breaker_lines(int lo, int hi, float ZZDEG, float GAMMA, const float* __restrict C02,
                   const float* __restrict CHI, const float* __restrict THETA0,
                   const float* __restrict PHI, float* __restrict HB, float* __restrict THETAB,
                   float* __restrict DB, int* __restrict off) {
  run_kernel<breaker_body>(lo, hi, ZZDEG, GAMMA, C02, CHI, THETA0, PHI, HB, THETAB, DB, off);
}

}  // namespace coastra

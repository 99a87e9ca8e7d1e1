// The direct breaking solution (the run's kernels on one element): hand cases,
// against an iterative solution of energy-flux conservation and Snell's law,
// its along-shore and overturned limits.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

#include "model/constants.h"
#include "support/breaking_one.h"
#include "waves/breaker.h"
#include "waves/wave_relations.h"

namespace coastra {
namespace {

constexpr double G = static_cast<double>(GRAV), GAM = 0.78;

// Breaking height and angle (rad) from H0^2 Cg0 cos(a0) = Hb^2 Cgb cos(ab) and
// sin(a)/c constant, with Hb = gamma hb and shallow-water celerities at the
// breaker line (cb = Cgb = sqrt(g hb)), by bisection on hb.
std::pair<double, double> iterate_breaking(double c0, double n0, double H0, double a0) {
  const double flux = H0 * H0 * n0 * c0 * std::cos(a0);
  double lo = 1.0E-6, hi = 100.0;
  for (int it = 0; it < 100; ++it) {
    const double hb = 0.5 * (lo + hi), s = std::sin(a0) * std::sqrt(G * hb) / c0;
    const bool over =
        s * s >= 1.0 || GAM * GAM * hb * hb * std::sqrt(G * hb * (1.0 - s * s)) > flux;
    (over ? hi : lo) = hb;
  }
  return {GAM * lo, std::asin(std::sin(a0) * std::sqrt(G * lo) / c0)};
}

TEST(Breaking, MatchesIterativeEnergyFluxAndSnellSolution) {
  // Tolerance: the direct solution replaces the iteration by a polynomial fit in
  // the angle; against this iteration its error stays below 0.1 % in height and
  // 0.02 degrees in direction over these waves, so 0.3 % and 0.1 degree leave room
  // for single precision. (Against full linear dispersion at the breaker line it
  // differs by up to 12 %: the solution takes shallow-water celerity there.)
  const float phi = 0.1F;
  for (float H0 : {0.5F, 1.0F, 3.0F}) {
    for (float T : {4.0F, 8.0F, 12.0F}) {
      if (H0 / (1.56F * T * T) > 0.1F) continue;  // steeper than a sea can carry
      for (float deg : {0.0F, 15.0F, 30.0F, 45.0F, 60.0F, 75.0F, 85.0F}) {
        const WaveNumber w0 = WAVNUM(T, 15.0F);
        const float a0 = deg * PI / 180.0F;
        const test::Breaking b = test::break_wave(w0.K, H0, T, phi + a0, w0.N, phi, static_cast<float>(GAM));
        const double c0 = 2.0 * static_cast<double>(PI) / static_cast<double>(w0.K * T);
        const auto [hb, ab] = iterate_breaking(c0, static_cast<double>(w0.N),
                                               static_cast<double>(H0), static_cast<double>(a0));
        EXPECT_NEAR(static_cast<double>(b.HB), hb, 3.0E-3 * hb) << H0 << " " << T << " " << deg;
        EXPECT_NEAR(static_cast<double>(b.THETAB - phi), ab, 0.1 * std::numbers::pi / 180.0);
      }
    }
  }
}

TEST(Breaking, HandCasesObliqueAndNormal) {
  // T = 8 s given in 10 m (k0 = 0.0886224, n0 = 0.810122), H0 = 1.5 m, gamma = 0.78,
  // shoreline at 0.1 rad. Worked through steps 1-8 in double precision:
  // c0 = 8.862300, chi = 21.41205.
  const WaveNumber w0 = WAVNUM(8.0F, 10.0F);
  // a = 0.25: lambda_a = 0.2899015, xi = 0.0177445, lambda = 0.2908014, hb = 2.329151.
  const test::Breaking b = test::break_wave(w0.K, 1.5F, 8.0F, 0.35F, w0.N, 0.1F, 0.78F);
  EXPECT_NEAR(b.HB, 1.816737F, 2.0E-5F * 1.82F);
  EXPECT_NEAR(b.THETAB, 0.2338141F, 2.0E-6F);
  EXPECT_NEAR(b.KB, 0.1684271F, 2.0E-5F * 0.168F);  // the wave number at hb
  EXPECT_NEAR(b.DB, 2.329151F, 2.0E-5F * 2.33F);
  EXPECT_NEAR(b.CGB, 4.440054F, 2.0E-5F * 4.44F);
  // a = 0: xi = 0, lambda = lambda_a = 0.2935869, hb = 2.351460; the direction is kept.
  const test::Breaking n = test::break_wave(w0.K, 1.5F, 8.0F, 0.1F, w0.N, 0.1F, 0.78F);
  EXPECT_NEAR(n.HB, 1.834139F, 2.0E-5F * 1.83F);
  EXPECT_EQ(n.THETAB, 0.1F);
  EXPECT_NEAR(n.CGB, 4.458094F, 2.0E-5F * 4.46F);
}

TEST(Breaking, AlongShoreWaveHasNoHeightAndOneBrokenAtInputRunsAlongShore) {
  // The float nearest pi/2 has |cos a| about 4e-8, below the 1e-7 threshold.
  const WaveNumber w7 = WAVNUM(7.0F, 10.0F);
  // 5 m given in 2 m of water at 80 degrees: sin(a) sqrt(lambda) is about 2.7.
  const WaveNumber w2 = WAVNUM(8.0F, 2.0F);
  for (float sign : {1.0F, -1.0F}) {
    const float along = sign * std::numbers::pi_v<float> / 2.0F;
    const test::Breaking a = test::break_wave(w7.K, 1.5F, 7.0F, along, w7.N, 0.0F, 0.78F);
    EXPECT_EQ(a.HB, 0.0F);
    EXPECT_EQ(a.THETAB, 0.0F);
    EXPECT_FLOAT_EQ(a.KB, 6.28318F / 0.1F);  // the dry-point fallback of WAVNUM
    const test::Breaking b =
        test::break_wave(w2.K, 5.0F, 8.0F, 0.1F + sign * 1.396F, w2.N, 0.1F, 0.78F);
    EXPECT_FLOAT_EQ(b.THETAB, 0.1F + sign * std::asin(1.0F));
    EXPECT_TRUE(std::isfinite(b.HB) && b.HB > 0.0F);
  }
}

}  // namespace
}  // namespace coastra

// Diffraction behind structures: the spreading at a tip, the diffraction
// coefficient, the ray from a tip, the damped iteration and its failure, the
// between-structures adjustment, and properties of the whole stage over
// generated coasts with groins and breakwaters (mirror images, listing order,
// far field, energy). (The shadow and transmission behind one breakwater are
// pinned by the golden cases breakwaters and breakwater_tip_in_surf.)

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "output/wave_reports.h"
#include "support/structure_coast.h"
#include "waves/diffraction.h"
#include "waves/wave_relations.h"

namespace coastra {
namespace {

constexpr float T8 = 8.0F;                   // wave period of the tests (s)
const float OMEGA8 = 2.0F * PI / T8;         // (rad/s)
// Deep-water wave length 2 pi g / omega^2 = g T^2 / (2 pi) = 9.806 x 64 / 6.283186 = 99.883 m.
constexpr float L0_8 = 99.88308F;
const float NAN_F = std::numeric_limits<float>::quiet_NaN();

TEST(Diffraction, SpreadingBranchesAndClamps) {
  // r = 0.2: 2.923 x 0.2^-1.027 = 2.923 x e^(1.027 x 1.609438) = 2.923 x 5.22207 = 15.2641;
  // SMAXP = (-0.000103 x 15.2641 + 0.27) x 15.2641 + 5.31 = 4.09731 + 5.31 = 9.40731.
  // r = 0.21, the other branch: 9.609375 x 0.21^-0.2718128 = 9.609375 x e^0.424204 = 14.6867.
  // r = 0.01: 2.923 x 0.01^-1.027 = 331 is capped at 100; SMAXP = (-0.0103 + 0.27) x 100 + 5.31.
  // r = 2: 9.609375 x 2^-0.2718128 = 7.959 is raised to 10; SMAXP = 2.6897 + 5.31 = 7.9997.
  // Rows: r (depth over L0), SMAX and its tolerance, SMAXP (0: not checked).
  const float rows[][4] = {{0.2F, 15.2641F, 2e-3F, 9.40731F},
                           {0.21F, 14.6867F, 2e-3F, 0.0F},
                           {0.01F, 100.0F, 0.0F, 31.28F},
                           {2.0F, 10.0F, 0.0F, 7.9997F}};
  for (const auto& r : rows) {
    const Spreading s = SMAXSH(r[0] * L0_8, OMEGA8);
    EXPECT_NEAR(s.SMAX, r[1], r[2]) << r[0];
    if (r[3] > 0.0F) {
      EXPECT_NEAR(s.SMAXP, r[3], 2e-4F) << r[0];
    }
  }
  EXPECT_EQ(SMAXSH(0.0F, OMEGA8).SMAX, 100.0F);  // no depth: the cap, not a NaN
}

TEST(Diffraction, CoefficientOnShadowLineAndComplementarySides) {
  for (float a : {15.0F / 9.3F, 1.25F, 3.2F}) EXPECT_FLOAT_EQ(KD(a, 0.0F), std::sqrt(0.5F));
  // a = 1, theta = 0.5: tanh 0.5 = 0.4621172, KD = sqrt(0.7310586) = 0.8550196.
  EXPECT_NEAR(KD(1.0F, 0.5F), 0.8550196F, 1e-6F);
  EXPECT_EQ(KD(1.0F, 10.0F), KD(1.0F, 6.0F));  // the angle is capped at 6 rad
  for (float a : {1.25F, 1.613F, 3.2F}) {
    for (float th : {0.01F, 0.3F, 1.0F, 2.5F}) {
      const float k1 = KD(a, th);
      const float k2 = KD(a, -th);
      EXPECT_NEAR(k1 * k1 + k2 * k2, 1.0F, 2e-6F) << a << " " << th;
      EXPECT_LT(k2, k1);  // the shadow side gets less
    }
  }
  EXPECT_NEAR(KD(3.2F, -4.7F), 0.0F, 1e-6F);  // deep in the shadow
  for (float a : {1.0F, 2.2F, 3.3F}) EXPECT_TRUE(std::isnan(KD(a, NAN_F)));  // stays visible
}

TEST(Diffraction, RayFromTipAndItsMirror) {
  // Breaker line shoreward of the tip: beta = atan(dx/dy); side 1 counts from
  // the shadow line towards higher walls, side 2 the other way.
  TipRay r = tip_ray(1, 100.0F, 100.0F, 0.1F);
  EXPECT_FLOAT_EQ(r.BETA, PI / 4.0F);
  EXPECT_FLOAT_EQ(r.THETA, PI / 4.0F - 0.1F);
  r = tip_ray(2, 100.0F, 100.0F, 0.1F);
  EXPECT_FLOAT_EQ(r.THETA, 0.1F - PI / 4.0F);
  // Breaker line seaward of the tip (dy = -1): the open side's ray turns
  // seaward (dx = 1: pi/2 + pi/4), the sheltered side's lies along the coast.
  EXPECT_FLOAT_EQ(tip_ray(1, 1.0F, -1.0F, 0.0F).BETA, 0.75F * PI);
  EXPECT_FLOAT_EQ(tip_ray(1, -1.0F, -1.0F, 0.0F).BETA, -0.5F * PI);
  EXPECT_FLOAT_EQ(tip_ray(2, -1.0F, -1.0F, 0.0F).BETA, -0.75F * PI);
  EXPECT_FLOAT_EQ(tip_ray(2, 1.0F, -1.0F, 0.0F).BETA, 0.5F * PI);
  EXPECT_FLOAT_EQ(tip_ray(1, 0.0F, -100.0F, 0.0F).BETA, 0.0F);
  // Side 2 is the mirror image of side 1.
  for (float dy : {50.0F, -30.0F}) {
    for (float dx : {-70.0F, 0.0F, 20.0F}) {
      const TipRay a = tip_ray(1, dx, dy, 0.2F);
      const TipRay b = tip_ray(2, -dx, dy, -0.2F);
      EXPECT_FLOAT_EQ(a.BETA, -b.BETA) << dx << " " << dy;
      EXPECT_FLOAT_EQ(a.THETA, b.THETA) << dx << " " << dy;
    }
  }
}

TEST(Diffraction, IterationConvergesOrGivesUpAfter74PassesAndTheStageStops) {
  // Relaxation weights of the old estimate: 0 up to pass 3, then 3, 4, ... 10.
  const std::pair<int, float> weight[] = {{3, 0.0F},        {4, 0.75F},  {8, 0.75F},
                                          {9, 0.8F},        {19, 5.0F / 6.0F}, {68, 0.9F},
                                          {69, 10.0F / 11.0F}, {500, 10.0F / 11.0F}};
  for (const auto& [pass, w] : weight) EXPECT_FLOAT_EQ(relax_kd(1.0F, 0.0F, pass), w) << pass;
  // KD = 0.5 + 0.25 KD* with H = 1 m: 1 -> 0.75 (change 0.25) -> 0.6875 (0.0625)
  // -> 0.671875 (0.015625 <= 0.025): three passes.
  KdIteration it = iterate_kd(1.0F, [](float k) { return 0.5F + 0.25F * k; });
  EXPECT_TRUE(it.converged);
  EXPECT_EQ(it.passes, 3);
  EXPECT_FLOAT_EQ(it.KD, 0.671875F);
  // The same map for a 0.1 m wave: the first change, 0.025 m, is small enough.
  EXPECT_EQ(iterate_kd(0.1F, [](float k) { return 0.5F + 0.25F * k; }).passes, 1);
  // A map that flips between 0 and 1 never settles.
  bool up = false;
  it = iterate_kd(1.0F, [&up](float) { return (up = !up) ? 0.0F : 1.0F; });
  EXPECT_FALSE(it.converged);
  EXPECT_EQ(it.passes, 74);
  // A height that is no number never converges: the stage tells, and the
  // report is the print file's two lines and the run error flag.
  test::Layout l;
  l.groins.emplace_back(150, 100.0F);
  test::DiffractionCoast c(l);
  ASSERT_EQ(c.m.IRUNERR, 0);
  c.m.HB(150) = NAN_F;  // the groin's wall
  EXPECT_FALSE(
      diffraction(c.m.cfg, c.m.transport(), c.m.structures(), c.m.waves(), c.m.scratch()));
  EXPECT_EQ(c.m.IRUNERR, 0);
  stop_on_kd_failure(c.m.run());
  EXPECT_EQ(c.m.IRUNERR, 1);
  EXPECT_EQ(c.prt.str(), " ERROR IN \"KDGODA\".\n KD CALCULATION DID NOT CONVERGE\n");
}

TEST(Diffraction, BetweenStructuresAdjustment) {
  // r = 0.5: g = 1 - 1 + 0.5^0.33 = 0.795536; KD 0.5 -> sqrt(1 - 0.75 g^2) = sqrt(0.525340) = 0.724804.
  EXPECT_NEAR(between_adjust(0.5F, 0.5F), 0.724804F, 2e-6F);
  // r = 0.05: g = 0.9 + 0.05^0.33 = 1.272, 1 - 0.99 g^2 < 0: the radicand is
  // clamped at 0 and KD is kept.
  EXPECT_EQ(between_adjust(0.1F, 0.05F), 0.1F);
  EXPECT_EQ(between_adjust(0.3F, 5.0F), 1.0F);  // r clamped to 1: g = 0, KD = 1
  // r = -0.5: g = 0 + 0.795536; KD 0.8 -> 0.636429. r = -0.1: g = 0.8 + 0.467735 > 1: kept.
  EXPECT_NEAR(between_adjust(0.8F, -0.5F), 0.636429F, 2e-6F);
  EXPECT_EQ(between_adjust(0.8F, -0.1F), 0.8F);
  EXPECT_EQ(between_adjust(0.8F, -3.0F), 0.0F);  // r = -1: g = 0
  for (float kd = 0.0F; kd <= 1.0F; kd += 0.0173F) {  // no ratio (0 or NaN) adjusts nothing
    EXPECT_EQ(between_adjust(kd, 0.0F), kd);
    EXPECT_EQ(between_adjust(kd, NAN_F), kd);
  }
}

using test::Bw;
using test::Layout;
using test::random_layout;
using Coast = test::DiffractionCoast;

bool close(float a, float b) {
  return std::fabs(a - b) <= 1e-5F * std::max(std::fabs(a), std::fabs(b)) + 1e-6F;
}

TEST(DiffractionStage, GeneratedCoastsAreFiniteMirroredOrderFreeAndConserveEnergy) {
  std::mt19937 rng(20261206);
  int far_walls = 0, groin_walls = 0;
  // Fixed coasts with joins first: a breakwater starting at a groin's tip and
  // two breakwaters sharing a cell; then generated ones.
  Layout j1;
  j1.groins.emplace_back(100, 120.0F);
  j1.bws.push_back({100, 120.0F, 125, 140.0F, 0.3F});
  j1.angle = 0.2F;
  Layout j2;
  j2.bws.push_back({180, 100.0F, 200, 130.0F, 0.0F});
  j2.bws.push_back({200, 130.0F, 215, 110.0F, 0.7F});
  j2.angle = -0.25F;
  Layout j3 = j2;  // sharing a cell at different distances: a zero-width gap
  j3.bws[1].y1 = 160.0F;
  for (int n = 0; n < 43; ++n) {
    const Layout l = n == 0 ? j1 : n == 1 ? j2 : n == 2 ? j3 : random_layout(rng);
    const Coast a(l);
    const Coast b(l.mirrored());
    Layout shuffled = l;  // breakwaters listed backwards, each with its tips swapped
    std::reverse(shuffled.bws.begin(), shuffled.bws.end());
    for (Bw& w : shuffled.bws) w = {w.c2, w.y2, w.c1, w.y1, w.kt};
    const Coast s(shuffled);
    const int nw = l.nx + 1;
    for (int i = 1; i <= nw; ++i) {
      ASSERT_TRUE(std::isfinite(a.m.HBD(i)) && std::isfinite(a.m.THETABD(i))) << n << " " << i;
      const int j = nw + 1 - i;  // the mirrored wall
      EXPECT_TRUE(close(a.m.HBD(i), b.m.HBD(j))) << n << " " << i;
      EXPECT_TRUE(close(a.m.THETABD(i), -b.m.THETABD(j))) << n << " " << i;
      EXPECT_EQ(a.m.HBD(i), s.m.HBD(i)) << n << " " << i;
      EXPECT_EQ(a.m.THETABD(i), s.m.THETABD(i)) << n << " " << i;
      EXPECT_LE(a.ratio(i), 1.001F) << n << " " << i;  // no energy is created
      // Far (1000 m) from every structure the waves are undiffracted.
      bool far = true;
      for (const auto& g : l.groins) far = far && std::abs(i - g.first) >= 50;
      for (const Bw& w : l.bws) far = far && std::abs(i - w.c1) >= 50 && std::abs(i - w.c2) >= 50;
      if (far) {
        ++far_walls;
        EXPECT_NEAR(a.ratio(i), 1.0F, 1e-3F) << n << " " << i;
      }
    }
    for (const auto& g : l.groins) {  // a groin wall gets the energy of both its open sides
      if (a.m.JOINFLAG(g.first) == 1) continue;
      ++groin_walls;
      EXPECT_NEAR(a.ratio(g.first), 1.0F, 0.01F) << n << " " << g.first;
    }
  }
  EXPECT_GT(far_walls, 100);  // the generator does leave open coast
  EXPECT_GT(groin_walls, 20);
}

}  // namespace
}  // namespace coastra

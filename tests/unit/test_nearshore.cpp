// The nearshore sequence: offshore contour, calm test, closure depth, shoreline
// orientation, merge and smoothing of the final breaking waves.

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <vector>

#include "model/error_stop.h"
#include "output/format.h"
#include "support/run_helpers.h"
#include "waves/breaker.h"
#include "waves/nearshore.h"
#include "waves/wave_relations.h"

namespace coastra {
namespace {

std::vector<float> smooth(const std::vector<float>& v, int n) {
  const int nx = static_cast<int>(v.size());
  Vec1<float> in(nx), out(nx);
  std::copy(v.begin(), v.end(), in.data() + 1);
  moving_average(in, out, nx, n);
  return std::vector<float>(out.data() + 1, out.data() + 1 + nx);
}
// A coast of nx cells of spacing dx, shoreline y(i).
std::unique_ptr<ModelState> coast(const std::vector<double>& y, float dx) {
  auto m = make_state();
  m->cfg.NX = static_cast<int>(y.size());
  for (int i = 1; i <= m->cfg.NX + 1; ++i) m->cfg.DX(i) = dx;
  for (int i = 1; i <= m->cfg.NX; ++i) {
    m->XCELL(i) = dx * static_cast<float>(i);
    m->YSHORE(i) = y[static_cast<std::size_t>(i - 1)];
  }
  return m;
}

TEST(MovingAverage, CentredMeansEndLinesAndNarrowCoasts) {
  const std::vector<float> a3{1, 7.0F / 3, 14.0F / 3, 28.0F / 3, 56.0F / 3, 112.0F / 3, 64};
  EXPECT_EQ(smooth({1, 2, 4, 8, 16, 32, 64}, 3), a3);
  EXPECT_EQ(smooth({1, 2, 4, 8, 16, 32, 64}, 4), a3);  // an even window loses one cell
  // Window 5: the end cells keep their values, the next ones lie on the line to
  // the nearest centred mean (cells 3 and 7).
  EXPECT_EQ(smooth({0, 0, 0, 0, 10, 0, 0, 0, 30}, 5),
            (std::vector<float>{0, 1, 2, 2, 2, 2, 8, 19, 30}));
  EXPECT_EQ(smooth({1, 2, 4, 8}, 3), std::vector<float>(4, 7.0F / 3));  // NX <= n + 1
  EXPECT_EQ(smooth({1, 2, 4}, 7), std::vector<float>(3, 7.0F / 3));     // wider than the coast
  EXPECT_EQ(smooth({1, 5, 2}, 2), (std::vector<float>{1, 5, 2}));       // below 3: a copy
}

TEST(OffshoreContour, ParallelToStraightCoastAndBridgesInlets) {
  auto m = coast({95, 90, 85, 80, 75, 70, 65, 60, 55}, 20.0F);
  m->cfg.ISMOOTH = 4;
  offshore_contour(*m);
  EXPECT_EQ(m->cfg.ISMOOTH, 3);  // the even setting is reduced with the window
  for (int i = 1; i <= 9; ++i)
    EXPECT_FLOAT_EQ(m->YSMOOTH(i), 400.0F - 5.0F * static_cast<float>(i));
  for (int i = 1; i <= 10; ++i) EXPECT_FLOAT_EQ(m->ALPHAW(i), std::atan(-0.25F)) << i;
  // An inlet channel at cells 3-4 is replaced by the line between cells 2 and 5.
  auto n = coast({50, 60, -40, -40, 90, 100}, 10.0F);
  n->cfg.ISMOOTH = 1;
  n->cfg.NINL = 1;
  n->cfg.IINLS(1) = 3;
  n->cfg.IINLE(1) = 4;
  offshore_contour(*n);
  EXPECT_FLOAT_EQ(n->YSMOOTH(3), 370.0F);
  EXPECT_FLOAT_EQ(n->YSMOOTH(4), 380.0F);
  EXPECT_FLOAT_EQ(n->ALPHAW(1), std::atan(1.0F));  // forward pair at wall 1
  // IREG = 3: the stored contour is kept and only its orientation is formed.
  n->cfg.IREG = 3;
  for (int i = 1; i <= 6; ++i) n->YSMOOTH(i) = 2.0F * static_cast<float>(i * i);
  offshore_contour(*n);
  EXPECT_EQ(n->YSMOOTH(6), 72.0F);
  EXPECT_FLOAT_EQ(n->ALPHAW(3), std::atan(1.0F));  // (18 - 8) / 10
}

TEST(CalmStep, AnyCalmCellOrAlongshoreEventMakesTheStepCalm) {
  auto m = coast({0, 0, 0}, 10.0F);
  for (int i = 1; i <= 3; ++i) m->HRF(i) = m->TRF(i) = 1.0F;
  m->ZZDEGNR = 89.9F;
  EXPECT_FALSE(calm_step(*m));  // wall NX+1 (HRF = 0 there) is not a cell
  for (float dir : {90.0F, -90.0F}) {
    m->ZZDEGNR = dir;
    EXPECT_TRUE(calm_step(*m)) << dir;
  }
  m->ZZDEGNR = 0.0F;
  m->HRF(2) = 0.0F;
  EXPECT_TRUE(calm_step(*m));
  m->HRF(2) = 1.0F;
  m->TRF(3) = -1.0F;
  EXPECT_TRUE(calm_step(*m));
}

TEST(ClosureDepth, NonPositiveValueReportsAndStops) {
  auto m = coast({0, 0, 0}, 10.0F);
  std::ostringstream prt;
  m->PRT = &prt;
  m->ISTEP = 7;
  for (int i = 1; i <= 3; ++i) {
    m->HRF(i) = 1.0F;
    m->TRF(i) = 8.0F;
    m->ZRF(i) = 10.0F * static_cast<float>(i);
  }
  closure_depth(*m);
  EXPECT_NEAR(m->DLTZ(2), 2.28F - 68.5F / (9.806F * 64.0F), 1.0E-6F);
  m->HRF(2) = 0.5F;
  m->TRF(2) = 1.0F;  // 2.28 x 0.5 < 68.5 x 0.25 / 9.806
  try {
    closure_depth(*m);
    ADD_FAILURE() << "no error stop";
  } catch (const ErrorStop& e) {
    EXPECT_EQ(e.message, "ERROR. DLTZ is negative. Please check input wave parameters.");
  }
  EXPECT_EQ(prt.str(),
            " ERROR. BAD BALANCE IN WAVE INPUT PARAMETERS\n"
            " CAUSING DLTZ TO BE ZERO OR NEGATIVE.\n"
            " PLEASE CHECK YOUR WAVE INPUT PARAMETERS.\n"
            " CURRENT TIME STEP:          7\n"
            " CURRENT INDEX:          2\n" +
                lstr("HRF:", 1.0F, 0.5F, 1.0F) + lstr("TRF:", 8.0F, 1.0F, 8.0F) +
                lstr("ZRFPRTOUT:", 10.0F, 20.0F, 30.0F));
}

TEST(ShorelineOrientation, GroinWallTakesThreePointMeanWithPreviousRightValue) {
  auto m = coast({0, 10, 20, 20, 20}, 10.0F);
  m->cfg.DX(2) = 30.0F;
  m->NGRO = 3;
  m->IXG(1) = 1;  // wall 1: never averaged
  m->IXG(2) = 3;
  m->IXG(3) = 4;
  m->WALLTYPE(3) = 1;
  m->WALLTYPE(4) = 3;   // structure state 3 keeps its own value
  m->ALPHAS(4) = 0.3F;  // from the previous step
  shoreline_orientation(*m);
  const float a = std::atan(0.5F);  // 10 m over the mean spacing of 20 m
  EXPECT_FLOAT_EQ(m->ALPHAS(1), a);
  EXPECT_FLOAT_EQ(m->ALPHAS(2), a);
  EXPECT_FLOAT_EQ(m->ALPHAS(3), (a + a + 0.3F) / 3.0F);
  EXPECT_EQ(m->ALPHAS(4), 0.0F);
  EXPECT_EQ(m->ALPHAS(6), m->ALPHAS(5));
}

TEST(FinalWaves, SmoothingRespectsGroinsAndSalients) {
  const float h[] = {1, 4, 2, 8, 3, 5};
  for (int variant = 0; variant < 2; ++variant) {
    auto m = coast({0, 0, 0, 0, 0}, 10.0F);
    for (int i = 1; i <= 6; ++i) {
      m->HBD(i) = h[i - 1];
      m->THETABD(i) = 0.1F * h[i - 1];
      m->IGRADOFF(i) = 1;
    }
    if (variant == 0) m->WALLTYPE(4) = 1;                // a groin at wall 4
    if (variant == 1) m->DBMARK(3) = m->DBMARK(4) = -1;  // a salient at cells 3-4
    final_smoothing(*m);
    EXPECT_FLOAT_EQ(m->HBD(2), (1 + 2 * 4 + 2) / 4.0F);  // open coast
    EXPECT_FLOAT_EQ(m->HBD(3), (3 * 2 + 4) / 4.0F);      // the merged, not the new, neighbour
    EXPECT_FLOAT_EQ(m->HBD(4), 8.0F);
    EXPECT_FLOAT_EQ(m->HBD(5), (3 * 3 + 5) / 4.0F);
    EXPECT_FLOAT_EQ(m->THETABD(5), 0.1F * (3 * 3 + 5) / 4.0F);
    EXPECT_EQ(m->HBD(1) + m->HBD(6), 6.0F);  // end walls untouched
    EXPECT_EQ(m->IGRADOFF(1) + m->IGRADOFF(2) + m->IGRADOFF(5) + m->IGRADOFF(6), 2);
  }
}

TEST(FinalWaves, EnergyMergeOfComponents) {
  auto m = coast({0, 0, 0}, 10.0F);
  Vec1<float> h(4), t(4), t2(4);
  const float hv[] = {2, 2, 0, 2}, tv[] = {0.3F, 1.0F, 0.5F, 0.2F};
  for (int i = 1; i <= 4; ++i) {
    h(i) = hv[i - 1];
    t(i) = tv[i - 1];
  }
  WAVSUM(*m, 1, 1, h, t, 1, 4);
  EXPECT_FLOAT_EQ(m->HBD(1), 2.0F);
  EXPECT_NEAR(m->THETABD(1), 0.3F, 1.0E-6F);
  EXPECT_NEAR(m->THETABD(2), 0.5F * (PI - 2.0F), 1.0E-5F);  // folded beyond 45 degrees
  EXPECT_EQ(m->THETABD(3), 0.0F);                           // no wave
  t2(1) = -0.3F;  // a second component over wall 1 only, at the opposite angle
  WAVSUM(*m, 1, 2, h, t, 1, 4);
  WAVSUM(*m, 2, 2, h, t2, 1, 1);
  EXPECT_FLOAT_EQ(m->HBD(1), 2.0F * std::sqrt(2.0F));
  EXPECT_NEAR(m->THETABD(1), 0.0F, 1.0E-6F);
  EXPECT_FLOAT_EQ(m->HBD(4), 2.0F);
}

TEST(BreakingWaves, GateTurnsOffshoreDirectedWavesShoreNormal) {
  for (double slope : {-0.5, -0.6}) {  // contour at -26.6 or -31.0 degrees
    std::vector<double> y;
    for (int i = 1; i <= 10; ++i) y.push_back(slope * 50.0 * i);
    auto m = coast(y, 50.0F);
    m->cfg.ISMOOTH = 5;
    m->TZ = 8.0F;
    m->ZZDEGNR = 60.0F;  // 86.6 or 91.0 degrees to the contour normal
    m->ISTEP = m->NTS = 1;
    for (int i = 1; i <= 11; ++i) {
      m->HRF(i) = 1.5F;
      m->TRF(i) = 8.0F;
      m->DRF(i) = 10.0F;
      m->THETARF(i) = 60.0F * PI / 180.0F;
    }
    offshore_contour(*m);
    input_wave_numbers(*m);
    breaking_waves(*m);
    EXPECT_FLOAT_EQ(m->K0, (2.0F * PI / 8.0F) * (2.0F * PI / 8.0F) / GRAV);
    const bool gated = slope < -0.55;
    const WaveNumber w0 = WAVNUM(8.0F, 10.0F);
    const float phi = gated ? 0.0F : std::atan(static_cast<float>(slope));
    const Breaking b = BREAKER(w0.K, 1.5F, 8.0F, gated ? 0.0F : m->ZZRAD, w0.N, phi, 0.78F);
    for (int i = 1; i <= 11; ++i) {
      EXPECT_FLOAT_EQ(m->ALPHAW(i), phi) << i;
      EXPECT_FLOAT_EQ(m->THETAB(i), b.THETAB) << i;
      // A uniform coast: merge and smoothing leave the wave as it is.
      EXPECT_NEAR(m->HBD(i), b.HB, 1.0E-5F) << i;
      EXPECT_NEAR(m->THETABD(i), b.THETAB, 1.0E-5F) << i;
      EXPECT_FLOAT_EQ(m->CGB(i), WAVNUM(8.0F, m->HBD(i) / 0.78F).CG) << i;
    }
  }
}

}  // namespace
}  // namespace coastra

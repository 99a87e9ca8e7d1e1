// The nearshore sequence: offshore contour, calm test, closure depth, shoreline
// orientation, breaking at every wall, and the merge, smoothing and celerities
// of the final breaking waves.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "output/format.h"
#include "output/wave_reports.h"
#include "support/breaking_one.h"
#include "support/state_rig.h"
#include "support/coast_builder.h"
#include "waves/final_waves.h"
#include "waves/diffraction.h"
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

// The builder's default coast with the shoreline y (m) on cells of width dx (m).
struct Coast : test::Coast {
  Coast(const std::vector<double>& y, float dx) : test::Coast(y, dx) {}
  // Merged height h(i) at walls 1..NX+1 and direction 0.1 h(i).
  void merged(const std::vector<float>& h) {
    for (int i = 1; i <= m.cfg.NX + 1; ++i) {
      m.HBD(i) = h[static_cast<std::size_t>(i - 1)];
      m.THETABD(i) = 0.1F * m.HBD(i);
    }
  }
  std::vector<float> heights() const {
    return std::vector<float>(m.HBD.data() + 1, m.HBD.data() + m.cfg.NX + 2);
  }
};

TEST(MovingAverage, CentredMeansEndLinesNarrowCoastsAndNoDrift) {
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
  // Along a long coast every centred mean stays within float rounding of the
  // exact mean (formed in double), however far from the first cell: the running
  // sum is formed afresh every 16 cells and does not drift. A sum carried over
  // the whole coast drifts by about 1e-3 m here.
  const int nx = 4000;
  std::vector<float> y(nx);
  for (int i = 0; i < nx; ++i)
    y[static_cast<std::size_t>(i)] = 250.0F + 200.0F * std::sin(0.37F * static_cast<float>(i)) +
                                     0.001F * static_cast<float>(i % 7);
  for (const int n : {11, 21}) {
    const std::vector<float> out = smooth(y, n);
    const int h = (n - 1) / 2;
    double worst = 0.0;
    for (int c = h; c < nx - h; ++c) {   // 0-based centred cells
      double exact = 0.0;
      for (int j = c - h; j <= c + h; ++j) exact += static_cast<double>(y[static_cast<std::size_t>(j)]);
      exact /= n;
      worst = std::max(worst, std::fabs(static_cast<double>(out[static_cast<std::size_t>(c)]) - exact));
    }
    EXPECT_LT(worst, 2e-4) << "window " << n;   // ulp of 250 m is 1.5e-5 m
  }
}

TEST(OffshoreContour, ParallelToStraightCoastAndBridgesInlets) {
  Coast c({95, 90, 85, 80, 75, 70, 65, 60, 55}, 20.0F);
  c.m.cfg.ISMOOTH = 4;  // an even window smooths over 3 cells
  offshore_contour(c.m.cfg, c.m.input(), c.m.transport(), c.m.waves(), c.m.scratch());
  for (int i = 1; i <= 9; ++i)
    EXPECT_FLOAT_EQ(c.m.YSMOOTH(i), 400.0F - 5.0F * static_cast<float>(i));  // + 300 m
  for (int i = 1; i <= 10; ++i) EXPECT_FLOAT_EQ(c.m.ALPHAW(i), std::atan(-0.25F)) << i;
  // An inlet channel at cells 3-4 is replaced by the line between cells 2 and 5.
  Coast n({50, 60, -40, -40, 90, 100}, 10.0F);
  n.m.cfg.ISMOOTH = 1;
  n.inlet(3, 4);
  offshore_contour(n.m.cfg, n.m.input(), n.m.transport(), n.m.waves(), n.m.scratch());
  EXPECT_FLOAT_EQ(n.m.YSMOOTH(3), 370.0F);
  EXPECT_FLOAT_EQ(n.m.YSMOOTH(4), 380.0F);
  EXPECT_FLOAT_EQ(n.m.ALPHAW(1), std::atan(1.0F));  // forward pair at wall 1
  // IREG = 3: the stored contour is kept and only its orientation is formed.
  n.m.cfg.IREG = 3;
  for (int i = 1; i <= 6; ++i) n.m.YSMOOTH(i) = 2.0F * static_cast<float>(i * i);
  offshore_contour(n.m.cfg, n.m.input(), n.m.transport(), n.m.waves(), n.m.scratch());
  EXPECT_EQ(n.m.YSMOOTH(6), 72.0F);
  n.m.cfg.DX(3) = 30.0F;
  offshore_contour(n.m.cfg, n.m.input(), n.m.transport(), n.m.waves(), n.m.scratch());
  EXPECT_FLOAT_EQ(n.m.ALPHAW(3), std::atan(0.5F));  // (18 - 8) / the mean spacing of 20 m
}

TEST(RecordChecks, CalmCellOrAlongshoreEventMakesTheStepCalmAndBadClosureDepthStops) {
  Coast c({0, 0, 0}, 10.0F);
  const auto calm = [&c] {
    return calm_step(c.m.waves(), record_checks(c.m.cfg, c.m.waves()).no_wave);
  };
  c.m.HRF(4) = 0.0F;
  c.m.ZZDEGNR = 89.9F;
  EXPECT_FALSE(calm());  // wall NX+1 is not a cell
  for (float dir : {90.0F, -90.0F}) {
    c.m.ZZDEGNR = dir;
    EXPECT_TRUE(calm()) << dir;
  }
  c.m.ZZDEGNR = 0.0F;
  c.m.HRF(2) = 0.0F;
  EXPECT_TRUE(calm());
  c.m.HRF(2) = 1.0F;
  c.m.TRF(3) = -1.0F;
  EXPECT_TRUE(calm());
  // The closure depth of every cell; the first non-positive one reports and stops.
  c.m.ISTEP = 7;
  for (int i = 1; i <= 3; ++i) {
    c.m.HRF(i) = 1.0F;
    c.m.TRF(i) = 8.0F;
    c.m.ZRF(i) = 10.0F * static_cast<float>(i);
  }
  const auto first_bad = [&c] {
    return closure_depth(c.m.cfg, c.m.waves(), record_checks(c.m.cfg, c.m.waves()).bad_depth);
  };
  EXPECT_EQ(first_bad(), 0);
  EXPECT_NEAR(c.m.DLTZ(2), 2.28F - 68.5F / (9.806F * 64.0F), 1.0E-6F);
  c.m.HRF(2) = 0.5F;
  c.m.TRF(2) = 1.0F;  // 2.28 x 0.5 < 68.5 x 0.25 / 9.806
  EXPECT_EQ(first_bad(), 2);
  EXPECT_EQ(c.prt.str(), "");  // the stage reports nothing itself
  EXPECT_EQ(test::stop_message([&] { stop_on_closure_depth(c.m.cfg, c.m.waves(), c.m.run(), 2); }),
            "ERROR. DLTZ is negative. Please check input wave parameters.");
  EXPECT_EQ(c.prt.str(),
            " ERROR. BAD BALANCE IN WAVE INPUT PARAMETERS\n"
            " CAUSING DLTZ TO BE ZERO OR NEGATIVE.\n"
            " PLEASE CHECK YOUR WAVE INPUT PARAMETERS.\n"
            " CURRENT TIME STEP:          7\n"
            " CURRENT INDEX:          2\n" +
                lstr("HRF:", 1.0F, 0.5F, 1.0F) + lstr("TRF:", 8.0F, 1.0F, 8.0F) +
                lstr("ZRFPRTOUT:", 10.0F, 20.0F, 30.0F));
}

TEST(ShorelineOrientation, GroinWallTakesThreePointMeanWithPreviousRightValue) {
  Coast c({0, 10, 20, 20, 20}, 10.0F);
  c.m.cfg.DX(2) = 30.0F;
  c.groin(1, 0.0F, 0.0F).groin(3, 0.0F, 0.0F).groin(4, 0.0F, 0.0F);   // wall 1: never averaged
  c.m.WALLTYPE(4) = 3;   // structure state 3 keeps its own value
  c.m.ALPHAS(4) = 0.3F;  // from the previous step
  shoreline_orientation(c.m.cfg, c.m.input(), c.m.transport(), c.m.waves());
  const float a = std::atan(0.5F);  // 10 m over the mean spacing of 20 m
  EXPECT_FLOAT_EQ(c.m.ALPHAS(1), a);
  EXPECT_FLOAT_EQ(c.m.ALPHAS(2), a);
  EXPECT_FLOAT_EQ(c.m.ALPHAS(3), (a + a + 0.3F) / 3.0F);
  EXPECT_EQ(c.m.ALPHAS(4), 0.0F);
  EXPECT_EQ(c.m.ALPHAS(6), c.m.ALPHAS(5));
}

TEST(BreakingWaves, GateTurnsOffshoreDirectedWavesShoreNormal) {
  for (double slope : {-0.5, -0.6}) {  // contour at -26.6 or -31.0 degrees
    std::vector<double> y;
    for (int i = 1; i <= 10; ++i) y.push_back(slope * 50.0 * i);
    Coast c(y, 50.0F);
    ModelState& m = c.m;
    m.cfg.ISMOOTH = 5;
    m.NTS = 2;
    c.offshore(1.5F, 8.0F, 60.0F * PI / 180.0F);  // 86.6 or 91.0 degrees to the contour normal
    offshore_contour(m.cfg, m.input(), m.transport(), m.waves(), m.scratch());
    wave_constants(m.waves());
    breaking_waves(m.cfg, m.input(), m.transport(), m.waves(), m.scratch());
    diffraction(m.cfg, m.transport(), m.structures(), m.waves(), m.scratch());
    final_waves(m.cfg, m.transport(), m.sources(), m.waves(), m.scratch());
    EXPECT_FLOAT_EQ(m.K0, (2.0F * PI / 8.0F) * (2.0F * PI / 8.0F) / GRAV);
    const bool gated = slope < -0.55;
    const WaveNumber w0 = WAVNUM(8.0F, 10.0F);
    const float phi = gated ? 0.0F : std::atan(static_cast<float>(slope));
    const test::Breaking b = test::break_wave(w0.K, 1.5F, 8.0F, gated ? 0.0F : m.ZZRAD, w0.N, phi, 0.78F);
    for (int i = 1; i <= 11; ++i) {
      // The offshore-directed wall is flagged; its inputs are left as they were.
      EXPECT_EQ(m.IWAVOFF(i), gated ? 1 : 0) << i;
      EXPECT_FLOAT_EQ(m.ALPHAW(i), std::atan(static_cast<float>(slope))) << i;
      EXPECT_FLOAT_EQ(m.THETARF(i), 60.0F * PI / 180.0F) << i;
      EXPECT_EQ(m.ALPHASCODE(i), ORIENT_PLAIN) << i;
      EXPECT_FLOAT_EQ(m.THETAB(i), b.THETAB) << i;
      // A uniform coast: merge and smoothing leave the wave as it is.
      EXPECT_NEAR(m.HBD(i), b.HB, 1.0E-5F) << i;
      EXPECT_NEAR(m.THETABD(i), b.THETAB, 1.0E-5F) << i;
      EXPECT_FLOAT_EQ(m.CGB(i), WAVNUM(8.0F, m.HBD(i) / 0.78F).CG) << i;
    }
    EXPECT_EQ(m.SUMHB(4), 0.0);  // the statistics are the time step's, not the breaking's
  }
}

TEST(FinalWaves, EnergyMergeOfComponentsAndTheirCelerities) {
  Coast c({0, 0, 0}, 10.0F);
  Vec1<float> h(4), t(4), t2(4);
  const float hv[] = {2, 2, 0, 2}, tv[] = {0.3F, 1.0F, 0.5F, 0.2F};
  for (int i = 1; i <= 4; ++i) {
    h(i) = hv[i - 1];
    t(i) = tv[i - 1];
  }
  WAVSUM(c.m.cfg, c.m.waves(), c.m.scratch(), 1, 1, h, t, 1, 4);
  EXPECT_FLOAT_EQ(c.m.HBD(1), 2.0F);
  EXPECT_NEAR(c.m.THETABD(1), 0.3F, 1.0E-6F);
  EXPECT_NEAR(c.m.THETABD(2), 0.5F * (PI - 2.0F), 1.0E-5F);  // folded beyond 45 degrees
  EXPECT_EQ(c.m.THETABD(3), 0.0F);                           // no wave
  t2(1) = -0.3F;  // a second component over wall 1 only, at the opposite angle
  WAVSUM(c.m.cfg, c.m.waves(), c.m.scratch(), 1, 2, h, t, 1, 4);
  WAVSUM(c.m.cfg, c.m.waves(), c.m.scratch(), 2, 2, h, t2, 1, 1);
  EXPECT_FLOAT_EQ(c.m.HBD(1), 2.0F * std::sqrt(2.0F));
  EXPECT_NEAR(c.m.THETABD(1), 0.0F, 1.0E-6F);
  EXPECT_FLOAT_EQ(c.m.HBD(4), 2.0F);
  // Celerity and wave number at the final breaking depth HBD / GAMMA (T = 8 s);
  // none without a wave, whatever an earlier step left there.
  final_celerities(c.m.cfg, c.m.waves(), c.m.scratch());
  EXPECT_EQ(c.m.CGB(1), WAVNUM(8.0F, c.m.HBD(1) / 0.78F).CG);
  EXPECT_EQ(c.m.KB(1), WAVNUM(8.0F, c.m.HBD(1) / 0.78F).K);
  EXPECT_EQ(c.m.CGB(3), 0.0F);
  EXPECT_EQ(c.m.KB(3), 0.0F);
}

TEST(FinalWaves, SmoothingRulesApplyInTableOrderAndInletsTakeTheBeachBeside) {
  // Groin walls, touching salient cells, inlet cells and whether inlets are
  // configured, merged heights (directions 0.1 h) and the smoothed heights; the
  // end walls are never smoothed.
  struct Row {
    std::vector<int> groins, salient, inlet;
    bool inlets;
    std::vector<float> h, want;
  };
  const std::vector<float> h6{1, 4, 2, 8, 3, 5}, h8{1, 4, 2, 8, 3, 5, 7, 6};
  const std::vector<float> h9{1, 2, 3, 4, 5, 6, 7, 8, 9};
  const Row rows[] = {
      // A groin at wall 4: open coast at wall 2, (1 + 2*4 + 2)/4; wall 3 looks
      // away from the groin, (3*2 + 4)/4, wall 5 too, (3*3 + 5)/4.
      {{4}, {}, {}, false, h6, {1, 2.75F, 2.5F, 8, 3.5F, 5}},
      {{}, {3, 4}, {}, false, h6, {1, 2.75F, 2.5F, 8, 3.5F, 5}},   // a salient at cells 3-4 alike
      // Groins at walls 2 and 4, a salient at cells 5-6. Wall 3 lies between two
      // groins: the groin on its right (row 3) wins, (3*2 + 4)/4. Wall 5 has a groin
      // on its left but a salient on its right: row 3 again, (3*3 + 8)/4. Wall 6 lies
      // between the salient's cells: kept. Wall 7 follows it: (3*7 + 6)/4.
      {{2, 4}, {5, 6}, {}, false, h8, {1, 4, 2.5F, 8, 4.25F, 5, 6.75F, 6}},
      // A lone touching cell 5 closes no wall: wall 5 sees only its groin,
      // (3*3 + 5)/4, and wall 6 is centred, (3 + 2*5 + 7)/4.
      {{2, 4}, {5}, {}, false, h8, {1, 4, 2.5F, 8, 3.5F, 5, 6.25F, 6}},
      // Linear heights survive the centred smoothing, so only the inlet rules show.
      // Inlet cells 4-5 without inlets configured: the cell flags are not read.
      // Configured: wall 5 inside the channel gets no wave; the left mouth wall 4
      // takes wall 3, the right mouth wall 6 takes wall 7.
      {{}, {}, {4, 5}, false, h9, h9},
      {{}, {}, {4, 5}, true, h9, {1, 2, 3, 3, 0, 7, 7, 8, 9}},
      // An inlet at the first cells: wall 2 is in the channel, wall 1 stays the boundary.
      {{}, {}, {1, 2}, true, h9, {1, 0, 4, 4, 5, 6, 7, 8, 9}},
  };
  for (const Row& r : rows) {
    const int nw = static_cast<int>(r.h.size());
    Coast c(std::vector<double>(static_cast<std::size_t>(nw - 1), 0.0), 10.0F);
    c.merged(r.h);
    for (int i = 1; i <= nw; ++i) c.m.IGRADOFF(i) = 1;
    for (int w : r.groins) c.m.WALLTYPE(w) = 1;
    for (int j : r.salient) c.m.DBMARK(j) = -1;
    for (int j : r.inlet) c.m.INLCELL(j) = 1;
    c.m.cfg.INLETS = r.inlets;
    final_smoothing(c.m.cfg, c.m.transport(), c.m.sources(), c.m.waves(), c.m.scratch());
    EXPECT_EQ(c.heights(), r.want) << r.groins.size() << " " << r.salient.size() << " " << r.inlets;
    for (int i = 1; i <= nw; ++i) {
      EXPECT_FLOAT_EQ(c.m.THETABD(i), 0.1F * r.want[static_cast<std::size_t>(i - 1)]) << i;
      EXPECT_EQ(c.m.IGRADOFF(i), i == 1 || i == nw ? 1 : 0) << i;   // cleared at walls 2..NX
    }
  }
}

}  // namespace
}  // namespace coastra

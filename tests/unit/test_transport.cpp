// Longshore transport: start-up state, the transport at the walls, groins,
// waves from behind the shoreline and the boundary walls (the shadow leakage
// and the gated ends are held by the golden runs).

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <utility>
#include <vector>

#include "support/coast_builder.h"
#include "transport/groins.h"
#include "transport/transport.h"

namespace coastra {
namespace {

// The default coast of the builder (50 m cells, 1 m waves, pinned ends) with
// uniform breaking waves at theta (rad) to the shore normal.
struct Coast : test::Coast {
  explicit Coast(int nx, float theta = 0.0F) : test::Coast(nx) { breaking(1.0F, theta); }
};

// SFAC squared of wall i, and the gradient term alone at normal incidence.
double s2(const ModelState& m, int i) {
  return static_cast<double>(m.HBD(i)) * 0.78 * 0.25 * 9.806 / 1.416;
}
double gradient_q(const ModelState& m, int i, double d) {
  const double hb = m.HBD(i);
  const double tanb = m.TANB;
  return -4.0 * hb * hb * 3.5 * 0.25 * d / (37.79317 * 0.78 * 9.806 * 50.0 * tanb);
}
bool near(double q, double expected) {
  return std::abs(q - expected) <= 1e-5 * std::abs(expected);
}

TEST(ProfileParameter, EachRangeOfTheTableStartsAtItsLowerBound) {
  // 0.41 D^0.94 below 0.4 mm, 0.23 D^0.32 below 10, 0.23 D^0.28 below 40, then
  // 0.46 D^0.11: the table jumps at each bound, so the bound picks the row.
  for (const auto& [d50, a] : {std::pair{0.2F, 0.09032}, {0.399F, 0.17286}, {0.4F, 0.17155},
                               {9.999F, 0.48052}, {10.0F, 0.43826}, {39.99F, 0.64606},
                               {40.0F, 0.69022}})
    EXPECT_NEAR(profile_parameter(d50), a, 1e-5) << d50;
}

TEST(TransportSetup, BuildsRelativeShorelineSeawallsInletsAndWallCodes) {
  Coast c(10);
  ModelState& m = c.m;
  m.LENFAC = 0.3048F;   // seawall ends in feet
  for (int i = 1; i <= 10; ++i) m.YINIT(i) = 100.0, m.YREG(i) = 20.0F;
  c.seawall(3, 5, 100.0F, 200.0F).inlet(7, 8).groin(1, 150.0F, 0.0F).groin(11, 150.0F, 0.0F).start();
  EXPECT_DOUBLE_EQ(m.YSHORE(4), 80.0);
  EXPECT_NEAR(m.YSWALL(3), 30.48 - 20.0, 1e-4);
  EXPECT_NEAR(m.YSWALL(4), 45.72 - 20.0, 1e-4);   // half way alongshore
  EXPECT_NEAR(m.YSWALL(5), 60.96 - 20.0, 1e-4);
  EXPECT_NEAR(m.YSWALL(2), -9999.0 * 0.3048 - 20.0, 1e-2);
  EXPECT_FLOAT_EQ(m.A1W(11), 0.5F / 37.79317F);   // the right boundary wall too
  EXPECT_NEAR(m.DTFAC(1), 360.0F, 1e-3F);          // 3600 s / (2 m + 8 m)
  for (int i = 1; i <= 11; ++i) EXPECT_EQ(m.WALLTYPE(i), i == 1 || i == 11 ? 1 : 0) << i;
  for (int i = 1; i <= 10; ++i) EXPECT_EQ(m.INLCELL(i), i == 7 || i == 8 ? 1 : 0) << i;
  EXPECT_EQ(m.DBMARK(3), 0);
  EXPECT_DOUBLE_EQ(m.YDBW(3), 99999.0);
  EXPECT_DOUBLE_EQ(Coast(4).m.YSWALL(2), -9999.0);   // no seawall at all
}

TEST(TransportSetup, StopsWithoutAGrainSizeABreakerIndexOrAnActiveProfile) {
  const std::pair<void (*)(Settings&), const char*> cases[] = {
      {[](Settings& c) { c.D50 = 0.0F; }, "MEDIAN GRAIN SIZE D50"},
      {[](Settings& c) { c.BERMHT(3) = -8.0F; }, "BERM HEIGHT PLUS CLOSURE DEPTH"},   // 0 at cell 3
      {[](Settings& c) { c.GAMMA = 0.0F; }, "BREAKER INDEX GAMMA"}};
  for (const auto& [spoil, what] : cases) {
    Coast c(4);
    spoil(c.m.cfg);
    const std::string message = std::string(" ERROR. ") + what + " MUST BE GREATER THAN ZERO.";
    EXPECT_EQ(test::stop_message([&] { c.start(); }), message);
    EXPECT_EQ(c.con.str(), message + "\n");
  }
}

TEST(Transport, WallValueIsTheThreeTermSumWithItsGradientForms) {
  Coast c(8);
  ModelState& m = c.m;
  for (int i = 1; i <= 9; ++i) m.HBD(i) = 0.8F + 0.1F * static_cast<float>(i);
  m.THETABD(5) = 0.2F, m.ALPHAS(5) = 0.05F, m.UTIDE(5) = 0.3F;
  c.start().transport();
  const double th = 0.15, hb = m.HBD(5), a1w = 0.5 / 37.79317;
  const double oblique = a1w * hb * hb * 3.5 * std::sin(2.0 * th);
  const double gradient = gradient_q(m, 5, s2(m, 6) - s2(m, 4)) * std::cos(th);
  const double tide = std::sqrt(1.416 / 0.78 / 9.806) * 4.0 * std::pow(hb, 1.5) * 3.5 * a1w * 0.3 *
                      std::cos(th) / 2.7;
  EXPECT_NEAR(m.QLS(5), oblique + gradient + tide, 1e-5 * (oblique - gradient + tide));

  // Normal incidence: one-sided forms next to the ends, none at the end walls.
  Coast n(8);
  n.m.LMOVE = n.m.RMOVE = false;   // the formula value stands at walls 1 and NX+1
  for (int i = 1; i <= 9; ++i) n.m.HBD(i) = 0.5F + 0.1F * static_cast<float>(i * i);
  const ModelState& q = n.start().transport().m;
  EXPECT_TRUE(near(q.QLS(2), gradient_q(q, 2, 2.0 * (s2(q, 3) - s2(q, 2)))));
  EXPECT_TRUE(near(q.QLS(8), gradient_q(q, 8, 2.0 * (s2(q, 8) - s2(q, 7)))));
  EXPECT_TRUE(near(q.QLS(5), gradient_q(q, 5, s2(q, 6) - s2(q, 4))));
  EXPECT_EQ(q.QLS(1), 0.0F);
  EXPECT_EQ(q.QLS(9), 0.0F);
  // (The one-sided forms beside a groin and a K1 that varies along the coast:
  // the golden runs with groins.)
}

TEST(Transport, MirroringAnglesAndCellOrderFlipsTheSign) {
  const int nx = 20;
  Coast a(nx), b(nx);
  std::mt19937 rng(7);
  std::uniform_real_distribution<float> h(0.5F, 2.0F), ang(-0.4F, 0.4F), y(95.0F, 105.0F);
  for (int i = 1; i <= nx + 1; ++i) {
    const int j = nx + 2 - i;   // mirrored wall
    a.m.HBD(i) = b.m.HBD(j) = h(rng);
    a.m.CGB(i) = b.m.CGB(j) = h(rng);
    b.m.THETABD(j) = -(a.m.THETABD(i) = ang(rng));
    b.m.ALPHAS(j) = -(a.m.ALPHAS(i) = 0.1F * ang(rng));
  }
  for (int i = 1; i <= nx; ++i) a.m.YINIT(i) = b.m.YINIT(nx + 1 - i) = y(rng);
  a.groin(8, 110.0F, 0.2F).start().transport();
  b.groin(nx + 2 - 8, 110.0F, 0.2F).start().transport();
  for (int i = 1; i <= nx + 1; ++i)
    EXPECT_NEAR(b.m.QLS(nx + 2 - i), -a.m.QLS(i), 1e-6F * (1.0F + std::abs(a.m.QLS(i)))) << i;
  EXPECT_FLOAT_EQ(b.m.QGPOT(1), -a.m.QGPOT(1));
  for (int i = 1; i <= nx; ++i) EXPECT_NEAR(b.m.YSHORE(nx + 1 - i), a.m.YSHORE(i), 1e-5) << i;
}

TEST(Transport, ShorelineAtTheBreakwaterLineSwitchesTheGradientOff) {
  Coast c(10);   // normal incidence: only the height gradient drives sand
  for (int i = 1; i <= 11; ++i) c.m.HBD(i) = 0.5F + 0.1F * static_cast<float>(i);
  c.start();
  c.m.YDBW(5) = 0.0;   // cell 5 has reached its breakwater line (YSHORE = 0)
  const ModelState& m = c.transport().m;
  // The centred form at wall i reads the cells i-1 and i+1.
  EXPECT_EQ(m.QLS(4), 0.0F);
  EXPECT_EQ(m.QLS(6), 0.0F);
  EXPECT_LT(m.QLS(3), 0.0F);
  EXPECT_LT(m.QLS(7), 0.0F);
  // A salient touching its breakwater at cell 5 closes both its walls; the
  // one-sided forms beside them look away from it.
  Coast t(10);
  for (int i = 1; i <= 11; ++i) t.m.HBD(i) = c.m.HBD(i);
  t.start().m.DBMARK(5) = -1;
  const ModelState& s = t.transport().m;
  EXPECT_EQ(s.QLS(5), 0.0F);
  EXPECT_EQ(s.QLS(6), 0.0F);
  EXPECT_TRUE(near(s.QLS(4), gradient_q(s, 4, 2.0 * (s2(s, 4) - s2(s, 3)))));
  EXPECT_TRUE(near(s.QLS(7), gradient_q(s, 7, 2.0 * (s2(s, 8) - s2(s, 7)))));
}

TEST(Groins, BlockOrPassByPermeabilityAndBypassFromTheUpdriftSide) {
  const float open = Coast(10, 0.2F).transport().m.QLS(5);
  EXPECT_EQ(Coast(10, 0.2F).groin(5, 1000.0F, 0.0F).start().transport().m.QLS(5), 0.0F);
  EXPECT_FLOAT_EQ(Coast(10, 0.2F).groin(5, 1000.0F, 1.0F).start().transport().m.QLS(5), open);

  // Sand moving right: the left beach lies 20 m from the tip, the right 100 m.
  Coast c(10, 0.2F);
  for (int i = 1; i <= 10; ++i) c.m.YINIT(i) = i <= 4 ? 80.0 : 0.0;
  c.m.HBD(4) = 0.8F;
  c.groin(5, 100.0F, 0.0F).start();
  groin_factors(c.m.cfg, c.m.input(), c.m.waves(), c.m.transport());
  EXPECT_FLOAT_EQ(c.m.DGL(1), 20.0F);
  EXPECT_FLOAT_EQ(c.m.DGR(1), 100.0F);
  const float bypass = 1.0F - c.m.APROF * std::pow(20.0F, 0.667F) / (1.27F / 0.78F);
  EXPECT_FLOAT_EQ(c.m.BYPG(1), bypass);
  EXPECT_FLOAT_EQ(c.m.GROINF(1), bypass);
  // Potential transport with the updrift height step; G = K2C/(2 DX) < 1 is not truncated.
  const float g = c.m.K2C(5) / 100.0F;
  const float pot = 3.5F * (c.m.A1W(5) * std::sin(0.4F) - g * 0.4F * std::cos(0.2F));
  EXPECT_NEAR(c.m.QGPOT(1), pot, 1e-6F);

  Coast steep(10, 1.2F);   // the angle at the groin is clipped and kept clipped
  steep.groin(5, 100.0F, 0.5F).start();
  groin_factors(steep.m.cfg, steep.m.input(), steep.m.waves(), steep.m.transport());
  EXPECT_FLOAT_EQ(steep.m.THETABD(5), PI / 4.0F);

  Coast inlet(10, 0.2F);   // an inlet on the updrift side feeds the groin nothing
  inlet.inlet(3, 4).groin(5, 100.0F, 0.5F).start();
  groin_factors(inlet.m.cfg, inlet.m.input(), inlet.m.waves(), inlet.m.transport());
  EXPECT_EQ(inlet.m.GROINF(1), 0.0F);

  Coast edge(10, 0.2F);   // a boundary groin takes the outer tip distance given
  edge.m.cfg.LGROINY = 7.0F;
  edge.groin(1, 100.0F, 0.0F).start();
  groin_factors(edge.m.cfg, edge.m.input(), edge.m.waves(), edge.m.transport());
  EXPECT_FLOAT_EQ(edge.m.DGL(1), 7.0F);
}

TEST(Transport, WavesFromBehindCarryTheNeighbourOfTheSameStep) {
  Coast c(10, 0.3F);
  c.m.THETABD(4) = 1.7F;                      // > PI/2: from the wall to the left
  c.m.THETABD(7) = c.m.THETABD(8) = -1.7F;    // < -PI/2: from the right, two in a row
  const ModelState& m = c.start().transport().m;
  EXPECT_FLOAT_EQ(m.QLS(4), 1.1F * m.QLS(3));
  EXPECT_NE(m.QLS(9), 0.0F);
  EXPECT_FLOAT_EQ(m.QLS(8), 1.1F * m.QLS(9));
  EXPECT_FLOAT_EQ(m.QLS(7), 1.1F * m.QLS(8));
}

TEST(Transport, BoundaryWallsPinOrMoveTheEndCells) {
  Coast c(10);
  for (int i = 1; i <= 11; ++i) c.m.THETABD(i) = 0.02F * static_cast<float>(i);
  c.m.DYL = 0.05;
  ModelState& m = c.start().transport().m;
  EXPECT_FLOAT_EQ(m.QLS(1), m.QLS(2) + 50.0F * 0.05F / m.DTFAC(1));
  EXPECT_NEAR(m.YSHORE(1), 0.05, 1e-6);
  EXPECT_EQ(m.QLS(11), m.QLS(10));   // pinned right end
  EXPECT_EQ(m.YSHORE(10), 0.0);
  m.DYR = -0.03;                     // the right end retreating
  c.transport();
  EXPECT_FLOAT_EQ(m.QLS(11), m.QLS(10) + 50.0F * 0.03F / m.DTFAC(10));
  EXPECT_NEAR(m.YSHORE(10), -0.03, 1e-6);
  for (int i = 1; i <= 11; ++i) {
    EXPECT_EQ(m.QPOS(i) + m.QNEG(i), m.QLS(i));
    EXPECT_EQ(m.QGROSS(i), std::abs(m.QLS(i)));
  }
  EXPECT_EQ(m.QNEG(5), 0.0F);
}

}  // namespace
}  // namespace coastra

// The shoreline-change solver: mass balance, the seawall hold with its
// upstream-first sweep and the calm-step update (inlet cells, which stay
// where they are, are held to it by the budget closure runs).

#include <gtest/gtest.h>

#include <random>

#include "support/coast_builder.h"
#include "transport/shoreline_solver.h"

namespace coastra {
namespace {

// The builder's coast with nx cells of varied spacing (40-50 m) and profile
// height, DT = 2 h, every cell at 100 m without a seawall; transports q(i) at the walls.
struct Cells : test::Coast {
  template <class Q>
  Cells(int nx, Q q) : test::Coast(std::vector<double>(static_cast<std::size_t>(nx), 100.0), 45.0F) {
    m.DT = m.cfg.DT = 2.0F;
    for (int i = 1; i <= nx; ++i) {
      m.cfg.DX(i) = 40.0F + 5.0F * static_cast<float>(i % 3);
      m.cfg.BERMHT(i) = 1.5F + 0.25F * static_cast<float>(i % 2);
      m.cfg.DCLOS(i) = 7.0F;
    }
    start();   // DTFAC = 3600 s x DT / (BERMHT + DCLOS)
    for (int i = 1; i <= nx + 1; ++i) m.QLS(i) = q(i);
  }
};

// Shoreline change of cell i by its final wall transports alone (m).
double moved(const ModelState& m, int i) {
  return -static_cast<double>((m.DTFAC(i) / m.cfg.DX(i)) * (m.QLS(i + 1) - m.QLS(i)));
}

TEST(ShorelineSolver, ClosedCoastConservesVolumeWithSourcesAndSeawalls) {
  // Random interior transports of both signs; then the same with every third
  // cell 1 cm in front of its seawall, where outflows are cut but no sand is
  // made or lost.
  for (const bool walls : {false, true}) {
    const int nx = 40;
    std::mt19937 rng(11);
    std::uniform_real_distribution<float> q(-0.05F, 0.05F);
    Cells c(nx, [&](int i) { return i == 1 || i == nx + 1 ? 0.0F : q(rng); });
    ModelState& m = c.m;
    double placed = 0.0;   // m3
    for (int i = 4; i <= nx; i += 4) {
      m.QSRC(i) = 1e-5 * static_cast<double>(i);
      placed += m.QSRC(i) * static_cast<double>(m.cfg.DX(i)) * 3600.0 * 2.0;
    }
    for (int i = 3; walls && i <= nx; i += 3) m.YSWALL(i) = 99.99;
    update_shoreline(m.cfg, m.transport(), m.sources(), m.scratch());
    double volume = 0.0;   // m3
    int held = 0;
    for (int i = 1; i <= nx; ++i) {
      volume += (m.YSHORE(i) - 100.0) * static_cast<double>(m.cfg.DX(i)) *
                static_cast<double>(m.cfg.BERMHT(i) + m.cfg.DCLOS(i));
      held += m.YSHORE(i) == m.YSWALL(i) ? 1 : 0;
    }
    EXPECT_NEAR(volume, placed, 5e-3) << "walls " << walls;
    EXPECT_GE(held, walls ? 3 : 0);
  }
}

TEST(ShorelineSolver, CellAtItsSeawallPassesOnOnlyWhatItReceivesOnEitherSide) {
  // Rightward transport growing alongshore erodes every cell; cell 3 sits on
  // its seawall, cell 5 1 cm in front of it.
  Cells c(6, [](int i) { return 0.01F * static_cast<float>(i); });
  ModelState& m = c.m;
  m.YSWALL(3) = 100.0;
  m.YSWALL(5) = 99.99;
  update_shoreline(m.cfg, m.transport(), m.sources(), m.scratch());
  EXPECT_EQ(m.YSHORE(3), 100.0);
  EXPECT_EQ(m.QLS(4), m.QLS(3));
  EXPECT_EQ(m.YSHORE(5), 99.99);
  EXPECT_NEAR(m.QLS(6), m.QLS(5) + m.cfg.DX(5) * 0.01F / m.DTFAC(5), 1e-7);
  for (int i : {4, 6}) EXPECT_NEAR(m.YSHORE(i), 100.0 + moved(m, i), 1e-9) << i;   // cut inflow

  // The mirror: leftward transport, cell 4 1 cm in front of its seawall, cell 3 downdrift.
  Cells l(6, [](int i) { return -0.01F * static_cast<float>(8 - i); });
  l.m.YSWALL(4) = 99.99;
  update_shoreline(l.m.cfg, l.m.transport(), l.m.sources(), l.m.scratch());
  EXPECT_EQ(l.m.YSHORE(4), 99.99);
  EXPECT_NEAR(l.m.QLS(4), l.m.QLS(5) - l.m.cfg.DX(4) * 0.01F / l.m.DTFAC(4), 1e-7);
  EXPECT_NEAR(l.m.YSHORE(3), 100.0 + moved(l.m, 3), 1e-9);

  // Cell 4 loses on both sides: both outflows cut, keeping their ratio.
  const float ql = -0.02F, qr = 0.06F;
  Cells b(7, [&](int i) { return i <= 4 ? ql : qr; });
  b.m.YSWALL(4) = 99.95;
  update_shoreline(b.m.cfg, b.m.transport(), b.m.sources(), b.m.scratch());
  EXPECT_EQ(b.m.YSHORE(4), 99.95);
  EXPECT_FLOAT_EQ(b.m.QLS(5) / b.m.QLS(4), qr / ql);
  EXPECT_NEAR(moved(b.m, 4), -0.05, 1e-6);
  for (int i : {3, 5}) EXPECT_NEAR(b.m.YSHORE(i), 100.0 + moved(b.m, i), 1e-9) << i;
}

TEST(ShorelineSolver, SeawallNeverLiftsTheBeachNorSwallowsAPlacement) {
  // Cell 2 lies 5 m landward of a wall given seaward of it: held where it is
  // when eroding, free when accreting.
  for (float out : {0.02F, 0.005F}) {
    Cells c(4, [out](int i) { return i == 3 ? out : 0.01F; });
    c.m.YSWALL(2) = 105.0;
    update_shoreline(c.m.cfg, c.m.transport(), c.m.sources(), c.m.scratch());
    EXPECT_EQ(c.m.QLS(3), out > 0.01F ? 0.01F : out);
    EXPECT_NEAR(c.m.YSHORE(2), 100.0 + moved(c.m, 2), 1e-9);
  }
  // A placement on a cell held at its wall goes downdrift with the transport.
  Cells p(4, [](int i) { return 0.01F * static_cast<float>(i); });
  p.m.YSWALL(2) = 100.0;
  p.m.QSRC(2) = 1e-6;
  update_shoreline(p.m.cfg, p.m.transport(), p.m.sources(), p.m.scratch());
  EXPECT_EQ(p.m.YSHORE(2), 100.0);
  EXPECT_NEAR(moved(p.m, 2), -static_cast<double>(p.m.DTFAC(2)) * 1e-6, 1e-7);
}

TEST(CalmUpdate, MovesOnlyBySourcesAndBoundariesAndStopsAtTheSeawall) {
  Cells c(5, [](int i) { return 0.1F * static_cast<float>(i); });   // not used
  ModelState& m = c.m;
  m.QSRC(3) = 2e-5;
  m.DYL = 0.3;
  m.DYR = -0.2;
  calm_update(m.cfg, m.input(), m.step(), m.transport(), m.sources());
  EXPECT_DOUBLE_EQ(m.YSHORE(3), 100.0 + 2e-5 * 3600.0 * 2.0 / 8.75);
  EXPECT_DOUBLE_EQ(m.YSHORE(1), 100.3);
  EXPECT_DOUBLE_EQ(m.YSHORE(5), 99.8);
  EXPECT_EQ(m.YSHORE(2), 100.0);
  EXPECT_EQ(m.YSHORE(4), 100.0);
  // The retreating end cell 5 meets its wall at 99.9 m; cell 1 already lies
  // behind its wall and is held where it is; a sink without a seawall acts in
  // full (a sink at a seawall: the bypass tests).
  for (int i = 1; i <= 5; ++i) m.YSHORE(i) = 100.0;
  m.DYR = -0.3;
  m.YSWALL(5) = 99.9;
  m.DYL = -0.3;
  m.YSWALL(1) = 101.0;
  m.QSRC(2) = -2e-4;
  calm_update(m.cfg, m.input(), m.step(), m.transport(), m.sources());
  EXPECT_EQ(m.YSHORE(5), 99.9);
  EXPECT_EQ(m.YSHORE(1), 100.0);
  EXPECT_DOUBLE_EQ(m.YSHORE(2), 100.0 - 2e-4 * 3600.0 * 2.0 / 8.5);
}

}  // namespace
}  // namespace coastra

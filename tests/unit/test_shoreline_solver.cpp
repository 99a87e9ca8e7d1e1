// The shoreline-change solver: mass balance, the seawall hold with its
// upstream-first sweep, inlet cells and the calm-step update.

#include <gtest/gtest.h>

#include <random>

#include "model/state.h"
#include "transport/shoreline_solver.h"

namespace coastra {
namespace {

// nx cells at 100 m with varied spacing and profile height, DT = 2 h, no
// seawalls; transports q(i) at the walls.
template <class Q>
std::unique_ptr<ModelState> coast(int nx, Q q) {
  auto s = make_state();
  ModelState& m = *s;
  m.cfg.NX = nx;
  m.cfg.DT = 2.0F;
  for (int i = 1; i <= nx; ++i) {
    m.cfg.DX(i) = 40.0F + 5.0F * static_cast<float>(i % 3);
    m.cfg.BERMHT(i) = 1.5F + 0.25F * static_cast<float>(i % 2);
    m.cfg.DCLOS(i) = 7.0F;
    m.DTFAC(i) = 3600.0F * m.cfg.DT / (m.cfg.BERMHT(i) + m.cfg.DCLOS(i));
    m.YSHORE(i) = 100.0;
    m.YSWALL(i) = -9999.0;
  }
  for (int i = 1; i <= nx + 1; ++i) m.QLS(i) = q(i);
  return s;
}

// Shoreline change of cell i by its final wall transports alone (m).
double moved(const ModelState& m, int i) {
  return -static_cast<double>((m.DTFAC(i) / m.cfg.DX(i)) * (m.QLS(i + 1) - m.QLS(i)));
}

TEST(ShorelineSolver, UniformTransportLeavesEveryCellInPlace) {
  for (float q : {0.02F, -0.03F}) {
    auto s = coast(9, [q](int) { return q; });
    update_shoreline(*s);
    for (int i = 1; i <= 9; ++i) EXPECT_EQ(s->YSHORE(i), 100.0) << q << " cell " << i;
  }
}

TEST(ShorelineSolver, ClosedCoastConservesVolumeWithSourcesAndSeawalls) {
  // Random interior transports of both signs; then the same with every third
  // cell 1 cm in front of its seawall, where outflows are cut but no sand is
  // made or lost.
  for (const bool walls : {false, true}) {
    const int nx = 40;
    std::mt19937 rng(11);
    std::uniform_real_distribution<float> q(-0.05F, 0.05F);
    auto s = coast(nx, [&](int i) { return i == 1 || i == nx + 1 ? 0.0F : q(rng); });
    ModelState& m = *s;
    double placed = 0.0;   // m3
    for (int i = 4; i <= nx; i += 4) {
      m.QSRC(i) = 1e-5 * static_cast<double>(i);
      placed += m.QSRC(i) * static_cast<double>(m.cfg.DX(i)) * 3600.0 * 2.0;
    }
    for (int i = 3; walls && i <= nx; i += 3) m.YSWALL(i) = 99.99;
    update_shoreline(m);
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

TEST(ShorelineSolver, CellAtItsSeawallPassesOnOnlyWhatItReceives) {
  // Rightward transport growing alongshore erodes every cell; cell 3 sits on
  // its seawall, cell 5 1 cm in front of it.
  auto s = coast(6, [](int i) { return 0.01F * static_cast<float>(i); });
  ModelState& m = *s;
  m.YSWALL(3) = 100.0;
  m.YSWALL(5) = 99.99;
  update_shoreline(m);
  EXPECT_EQ(m.YSHORE(3), 100.0);
  EXPECT_EQ(m.QLS(4), m.QLS(3));
  EXPECT_EQ(m.YSHORE(5), 99.99);
  EXPECT_NEAR(m.QLS(6), m.QLS(5) + m.cfg.DX(5) * 0.01F / m.DTFAC(5), 1e-7);
  for (int i : {4, 6}) EXPECT_NEAR(m.YSHORE(i), 100.0 + moved(m, i), 1e-9) << i;   // cut inflow

  // The mirror: leftward transport, cell 4 on its seawall, cell 3 downdrift.
  auto l = coast(6, [](int i) { return -0.01F * static_cast<float>(8 - i); });
  l->YSWALL(4) = 100.0;
  update_shoreline(*l);
  EXPECT_EQ(l->YSHORE(4), 100.0);
  EXPECT_EQ(l->QLS(4), l->QLS(5));
  EXPECT_NEAR(l->YSHORE(3), 100.0 + moved(*l, 3), 1e-9);
}

TEST(ShorelineSolver, CellLosingOnBothSidesKeepsTheRatioOfItsOutflows) {
  const float ql = -0.02F, qr = 0.06F;   // cell 4 loses on both sides
  auto s = coast(7, [&](int i) { return i <= 4 ? ql : qr; });
  ModelState& m = *s;
  m.YSWALL(4) = 99.95;
  update_shoreline(m);
  EXPECT_EQ(m.YSHORE(4), 99.95);
  EXPECT_FLOAT_EQ(m.QLS(5) / m.QLS(4), qr / ql);
  EXPECT_NEAR(moved(m, 4), -0.05, 1e-6);
  for (int i : {3, 5}) EXPECT_NEAR(m.YSHORE(i), 100.0 + moved(m, i), 1e-9) << i;
}

TEST(ShorelineSolver, SeawallNeverLiftsTheBeachNorSwallowsAPlacement) {
  // Cell 2 lies 5 m landward of a wall given seaward of it: held where it is
  // when eroding, free when accreting.
  for (float out : {0.02F, 0.005F}) {
    auto s = coast(4, [out](int i) { return i == 3 ? out : 0.01F; });
    s->YSWALL(2) = 105.0;
    update_shoreline(*s);
    EXPECT_EQ(s->QLS(3), out > 0.01F ? 0.01F : out);
    EXPECT_NEAR(s->YSHORE(2), 100.0 + moved(*s, 2), 1e-9);
  }
  // A placement on a cell held at its wall goes downdrift with the transport.
  auto p = coast(4, [](int i) { return 0.01F * static_cast<float>(i); });
  p->YSWALL(2) = 100.0;
  p->QSRC(2) = 1e-6;
  update_shoreline(*p);
  EXPECT_EQ(p->YSHORE(2), 100.0);
  EXPECT_NEAR(moved(*p, 2), -static_cast<double>(p->DTFAC(2)) * 1e-6, 1e-7);
}

TEST(ShorelineSolver, InletCellsStayWhileTheirNeighboursMove) {
  // Cell 3 receives from both sides with the inlet beside it; cell 6 loses on
  // both sides, partly into the inlet.
  auto s = coast(8, [](int i) {
    return i == 4 ? -0.005F : i == 6 ? -0.01F : 0.001F * static_cast<float>(i * i);
  });
  ModelState& m = *s;
  m.INLCELL(4) = m.INLCELL(5) = 1;
  update_shoreline(m);
  EXPECT_EQ(m.YSHORE(4), 100.0);
  EXPECT_EQ(m.YSHORE(5), 100.0);
  for (int i : {3, 6}) EXPECT_NEAR(m.YSHORE(i), 100.0 + moved(m, i), 1e-9) << i;
  EXPECT_NE(m.YSHORE(6), 100.0);
}

TEST(CalmUpdate, MovesOnlyBySourcesAndBoundaries) {
  auto s = coast(5, [](int i) { return 0.1F * static_cast<float>(i); });   // not used
  ModelState& m = *s;
  m.QSRC(3) = 2e-5;
  m.DYL = 0.3;
  m.DYR = -0.2;
  calm_update(m);
  EXPECT_DOUBLE_EQ(m.YSHORE(3), 100.0 + 2e-5 * 3600.0 * 2.0 / 8.75);
  EXPECT_DOUBLE_EQ(m.YSHORE(1), 100.3);
  EXPECT_DOUBLE_EQ(m.YSHORE(5), 99.8);
  EXPECT_EQ(m.YSHORE(2) + m.YSHORE(4), 200.0);
}

}  // namespace
}  // namespace coastra

// Test support: coasts with diffracting groins and detached breakwaters. A
// metric coast of set-up settings to which structures are added; and layouts
// for the diffraction stage (nx cells of 20 m, all tips 3 m deep, waves of
// 1 m and 8 s given at 10 m depth with one direction along the whole coast),
// their mirror images, random layouts, and the state with the stage run.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <utility>
#include <vector>

#include "input/setup.h"
#include "support/breaking_one.h"
#include "support/state_rig.h"
#include "waves/diffraction.h"
#include "waves/segment_table.h"
#include "waves/wave_relations.h"

namespace coastra::test {

// Settings of a metric coast of nx cells of dx (m), one year in 1-hour steps
// from 1 January 2000, pinned ends, with diffracting groins and breakwaters
// added one by one (tip depths in m).
struct StructureRig : StateRig {
  Settings& c = m.cfg;
  explicit StructureRig(int nx, float dx = 10.0F) {
    c.UNITSYS = 1;
    c.NX = nx;
    c.DX(1) = dx;
    c.SIMDATS = 20000101;
    c.SIMDATE = 20010101;
    c.DT = m.DT = 1.0F;
  }
  void dgroin(int wall, float y, float depth = 2.0F) {
    c.IXDG(++c.NDG) = wall;
    c.YDG(c.NDG) = y;
    c.DDG(c.NDG) = depth;
  }
  void breakwater(int i1, float y1, int i2, float y2, float kt, float depth = 2.0F) {
    ++c.NDB;
    c.DBI1(c.NDB) = i1;
    c.DBY1(c.NDB) = y1;
    c.DBI2(c.NDB) = i2;
    c.DBY2(c.NDB) = y2;
    c.DBDEP1(c.NDB) = c.DBDEP2(c.NDB) = depth;
    c.TRANDB(c.NDB) = kt;
  }
};

// A breakwater from cell c1 at y1 to cell c2 at y2 (m off the baseline), transmission kt.
struct Bw {
  int c1;
  float y1;
  int c2;
  float y2;
  float kt;
};
// Groins as (wall, tip distance in m), breakwaters, the wave direction (rad).
struct Layout {
  int nx = 300;
  std::vector<std::pair<int, float>> groins;
  std::vector<Bw> bws;
  float angle = 0.0F;
  std::vector<double> y;  // shoreline per cell (m); empty for a straight coast

  Layout mirrored() const {
    Layout r = *this;
    r.angle = -angle;
    r.groins.clear();
    for (auto it = groins.rbegin(); it != groins.rend(); ++it)
      r.groins.emplace_back(nx + 2 - it->first, it->second);
    for (Bw& b : r.bws) b = {nx + 2 - b.c2, b.y2, nx + 2 - b.c1, b.y1, b.kt};
    std::reverse(r.y.begin(), r.y.end());
    return r;
  }
};

// The state of a layout after set-up, with the diffraction stage run.
struct DiffractionCoast : StructureRig {
  explicit DiffractionCoast(const Layout& l) : StructureRig(l.nx, 20.0F) {
    for (const auto& [wall, y] : l.groins) dgroin(wall, y, 3.0F);
    for (const Bw& b : l.bws) breakwater(b.c1, b.y1, b.c2, b.y2, b.kt, 3.0F);
    EXPECT_EQ(stop_message([&] { setup_after_config(m); }), "(no stop)");
    build_segment_table(m.cfg, m.input(), m.structures(), m.scratch());
    for (int k = 1; k <= m.NGRO; ++k) m.WALLTYPE(m.IXG(k)) = 1;
    for (int i = 1; i <= l.nx; ++i)
      m.YSHORE(i) = l.y.empty() ? 0.0 : l.y[static_cast<std::size_t>(i - 1)];
    // The event and the breaking waves of a straight coast (contours parallel
    // to the baseline).
    m.OMEGA = 2.0F * PI / 8.0F;
    m.K0 = m.OMEGA * m.OMEGA / GRAV;
    m.HZ = 1.0F;
    m.ZZRAD = l.angle;
    const WaveNumber w0 = WAVNUM(8.0F, 10.0F);
    const Breaking b = break_wave(w0.K, 1.0F, 8.0F, l.angle, w0.N, 0.0F, c.GAMMA);
    for (int i = 1; i <= l.nx + 1; ++i) {
      m.HRF(i) = 1.0F;
      m.TRF(i) = 8.0F;
      m.DRF(i) = 10.0F;
      m.THETARF(i) = l.angle;
      m.HB(i) = b.HB;
      m.THETAB(i) = b.THETAB;
      m.KB(i) = b.KB;
    }
    diffraction(m.cfg, m.transport(), m.structures(), m.waves(), m.scratch());
  }
  float ratio(int i) const { return m.HBD(i) / m.HB(i); }
};

// Random coasts: 6 stretches of 50 cells, each empty, with a groin or with a
// breakwater; waves within 0.3 rad of the normal; shoreline noise of +-5 m.
inline Layout random_layout(std::mt19937& rng) {
  std::uniform_real_distribution<float> u(0.0F, 1.0F);
  auto pick = [&](int lo, int hi) { return lo + static_cast<int>(u(rng) * static_cast<float>(hi - lo)); };
  const float kts[4] = {0.0F, 0.3F, 0.7F, 0.99F};
  Layout l;
  for (int s = 0; s < 6; ++s) {
    const int base = 50 * s;
    const int kind = pick(0, 3);
    if (kind == 1) l.groins.emplace_back(base + pick(10, 40), 60.0F + 60.0F * u(rng));
    if (kind == 2) {
      const int c1 = base + pick(8, 15);
      l.bws.push_back({c1, 80.0F + 70.0F * u(rng), c1 + pick(15, 30), 80.0F + 70.0F * u(rng),
                       kts[pick(0, 4)]});
    }
  }
  l.angle = 0.6F * u(rng) - 0.3F;
  for (int i = 0; i < l.nx; ++i) l.y.push_back(static_cast<double>(10.0F * u(rng) - 5.0F));
  return l;
}

}  // namespace coastra::test

// The diffraction segment table: factors, active count, processing order and
// joins, built through set-up from configured groins and breakwaters, and
// re-derived when a transmission coefficient changes.

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "support/structure_coast.h"
#include "waves/segment_table.h"

namespace coastra {
namespace {

// The structure coast of nx cells of 10 m with its segment table.
struct Table : test::StructureRig {
  explicit Table(int nx) : StructureRig(nx) {}
  // Set-up (which must go through) and the table.
  void build() {
    ASSERT_EQ(test::stop_message([&] { setup_after_config(m); }), "(no stop)");
    build_segment_table(m.cfg, m.input(), m.structures(), m.scratch());
  }
  std::vector<float> factors() const {
    return std::vector<float>(m.SEGFAC.data() + 1, m.SEGFAC.data() + 1 + m.NSEG);
  }
  std::vector<int> order() const {
    return std::vector<int>(m.SEGORD.data() + 1, m.SEGORD.data() + 1 + m.NSEG);
  }
  std::vector<int> walls() const {
    return std::vector<int>(m.ISEGW.data() + 1, m.ISEGW.data() + 1 + m.NSEGENT);
  }
};

// Expected table: list walls (-1, -2 the grid ends), segment factors, active
// count (-1: not checked), processing order ({}: not checked), joined walls.
struct Want {
  std::vector<int> walls;
  std::vector<float> factors;
  int active;
  std::vector<int> order, joined;
};

void expect_table(Table& t, const Want& w) {
  t.build();
  EXPECT_EQ(t.walls(), w.walls);
  EXPECT_EQ(t.factors(), w.factors);
  if (w.active >= 0) {
    EXPECT_EQ(t.m.NSEGACT, w.active);
  }
  if (!w.order.empty()) {
    EXPECT_EQ(t.order(), w.order);
  }
  for (int i = 1; i <= t.c.NX + 1; ++i)
    EXPECT_EQ(t.m.JOINFLAG(i), std::count(w.joined.begin(), w.joined.end(), i) ? 1 : 0) << i;
}

TEST(SegmentTable, GroinsBreakwatersJoinsAndBoundaryGroins) {
  Table t(80);   // the worked example: a groin and a partly transmitting breakwater
  t.dgroin(20, 100.0F);
  t.breakwater(40, 150.0F, 60, 160.0F, 0.3F);
  expect_table(t, {{-1, 20, 20, 40, 60, -2}, {1.0F, -1.0F, 1.0F, 0.3F, 1.0F}, 4, {1, 2, 3, 5, 4}, {}});
  EXPECT_EQ(t.m.NSEG, 5);
  EXPECT_EQ(t.m.SEGBW(4), 1);
  EXPECT_EQ(t.m.KSEGT(1), KIND_END);   // kinds of the list entries
  EXPECT_EQ(t.m.KSEGT(3), KIND_GROIN);
  EXPECT_EQ(t.m.KSEGT(5), KIND_BREAKWATER);
  EXPECT_EQ(t.m.IDBW(5), 1);
  EXPECT_EQ(t.m.IDBW(2), 0);
  Table none(20);   // no structure: one open segment
  expect_table(none, {{-1, -2}, {1.0F}, 1, {}, {}});
  Table bg(80);   // a breakwater starting at a groin's tip; an opaque one is no component
  bg.dgroin(20, 100.0F);
  bg.breakwater(20, 100.0F, 40, 120.0F, 0.0F);
  expect_table(bg, {{-1, 20, 20, 40, -2}, {1.0F, -1.0F, 0.0F, 1.0F}, 2, {}, {20}});
  Table ends(20);   // groins on both boundary walls are doubled
  ends.c.LBCTYPE = ends.c.RBCTYPE = 1;
  ends.c.LGROINY = ends.c.RGROINY = 5.0F;
  ends.dgroin(1, 50.0F);
  ends.dgroin(21, 50.0F);
  expect_table(ends, {{1, 1, 21, 21}, {-1.0F, 1.0F, -1.0F}, 1, {}, {}});
  Table right(20);   // a breakwater joined to the groin on the right boundary wall
  right.c.RBCTYPE = 1;
  right.c.RGROINY = 5.0F;
  right.dgroin(21, 80.0F);
  right.breakwater(15, 90.0F, 21, 80.0F, 0.5F);
  expect_table(right, {{-1, 15, 21, 21}, {1.0F, 0.5F, -1.0F}, -1, {1, 3, 2}, {21}});
  Table left(20);   // and on the left boundary wall
  left.c.LBCTYPE = 1;
  left.c.LGROINY = 5.0F;
  left.dgroin(1, 80.0F);
  left.breakwater(1, 80.0F, 6, 90.0F, 0.5F);
  expect_table(left, {{1, 1, 6, -2}, {-1.0F, 0.5F, 1.0F}, -1, {}, {1}});
}

TEST(SegmentTable, ChangedCoefficientIsTakenUpByTheDerivation) {
  Table t(80);
  t.breakwater(30, 100.0F, 50, 100.0F, 0.0F);
  t.build();
  EXPECT_EQ(t.factors(), (std::vector<float>{1.0F, 0.0F, 1.0F}));
  EXPECT_EQ(t.m.NSEGACT, 2);
  EXPECT_EQ(t.order(), (std::vector<int>{1, 2, 3}));
  t.c.TRANDB(1) = 0.6F;  // a coefficient recomputed during the run
  derive_segment_order(t.m.cfg, t.m.structures());
  EXPECT_EQ(t.factors(), (std::vector<float>{1.0F, 0.6F, 1.0F}));
  EXPECT_EQ(t.m.NSEGACT, 3);
  EXPECT_EQ(t.order(), (std::vector<int>{1, 3, 2}));
  t.c.TRANDB(1) = 1.0F;  // never above 0.99: a breakwater does not amplify waves
  derive_segment_order(t.m.cfg, t.m.structures());
  EXPECT_EQ(t.m.SEGFAC(2), 0.99F);
  EXPECT_EQ(t.order(), (std::vector<int>{1, 3, 2}));
  t.c.TRANDB(1) = 0.005F;  // below the active threshold again
  derive_segment_order(t.m.cfg, t.m.structures());
  EXPECT_EQ(t.m.NSEGACT, 2);
  EXPECT_EQ(t.order(), (std::vector<int>{1, 2, 3}));
}

}  // namespace
}  // namespace coastra

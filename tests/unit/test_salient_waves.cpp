// Waves behind a detached breakwater whose salient touches it: blocked and
// transmitted walls for the three connection codes, worked by hand.

#include <gtest/gtest.h>

#include "support/state_rig.h"
#include "waves/salient_waves.h"

namespace coastra {
namespace {

// Cells 1..10, one breakwater with shadow range 3..8, TRANDB 0.05 (so the
// transmitted height is 0.1 x HB), HB = 2 m at every wall and smoothed heights
// of 1.5 m with direction 0.3 rad before the adjustment. Touching cells: 4, 5,
// 6 and 8. Result per wall 2..10: "-" unchanged, "0" blocked, "T" transmitted.
std::string pattern(int code, int groin_wall = 0) {
  test::StateRig r;
  ModelState& m = r.m;
  m.cfg.NX = 10;
  m.cfg.NDB = 1;
  m.cfg.TRANDB(1) = 0.05F;
  m.DBS(1) = 3, m.DBE(1) = 8, m.DBCON(1) = code;
  for (int i = 1; i <= 11; ++i) {
    m.HB(i) = 2.0F, m.hbd_work(i) = 1.5F, m.thetabd_work(i) = 0.3F, m.IGRADOFF(i) = 0;
    m.WALLTYPE(i) = i == groin_wall ? 1 : 0;
  }
  for (int i = 1; i <= 10; ++i) m.DBMARK(i) = (i >= 3 && i <= 8) ? 1 : 0;
  for (int i : {4, 5, 6, 8}) m.DBMARK(i) = -1;
  touching_salient_waves(m.cfg, m.transport(), m.sources(), m.waves(), m.scratch());
  std::string out;
  for (int j = 2; j <= 10; ++j) {
    const char c = m.IGRADOFF(j) == 0 ? '-' : m.hbd_work(j) == 0.0F ? '0' : 'T';
    EXPECT_FLOAT_EQ(m.hbd_work(j), c == '-' ? 1.5F : c == '0' ? 0.0F : 0.2F) << j;  // 0.1 x 2 m
    EXPECT_EQ(m.thetabd_work(j), c == '-' ? 0.3F : 0.0F) << j;  // none where changed
    out += c;
  }
  return out;
}

TEST(SalientWaves, BlockedAndTransmittedWallsByConnectionCode) {
  // Free breakwater: walls 5..8 between the first (4) and last (8) touching
  // cell; blocked where both cells touch (walls 5 and 6), else transmitted.
  //            walls 2345678910
  EXPECT_EQ(pattern(0), "---00TT--");
  // Groin at the last end (wall 9): from the first wall whose left cell
  // touches (wall 5) rightwards; a wall whose left cell touches is blocked when
  // its right cell touches too or it is a groin wall (9), else transmitted;
  // other walls transmitted unless a groin wall.
  EXPECT_EQ(pattern(2, 9), "---00TT0-");
  // Groin at the first end (wall 3): walls 9 down to 3; a wall whose right
  // cell touches is blocked when its left cell touches too or it is a groin
  // wall, else transmitted.
  EXPECT_EQ(pattern(1, 3), "--T00-T--");
  EXPECT_EQ(pattern(1, 4), "--000-T--");   // a groin at wall 4 blocks it as well
}

}  // namespace
}  // namespace coastra

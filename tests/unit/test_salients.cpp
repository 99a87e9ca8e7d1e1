// The example coasts of the README, the whole program run on them: the fills
// they describe end up on the beach.

#include <gtest/gtest.h>

#include "model/error_stop.h"
#include "support/cases.h"
#include "support/run_helpers.h"

namespace coastra {
namespace {

// The second example coast: by 1 March its nourishment of 40 m on 40 cells of
// 20 m with 8 m of active profile, 256 000 m3, is on the beach (the pinned
// boundaries let in a little sand besides: well under 1 %). (The fill of the
// README's worked example is placed by the sources and golden tests.)
TEST(ReadmeExamples, NourishmentExamplePlacesItsFill) {
  test::ScratchDir dir;
  test::copy_from_tree(dir, "examples/nourished_breakwaters",
                       {"coast.cfg", "shoreline.dat", "waves.dat"});
  dir.write("coast.cfg", dir.read("coast.cfg") + "SIMDATE: 20200302\n");
  const auto r = test::run_in(dir, {"coast.cfg"});
  ASSERT_EQ(r.status, EXIT_NORMAL);
  EXPECT_NEAR(test::total_volume_change(dir.read("coast.out")), 256000.0, 2560.0);
}

}  // namespace
}  // namespace coastra

// The example coasts of the README, the whole program run on them: the fills
// they describe end up on the beach.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "model/error_stop.h"
#include "support/cases.h"
#include "support/run_helpers.h"

namespace coastra {
namespace {

namespace fs = std::filesystem;

// The worked example of the README under calm waves (no transport): the fill
// places 4 cells x 50 m x 8 m x 29 m = 46 400 m3 and the bypass pair nothing.
TEST(ReadmeExamples, WorkedFillExamplePlacesItsVolume) {
  test::ScratchDir dir;
  dir.write("run.cfg", test::base_config(20, 50.0, 20200101, 20201101, 6.0, 24.0) +
                           "DCLOS: 6.0\n"
                           "BFDATS: 20200201\nBFDATE: 20200301\nIBFS: 5\nIBFE: 8\nYADD: 29.0\n"
                           "BPDATS: 20200401\nBPDATE: 20201001\nIBPS: 2\nIBPE: 3\nQBP: -10.0\n"
                           "BPDATS: 20200401\nBPDATE: 20201001\nIBPS: 15\nIBPE: 16\nQBP: 10.0\n");
  dir.write("shore.dat", test::cell_file(std::vector<double>(20, 100.0)));
  dir.write("waves.dat", "0.0 7.0 0.0\n");   // no wave height: every step calm
  const auto r = test::run_in(dir, {"run.cfg"});
  ASSERT_EQ(r.status, EXIT_NORMAL);
  EXPECT_DOUBLE_EQ(test::total_volume_change(dir.read("run.out")), 46400.0);
}

// The second example coast: by 1 March its nourishment of 40 m on 40 cells of
// 20 m with 8 m of active profile, 256 000 m3, is on the beach (the pinned
// boundaries let in a little sand besides: well under 1 %).
TEST(ReadmeExamples, NourishmentExamplePlacesItsFill) {
  const fs::path ex = fs::path(COASTRA_SOURCE_DIR) / "examples" / "nourished_breakwaters";
  test::ScratchDir dir;
  for (const char* f : {"coast.cfg", "shoreline.dat", "waves.dat"}) fs::copy_file(ex / f, dir.path() / f);
  {
    std::ofstream cfg(dir.path() / "coast.cfg", std::ios::app);
    cfg << "SIMDATE: 20200302\n";
  }
  const auto r = test::run_in(dir, {"coast.cfg"});
  ASSERT_EQ(r.status, EXIT_NORMAL);
  EXPECT_NEAR(test::total_volume_change(dir.read("coast.out")), 256000.0, 2560.0);
}

}  // namespace
}  // namespace coastra

// Detached breakwaters shaping the beach, the whole program run on small
// coasts: under shore-normal waves a salient behind a breakwater far from the
// shore that stays short of its line and keeps the coast mirror-symmetric, and
// a salient that grows with the ratio of breakwater length to distance offshore.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "driver/run.h"
#include "model/error_stop.h"
#include "support/cases.h"
#include "support/run_helpers.h"

namespace coastra {
namespace {

namespace fs = std::filesystem;

// Opaque breakwater from wall i1 to wall i2 with its line y (m from the
// baseline) and tip depth d (m).
struct Line {
  int i1, i2;
  double y, d;
};

// 80 cells of 20 m from the shoreline y0 (m) for the given months from 1
// January 2020: 1 m waves of the period (s) at angle degrees to the shore
// normal, DT 1 h, K1 0.5, K2 0.25, berm 2 m, closure depth 8 m (or as the
// extra lines say); pinned ends.
std::unique_ptr<ModelState> run_coast(const std::vector<double>& y0, const std::vector<Line>& lines,
                                      double angle, int months, const std::string& extra = "",
                                      double period = 8.0) {
  test::ScratchDir dir;
  std::ostringstream cfg;
  cfg << test::base_config(80, 20.0, 20200101, 20200101 + 100 * (months % 12) + 10000 * (months / 12),
                           1.0, 720.0)
      << "K2: 0.25\n" << extra;
  for (const Line& b : lines)
    cfg << "DBI1: " << b.i1 << "\nDBY1: " << b.y << "\nDBDEP1: " << b.d << "\nDBI2: " << b.i2
        << "\nDBY2: " << b.y << "\nDBDEP2: " << b.d << "\nTRANDB: 0.0\n";
  dir.write("run.cfg", cfg.str());
  dir.write("shore.dat", test::cell_file(y0));
  dir.write("waves.dat", "1.0 " + std::to_string(period) + " " + std::to_string(angle) + "\n");
  auto m = make_state();
  const fs::path old = fs::current_path();
  fs::current_path(dir.path());
  std::ostringstream console;
  const int status = run_coastra_on(*m, {"run.cfg"}, console);
  fs::current_path(old);
  EXPECT_EQ(status, EXIT_NORMAL) << console.str();
  return m;
}

// Two years of 7 s waves normal to a beach 100 m off the baseline, closure
// depth 6 m, one breakwater between walls 36 and 46 (200 m long, centred on
// wall 41, the middle of the grid) at y with tip depth d (the salients are
// still growing then).
std::unique_ptr<ModelState> breakwater(double y, double d) {
  return run_coast(std::vector<double>(80, 100.0), {{36, 46, y, d}}, 0.0, 24, "DCLOS: 6.0\n", 7.0);
}
double advance(const ModelState& m, int i) { return m.YSHORE(i) - m.YINIT(i); }
double max_advance(const ModelState& m) {
  double a = 0.0;
  for (int i = 1; i <= 80; ++i) a = std::max(a, advance(m, i));
  return a;
}

TEST(Salients, FarBreakwaterGrowsSymmetricSalientShortOfItsLineGrowingWithLengthOverDistance) {
  // 150 m off the beach; depth there on the equilibrium profile about
  // APROF d^(2/3) = 0.131 x 150^(2/3) = 3.7 m.
  const auto far = breakwater(250.0, 3.7);
  const ModelState& m = *far;
  // The salient: the shadow cells gained sand, and none reached the line.
  EXPECT_GT(max_advance(m), 10.0);
  for (int j = 36; j <= 45; ++j) {
    EXPECT_GT(advance(m, j), 0.0) << j;
    EXPECT_LT(m.YSHORE(j), m.YDB(j) - 0.001) << j;
    EXPECT_EQ(m.DBMARK(j), 1) << j;
  }
  // Mirror symmetry about wall 41: cell i and cell 81 - i move alike.
  for (int i = 1; i <= 40; ++i)
    EXPECT_NEAR(advance(m, i), advance(m, 81 - i), 1e-5 * max_advance(m)) << i;
  // The salient grows with length over distance: the same 200 m breakwater
  // 100 m off the beach (L/D = 2 against 1.33) reaches a larger part of the way
  // out to it.
  EXPECT_LT(max_advance(m) / 150.0, max_advance(*breakwater(200.0, 2.8)) / 100.0);
}

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

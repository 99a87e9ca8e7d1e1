// Golden runs: each folder tests/golden/<case>/ holds input/ (a configuration
// run.cfg and its data files) and expected/ (the files the run must write, and
// console.txt). The run's outputs are compared with a tolerant comparer;
// COASTRA_REGEN=1 rewrites expected/ from the current program instead.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "support/compare.h"
#include "support/run_helpers.h"
#include "support/simd_scope.h"

namespace coastra {
namespace {

namespace fs = std::filesystem;

class Golden : public ::testing::TestWithParam<std::string> {};

TEST_P(Golden, OutputsMatchExpected) {
  const fs::path root = fs::path(COASTRA_SOURCE_DIR) / "tests" / "golden" / GetParam();
  test::ScratchDir dir;
  test::copy_from_tree(dir, "tests/golden/" + GetParam() + "/input");
  const auto r = test::run_in(dir, {"run.cfg"});
  dir.write("console.txt", r.console);

  const fs::path expected = root / "expected";
  if (std::getenv("COASTRA_REGEN") != nullptr) {
    fs::create_directories(expected);
    for (const auto& e : fs::directory_iterator(dir.path()))
      if (!fs::exists(root / "input" / e.path().filename()))
        fs::copy_file(e.path(), expected / e.path().filename(), fs::copy_options::overwrite_existing);
    GTEST_SKIP() << "expected output rewritten for " << GetParam();
  }
  ASSERT_TRUE(fs::is_directory(expected))
      << GetParam() << " has no expected output: run the suite once with COASTRA_REGEN=1";
  ASSERT_TRUE(fs::exists(root / "TOLERANCE")) << GetParam() << " has no TOLERANCE file";
  const auto tol = test::read_tolerance((root / "TOLERANCE").string());
  EXPECT_TRUE(tol.unknown.empty()) << GetParam() << "/TOLERANCE: unknown key " << tol.unknown.front();
  EXPECT_GE(tol.reason.size(), 20U) << GetParam() << "/TOLERANCE must say in a '#' comment why";
  int compared = 0;
  for (const auto& e : fs::directory_iterator(expected)) {
    const auto name = e.path().filename().string();
    ASSERT_TRUE(dir.exists(name)) << GetParam() << ": the run did not write " << name;
    EXPECT_EQ(test::compare_output(test::read_file(e.path()), dir.read(name), tol), "")
        << GetParam() << "/" << name;
    ++compared;
  }
  EXPECT_GT(compared, 0);
}

// Every instruction-set path this processor has writes the same bytes as the
// baseline path, file by file, console included.
TEST_P(Golden, EveryInstructionSetPathWritesTheSameBytes) {
  const auto run = [&](SimdPath p, test::ScratchDir& dir) {
    const test::SimdPathScope scope(p);
    test::copy_from_tree(dir, "tests/golden/" + GetParam() + "/input");
    const auto r = test::run_in(dir, {"run.cfg"});
    dir.write("console.txt", r.console);
  };
  test::ScratchDir base;
  run(SimdPath::BASELINE, base);
  for (SimdPath p : {SimdPath::AVX2, SimdPath::AVX512}) {
    if (!simd_path_supported(p)) continue;
    test::ScratchDir other;
    run(p, other);
    for (const auto& e : fs::directory_iterator(base.path())) {
      const auto name = e.path().filename().string();
      ASSERT_TRUE(other.exists(name)) << simd_path_name(p) << " did not write " << name;
      EXPECT_TRUE(base.read(name) == other.read(name)) << simd_path_name(p) << ": " << name;
    }
  }
}

std::vector<std::string> golden_cases() {
  std::vector<std::string> cases;
  const fs::path root = fs::path(COASTRA_SOURCE_DIR) / "tests" / "golden";
  if (fs::exists(root))
    for (const auto& e : fs::directory_iterator(root))
      if (fs::exists(e.path() / "input" / "run.cfg")) cases.push_back(e.path().filename().string());
  std::sort(cases.begin(), cases.end());
  return cases;
}

INSTANTIATE_TEST_SUITE_P(Cases, Golden, ::testing::ValuesIn(golden_cases()),
                         [](const ::testing::TestParamInfo<std::string>& p) { return p.param; });
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(Golden);

}  // namespace
}  // namespace coastra

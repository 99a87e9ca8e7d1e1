// Stage timing (--stage-times): the run writes the table of the loop's
// stages on the console and changes nothing else: every output file and every
// other console line stay byte for byte as in a run without it.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/run_helpers.h"

namespace coastra {
namespace {

namespace fs = std::filesystem;

TEST(StageTimes, TableOnRequestLeavesEveryOutputAsItWas) {
  test::ScratchDir plain, timed;
  test::copy_from_tree(plain, "tests/golden/breakwaters/input");
  test::copy_from_tree(timed, "tests/golden/breakwaters/input");
  const test::RunResult a = test::run_in(plain, {"run.cfg"});
  const test::RunResult b = test::run_in(timed, {"--stage-times", "run.cfg"});
  ASSERT_EQ(a.status, 0);
  ASSERT_EQ(b.status, 0);
  // 1. The table: a header, the seven stages in loop order, the total; shares
  //    of the stages add up to 100 % within the rounding of seven 0.1 % fields.
  const std::size_t at = b.console.find("\n STAGE TIMES        SECONDS   SHARE\n");
  ASSERT_NE(at, std::string::npos);
  const std::vector<std::string> rows = test::lines_of(b.console.substr(at + 2));
  ASSERT_GE(rows.size(), 9U);
  const char* names[] = {"WAVE INPUT", "BREAKING", "DIFFRACTION", "TRANSPORT",
                         "SOLVER",     "BOOKKEEPING", "OUTPUT", "TOTAL"};
  double share = 0.0;
  for (int k = 0; k < 8; ++k) {
    const std::string& r = rows[static_cast<std::size_t>(k) + 1];
    EXPECT_EQ(r.rfind(std::string(" ") + names[k], 0), 0U) << r;
    EXPECT_EQ(r.substr(r.size() - 2), " %") << r;
    if (k < 7) share += std::stod(r.substr(27, 7));
  }
  EXPECT_NEAR(share, 100.0, 0.4);
  // 2. Without the table the console is the same, and so is every file.
  const std::size_t end = b.console.find('\n', b.console.find(" TOTAL ", at));   // table's last '\n'
  std::string rest = b.console;
  rest.erase(at, end - at + 1);
  EXPECT_EQ(rest, a.console);
  int files = 0;
  for (const auto& f : fs::directory_iterator(plain.path())) {
    const std::string name = f.path().filename().string();
    EXPECT_TRUE(timed.exists(name)) << name;
    EXPECT_EQ(timed.read(name), plain.read(name)) << name;
    ++files;
  }
  EXPECT_GT(files, 5);
}

}  // namespace
}  // namespace coastra

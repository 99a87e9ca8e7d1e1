// The error stop line and the program's command-line handling.

#include <gtest/gtest.h>

#include "model/error_stop.h"
#include "support/run_helpers.h"

namespace coastra {
namespace {

TEST(ErrorStop, LineIsAlwaysEightyCharacters) {
  EXPECT_EQ(error_line("DT must be > 0."),
            "ERROR: DT must be > 0." + std::string(80 - 22, ' '));
  const std::string long_msg(100, 'x');
  const std::string line = error_line(long_msg);
  EXPECT_EQ(line.size(), 80U);
  EXPECT_EQ(line.substr(0, 7), "ERROR: ");
  EXPECT_EQ(line.substr(7), std::string(73, 'x'));
  EXPECT_EQ(error_line("").size(), 80U);
}

TEST(CommandLine, WrongArgumentCountStopsWithoutPrintFile) {
  test::ScratchDir dir;
  for (const auto& args : {std::vector<std::string>{}, std::vector<std::string>{"a", "b"}}) {
    const auto r = test::run_in(dir, args);
    EXPECT_EQ(r.status, EXIT_STOPPED);
    EXPECT_EQ(r.console,
              " Coastra Model Execution\n"
              " Please include a valid Coastra configuration file on the command line.\n");
  }
  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

TEST(CommandLine, MissingConfigurationFileIsNamed) {
  test::ScratchDir dir;
  const auto r = test::run_in(dir, {"nosuch.cfg"});
  EXPECT_EQ(r.status, EXIT_STOPPED);
  EXPECT_TRUE(test::has_line(r.console, " --> Cannot find the input file= nosuch.cfg"));
}

}  // namespace
}  // namespace coastra

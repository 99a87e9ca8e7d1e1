// Test support: the checks of a refused run.

#include "support/refusal.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "model/error_stop.h"

namespace coastra::test {

RunResult expect_refused(RunCase& c, const std::string& message,
                         const std::vector<std::string>& rewritten,
                         const std::vector<std::string>& args) {
  c.dir.write("run.cfg", c.cfg);
  const auto before = c.files();
  const RunResult r = run_in(c.dir, args);
  EXPECT_EQ(r.status, EXIT_STOPPED) << r.console;
  EXPECT_EQ(last_line(r.console), error_line(message)) << r.console;
  EXPECT_EQ(count_of(r.console, "ERROR: "), 1) << r.console;
  EXPECT_EQ(r.console.find("Model run completed"), std::string::npos);
  const auto after = c.files();
  const bool print_rewritten =
      std::find(rewritten.begin(), rewritten.end(), "run.out") != rewritten.end();
  if (print_rewritten && after.count("run.out") != 0) {
    EXPECT_EQ(last_line(after.at("run.out")), error_line(message));
  }
  for (const auto& [name, text] : before) {
    if (std::find(rewritten.begin(), rewritten.end(), name) != rewritten.end()) continue;
    const auto it = after.find(name);
    if (it == after.end()) {
      ADD_FAILURE() << name << " was removed";
    } else {
      EXPECT_EQ(it->second, text) << name << " was changed";
    }
  }
  return r;
}

}  // namespace coastra::test

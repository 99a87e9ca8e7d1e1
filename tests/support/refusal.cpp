// Test support: the checks of a refused run.

#include "support/refusal.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>

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

void expect_line_refusals(const std::vector<LineRefusal>& rows) {
  for (const LineRefusal& row : rows) {
    SCOPED_TRACE(row.lines.substr(0, 60));
    RunCase c;
    ASSERT_EQ(::mkfifo(c.dir.file("fifo").c_str(), 0600), 0);
    std::filesystem::create_directory(c.dir.path() / "adir");
    c.edit(row.key, row.lines);
    expect_refused(c, row.message);
  }
}

}  // namespace coastra::test

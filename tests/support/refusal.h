// Test support: the checks of a run that is refused, end to end: exit status,
// the one ERROR line (last on the console and in this attempt's print file),
// no completion line, and the files present before the run left as they were.
#pragma once

#include <string>
#include <vector>

#include "support/run_helpers.h"

namespace coastra::test {

// Writes c.cfg as run.cfg, takes the folder's files, runs the program with args
// and expects the refusal with message: status 1, error_line(message) the last
// and only ERROR line of the console, no "Model run completed", the print file
// (when it was rewritten and is a regular file) ending with the same line, and
// every file of before but those in rewritten unchanged. Returns the result.
RunResult expect_refused(RunCase& c, const std::string& message,
                         const std::vector<std::string>& rewritten = {"run.out"},
                         const std::vector<std::string>& args = {"run.cfg"});

// One line of the run case replaced (key "" appends the lines) and the refusal
// it must meet: expect_refused(message) on a fresh run case whose folder also
// holds a FIFO "fifo" and a directory "adir", the print file rewritten.
struct LineRefusal {
  std::string key, lines, message;
};
void expect_line_refusals(const std::vector<LineRefusal>& rows);

}  // namespace coastra::test

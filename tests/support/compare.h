// Tolerant comparison of program output with stored expected output: the same
// number of lines; texts and integers exact; reals within a tolerance; every
// field ending in the same column.
#pragma once

#include <string>
#include <vector>

namespace coastra::test {

struct Tolerance {
  double relative = 1e-5;      // relative tolerance on reals
  int last_digits = 1;         // reals may also differ by this many units of the last printed decimal
  std::string reason;                 // the comment lines, '#' removed
  std::vector<std::string> unknown;   // keys the file holds that are not the two above
};

// Reads "relative X" / "last_digits N" lines from a TOLERANCE file; lines whose
// first word starts with '#' are comments (the reason for the tolerance); unset
// keys keep their defaults.
Tolerance read_tolerance(const std::string& path);

// "" when the texts agree, else a description of the first difference.
std::string compare_output(const std::string& expected, const std::string& actual,
                           const Tolerance& tol);

}  // namespace coastra::test

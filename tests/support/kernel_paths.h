// Runs kernels on every instruction-set path this processor has and checks
// that each path writes the bits of the baseline path: one table of cases
// (a name and a run that returns the kernel's outputs) instead of one
// comparison per kernel.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <functional>
#include <vector>

#include "model/simd_path.h"
#include "support/simd_scope.h"

namespace coastra::test {

struct KernelCase {
  const char* name;
  std::function<std::vector<float>()> run;   // builds its inputs, runs, returns the outputs
};

// The outputs of run on path p as bit patterns (NaN and the sign of zero count).
inline std::vector<std::uint32_t> bits_on(SimdPath p, const std::function<std::vector<float>()>& run) {
  const SimdPathScope scope(p);
  std::vector<std::uint32_t> out;
  for (float v : run()) out.push_back(std::bit_cast<std::uint32_t>(v));
  return out;
}

// Every case on every supported path against the baseline path; the first
// differing output of a case is reported by its index.
inline void expect_paths_agree(const std::vector<KernelCase>& cases) {
  for (const KernelCase& k : cases) {
    const std::vector<std::uint32_t> base = bits_on(SimdPath::BASELINE, k.run);
    EXPECT_FALSE(base.empty()) << k.name;
    for (SimdPath p : {SimdPath::AVX2, SimdPath::AVX512}) {
      if (!simd_path_supported(p)) continue;
      const std::vector<std::uint32_t> other = bits_on(p, k.run);
      ASSERT_EQ(other.size(), base.size()) << k.name;
      const auto at = std::mismatch(base.begin(), base.end(), other.begin()).first;
      EXPECT_EQ(at, base.end()) << k.name << " on " << simd_path_name(p) << " differs at output "
                                << (at - base.begin());
    }
  }
}

}  // namespace coastra::test

// Runs a block of a test on one instruction-set path of the kernels, or with
// a lowered split threshold of the two-thread team, and restores the setting
// in force afterwards.
#pragma once

#include "model/simd_path.h"

namespace coastra::test {

class SimdPathScope {
 public:
  explicit SimdPathScope(SimdPath p) : saved_(simd_path()) { set_simd_path(p); }
  ~SimdPathScope() { set_simd_path(saved_); }
  SimdPathScope(const SimdPathScope&) = delete;
  SimdPathScope& operator=(const SimdPathScope&) = delete;

 private:
  SimdPath saved_;
};

class SplitMinScope {
 public:
  explicit SplitMinScope(int n) : saved_(split_min_elements()) { set_split_min_elements(n); }
  ~SplitMinScope() { set_split_min_elements(saved_); }
  SplitMinScope(const SplitMinScope&) = delete;
  SplitMinScope& operator=(const SplitMinScope&) = delete;

 private:
  int saved_;
};

}  // namespace coastra::test

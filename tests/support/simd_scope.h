// Runs a block of a test on one instruction-set path of the kernels and
// restores the path in force afterwards.
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

}  // namespace coastra::test

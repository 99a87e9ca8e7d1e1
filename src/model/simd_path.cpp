// The instruction-set path of the vectorised kernels: detection from the
// processor, the user's choice, and the names of the paths.

#include "model/simd_path.h"

#include <cstdlib>

namespace coastra {

namespace {

// The widest path this processor runs, or the one COASTRA_SIMD names (when
// the processor runs it). An unknown or unsupported name leaves the widest.
SimdPath initial_path() {
#if defined(__x86_64__) && defined(__GNUC__)
  __builtin_cpu_init();  // the processor's features, also before other constructors ran
#endif
  SimdPath p = widest_simd_path();
  if (const char* env = std::getenv("COASTRA_SIMD")) {
    const auto wanted = parse_simd_path(env);
    if (wanted && simd_path_supported(*wanted)) p = *wanted;
  }
  return p;
}

SimdPath& current_path() {
  static SimdPath path = initial_path();
  return path;
}

}  // namespace

SimdPath simd_path() { return current_path(); }

bool simd_path_supported(SimdPath p) {
  if (!SIMD_VARIANTS) return p == SimdPath::BASELINE;   // the others not compiled in
  switch (p) {
    case SimdPath::BASELINE: return true;
#if !defined(__x86_64__) || !defined(__GNUC__)
    case SimdPath::AVX2:
    case SimdPath::AVX512: return false;
#elif !defined(__clang__)
    // The levels the variants are compiled for (target "arch=x86-64-v3/v4").
    case SimdPath::AVX2: return __builtin_cpu_supports("x86-64-v3");
    case SimdPath::AVX512: return __builtin_cpu_supports("x86-64-v4");
#else
    case SimdPath::AVX2:
      return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma") &&
             __builtin_cpu_supports("bmi2") && __builtin_cpu_supports("f16c") &&
             __builtin_cpu_supports("movbe");
    case SimdPath::AVX512:
      return simd_path_supported(SimdPath::AVX2) && __builtin_cpu_supports("avx512f") &&
             __builtin_cpu_supports("avx512bw") && __builtin_cpu_supports("avx512vl") &&
             __builtin_cpu_supports("avx512dq") && __builtin_cpu_supports("avx512cd");
#endif
  }
  return false;
}

SimdPath widest_simd_path() {
  if (simd_path_supported(SimdPath::AVX512)) return SimdPath::AVX512;
  if (simd_path_supported(SimdPath::AVX2)) return SimdPath::AVX2;
  return SimdPath::BASELINE;
}

void set_simd_path(SimdPath p) { current_path() = p; }

std::optional<SimdPath> parse_simd_path(std::string_view name) {
  if (name == "baseline") return SimdPath::BASELINE;
  if (name == "avx2") return SimdPath::AVX2;
  if (name == "avx512") return SimdPath::AVX512;
  return std::nullopt;
}

const char* simd_path_name(SimdPath p) {
  switch (p) {
    case SimdPath::BASELINE: return "baseline";
    case SimdPath::AVX2: return "avx2";
    case SimdPath::AVX512: return "avx512";
  }
  return "baseline";
}

}  // namespace coastra

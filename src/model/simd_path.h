// The instruction-set path of the per-wall loops: the baseline x86-64 code
// (SSE2), AVX2 or AVX-512. Every vectorised kernel is compiled once per path
// from one body (run_kernel below), and the run chooses the widest path the
// processor has, or the one the user asks for (--simd or COASTRA_SIMD). The
// bodies use the same operations in the same order on every path (no fused
// multiply-add, no reordered sums), so every path gives the same bits.
#pragma once

#include <optional>
#include <string_view>

namespace coastra {

enum class SimdPath { BASELINE = 0, AVX2 = 1, AVX512 = 2 };

// Design note: the path is a property of the process (of the processor and of
// the user's request), not of a run's state, so it is held once per process;
// the kernels read it at every call (a switch per stage loop, not per wall).
SimdPath simd_path();
SimdPath widest_simd_path();                 // the widest path this processor runs
bool simd_path_supported(SimdPath p);        // whether this processor runs p
void set_simd_path(SimdPath p);              // caller checked simd_path_supported
std::optional<SimdPath> parse_simd_path(std::string_view name);   // "baseline", "avx2", "avx512"
const char* simd_path_name(SimdPath p);      // the name parse_simd_path reads

// Kernel variants: Body is an always-inline function holding one element-wise
// loop, `void Body(int lo, int hi, ...)` over elements lo..hi: each element is
// formed from inputs the loop does not write. Each
// wrapper compiles the body for one instruction set, and run_kernel calls the
// one of the path in force.
template <auto Body, class... A>
void run_kernel_baseline(A... a) {
  Body(a...);
}
// Design note: a build configured with COASTRA_SIMD_PATHS=OFF (the sanitizer
// build: it compiles in half the time) has the baseline variant only; the
// other paths are then not supported and never chosen.
inline constexpr bool SIMD_VARIANTS =
#if defined(__x86_64__) && defined(__GNUC__) && !defined(COASTRA_BASELINE_ONLY)
    true;
#else
    false;
#endif
#if defined(__x86_64__) && defined(__GNUC__)
template <auto Body, class... A>
[[gnu::target("arch=x86-64-v3")]] void run_kernel_avx2(A... a) {
  Body(a...);
}
#if defined(__clang__)
template <auto Body, class... A>
[[gnu::target("arch=x86-64-v4")]] void run_kernel_avx512(A... a) {
  Body(a...);
}
#else
template <auto Body, class... A>
[[gnu::target("arch=x86-64-v4,prefer-vector-width=512")]] void run_kernel_avx512(A... a) {
  Body(a...);
}
#endif
#endif

// The kernel over elements lo..hi on the path in force: the variant of Body
// compiled for that instruction set.
template <auto Body, class... A>
void run_kernel(int lo, int hi, A... a) {
#if defined(__x86_64__) && defined(__GNUC__)
  if constexpr (SIMD_VARIANTS) {
    switch (simd_path()) {
      case SimdPath::AVX512: run_kernel_avx512<Body>(lo, hi, a...); return;
      case SimdPath::AVX2: run_kernel_avx2<Body>(lo, hi, a...); return;
      case SimdPath::BASELINE: break;
    }
  }
#endif
  run_kernel_baseline<Body>(lo, hi, a...);
}

// A kernel that also forms an OR over its range, `void Body(int lo, int hi,
// ..., int* any)` storing its OR into *any: returns the OR over lo..hi.
template <auto Body, class... A>
int run_any(int lo, int hi, A... a) {
  int any = 0;
  run_kernel<Body>(lo, hi, a..., &any);
  return any;
}

}  // namespace coastra

// The instruction-set path of the per-wall loops: the baseline x86-64 code
// (SSE2), AVX2 or AVX-512. Every vectorised kernel is compiled once per path
// from one body (run_kernel below), and the run chooses the widest path the
// processor has, or the one the user asks for (--simd or COASTRA_SIMD). The
// bodies use the same operations in the same order on every path (no fused
// multiply-add, no reordered sums), so every path gives the same bits. With a
// two-thread team in force, run_kernel splits a long range between the threads.
#pragma once

#include <optional>
#include <string_view>

#include "model/thread_team.h"

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
// formed from inputs the loop does not write, so the range may be split. Each
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

// Elements lo..hi of the kernel on the calling thread, on the path in force.
template <auto Body, class... A>
void run_kernel_on_path(int lo, int hi, A... a) {
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

// f(part, part_lo, part_hi) over lo..hi, for a kernel that forms a result per
// part and combines the parts after: once as part 0 over lo..hi, or split
// between the threads, part 0 over lo..split-1 and part 1 over split..hi.
// The split point is split_point(lo, hi), or `at` when it is given.
template <class F>
void run_parts(int lo, int hi, const F& f, int at = 0) {
  if (team_threads() > 1 && hi - lo + 1 >= split_min_elements()) {
    struct Args {
      const F* f;
      int lo;
    };
    const Args args{&f, lo};
    run_split(
        [](const void* p, int part_lo, int part_hi) {
          const Args& x = *static_cast<const Args*>(p);
          (*x.f)(part_lo == x.lo ? 0 : 1, part_lo, part_hi);
        },
        &args, lo, hi, at);
    return;
  }
  f(0, lo, hi);
}

// f(part_lo, part_hi) over lo..hi, split between the threads like one
// kernel: for a run of kernels over the same elements, each forming element
// i from inputs at i alone (none reads a neighbour that another kernel of
// the run writes), so that each thread runs the whole run over its part with
// one hand-over instead of one per kernel.
template <class F>
void run_region(int lo, int hi, const F& f) {
  run_parts(lo, hi, [&f](int, int part_lo, int part_hi) { f(part_lo, part_hi); });
}

// The kernel over elements lo..hi: on the calling thread alone, or split
// between the two threads of the team in force when the range is long enough
// to gain from it. Each element is formed alone, so the bits do not depend on
// the split.
template <auto Body, class... A>
void run_kernel(int lo, int hi, A... a) {
  run_region(lo, hi,
             [&](int part_lo, int part_hi) { run_kernel_on_path<Body>(part_lo, part_hi, a...); });
}

// One int flag per part of a split call (run_parts), each on a cache line of
// its own, as the two threads write their own; any() is their OR once the
// call has returned (an OR gives the same answer in any order).
class PartFlags {
 public:
  int& operator[](int part) { return flag_[part].v; }
  int any() const { return flag_[0].v | flag_[1].v; }

 private:
  struct alignas(64) Flag {
    int v = 0;
  };
  Flag flag_[2];
};

// A kernel that also forms an OR over its range, `void Body(int lo, int hi,
// ..., int* any)` storing its OR into *any: split like run_kernel, each part
// storing into a flag of its own. Returns the OR over lo..hi.
template <auto Body, class... A>
int run_any(int lo, int hi, A... a) {
  PartFlags flags;
  run_parts(lo, hi, [&](int part, int part_lo, int part_hi) {
    run_kernel_on_path<Body>(part_lo, part_hi, a..., &flags[part]);
  });
  return flags.any();
}

}  // namespace coastra

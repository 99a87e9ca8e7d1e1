// Copies and fills over a range of a 1-based array as vector kernels on the
// instruction-set path in force.
#pragma once

#include "model/simd_path.h"

namespace coastra {

namespace kernels {
template <class T>
[[gnu::always_inline]] inline void copy_body(int lo, int hi, const T* __restrict from,
                                             T* __restrict to) {
#pragma omp simd
  for (int i = lo; i <= hi; ++i) to[i] = from[i];
}

template <class T>
[[gnu::always_inline]] inline void fill_body(int lo, int hi, T value, T* __restrict v) {
#pragma omp simd
  for (int i = lo; i <= hi; ++i) v[i] = value;
}
}  // namespace kernels

// to(i) = from(i) for i = lo..hi (the arrays must not overlap).
template <class T>
void copy_range(const T* from, T* to, int lo, int hi) {
  run_kernel<kernels::copy_body<T>>(lo, hi, from, to);
}

// v(i) = value for i = lo..hi.
template <class T>
void fill_range(T* v, T value, int lo, int hi) {
  run_kernel<kernels::fill_body<T>>(lo, hi, value, v);
}

}  // namespace coastra

// Fixed-capacity arrays indexed as the physics is written: A(1:n).
// A Vec1 of capacity n holds elements 0..n+1, so a cell array can also be read
// at its first wall-side neighbour (index 0 or n+1) without a special case;
// index 0 is otherwise unused. Storage is allocated once, zero-filled.
#pragma once

#include <algorithm>
#include <cassert>
#include <cstddef>
#include <span>
#include <vector>

namespace coastra {

template <class T>
class Vec1 {
 public:
  explicit Vec1(int n) : v_(static_cast<std::size_t>(n) + 2) {}
  T& operator()(int i) {
    assert(0 <= i && i <= n() + 1);
    return v_[static_cast<std::size_t>(i)];
  }
  const T& operator()(int i) const {
    assert(0 <= i && i <= n() + 1);
    return v_[static_cast<std::size_t>(i)];
  }
  int n() const { return static_cast<int>(v_.size()) - 2; }  // capacity
  void fill(const T& x) { std::fill(v_.begin(), v_.end(), x); }
  // Elements first..last as a contiguous view (for the formatting layer).
  std::span<const T> span(int first, int last) const {
    assert(1 <= first || (first == 0 && last >= 0));
    if (last < first) return {};
    assert(last <= n() + 1);
    return std::span<const T>(v_.data() + first, static_cast<std::size_t>(last - first + 1));
  }
  T* data() { return v_.data(); }
  const T* data() const { return v_.data(); }

 private:
  std::vector<T> v_;
};

}  // namespace coastra

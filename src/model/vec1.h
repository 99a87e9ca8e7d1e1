// Fixed-capacity arrays indexed as the physics is written: A(1:n).
// A Vec1 of capacity n holds elements 0..n+1, so a cell array can also be read
// at its first wall-side neighbour (index 0 or n+1) without a special case;
// index 0 is otherwise unused. Storage is allocated once, zero-filled.
// The zeros are the system's: an array of a page or more is mapped directly
// (anonymous memory), so its pages are the system's zero page until first
// written, and capacity a run does not use (long event lists, arrays of absent
// structures, the far cells of a short coast) costs no memory. (calloc would
// not do: below its own mapping threshold, 128 KiB, it carves the array from
// the heap and writes its zeros over memory the heap used before.)
#pragma once

#include <algorithm>
#include <atomic>
#include <cassert>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <span>
#include <type_traits>
#include <utility>
#include <vector>

#include <sys/mman.h>

namespace coastra {

// Allocator of zero-filled storage for arrays of numbers, the value-
// initialisation of the elements left to the zeros of the storage (the zero
// bit pattern is 0 for every integer and 0.0 for float and double). Arrays of
// a page or more are mapped, smaller ones calloc'd. Design note: under the
// address sanitizer every array is calloc'd, so that the sanitizer sees a
// kernel that runs past an array's end.
template <class T>
struct ZeroFilledAlloc {
  static_assert(std::is_arithmetic_v<T>, "zero bits must be the value 0");
  using value_type = T;
  ZeroFilledAlloc() = default;
  template <class U>
  explicit ZeroFilledAlloc(const ZeroFilledAlloc<U>& /*other*/) {}
  T* allocate(std::size_t n) {
    void* p = mapped(n) ? map(n * sizeof(T)) : std::calloc(n, sizeof(T));
    if (p == nullptr) throw std::bad_alloc();
    return static_cast<T*>(p);
  }
  void deallocate(T* p, std::size_t n) {
    if (mapped(n))
      unmap(p, n * sizeof(T));
    else
      std::free(p);
  }
  template <class U>
  void construct(U* /*p*/) {}   // already zero
  template <class U, class... A>
  void construct(U* p, A&&... a) {
    ::new (static_cast<void*>(p)) U(std::forward<A>(a)...);
  }
  friend bool operator==(const ZeroFilledAlloc&, const ZeroFilledAlloc&) { return true; }

 private:
  static constexpr std::size_t PAGE = 4096;   // bytes; a smaller array shares the heap's pages
  static bool mapped(std::size_t n) {
#if defined(__SANITIZE_ADDRESS__)
    (void)n;
    return false;
#else
    return n * sizeof(T) >= PAGE;
#endif
  }
  // Each mapped array starts a further cache line into its first page (32
  // offsets in turn, 0 to 1984 bytes). Arrays that all began on a page
  // boundary would give element i of every array the same low 12 address
  // bits: a kernel that reads and writes several arrays at once would then
  // wait on false store-to-load dependences and share one cache set among
  // all its streams (6 to 8 % slower steps measured on a four-groin coast). The
  // offset costs at most one page more per array.
  static constexpr std::size_t LINE = 64;   // bytes; keeps the vector loads aligned
  static constexpr std::size_t OFFSETS = 32;
  static void* map(std::size_t bytes) {
    static std::atomic<std::size_t> next{0};
    const std::size_t off = LINE * (next.fetch_add(1, std::memory_order_relaxed) % OFFSETS);
    void* p =
        mmap(nullptr, bytes + off, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    return p == MAP_FAILED ? nullptr : static_cast<char*>(p) + off;
  }
  static void unmap(T* p, std::size_t bytes) {
    const auto at = reinterpret_cast<std::uintptr_t>(p);
    const std::size_t off = at % PAGE;
    munmap(reinterpret_cast<void*>(at - off), bytes + off);
  }
};

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
  std::vector<T, ZeroFilledAlloc<T>> v_;
};

}  // namespace coastra

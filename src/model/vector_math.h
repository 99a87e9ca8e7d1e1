// Branch-free single-precision elementary functions for the per-wall loops:
// exp, log, pow, sinh, atan, asin, sin and cos. Each is a range reduction and a
// minimax polynomial (the classic Cephes single-precision coefficients), with
// selects instead of branches and no library call, so a loop that uses them
// vectorises, and the same operations in the same order give the same bits on
// every instruction set (no fused multiply-add: the project compiles with
// -ffp-contract=off). Maximum errors against the correctly rounded value are
// measured over each function's whole input range by the unit tests
// (tests/unit/test_vector_math.cpp) and stated at each function.
// Edge values follow the library: NaN in, NaN out; log(0) = -inf, log(x < 0) =
// NaN, exp(+inf) = +inf, exp(-inf) = 0, asin(|x| > 1) = NaN.

#pragma once

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

namespace coastra::vmath {

// c ? a : b as a mask on the bit patterns. GCC 12 turns some conditional
// operators back into branches on the AVX2 and AVX-512 paths, and a loop with
// a branch is not vectorised; a select of bits always stays one straight line.
[[gnu::always_inline]] inline float select(bool c, float a, float b) {
  const std::uint32_t m = 0U - static_cast<std::uint32_t>(c);
  return std::bit_cast<float>((std::bit_cast<std::uint32_t>(a) & m) |
                              (std::bit_cast<std::uint32_t>(b) & ~m));
}

namespace detail {

constexpr float INF = std::numeric_limits<float>::infinity();
constexpr float QNAN = std::numeric_limits<float>::quiet_NaN();

// The integer nearest to t (ties to even) for |t| < 2^22: adding and taking
// away 1.5 x 2^23 leaves no fraction bits. Plain float additions, so the loop
// stays one straight line on every instruction set (a truncating conversion
// with a correction stops GCC 12 from if-converting the loop when its argument
// was clamped).
[[gnu::always_inline]] inline float round_small(float t) {
  constexpr float SHIFTER = 12582912.0F;  // 1.5 x 2^23
  return (t + SHIFTER) - SHIFTER;
}

// 2^n for an integer-valued n in [-126, 127], from the exponent bits.
[[gnu::always_inline]] inline float pow2i(float n) {
  return std::bit_cast<float>((static_cast<std::int32_t>(n) + 127) << 23);
}

}  // namespace detail

// e^x. Relative error at most 2 ulp (measured: see the tests). Results below
// the smallest normal number (x < -87.33) are flushed to 0.
[[gnu::always_inline]] inline float exp(float x) {
  const bool nan = x != x;
  float xc = select(nan, 0.0F, x);
  xc = select(xc < -87.3F, -87.3F, xc);
  xc = select(xc > 88.3F, 88.3F, xc);
  // x = n ln2 + r with |r| <= ln2 / 2; ln2 split in two parts so that n ln2 is exact.
  const float n = detail::round_small(1.44269504088896341F * xc);
  float r = xc - n * 0.693359375F;
  r = r + n * 2.12194440e-4F;
  const float r2 = r * r;
  float p = 1.9875691500E-4F;
  p = p * r + 1.3981999507E-3F;
  p = p * r + 8.3334519073E-3F;
  p = p * r + 4.1665795894E-2F;
  p = p * r + 1.6666665459E-1F;
  p = p * r + 5.0000001201E-1F;
  p = p * r2 + r + 1.0F;
  float y = p * detail::pow2i(n);
  y = select(x > 88.7228F, detail::INF, y);
  y = select(x < -87.3365F, 0.0F, y);
  return select(nan, x, y);
}

// Natural logarithm. Absolute error at most 1.5e-7 near x = 1, relative error
// at most 2 ulp elsewhere (measured: see the tests). Subnormal x is taken as
// the smallest normal number.
[[gnu::always_inline]] inline float log(float x) {
  const float xc = select(x < 1.17549435e-38F, 1.17549435e-38F, x);
  const std::int32_t ix = std::bit_cast<std::int32_t>(xc);
  float e = static_cast<float>((ix >> 23) - 126);
  float mnt = std::bit_cast<float>((ix & 0x007fffff) | 0x3f000000);  // in [0.5, 1)
  // x = 2^e mnt with mnt in [sqrt(1/2), sqrt(2)) - 1 after the shift below.
  const bool small = mnt < 0.707106781186547524F;
  e = select(small, e - 1.0F, e);
  mnt = select(small, mnt + mnt - 1.0F, mnt - 1.0F);
  const float z = mnt * mnt;
  float p = 7.0376836292E-2F;
  p = p * mnt - 1.1514610310E-1F;
  p = p * mnt + 1.1676998740E-1F;
  p = p * mnt - 1.2420140846E-1F;
  p = p * mnt + 1.4249322787E-1F;
  p = p * mnt - 1.6668057665E-1F;
  p = p * mnt + 2.0000714765E-1F;
  p = p * mnt - 2.4999993993E-1F;
  p = p * mnt + 3.3333331174E-1F;
  float y = p * mnt * z;
  y = y + e * -2.12194440e-4F;
  y = y - 0.5F * z;
  y = mnt + y + e * 0.693359375F;
  y = select(x == 0.0F, -detail::INF, y);
  y = select(x == detail::INF, detail::INF, y);
  return select(x >= 0.0F, y, detail::QNAN);  // NaN and negative x give NaN
}

// x^y for x >= 0 as e^(y ln x); 0^y = 0 for y > 0. The relative error grows
// with |y ln x|: at most 9 ulp for y = 0.4 over x in [1e-6, 1e6] (the
// breaking depth's exponent and range, see the tests).
[[gnu::always_inline]] inline float pow(float x, float y) { return exp(y * log(x)); }

// sinh(x) for x >= 0: the Taylor series below x = 0.25 (where e - 1/e would
// cancel), one exponential above. Relative error at most 3 ulp up to x = 88.
[[gnu::always_inline]] inline float sinh_pos(float x) {
  const float e = exp(x);
  const float big = 0.5F * (e - 1.0F / e);
  const float z = x * x;
  const float small = ((z * (1.0F / 5040.0F) + 1.0F / 120.0F) * z + 1.0F / 6.0F) * z * x + x;
  return select(x < 0.25F, small, big);
}

// Arc tangent (rad), odd. Relative error at most 3 ulp (measured: see the tests).
[[gnu::always_inline]] inline float atan(float x) {
  const float ax = std::fabs(x);
  const bool big = ax > 2.414213562373095F;   // tan(3 pi / 8)
  const bool mid = ax > 0.4142135623730950F;  // tan(pi / 8)
  const float xr = select(big, -1.0F / ax, select(mid, (ax - 1.0F) / (ax + 1.0F), ax));
  const float y0 = select(big, 1.5707963267948966F, select(mid, 0.7853981633974483F, 0.0F));
  const float z = xr * xr;
  const float p =
      (((8.05374449538e-2F * z - 1.38776856032E-1F) * z + 1.99777106478E-1F) * z -
       3.33329491539E-1F) * z * xr + xr;
  const float r = y0 + p;
  return select(x < 0.0F, -r, r);
}

// Arc sine (rad) for |x| <= 1, odd; NaN beyond. Relative error at most 2.5 ulp
// (measured: see the tests).
[[gnu::always_inline]] inline float asin(float x) {
  const float ax = std::fabs(x);
  const bool big = ax > 0.5F;
  // Above 1/2: asin(a) = pi/2 - 2 asin(sqrt((1 - a) / 2)).
  const float z = select(big, 0.5F * (1.0F - ax), ax * ax);
  const float s = select(big, std::sqrt(z), ax);
  const float p = ((((4.2163199048E-2F * z + 2.4181311049E-2F) * z + 4.5470025998E-2F) * z +
                    7.4953002686E-2F) * z + 1.6666752422E-1F) * z * s + s;
  const float r = select(big, 1.5707963267948966F - (p + p), p);
  return select(x < 0.0F, -r, r);
}

// Sine and cosine of one angle (rad), |x| <= 8192: reduction by pi/2 in three
// parts (exact products up to that size), a polynomial on [-pi/4, pi/4] and
// the quadrant's signs. Absolute error at most 1.2e-7 (measured: see the
// tests). Beyond 8192 rad, and for NaN or infinity, both are NaN: the model's
// angles are a few radians, so such an angle is a fault to be seen.
struct SinCos {
  float s;  // sin x
  float c;  // cos x
};
[[gnu::always_inline]] inline SinCos sincos(float x) {
  const bool bad = !(std::fabs(x) <= 8192.0F);  // NaN, infinity or out of range
  const float xc = select(bad, 0.0F, x);
  const float q = detail::round_small(xc * 0.63661977236758134F);  // nearest multiple of pi/2
  const std::int32_t iq = static_cast<std::int32_t>(q);
  float r = xc - q * 1.5703125F;
  r = r - q * 4.837512969970703125e-4F;
  r = r - q * 7.549789954891882e-8F;
  const float z = r * r;
  const float sp = ((-1.9515295891E-4F * z + 8.3321608736E-3F) * z - 1.6666654611E-1F) * z * r + r;
  const float cp = ((2.443315711809948E-5F * z - 1.388731625493765E-3F) * z +
                    4.166664568298827E-2F) * z * z - 0.5F * z + 1.0F;
  const bool swap = (iq & 1) != 0;
  const float s0 = select(swap, cp, sp);
  const float c0 = select(swap, sp, cp);
  float s = select((iq & 2) != 0, -s0, s0);
  float c = select(((iq + 1) & 2) != 0, -c0, c0);
  s = select(bad, detail::QNAN, s);
  c = select(bad, detail::QNAN, c);
  return SinCos{s, c};
}
[[gnu::always_inline]] inline float sin(float x) { return sincos(x).s; }
[[gnu::always_inline]] inline float cos(float x) { return sincos(x).c; }

}  // namespace coastra::vmath

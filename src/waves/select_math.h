// The vector math's exp, log, pow, atan, asin and sincos for the wave kernels,
// with a bit select in place of the conditional operator: the same arithmetic
// in the same order, so the same bits (see the tests). GCC 12 leaves some of
// those conditionals as branches once SSE4.1 rounding is available (the AVX2
// and AVX-512 paths), and a loop with a branch is not vectorised.
#pragma once

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

namespace coastra::smath {

// c ? a : b, as a mask on the bit patterns.
[[gnu::always_inline]] inline float sel(bool c, float a, float b) {
  const std::uint32_t m = 0U - static_cast<std::uint32_t>(c);
  return std::bit_cast<float>((std::bit_cast<std::uint32_t>(a) & m) |
                              (std::bit_cast<std::uint32_t>(b) & ~m));
}

namespace detail {
constexpr float INF = std::numeric_limits<float>::infinity();
constexpr float QNAN = std::numeric_limits<float>::quiet_NaN();

// floor(t) for |t| < 2^31: truncation, one less for a negative fraction.
[[gnu::always_inline]] inline float floor_small(float t) {
  const float f = static_cast<float>(static_cast<std::int32_t>(t));
  return sel(f > t, f - 1.0F, f);
}
// 2^n for an integer-valued n in [-126, 127], from the exponent bits.
[[gnu::always_inline]] inline float pow2i(float n) {
  return std::bit_cast<float>((static_cast<std::int32_t>(n) + 127) << 23);
}
}  // namespace detail

// e^x: vmath::exp.
[[gnu::always_inline]] inline float exp(float x) {
  const bool nan = x != x;
  float xc = sel(nan, 0.0F, x);
  xc = sel(xc < -87.3F, -87.3F, xc);
  xc = sel(xc > 88.3F, 88.3F, xc);
  const float n = detail::floor_small(1.44269504088896341F * xc + 0.5F);
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
  y = sel(x > 88.7228F, detail::INF, y);
  y = sel(x < -87.3365F, 0.0F, y);
  return sel(nan, x, y);
}

// Natural logarithm: vmath::log.
[[gnu::always_inline]] inline float log(float x) {
  const float xc = sel(x < 1.17549435e-38F, 1.17549435e-38F, x);
  const std::int32_t ix = std::bit_cast<std::int32_t>(xc);
  float e = static_cast<float>((ix >> 23) - 126);
  float mnt = std::bit_cast<float>((ix & 0x007fffff) | 0x3f000000);
  const bool small = mnt < 0.707106781186547524F;
  e = sel(small, e - 1.0F, e);
  mnt = sel(small, mnt + mnt - 1.0F, mnt - 1.0F);
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
  y = sel(x == 0.0F, -detail::INF, y);
  y = sel(x == detail::INF, detail::INF, y);
  return sel(x >= 0.0F, y, detail::QNAN);
}

// x^y for x >= 0: vmath::pow.
[[gnu::always_inline]] inline float pow(float x, float y) { return exp(y * log(x)); }

// Arc tangent (rad): vmath::atan.
[[gnu::always_inline]] inline float atan(float x) {
  const float ax = std::fabs(x);
  const bool big = ax > 2.414213562373095F;
  const bool mid = ax > 0.4142135623730950F;
  const float xr = sel(big, -1.0F / ax, sel(mid, (ax - 1.0F) / (ax + 1.0F), ax));
  const float y0 = sel(big, 1.5707963267948966F, sel(mid, 0.7853981633974483F, 0.0F));
  const float z = xr * xr;
  const float p =
      (((8.05374449538e-2F * z - 1.38776856032E-1F) * z + 1.99777106478E-1F) * z -
       3.33329491539E-1F) * z * xr + xr;
  const float r = y0 + p;
  return sel(x < 0.0F, -r, r);
}

// Arc sine (rad) for |x| <= 1, NaN beyond: vmath::asin.
[[gnu::always_inline]] inline float asin(float x) {
  const float ax = std::fabs(x);
  const bool big = ax > 0.5F;
  const float z = sel(big, 0.5F * (1.0F - ax), ax * ax);
  const float s = sel(big, std::sqrt(z), ax);
  const float p = ((((4.2163199048E-2F * z + 2.4181311049E-2F) * z + 4.5470025998E-2F) * z +
                    7.4953002686E-2F) * z + 1.6666752422E-1F) * z * s + s;
  const float r = sel(big, 1.5707963267948966F - (p + p), p);
  return sel(x < 0.0F, -r, r);
}

// Sine and cosine of one angle (rad), |x| <= 8192, NaN beyond: vmath::sincos.
struct SinCos {
  float s;  // sin x
  float c;  // cos x
};
[[gnu::always_inline]] inline SinCos sincos(float x) {
  const bool bad = !(std::fabs(x) <= 8192.0F);
  const float xc = sel(bad, 0.0F, x);
  const float q = detail::floor_small(xc * 0.63661977236758134F + 0.5F);
  const std::int32_t iq = static_cast<std::int32_t>(q);
  float r = xc - q * 1.5703125F;
  r = r - q * 4.837512969970703125e-4F;
  r = r - q * 7.549789954891882e-8F;
  const float z = r * r;
  const float sp = ((-1.9515295891E-4F * z + 8.3321608736E-3F) * z - 1.6666654611E-1F) * z * r + r;
  const float cp = ((2.443315711809948E-5F * z - 1.388731625493765E-3F) * z +
                    4.166664568298827E-2F) * z * z - 0.5F * z + 1.0F;
  const bool swap = (iq & 1) != 0;
  const float s0 = sel(swap, cp, sp);
  const float c0 = sel(swap, sp, cp);
  float s = sel((iq & 2) != 0, -s0, s0);
  float c = sel(((iq + 1) & 2) != 0, -c0, c0);
  s = sel(bad, detail::QNAN, s);
  c = sel(bad, detail::QNAN, c);
  return SinCos{s, c};
}

}  // namespace coastra::smath

// The branch-free elementary functions against the double-precision library,
// over each function's whole input range: the largest error in units in the
// last place of the float result (relative) or absolute where the result
// passes through zero, and the library's values at the edges.

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

#include "model/vector_math.h"

namespace coastra {
namespace {

// Spacing of floats at |v| (one unit in the last place).
double ulp_at(double v) {
  const float f = static_cast<float>(std::fabs(v));
  return static_cast<double>(std::nextafter(f, std::numeric_limits<float>::infinity()) - f);
}

struct Worst {
  double ulps = 0.0;  // largest |f - exact| / ulp(exact)
  double abs = 0.0;   // largest |f - exact|
};

// Every float of [lo, hi] in `count` geometric (lo > 0) or even steps.
Worst scan(float lo, float hi, int count, bool geometric, const std::function<float(float)>& f,
           const std::function<double(double)>& exact) {
  Worst w;
  for (int j = 0; j <= count; ++j) {
    const double s = static_cast<double>(j) / count;
    const double l = static_cast<double>(lo);
    const double h = static_cast<double>(hi);
    const double xd = geometric ? l * std::pow(h / l, s) : l + (h - l) * s;
    const float x = static_cast<float>(xd);
    const double e = exact(static_cast<double>(x));
    const double d = std::fabs(static_cast<double>(f(x)) - e);
    w.abs = std::max(w.abs, d);
    if (e != 0.0) w.ulps = std::max(w.ulps, d / ulp_at(e));
  }
  return w;
}

constexpr int N = 400000;

TEST(VectorMath, ExpLogPowSinhWithinTheirStatedErrors) {
  const auto vexp = [](float x) { return vmath::exp(x); };
  const auto dexp = [](double x) { return std::exp(x); };
  EXPECT_LE(scan(-87.0F, 88.0F, N, false, vexp, dexp).ulps, 2.0);
  EXPECT_LE(scan(-1.0F, 1.0F, N, false, vexp, dexp).ulps, 2.0);
  const auto vlog = [](float x) { return vmath::log(x); };
  const auto dlog = [](double x) { return std::log(x); };
  EXPECT_LE(scan(1.2e-38F, 3.0e38F, N, true, vlog, dlog).ulps, 2.0);
  // Near 1 the result passes through 0: absolute error.
  EXPECT_LE(scan(0.5F, 2.0F, N, false, vlog, dlog).abs, 1.5e-7);
  // The breaking depth's (cos a / chi)^0.4 over twelve decades of its argument.
  const auto vpow = [](float x) { return vmath::pow(x, 0.4F); };
  const auto dpow = [](double x) { return std::pow(x, 0.4); };
  EXPECT_LE(scan(1.0e-6F, 1.0e6F, N, true, vpow, dpow).ulps, 9.0);
  const auto vsinh = [](float x) { return vmath::sinh_pos(x); };
  const auto dsinh = [](double x) { return std::sinh(x); };
  EXPECT_LE(scan(1.0e-6F, 88.0F, N, true, vsinh, dsinh).ulps, 3.0);
  // Edges as the library has them.
  const float inf = std::numeric_limits<float>::infinity();
  const float nan = std::numeric_limits<float>::quiet_NaN();
  EXPECT_EQ(vmath::exp(0.0F), 1.0F);
  EXPECT_EQ(vmath::exp(inf), inf);
  EXPECT_EQ(vmath::exp(100.0F), inf);
  EXPECT_EQ(vmath::exp(-inf), 0.0F);
  EXPECT_TRUE(std::isnan(vmath::exp(nan)));
  EXPECT_EQ(vmath::log(1.0F), 0.0F);
  EXPECT_EQ(vmath::log(0.0F), -inf);
  EXPECT_EQ(vmath::log(inf), inf);
  EXPECT_TRUE(std::isnan(vmath::log(-1.0F)));
  EXPECT_TRUE(std::isnan(vmath::log(nan)));
  EXPECT_EQ(vmath::pow(0.0F, 0.4F), 0.0F);
}

TEST(VectorMath, AtanAsinSinCosWithinTheirStatedErrors) {
  const auto vatan = [](float x) { return vmath::atan(x); };
  const auto datan = [](double x) { return std::atan(x); };
  EXPECT_LE(scan(-1.0e4F, 1.0e4F, N, false, vatan, datan).ulps, 3.0);
  EXPECT_LE(scan(-3.0F, 3.0F, N, false, vatan, datan).ulps, 3.0);
  EXPECT_LE(scan(1.0e-30F, 1.0e30F, N, true, vatan, datan).ulps, 3.0);
  const auto vasin = [](float x) { return vmath::asin(x); };
  const auto dasin = [](double x) { return std::asin(x); };
  EXPECT_LE(scan(-1.0F, 1.0F, N, false, vasin, dasin).ulps, 2.5);
  EXPECT_LE(scan(1.0e-30F, 1.0F, N, true, vasin, dasin).ulps, 2.5);
  // sin and cos pass through zero: absolute error, over the angles of the
  // model (a few radians) and the whole range the reduction serves.
  const auto vsin = [](float x) { return vmath::sin(x); };
  const auto dsin = [](double x) { return std::sin(x); };
  const auto vcos = [](float x) { return vmath::cos(x); };
  const auto dcos = [](double x) { return std::cos(x); };
  EXPECT_LE(scan(-7.0F, 7.0F, N, false, vsin, dsin).abs, 1.2e-7);
  EXPECT_LE(scan(-7.0F, 7.0F, N, false, vcos, dcos).abs, 1.2e-7);
  EXPECT_LE(scan(-8192.0F, 8192.0F, N, false, vsin, dsin).abs, 1.2e-7);
  EXPECT_LE(scan(-8192.0F, 8192.0F, N, false, vcos, dcos).abs, 1.2e-7);
  // Small angles keep their relative accuracy (sin x ~ x).
  EXPECT_LE(scan(1.0e-20F, 0.7F, N, true, vsin, dsin).ulps, 2.0);
  // Odd symmetry and the edges.
  for (float x : {0.3F, 1.7F, 123.4F}) {
    EXPECT_EQ(vmath::atan(-x), -vmath::atan(x));
    EXPECT_EQ(vmath::sin(-x), -vmath::sin(x));
    EXPECT_EQ(vmath::cos(-x), vmath::cos(x));
  }
  const float inf = std::numeric_limits<float>::infinity();
  EXPECT_FLOAT_EQ(vmath::atan(inf), 1.5707963F);
  EXPECT_FLOAT_EQ(vmath::asin(1.0F), 1.5707963F);
  EXPECT_TRUE(std::isnan(vmath::asin(1.0001F)));
  EXPECT_TRUE(std::isnan(vmath::sin(inf)));
  EXPECT_TRUE(std::isnan(vmath::cos(std::numeric_limits<float>::quiet_NaN())));
}

}  // namespace
}  // namespace coastra

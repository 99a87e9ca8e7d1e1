// The branch-free elementary functions against the double-precision library,
// over each function's whole input range: the largest error in units in the
// last place of the float result (relative) or absolute where the result
// passes through zero, and the library's values at the edges.

#include <gtest/gtest.h>

#include <cmath>
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
Worst scan(float lo, float hi, int count, bool geometric, float (*f)(float),
           double (*exact)(double)) {
  Worst w;
  for (int j = 0; j <= count; ++j) {
    const double s = static_cast<double>(j) / count;
    const double l = static_cast<double>(lo), h = static_cast<double>(hi);
    const double xd = geometric ? l * std::pow(h / l, s) : l + (h - l) * s;
    const float x = static_cast<float>(xd);
    const double e = exact(static_cast<double>(x));
    const double d = std::fabs(static_cast<double>(f(x)) - e);
    w.abs = std::max(w.abs, d);
    if (e != 0.0) w.ulps = std::max(w.ulps, d / ulp_at(e));
  }
  return w;
}

// A branch-free function with its double-precision library form.
struct Fn {
  const char* name;
  float (*f)(float);
  double (*exact)(double);
};
constexpr Fn EXP{"exp", [](float x) { return vmath::exp(x); },
                 [](double x) { return std::exp(x); }};
constexpr Fn LOG{"log", [](float x) { return vmath::log(x); },
                 [](double x) { return std::log(x); }};
// The breaking depth's (cos a / chi)^0.4.
constexpr Fn POW{"pow", [](float x) { return vmath::pow(x, 0.4F); },
                 [](double x) { return std::pow(x, 0.4); }};
constexpr Fn SINH{"sinh", [](float x) { return vmath::sinh_pos(x); },
                  [](double x) { return std::sinh(x); }};
constexpr Fn ATAN{"atan", [](float x) { return vmath::atan(x); },
                  [](double x) { return std::atan(x); }};
constexpr Fn ASIN{"asin", [](float x) { return vmath::asin(x); },
                  [](double x) { return std::asin(x); }};
constexpr Fn SIN{"sin", [](float x) { return vmath::sin(x); },
                 [](double x) { return std::sin(x); }};
constexpr Fn COS{"cos", [](float x) { return vmath::cos(x); },
                 [](double x) { return std::cos(x); }};

TEST(VectorMath, EveryFunctionWithinItsStatedErrorAndAtItsEdges) {
  // Rows: function, range, geometric steps, absolute error (where the result
  // passes through zero: log near 1, sin and cos), bound (ulps or absolute).
  struct Row { Fn fn; float lo, hi; bool geometric, absolute; double bound; };
  const Row rows[] = {
      {EXP, -87.0F, 88.0F, false, false, 2.0},      {EXP, -1.0F, 1.0F, false, false, 2.0},
      {LOG, 1.2e-38F, 3.0e38F, true, false, 2.0},   {LOG, 0.5F, 2.0F, false, true, 1.5e-7},
      {POW, 1.0e-6F, 1.0e6F, true, false, 9.0},     {SINH, 1.0e-6F, 88.0F, true, false, 3.0},
      {ATAN, -1.0e4F, 1.0e4F, false, false, 3.0},   {ATAN, -3.0F, 3.0F, false, false, 3.0},
      {ATAN, 1.0e-30F, 1.0e30F, true, false, 3.0},  {ASIN, -1.0F, 1.0F, false, false, 2.5},
      {ASIN, 1.0e-30F, 1.0F, true, false, 2.5},
      // The angles of the model (a few radians) and the whole range the reduction serves.
      {SIN, -7.0F, 7.0F, false, true, 1.2e-7},      {COS, -7.0F, 7.0F, false, true, 1.2e-7},
      {SIN, -8192.0F, 8192.0F, false, true, 1.2e-7}, {COS, -8192.0F, 8192.0F, false, true, 1.2e-7},
      {SIN, 1.0e-20F, 0.7F, true, false, 2.0},      // small angles: sin x ~ x, relative
  };
  for (const Row& r : rows) {
    const Worst w = scan(r.lo, r.hi, 400000, r.geometric, r.fn.f, r.fn.exact);
    EXPECT_LE(r.absolute ? w.abs : w.ulps, r.bound) << r.fn.name << " " << r.lo << " " << r.hi;
  }
  // Edges as the library has them (NaN where it gives NaN), and odd symmetry.
  const float inf = std::numeric_limits<float>::infinity();
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const std::pair<Fn, float> edges[] = {
      {EXP, 0.0F}, {EXP, inf},   {EXP, 100.0F}, {EXP, -inf},  {EXP, nan},        {LOG, 1.0F},
      {LOG, 0.0F}, {LOG, inf},   {LOG, -1.0F},  {LOG, nan},   {POW, 0.0F},       {ATAN, inf},
      {ASIN, 1.0F}, {ASIN, 1.0001F}, {SIN, inf}, {COS, nan}};
  for (const auto& [fn, x] : edges) {
    const float want = static_cast<float>(fn.exact(static_cast<double>(x)));
    const float got = fn.f(x);
    EXPECT_TRUE(std::isnan(want) ? std::isnan(got) : got == want) << fn.name << " " << x;
  }
  for (float x : {0.3F, 1.7F, 123.4F}) {
    EXPECT_EQ(vmath::atan(-x), -vmath::atan(x));
    EXPECT_EQ(vmath::sin(-x), -vmath::sin(x));
    EXPECT_EQ(vmath::cos(-x), vmath::cos(x));
  }
}

}  // namespace
}  // namespace coastra

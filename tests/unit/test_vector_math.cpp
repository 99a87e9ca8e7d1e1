// The branch-free kernels. The elementary functions against the
// double-precision library, over each function's whole input range: the
// largest error in units in the last place of the float result (relative) or
// absolute where the result passes through zero, and the library's values at
// the edges. Every kernel that has instruction-set variants, on inputs that
// reach its branches, its edges and values that are not numbers: each path of
// this processor must write the baseline path's bits. (What the kernels
// compute is tested against hand values and laws in the tests of each stage.)

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>
#include <random>
#include <vector>

#include "model/simd_path.h"
#include "model/vector_math.h"
#include "support/coast_builder.h"
#include "support/simd_scope.h"
#include "support/structure_coast.h"
#include "transport/shoreline_solver.h"
#include "transport/stability_parameter.h"
#include "transport/transport.h"
#include "waves/breaker.h"
#include "waves/diffraction.h"
#include "waves/final_waves.h"
#include "waves/nearshore.h"
#include "waves/wave_relations.h"

namespace coastra {
namespace {

const float NAN_F = std::numeric_limits<float>::quiet_NaN();

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
  const std::pair<Fn, float> edges[] = {
      {EXP, 0.0F}, {EXP, inf},   {EXP, 100.0F}, {EXP, -inf},  {EXP, NAN_F},      {LOG, 1.0F},
      {LOG, 0.0F}, {LOG, inf},   {LOG, -1.0F},  {LOG, NAN_F}, {POW, 0.0F},       {ATAN, inf},
      {ASIN, 1.0F}, {ASIN, 1.0001F}, {SIN, inf}, {COS, NAN_F}};
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

// Arrays of the state from index lo to hi, one after the other.
template <class... V>
std::vector<float> walls(int lo, int hi, const V&... v) {
  std::vector<float> out;
  for (const Vec1<float>* a : {&v...}) out.insert(out.end(), a->data() + lo, a->data() + hi + 1);
  return out;
}

// Wave numbers from dry to deep water (both sides of the 2kh = 15 and x =
// 0.25 switches), zero, negative and NaN depths, at elements 1..hi only.
std::vector<float> wave_number_pass() {
  std::vector<float> t{0.0F}, h{0.0F};
  for (float tv : {0.5F, 3.3F, 8.0F, 25.0F}) {
    for (float hv = 1.0E-3F; hv < 2000.0F; hv *= 1.2F) t.push_back(tv), h.push_back(hv);
    for (float hv : {0.0F, -1.0F, 0.00999F, 0.01F, NAN_F}) t.push_back(tv), h.push_back(hv);
  }
  std::vector<float> out(3 * t.size(), -7.0F);
  const std::size_t n = t.size();
  wave_numbers(t.data(), h.data(), 1, static_cast<int>(n) - 1, out.data(), out.data() + n,
               out.data() + 2 * n);
  return out;
}

// Breaking of waves of 0.3-4 m, 3-14 s from 4-20 m of water, -89..89 degrees
// to contours at -40..40 degrees; the event at 60 degrees closes the gate at
// the steepest contours; along-shore waves and a NaN contour.
std::vector<float> breaker_pass() {
  std::vector<float> k0{0}, h0{0}, t0{0}, n0{0}, th{0}, phi{0};
  for (float h : {0.3F, 4.0F})
    for (float t : {3.0F, 9.0F, 14.0F})
      for (float d : {4.0F, 20.0F})
        for (float p : {-0.7F, 0.0F, 0.35F, 0.7F, NAN_F})
          for (float a = -1.55F; a <= 1.56F; a += 0.05F) {
            const WaveNumber w = WAVNUM(t, d);
            k0.push_back(w.K), h0.push_back(h), t0.push_back(t), n0.push_back(w.N);
            phi.push_back(p), th.push_back(p + (a > 1.54F ? std::numbers::pi_v<float> / 2.0F : a));
          }
  const std::size_t n = k0.size();
  const int hi = static_cast<int>(n) - 1;
  std::vector<float> out(7 * n, -7.0F);
  float* c02 = out.data();
  float *chi = c02 + n, *hb = chi + n, *thb = hb + n, *db = thb + n, *off = db + n;
  std::vector<int> offi(n, -7);
  breaker_constants(1, hi, 0.78F, k0.data(), h0.data(), t0.data(), n0.data(), c02, chi);
  breaker_lines(1, hi, 60.0F, 0.78F, c02, chi, th.data(), phi.data(), hb, thb, db, offi.data());
  for (std::size_t j = 0; j < n; ++j) off[j] = static_cast<float>(offi[j]);
  return out;
}

// A wave step on a coast of 120 cells with a wavy shoreline and jumps of
// 300 m (slopes of 15 both ways), a groin pair, an inlet and a salient:
// orientation, contour, breaking, merge and smoothing of the final waves.
std::vector<float> wave_step_pass() {
  std::vector<double> y;
  for (int i = 0; i < 120; ++i) y.push_back(40.0 * std::sin(0.3 * i) + (i % 7 == 0 ? 300.0 : 0.0));
  test::Coast c(y, 20.0F);
  c.m.cfg.ISMOOTH = 5;
  c.m.cfg.INLETS = true;
  c.groin(30, 80.0F, 0.2F).groin(31, 60.0F, 0.0F).inlet(60, 62).start();
  c.m.DBMARK(80) = c.m.DBMARK(81) = -1;
  c.offshore(1.5F, 8.0F, 0.5F);
  shoreline_orientation(c.m.cfg, c.m.input(), c.m.transport(), c.m.waves());
  offshore_contour(c.m.cfg, c.m.input(), c.m.transport(), c.m.waves(), c.m.scratch());
  record_checks(c.m.cfg, c.m.waves());
  update_slope(c.m.cfg, c.m.waves(), c.m.transport());
  wave_constants(c.m.waves());
  breaking_waves(c.m.cfg, c.m.input(), c.m.transport(), c.m.waves(), c.m.scratch());
  diffraction(c.m.cfg, c.m.transport(), c.m.structures(), c.m.waves(), c.m.scratch());
  final_waves(c.m.cfg, c.m.transport(), c.m.sources(), c.m.waves(), c.m.scratch());
  const ModelState& m = c.m;
  return walls(1, 121, m.ALPHAS, m.ALPHAW, m.HB, m.THETAB, m.HBD, m.THETABD, m.CGB, m.KB);
}

// Generated coasts of groins and breakwaters of every transmission (walls
// whose iteration takes several passes), one with an inlet over cells 60..70.
std::vector<float> diffraction_pass() {
  std::mt19937 rng(4711);
  std::vector<float> out;
  for (int n = 0; n < 4; ++n) {
    test::DiffractionCoast c(test::random_layout(rng));
    if (n == 0) {
      c.m.cfg.INLETS = true;
      for (int i = 60; i <= 70; ++i) c.m.INLCELL(i) = 1;
      diffraction(c.m.cfg, c.m.transport(), c.m.structures(), c.m.waves(), c.m.scratch());
      for (int i = 61; i <= 70; ++i) EXPECT_EQ(c.m.HBD(i), 0.0F) << i;   // no wave inside
      EXPECT_GT(c.m.HBD(60), 0.0F);
    }
    const std::vector<float> w = walls(1, c.m.cfg.NX + 1, c.m.HBD, c.m.THETABD, c.m.dif_kd1, c.m.dif_kd2);
    out.insert(out.end(), w.begin(), w.end());
  }
  return out;
}

// Generated coasts with groins of every wall code, shadow zones with cells at
// or past their line, K1 = 0 walls, tide, waves from behind on both sides and
// a breaking height that is not a number; then the shoreline update with
// sources, a seawall and an inlet.
std::vector<float> transport_pass() {
  std::mt19937 rng(1307);
  auto u = [&rng](float lo, float hi) { return std::uniform_real_distribution<float>(lo, hi)(rng); };
  auto pick = [&rng](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
  std::vector<float> out;
  for (int trial = 0; trial < 12; ++trial) {
    const int nx = 6 + pick(70);
    test::Coast c(nx);
    ModelState& m = c.m;
    for (int g = 4 + pick(4); g <= nx - 2; g += 3 + pick(12)) c.groin(g, 100.0F, 0.3F);
    for (int i = 1; i <= nx + 1; ++i) m.cfg.K1(i) = pick(9) == 0 ? 0.0F : u(0.1F, 1.0F);
    for (int i = 1; i <= nx; ++i) m.YINIT(i) = u(-20.0F, 20.0F);
    c.seawall(2, 3, -30.0F, -15.0F).inlet(nx - 2, nx - 2).start();
    for (int i = 1; i <= nx + 1; ++i) {
      m.HBD(i) = u(0.0F, 3.0F);
      m.CGB(i) = u(0.5F, 6.0F);
      m.ALPHAS(i) = u(-0.3F, 0.3F);
      m.THETABD(i) = pick(15) == 0 ? u(-3.0F, 3.0F) : u(-1.0F, 1.0F);
      m.UTIDE(i) = pick(3) == 0 ? u(-0.5F, 0.5F) : 0.0F;
      m.IGRADOFF(i) = pick(12) == 0 ? 1 : 0;
    }
    for (int i = 1; i <= nx; ++i) m.QSRC(i) = u(-2e-5F, 2e-5F);
    for (int k = 1; k <= m.NGRO; ++k) m.WALLTYPE(m.IXG(k)) = pick(2) == 0 ? 1 : 3;
    const int first = 1 + pick(nx), last = std::min(nx, first + pick(8));
    for (int j = first; j <= last; ++j) {   // a shadow zone, some cells at or past their line
      const int marks[4] = {1, 1, -1, -2};
      m.DBMARK(j) = marks[pick(4)];
      m.YDBW(j) = m.YSHORE(j) + static_cast<double>(pick(4) == 0 ? u(-5.0F, 0.0F) : u(0.5F, 60.0F));
    }
    if (trial % 6 == 5) m.HBD(1 + pick(nx + 1)) = NAN_F;
    transport_step(m.cfg, m.input(), m.waves(), m.transport(), m.scratch());
    update_shoreline(m.cfg, m.transport(), m.sources(), m.scratch());
    const std::vector<float> w = walls(1, nx + 1, m.QLS, m.QDBX, m.THETAREL);
    out.insert(out.end(), w.begin(), w.end());
    for (int i = 1; i <= nx; ++i) out.push_back(static_cast<float>(m.YSHORE(i)));
  }
  return out;
}

// The stability parameter over random wave fields, some longer than 256
// walls, some with celerities that are not numbers.
std::vector<float> stability_pass() {
  std::mt19937 gen(20260101);
  auto u = [&gen](float lo, float hi) { return std::uniform_real_distribution<float>(lo, hi)(gen); };
  std::vector<float> out;
  for (int trial = 0; trial < 40; ++trial) {
    const int nx = 2 + static_cast<int>(gen() % (trial % 4 == 0 ? 690 : 30));
    test::Coast c(nx);
    ModelState& m = c.m;
    for (int i = 1; i <= nx + 1; ++i) {
      m.HBD(i) = u(0.0F, 3.0F), m.THETABD(i) = u(-1.2F, 1.2F), m.CGB(i) = u(0.5F, 8.0F);
      m.A1W(i) = u(0.0F, 0.03F), m.K2C(i) = u(0.0F, 1.0F), m.cfg.DX(i) = u(5.0F, 100.0F);
      m.cfg.BERMHT(i) = u(0.5F, 3.0F), m.cfg.DCLOS(i) = u(2.0F, 12.0F);
    }
    if (trial % 8 == 7) m.CGB(2 + static_cast<int>(gen() % (nx - 1))) = NAN_F;
    const StabilityTerms s = stability_parameter(
        nx, u(0.01F, 24.0F), stability_walls(m.cfg, m.waves(), m.transport(), m.stability()));
    out.insert(out.end(), {s.S1, s.S2});
  }
  return out;
}

// The outputs of run on path p as bit patterns (NaN and the sign of zero count).
std::vector<std::uint32_t> bits_on(SimdPath p, std::vector<float> (*run)()) {
  const test::SimdPathScope scope(p);
  std::vector<std::uint32_t> out;
  for (float v : run()) out.push_back(std::bit_cast<std::uint32_t>(v));
  return out;
}

// Every pass on every supported path against the baseline path; the first
// differing output of a pass is reported by its index.
TEST(KernelPaths, EveryKernelWritesTheBaselineBitsOnEveryPath) {
  const std::pair<const char*, std::vector<float> (*)()> passes[] = {
      {"wave numbers", wave_number_pass},
      {"breaking", breaker_pass},
      {"wave step", wave_step_pass},
      {"diffraction stage", diffraction_pass},
      {"transport and shoreline update", transport_pass},
      {"stability parameter", stability_pass}};
  for (const auto& [name, run] : passes) {
    const std::vector<std::uint32_t> base = bits_on(SimdPath::BASELINE, run);
    EXPECT_FALSE(base.empty()) << name;
    for (SimdPath p : {SimdPath::AVX2, SimdPath::AVX512}) {
      if (!simd_path_supported(p)) continue;
      const std::vector<std::uint32_t> other = bits_on(p, run);
      ASSERT_EQ(other.size(), base.size()) << name;
      const auto at = std::mismatch(base.begin(), base.end(), other.begin()).first;
      EXPECT_EQ(at, base.end()) << name << " on " << simd_path_name(p) << " differs at output "
                                << (at - base.begin());
    }
  }
}

}  // namespace
}  // namespace coastra

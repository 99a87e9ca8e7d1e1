// The stability parameter S = S1 + S2 of the explicit shoreline update, from
// the breaking waves and the grid (stability_parameter), read by the adaptive
// time step (driver/stability.cpp); the time factors of the cells for a step
// (form_stability_factors).

#include "transport/stability_parameter.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "model/oblique_transport.h"
#include "model/simd_path.h"
#include "model/vector_math.h"

namespace coastra {
namespace {

// F = dt / (DX^2 (berm height + closure depth)) with dt in seconds (s/m3),
// formed in double precision and rounded to single precision.
[[gnu::always_inline]] inline float time_factor(double dts, float dx, float berm, float dclos) {
  const double d = static_cast<double>(dx);
  const double h = static_cast<double>(berm) + static_cast<double>(dclos);
  return static_cast<float>(dts / (d * d * h));
}

}  // namespace

namespace {

// Walls per block of the stability parameter's passes: the per-wall terms of a
// block are formed in one straight-line pass into a buffer on the stack with
// the block's largest values; only a block whose largest value exceeds the
// running one is scanned in wall order. The largest values and their walls
// are then those of a scan of every wall (the first wall on ties), on every
// path: a NaN term never counts (it is taken as -inf for the block's
// largest value, and a comparison with it is false in the scan), and a block
// largest value of either signed zero changes nothing, since the running
// values start at 0 or at the first wall's term and only grow.
constexpr int STAB_BLOCK = 256;
constexpr float MINUS_INF = -std::numeric_limits<float>::infinity();

// Largest values of a block (max of non-NaN values; -inf when none).
struct BlockMax {
  float t;   // of the oblique-wave terms, or of the height rises
  float e;   // of HBD^2 CGB
};

// F of walls lo..hi at f[i - lo].
[[gnu::always_inline]] inline void time_factor_body(int lo, int hi, double dts,
                                                    const float* __restrict dx,
                                                    const float* __restrict berm,
                                                    const float* __restrict dclos,
                                                    float* __restrict f) {
#pragma omp simd
  for (int i = lo; i <= hi; ++i) f[i - lo] = time_factor(dts, dx[i], berm[i], dclos[i]);
}

// Oblique-wave terms of walls lo..hi: t = 2 HBD^2 A1W CGB F and e = HBD^2 CGB,
// each at [i - lo], and their largest values; wall i's F at f[i - from].
[[gnu::always_inline]] inline void oblique_terms_body(
    int lo, int hi, int from, const float* __restrict f, const float* __restrict hbd,
    const float* __restrict cgb, const float* __restrict a1w, float* __restrict t,
    float* __restrict e, BlockMax* __restrict big) {
  float mt = MINUS_INF;
  float me = MINUS_INF;
#pragma omp simd reduction(max : mt, me)
  for (int i = lo; i <= hi; ++i) {
    const float fi = f[i - from];
    const float hb = hbd[i];
    const float ei = hb * hb * cgb[i];
    // Slope of A1W HB^2 CGB sin 2theta at theta = 0 (m3/s per rad) times F.
    const float ti = 2.0F * oblique_amplitude(a1w[i], hb, cgb[i]) * fi;
    e[i - lo] = ei;
    t[i - lo] = ti;
    const float ec = ei == ei ? ei : MINUS_INF;
    const float tc = ti == ti ? ti : MINUS_INF;
    me = ec > me ? ec : me;
    mt = tc > mt ? tc : mt;
  }
  *big = BlockMax{mt, me};
}

// Alongshore rise of the height in the wave direction at walls lo..hi:
// v = sin(THETABD) (HBD(i+1) - HBD(i-1)) at [i - lo], and the largest.
[[gnu::always_inline]] inline void height_rise_body(int lo, int hi,
                                                    const float* __restrict theta,
                                                    const float* __restrict hbd,
                                                    float* __restrict v,
                                                    BlockMax* __restrict big) {
  float mv = MINUS_INF;
#pragma omp simd reduction(max : mv)
  for (int i = lo; i <= hi; ++i) {
    const float vi = vmath::sin(theta[i]) * (hbd[i + 1] - hbd[i - 1]);
    v[i - lo] = vi;
    const float vc = vi == vi ? vi : MINUS_INF;
    mv = vc > mv ? vc : mv;
  }
  *big = BlockMax{mv, MINUS_INF};
}

}  // namespace

namespace {

// The largest value of a scan of walls in order, and its wall (the first on
// ties; a NaN never counts).
struct Largest {
  float v;
  int wall;
};

// The first wall a..b whose value v[i - a] equals the block's largest value
// big (which the block holds): where a scan of the block, taking each value
// above the largest so far, stops moving. (Only at the sign of a zero could
// the block's value differ from big; the wall is the same.)
int first_equal(const float* v, int a, int b, float big) {
  int i = a;
  while (i < b && !(v[i - a] == big)) ++i;
  return i;
}

// S1 terms over walls lo..hi, block by block: the largest term (from s1, NaN
// never counts) and the largest HBD^2 CGB with its wall (from `e`).
struct ObliquePart {
  float s1;
  Largest e;
};
ObliquePart oblique_part(int lo, int hi, double dts, const StabilityWalls& w, bool cached,
                         ObliquePart r) {
  float t[STAB_BLOCK];
  float e[STAB_BLOCK];
  float f[STAB_BLOCK];
  BlockMax big{};
  for (int a = lo; a <= hi; a += STAB_BLOCK) {
    const int b = std::min(hi, a + STAB_BLOCK - 1);
    if (cached) {
      run_kernel<oblique_terms_body>(a, b, 0, w.F->data(), w.HBD.data(), w.CGB.data(),
                                             w.A1W.data(), t, e, &big);
    } else {
      run_kernel<time_factor_body>(a, b, dts, w.DX.data(), w.BERMHT.data(),
                                           w.DCLOS.data(), f);
      run_kernel<oblique_terms_body>(a, b, a, f, w.HBD.data(), w.CGB.data(),
                                             w.A1W.data(), t, e, &big);
    }
    r.s1 = std::max(r.s1, big.t);
    if (big.e > r.e.v) r.e = {big.e, first_equal(e, a, b, big.e)};
  }
  return r;
}

// The steepest rise of the height over walls lo..hi, block by block (from r).
Largest rise_part(int lo, int hi, const StabilityWalls& w, Largest r) {
  float t[STAB_BLOCK];
  BlockMax big{};
  for (int a = lo; a <= hi; a += STAB_BLOCK) {
    const int b = std::min(hi, a + STAB_BLOCK - 1);
    run_kernel<height_rise_body>(a, b, w.THETABD.data(), w.HBD.data(), t, &big);
    if (big.t > r.v) r = {big.t, first_equal(t, a, b, big.t)};
  }
  return r;
}

}  // namespace

StabilityTerms stability_parameter(int nx, float dt, const StabilityWalls& w) {
  const double dts = 3600.0 * static_cast<double>(dt);  // step (s)
  // 1-2. S1: the largest 2 HBD^2 A1W CGB F over walls 1..N-1. Design note: the
  // largest of the whole term rather than the term at the wall of largest
  // HBD^2 CGB; on a uniform grid they agree, on a variable grid a narrow cell
  // (large F) is not missed. Wall j of the largest HBD^2 CGB (the first on
  // ties) still selects whether the gradient term counts.
  // F formed for this step (set-up and each change of DT), or formed here.
  const bool cached = w.F != nullptr && dt == w.F_DT;
  const ObliquePart oblique = oblique_part(1, nx - 1, dts, w, cached,
                                           {0.0F, {w.HBD(1) * w.HBD(1) * w.CGB(1), 1}});
  const float s1 = oblique.s1;
  const int j = oblique.e.wall;
  // 3. No gradient term where the K2 coefficient is negligible.
  if (w.K2C(j) < 0.001F) return {s1, 0.0F};
  // 4. The wall of the steepest alongshore rise of the height in the wave
  // direction over walls 2..NX; nothing when every value is 0 or negative.
  const Largest r = nx >= 2 ? rise_part(2, nx, w, {0.0F, 1}) : Largest{0.0F, 1};
  const int k = r.wall;
  const float big_m = r.v;
  // 5. S2 at that wall.
  const float h = w.HBD(k);
  const float s2 =
      h * h * w.K2C(k) * w.CGB(k) * time_factor(dts, w.DX(k), w.BERMHT(k), w.DCLOS(k)) * big_m /
      (2.0F * w.DX(k));
  return {s1, s2};
}

StabilityWalls stability_walls(const Settings& cfg, const WaveState& wv, const TransportState& tr,
                               const StabilityState& stab) {
  return {wv.HBD, wv.THETABD, wv.CGB, tr.A1W, tr.K2C, cfg.DX, cfg.BERMHT, cfg.DCLOS,
          &stab.STABF, stab.STABFDT};
}

void form_stability_factors(const Vec1<float>& dx, const Vec1<float>& bermht,
                            const Vec1<float>& dclos, int n, float dt, Vec1<float>& f) {
  const double dts = 3600.0 * static_cast<double>(dt);  // step (s)
  for (int i = 1; i <= n; ++i) f(i) = time_factor(dts, dx(i), bermht(i), dclos(i));
}

}  // namespace coastra

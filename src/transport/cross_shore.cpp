// The cross-shore equilibrium response. Each cell's shoreline carries an
// excursion Yc that relaxes towards the equilibrium of the wave energy E at
// the cell (Yates, Guza and O'Reilly 2009):
//   Yeq = -XSS (E - XSEREF),  dYc/dt = k sqrt(E) (Yeq - Yc),
// k = XSKACC when the beach accretes (Yeq > Yc), else XSKERO. Over a step of
// dt days under constant E the solution is exact:
//   Yc(t + dt) = Yc + (Yeq - Yc) (1 - exp(-k sqrt(E) dt)).
// E is the squared wave height at the input depth (m2), the mean of the cell's
// two walls; behind a breakwater or a diffracting groin it is scaled by the
// square of the ratio of the final to the undiffracted breaking height.
// Routines: cross_shore_relaxation, setup_cross_shore, cross_shore_response.

#include "transport/cross_shore.h"

#include <algorithm>
#include <cmath>

#include "model/simd_path.h"
#include "model/vector_math.h"

namespace coastra {

namespace {

constexpr float HOURS_PER_DAY = 24.0F;

// 1 - e^-x for x >= 0, accurate to single precision also for the tiny x of
// short steps (a 6-minute step under a slow rate has x ~ 1e-5, where 1 - e^-x
// formed from a rounded e^-x would lose a third of its digits, and the error
// would add up over the steps): the series below x = 1/64, whose first term
// left out is below 4e-11 relative there. SERIES: the caller knows that x
// lies below 1/64 (the same bits as the select, without the exponential).
constexpr float SERIES_BELOW = 0.015625F;
template <bool SERIES>
[[gnu::always_inline]] inline float one_minus_exp_neg(float x) {
  const float series = x * (1.0F - x * (0.5F - x * (1.0F / 6.0F - x * (1.0F / 24.0F))));
  if constexpr (SERIES) return series;
  return vmath::select(x < SERIES_BELOW, series, 1.0F - vmath::exp(-x));
}

// The share of the gap to the equilibrium closed in dt days at the rate k
// (1/(m day)) under waves of height sqrt(E) (m).
template <bool SERIES>
[[gnu::always_inline]] inline float closed_share(float k, float sqrt_e, float dt_days) {
  return one_minus_exp_neg<SERIES>(k * sqrt_e * dt_days);
}

// The change of the excursion in one step (m), closing the share q of the
// gap. Written as (Yeq - Yc) q rather than Yeq + (Yc - Yeq)(1 - q), so that
// no energy (q = 0) leaves the excursion exactly as it is: a calm record
// moves nothing, not even by round-off.
[[gnu::always_inline]] inline double relaxation_step(double yc, double yeq, float q) {
  return (yeq - yc) * static_cast<double>(q);
}

// The per-cell parameters of the response (per wall arrays, read at the
// cell's left wall as the berm height and closure depth are).
struct Response {
  const float* xss;    // shoreline per wave energy (m/m2)
  const float* eref;   // reference energy (m2)
  const float* kacc;   // accretion rate (1/(m day))
  const float* kero;   // erosion rate (1/(m day))
};

// What the record's waves give cell i: the energy E (m2), the mean of the
// two walls' squared heights times their energy factors, its equilibrium
// *yeq and the share *q of the gap a step of dt days closes, at the accretion
// rate when the equilibrium lies seaward of the excursion yc, else the
// erosion rate. The excursion never crosses the equilibrium of a record (each
// step closes a share below 1 of the gap, and a hold only closes less), so
// the rate chosen for the record holds for every step of it. An inlet cell,
// which the inlet holds where it is, gets the share 0.
template <bool SERIES>
[[gnu::always_inline]] inline void record_cell(int i, const float* __restrict hrf,
                                               const float* __restrict shade,
                                               const int* __restrict inlcell, const Response& p,
                                               float dt_days, double yc, double* yeq, float* q) {
  const float hl = hrf[i], hr = hrf[i + 1];
  const float e = 0.5F * (hl * hl * shade[i] + hr * hr * shade[i + 1]);
  const double eq = -static_cast<double>(p.xss[i] * (e - p.eref[i]));
  const float k = vmath::select(eq > yc, p.kacc[i], p.kero[i]);
  *yeq = eq;
  *q = vmath::select(inlcell[i] == 0, closed_share<SERIES>(k, std::sqrt(e), dt_days), 0.0F);
}

// One step of a cell: the excursion's change, the shoreline moved by it
// within the cell's holds (never landward of its seawall line, never seaward
// of its breakwater line, unless already there), and what was applied added
// to the excursion. The excursion is then the sum of what was applied, so
// recovery after a hold starts from where the beach was held.
[[gnu::always_inline]] inline void step_cell(double yeq, float q, double yswall, double ydbw,
                                             double* y, double* yc) {
  const double d = relaxation_step(*yc, yeq, q);
  const double y0 = *y;
  const double floor = yswall < y0 ? yswall : y0;   // min(YSWALL, y0)
  const double cap = ydbw > y0 ? ydbw : y0;         // max(YDBW, y0)
  double yn = y0 + d;
  yn = yn < floor ? floor : yn;
  yn = yn > cap ? cap : yn;
  *y = yn;
  *yc += yn - y0;
}

// A step of cells lo..hi under the record's values as formed.
[[gnu::always_inline]] inline void response_body(
    int lo, int hi, const double* __restrict yeq, const float* __restrict q,
    const double* __restrict yswall, const double* __restrict ydbw, double* __restrict y,
    double* __restrict yc) {
#pragma omp simd
  for (int i = lo; i <= hi; ++i) step_cell(yeq[i], q[i], yswall[i], ydbw[i], &y[i], &yc[i]);
}

// The record's values of cells lo..hi formed and kept, and the step taken
// with them in the same pass.
template <bool SERIES>
[[gnu::always_inline]] inline void record_response_body(
    int lo, int hi, const float* __restrict hrf, const float* __restrict shade,
    const int* __restrict inlcell, Response p, float dt_days, double* __restrict yeq,
    float* __restrict q, const double* __restrict yswall, const double* __restrict ydbw,
    double* __restrict y, double* __restrict yc) {
#pragma omp simd
  for (int i = lo; i <= hi; ++i) {
    double eq;
    float share;
    record_cell<SERIES>(i, hrf, shade, inlcell, p, dt_days, yc[i], &eq, &share);
    yeq[i] = eq;
    q[i] = share;
    step_cell(eq, share, yswall[i], ydbw[i], &y[i], &yc[i]);
  }
}

// The largest of h over lo..hi (m; 0 for none).
[[gnu::always_inline]] inline void largest_body(int lo, int hi, const float* __restrict h,
                                                float* largest) {
  float top = 0.0F;
#pragma omp simd reduction(max : top)
  for (int i = lo; i <= hi; ++i) top = h[i] > top ? h[i] : top;
  *largest = top;
}

// XSSHADE of walls lo..hi from the breaking heights of the step: the share of
// the open-water wave energy that reaches the wall.
[[gnu::always_inline]] inline void shade_body(int lo, int hi, const float* __restrict hb,
                                              const float* __restrict hbd,
                                              float* __restrict shade) {
#pragma omp simd
  for (int i = lo; i <= hi; ++i) {
    const float h = hb[i];
    const float ratio = hbd[i] / vmath::select(h > 0.0F, h, 1.0F);
    shade[i] = vmath::select(h > 0.0F, ratio * ratio, 1.0F);
  }
}

}  // namespace

double cross_shore_relaxation(double yc, float h, float xss, float eref, float kacc, float kero,
                              float dt_days) {
  // One cell between two walls of height h in open water (index 0 unused).
  const float hrf[3] = {0.0F, h, h}, shade[3] = {0.0F, 1.0F, 1.0F};
  const float s[2] = {0.0F, xss}, r[2] = {0.0F, eref}, ka[2] = {0.0F, kacc}, ke[2] = {0.0F, kero};
  const int inlcell[2] = {0, 0};
  double yeq = 0.0;
  float q = 0.0F;
  record_cell<false>(1, hrf, shade, inlcell, Response{s, r, ka, ke}, dt_days, yc, &yeq, &q);
  return yc + relaxation_step(yc, yeq, q);
}

void request_cross_shore(CrossShoreState& xs) { xs.XSDUE = true; }

void setup_cross_shore(const Settings& cfg, CrossShoreState& xs) {
  xs.XSKMAX = 0.0F;
  for (int i = 1; i <= cfg.NX + 1; ++i) {
    xs.XSSHADE(i) = 1.0F;
    xs.XSKMAX = std::max({xs.XSKMAX, cfg.XSKACC(i), cfg.XSKERO(i)});
  }
}

void cross_shore_response(const Settings& cfg, const RunState& run, const WaveState& wv,
                          const StepState& step, TransportState& tr, CrossShoreState& xs) {
  if (cfg.XSHORE == 0) return;
  const int nx = cfg.NX;
  // Design note: only diffraction makes the final breaking height differ from
  // the undiffracted one, so the open coast keeps the factor 1 exactly; a calm
  // step (no breaking computed) keeps the factors of the last wave step.
  const bool shaded = cfg.NDB > 0 || cfg.NDG > 0;
  if (!run.CALM && shaded) {
    run_kernel<shade_body>(1, nx + 1, static_cast<const float*>(wv.HB.data()),
                           static_cast<const float*>(wv.HBD.data()), xs.XSSHADE.data());
    xs.XSDUE = true;
  }
  // The record's equilibrium and share, formed in the step's own pass after
  // a new record, a new DT (adaptive step) or new energy factors; kept for
  // the record's later steps.
  const double* yswall = tr.YSWALL.data();
  const double* ydbw = tr.YDBW.data();
  if (xs.XSDUE || xs.XSDT != step.DT) {
    // Short steps and slow rates keep every cell's exponent below the series
    // bound (checked against the largest rate and height of the coast, with
    // a margin for rounding; open water only, where no energy factor exceeds
    // 1): the pass then forms no exponential, with the same bits.
    const float dt_days = step.DT / HOURS_PER_DAY;
    bool series = !shaded;
    if (series) {
      float hmax = 0.0F;
      run_kernel<largest_body>(1, nx + 1, static_cast<const float*>(wv.HRF.data()), &hmax);
      series = xs.XSKMAX * hmax * dt_days < 0.99F * SERIES_BELOW;
    }
    const auto* hrf = static_cast<const float*>(wv.HRF.data());
    const auto* shade = static_cast<const float*>(xs.XSSHADE.data());
    const auto* inlcell = static_cast<const int*>(tr.INLCELL.data());
    const Response p{cfg.XSS.data(), cfg.XSEREF.data(), cfg.XSKACC.data(), cfg.XSKERO.data()};
    if (series)
      run_kernel<record_response_body<true>>(1, nx, hrf, shade, inlcell, p, dt_days,
                                             xs.XSEQ.data(), xs.XSQ.data(), yswall, ydbw,
                                             tr.YSHORE.data(), xs.YC.data());
    else
      run_kernel<record_response_body<false>>(1, nx, hrf, shade, inlcell, p, dt_days,
                                              xs.XSEQ.data(), xs.XSQ.data(), yswall, ydbw,
                                              tr.YSHORE.data(), xs.YC.data());
    xs.XSDUE = false;
    xs.XSDT = step.DT;
    return;
  }
  run_kernel<response_body>(1, nx, static_cast<const double*>(xs.XSEQ.data()),
                            static_cast<const float*>(xs.XSQ.data()), yswall, ydbw,
                            tr.YSHORE.data(), xs.YC.data());
}

}  // namespace coastra

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
// left out is below 4e-11 relative there.
[[gnu::always_inline]] inline float one_minus_exp_neg(float x) {
  constexpr float SERIES_BELOW = 0.015625F;
  const float series = x * (1.0F - x * (0.5F - x * (1.0F / 6.0F - x * (1.0F / 24.0F))));
  return vmath::select(x < SERIES_BELOW, series, 1.0F - vmath::exp(-x));
}

// The change of the excursion over dt days (m). Written as (Yeq - Yc)(1 - r)
// rather than Yeq + (Yc - Yeq) r, so that no energy (r = 1) leaves the
// excursion exactly as it is: a calm record moves nothing, not even by
// round-off.
[[gnu::always_inline]] inline double relaxation_step(double yc, float e, float xss, float eref,
                                                     float kacc, float kero, float dt_days) {
  const double yeq = -static_cast<double>(xss * (e - eref));
  const float k = vmath::select(yeq > yc, kacc, kero);
  return (yeq - yc) * static_cast<double>(one_minus_exp_neg(k * std::sqrt(e) * dt_days));
}

// The per-cell parameters of the response (per wall arrays, read at the
// cell's left wall as the berm height and closure depth are).
struct Response {
  const float* xss;    // shoreline per wave energy (m/m2)
  const float* eref;   // reference energy (m2)
  const float* kacc;   // accretion rate (1/(m day))
  const float* kero;   // erosion rate (1/(m day))
};

// One step of every cell lo..hi: the excursion's change, the shoreline moved
// by it within the cell's holds (never landward of its seawall line, never
// seaward of its breakwater line, unless already there), and what was applied
// booked as excursion and as sand taken from or given to the profile.
[[gnu::always_inline]] inline void response_body(
    int lo, int hi, const float* __restrict hrf, const float* __restrict shade, Response p,
    float dt_days, const int* __restrict inlcell, const double* __restrict yswall,
    const double* __restrict ydbw, const float* __restrict dx, const float* __restrict berm,
    const float* __restrict dclos, double* __restrict y, double* __restrict yc,
    double* __restrict vx) {
#pragma omp simd
  for (int i = lo; i <= hi; ++i) {
    const float hl = hrf[i], hr = hrf[i + 1];
    const float e = 0.5F * (hl * hl * shade[i] + hr * hr * shade[i + 1]);
    const double d = relaxation_step(yc[i], e, p.xss[i], p.eref[i], p.kacc[i], p.kero[i], dt_days);
    const double y0 = y[i];
    const double floor = yswall[i] < y0 ? yswall[i] : y0;   // min(YSWALL, y0)
    const double cap = ydbw[i] > y0 ? ydbw[i] : y0;         // max(YDBW, y0)
    double yn = y0 + d;
    yn = yn < floor ? floor : yn;
    yn = yn > cap ? cap : yn;
    const double applied = inlcell[i] == 0 ? yn - y0 : 0.0;
    y[i] = y0 + applied;
    yc[i] += applied;
    vx[i] += applied * static_cast<double>((berm[i] + dclos[i]) * dx[i]);
  }
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

double cross_shore_relaxation(double yc, float e, float xss, float eref, float kacc, float kero,
                              float dt_days) {
  return yc + relaxation_step(yc, e, xss, eref, kacc, kero, dt_days);
}

void setup_cross_shore(ModelState& m) {
  for (int i = 1; i <= m.cfg.NX + 1; ++i) m.XSSHADE(i) = 1.0F;
}

void cross_shore_response(ModelState& m) {
  const Settings& c = m.cfg;
  if (c.XSHORE == 0) return;
  const int nx = c.NX;
  // Design note: only diffraction makes the final breaking height differ from
  // the undiffracted one, so the open coast keeps the factor 1 exactly; a calm
  // step (no breaking computed) keeps the factors of the last wave step.
  if (!m.CALM && (c.NDB > 0 || c.NDG > 0))
    run_kernel<shade_body>(1, nx + 1, static_cast<const float*>(m.HB.data()),
                           static_cast<const float*>(m.HBD.data()), m.XSSHADE.data());
  run_kernel<response_body>(
      1, nx, static_cast<const float*>(m.HRF.data()), static_cast<const float*>(m.XSSHADE.data()),
      Response{c.XSS.data(), c.XSEREF.data(), c.XSKACC.data(), c.XSKERO.data()},
      c.DT / HOURS_PER_DAY, static_cast<const int*>(m.INLCELL.data()),
      static_cast<const double*>(m.YSWALL.data()), static_cast<const double*>(m.YDBW.data()),
      c.DX.data(), c.BERMHT.data(), c.DCLOS.data(), m.YSHORE.data(), m.YC.data(),
      m.VXSHORE.data());
}

}  // namespace coastra

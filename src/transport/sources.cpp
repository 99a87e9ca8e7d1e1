// Sources and sinks of the step: QSRC from the bypass operations and events in
// force, the beach fills on the shoreline, and the books of what was actually
// placed and removed in every cell.
// Routines: window_active, bypass_sources, apply_fills, book_sources.

#include "transport/sources.h"

#include <algorithm>

#include "model/array_kernels.h"
#include "model/simd_path.h"

namespace coastra {
namespace {

// The books of one step at every cell: a fill's change as placed or excavated
// sand (and the fill's change cleared), a source's applied change as placed
// or removed sand (m3). A book takes no entry where its condition fails (a
// select, so the loop has no branch).
struct Books {
  double* __restrict fill;     // VFILL
  double* __restrict excav;    // VEXCAV
  double* __restrict src;      // VBPSRC
  double* __restrict sink;     // VBPSINK
};
// (fills is an int, not a bool: GCC 12 leaves the loop scalar with a bool in
// the selects of doubles.)
[[gnu::always_inline]] inline void book_body(int lo, int hi, int fills, const float* __restrict dx,
                                             const float* __restrict bermht,
                                             const float* __restrict dclos,
                                             double* __restrict dyfill,
                                             const double* __restrict dysrc,
                                             const double* __restrict qsrc, Books b) {
#pragma omp simd
  for (int i = lo; i <= hi; ++i) {
    // (m3 per m of shoreline change): cell width x active profile height
    const double vol = static_cast<double>(dx[i]) *
                       (static_cast<double>(bermht[i]) + static_cast<double>(dclos[i]));
    const double dy = dyfill[i];
    const double dyf = fills != 0 ? dy : 0.0;
    const double f = b.fill[i], e = b.excav[i], s = b.src[i], k = b.sink[i];
    b.fill[i] = dyf > 0.0 ? f + dyf * vol : f;
    b.excav[i] = dyf < 0.0 ? e - dyf * vol : e;
    dyfill[i] = fills != 0 ? 0.0 : dy;
    const double dys = dysrc[i];
    const double q = qsrc[i];
    b.src[i] = q > 0.0 ? s + dys * vol : s;
    b.sink[i] = q < 0.0 ? k - dys * vol : k;
  }
}

// *any: whether some cell has a fill change or a source this step.
[[gnu::always_inline]] inline void any_booking_body(int lo, int hi, const double* __restrict dyfill,
                                                    const double* __restrict qsrc, int* any) {
  int a = 0;
#pragma omp simd reduction(| : a)
  for (int i = lo; i <= hi; ++i)
    a |= static_cast<int>(dyfill[i] != 0.0) | static_cast<int>(qsrc[i] != 0.0);
  *any = a;
}

}  // namespace

bool window_active(double elapsed, double h0, double h1, double dt) {
  const double eps = 1.0e-6 * dt;
  return elapsed >= h0 - eps && elapsed < h1 - eps;
}

// Design note: every rate is held per hour after set-up and divided by 3600
// here, once, into m3/s per metre of beach. Events are in date order and do
// not overlap, so one pointer walks the list; events that ended are passed
// over (also after a change of DT), and the list is not cycled.
void bypass_sources(const Settings& cfg, const RunState& run, const StepState& step,
                    TransportState& tr, SourceState& src) {
  const double t = run.ELAPSED;
  const double dt = static_cast<double>(step.DT);
  for (int k = 1; k <= std::min(cfg.NBP, MXBP); ++k) {
    if (!window_active(t, src.BPH0(k), src.BPH1(k), dt)) continue;
    const double q = src.QBPM(k) / 3600.0;
    for (int i = cfg.IBPS(k); i <= cfg.IBPE(k); ++i) tr.QSRC(i) += q;
  }
  while (src.IBPEV <= src.NBPEV && !(t < src.EVH1(src.IBPEV) - 1.0e-6 * dt)) ++src.IBPEV;
  const int n = src.IBPEV;
  if (n > src.NBPEV || !window_active(t, src.EVH0(n), src.EVH1(n), dt)) return;
  for (int i = src.EVC1(n); i <= src.EVC2(n); ++i) {
    const int r = src.EVNR(n) == 1 ? 1 : i - src.EVC1(n) + 1;
    tr.QSRC(i) += src.QEV(src.EVOFF(n) + r) / 3600.0;
  }
}

// Design note: a fill lifts its cells whatever lies there; an excavation (or
// the sum of the step's fills on a cell, when negative) stops at the seawall
// line as the transport does, and a cell already landward of its line is not
// dug further. The change applied, not the one requested, is kept.
void apply_fills(const Settings& cfg, const RunState& run, const StepState& step,
                 TransportState& tr, SourceState& src) {
  const int nbf = std::min(cfg.NBF, MXBF);
  if (nbf <= 0) return;
  for (int i = 1; i <= cfg.NX; ++i) src.DYFILL(i) = 0.0;
  const double dt = static_cast<double>(step.DT);
  for (int k = 1; k <= nbf; ++k) {
    if (!window_active(run.ELAPSED, src.FILLH0(k), src.FILLH1(k), dt)) continue;
    for (int i = cfg.IBFS(k); i <= cfg.IBFE(k); ++i) src.DYFILL(i) += src.FILLADV(k);
  }
  for (int i = 1; i <= cfg.NX; ++i) {
    if (src.DYFILL(i) == 0.0) continue;
    const double y0 = tr.YSHORE(i);
    const double y = std::max(y0 + src.DYFILL(i), std::min(tr.YSWALL(i), y0));
    src.DYFILL(i) = y - y0;
    tr.YSHORE(i) = y;
  }
}

// Design note: a cell with sources of both signs in one step books their net
// change, as placement when the net rate is positive, as removal otherwise.
void book_sources(const Settings& cfg, TransportState& tr, SourceState& src) {
  const int lo = 1;
  const int hi = cfg.NX;
  // Most steps have neither (no bypassing, no fill in progress): one light
  // pass finds that, and the books are not rewritten.
  int any = 0;
  run_kernel<any_booking_body>(lo, hi, static_cast<const double*>(src.DYFILL.data()),
                                       static_cast<const double*>(tr.QSRC.data()), &any);
  if (any == 0) return;   // QSRC is then 0 already
  run_kernel<book_body>(
      lo, hi, std::min(cfg.NBF, MXBF) > 0 ? 1 : 0, cfg.DX.data(), cfg.BERMHT.data(), cfg.DCLOS.data(),
      src.DYFILL.data(), static_cast<const double*>(src.DYSRC.data()),
      static_cast<const double*>(tr.QSRC.data()),
      Books{src.VFILL.data(), src.VEXCAV.data(), src.VBPSRC.data(), src.VBPSINK.data()});
  // The sources booked are cleared for the next step.
  fill_range(tr.QSRC.data(), 0.0, lo, hi);
}

}  // namespace coastra

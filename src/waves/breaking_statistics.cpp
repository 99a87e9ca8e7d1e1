// Undiffracted breaking-wave statistics: BRKSTAT adds the step's undiffracted
// height (model length unit), angle to the shoreline (rad) and the transport the
// undiffracted wave would drive (m3/s), each times the step's length DT (hours),
// to SUMHB, SUMANG and SUMQ of every wall; the report divides by the hours run,
// so that steps of different length (adaptive time step) weigh by their time.

#include "waves/breaking_statistics.h"

#include "model/oblique_transport.h"
#include "model/simd_path.h"
#include "model/vector_math.h"

namespace coastra {

namespace {
// The sums of walls lo..hi, each wall its own running sum in step order.
[[gnu::always_inline]] inline void brkstat_body(
    int lo, int hi, float lenfac, double dt, const float* __restrict hb,
    const float* __restrict thetab, const float* __restrict alphas, const float* __restrict cgbu,
    const float* __restrict a1w, double* __restrict sumhb, double* __restrict sumang,
    double* __restrict sumq) {
#pragma omp simd
  for (int i = lo; i <= hi; ++i) {
    const float a = thetab[i] - alphas[i];
    const vmath::SinCos sc = vmath::sincos(a);
    sumhb[i] += static_cast<double>(hb[i] / lenfac) * dt;
    sumang[i] += static_cast<double>(a) * dt;
    sumq[i] += static_cast<double>(oblique_transport(a1w[i], hb[i], cgbu[i], sc.s, sc.c)) * dt;
  }
}
}  // namespace

void BRKSTAT(const Settings& cfg, const InputState& in, const TransportState& tr,
             const StepState& step, WaveState& wv) {
  run_kernel<brkstat_body>(1, cfg.NX + 1, in.LENFAC, static_cast<double>(step.DT), wv.HB.data(),
                           wv.THETAB.data(), wv.ALPHAS.data(), wv.CGBU.data(), tr.A1W.data(),
                           wv.SUMHB.data(), wv.SUMANG.data(), wv.SUMQ.data());
}

}  // namespace coastra

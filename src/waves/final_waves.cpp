// The final breaking waves of a time step: the energy merge of the breaking-wave
// components (WAVSUM), the alongshore smoothing with its structure and inlet
// rules (final_smoothing), and the group celerity and wave number at the final
// breaking depth (final_celerities). Writes HBD, THETABD, IGRADOFF, CGB, KB.

#include "waves/final_waves.h"

#include <algorithm>
#include <cmath>

#include "model/array_kernels.h"
#include "model/simd_path.h"
#include "model/wall_codes.h"
#include "waves/salient_waves.h"
#include "model/vector_math.h"
#include "waves/wave_relations.h"

namespace coastra {

namespace {
// Step 2 of WAVSUM at walls lo..hi: each wall's accumulators gain this
// component's energy H^2 and longshore flux direction H^2 sin 2theta (h and
// theta may be the same array: both are only read).
[[gnu::always_inline]] inline void wavsum_add_body(int lo, int hi, const float* __restrict h,
                                                   const float* __restrict theta,
                                                   float* __restrict sum_h2,
                                                   float* __restrict sum_s2) {
#pragma omp simd
  for (int i = lo; i <= hi; ++i) {
    const float h2 = h[i] * h[i];
    sum_h2[i] += h2;
    sum_s2[i] += h2 * vmath::sincos(2.0F * theta[i]).s;
  }
}

// Step 3 of WAVSUM: the final height and direction from the sums.
// |sum H^2 sin 2theta| <= sum H^2 holds exactly; the clamp keeps rounding in a
// sum of several components from producing a NaN direction.
[[gnu::always_inline]] inline void wavsum_final_body(int lo, int hi,
                                                     const float* __restrict sum_h2,
                                                     const float* __restrict sum_s2,
                                                     float* __restrict hbd,
                                                     float* __restrict thetabd) {
#pragma omp simd
  for (int i = lo; i <= hi; ++i) {
    const float e = sum_h2[i];
    float r = sum_s2[i] / e;
    r = vmath::select(r > 1.0F, 1.0F, r);
    r = vmath::select(r < -1.0F, -1.0F, r);
    hbd[i] = std::sqrt(e);
    thetabd[i] = vmath::select(e > 0.0F, 0.5F * vmath::asin(r), 0.0F);
  }
}
}  // namespace

void WAVSUM(const Settings& cfg, WaveState& wv, ScratchState& scr, int icomp, int ncomp,
            const Vec1<float>& H, const Vec1<float>& THETA, int first, int last) {
  const int nw = cfg.NX + 1;
  // 1. The first component starts the accumulators and the final arrays afresh.
  if (icomp == 1) {
    fill_range(scr.wavsum_h2.data(), 0.0F, 0, nw);
    fill_range(scr.wavsum_s2.data(), 0.0F, 0, nw);
    fill_range(wv.HBD.data(), 0.0F, 0, nw);
    fill_range(wv.THETABD.data(), 0.0F, 0, nw);
  }
  // 2. Energy (H^2) and the longshore energy-flux direction (H^2 sin 2theta) add up.
  const int a = std::max(first, 0);
  const int b = std::min(last, nw);
  if (a <= b)
    run_kernel<wavsum_add_body>(a, b, H.data(), THETA.data(), scr.wavsum_h2.data(),
                                scr.wavsum_s2.data());
  // 3. The last component forms the final height and direction.
  if (icomp == ncomp)
    run_kernel<wavsum_final_body>(1, nw, static_cast<const float*>(scr.wavsum_h2.data()),
                                  static_cast<const float*>(scr.wavsum_s2.data()), wv.HBD.data(),
                                  wv.THETABD.data());
}

namespace {

// v(i) smoothed with its neighbours by the wall's rule: kept (a groin wall, a
// wall between two salient cells), averaged with its open side only next to a
// groin or a salient of two or more touching cells (the left side wins over
// the right, so that no wave energy is smeared across a structure), centred
// otherwise; 0 inside an inlet channel.
[[gnu::always_inline]] inline float smoothed(const float* __restrict v, int i, bool keep,
                                             bool with_left, bool with_right, bool channel) {
  const float centred = (v[i - 1] + 2.0F * v[i] + v[i + 1]) / 4.0F;
  const float left = (3.0F * v[i] + v[i - 1]) / 4.0F;
  const float right = (3.0F * v[i] + v[i + 1]) / 4.0F;
  float r = vmath::select(with_right, right, centred);
  r = vmath::select(with_left, left, r);
  r = vmath::select(keep, v[i], r);
  return vmath::select(channel, 0.0F, r);
}

// Steps 1-3 of final_smoothing at walls lo..hi (2..NX): the rule of each wall
// is formed from the structure states wt (1 = groin), the shoreline states sm
// (-1 = salient) and the inlet cells inl of the wall and its neighbours, which
// the loop only reads; new values from the merged neighbours; the
// gradient-suppression flag cleared.
// Design note: a salient closes the lee, and the walls beside it take their
// waves from their open side, only where two or more neighbouring cells touch
// the breakwater, as the walls between them are blocked (touching_salient_waves).
// A lone touching cell of a free breakwater blocks no wall, and its walls are
// smoothed as open ones. Taking the open side at a lone cell gave the wall
// between it and a neighbour that had left the line the wave diffracted round
// that neighbour's tip, turned towards the touching cell: the transport then
// fed the cell from the lower neighbour, and one 20 m cell of a wearing
// tombolo stayed on the line for decades while its neighbours lay 4-16 m
// behind it.
[[gnu::always_inline]] inline void smoothing_body(int lo, int hi, int inlets,
                                                  const int* __restrict wt,
                                                  const int* __restrict sm,
                                                  const int* __restrict inl,
                                                  const float* __restrict hbd,
                                                  const float* __restrict thetabd,
                                                  float* __restrict hw, float* __restrict tw,
                                                  int* __restrict igradoff) {
#pragma omp simd
  for (int i = lo; i <= hi; ++i) {
    const bool keep = (wt[i] == WALL_GROIN) | ((sm[i - 1] == -1) & (sm[i] == -1));
    const bool with_left = (wt[i + 1] == WALL_GROIN) | ((sm[i] == -1) & (sm[i + 1] == -1));
    const bool with_right = (wt[i - 1] == WALL_GROIN) | ((sm[i - 1] == -1) & (sm[i - 2] == -1));
    const bool channel = (inlets != 0) & (inl[i - 1] == 1) & (inl[i] == 1);
    hw[i] = smoothed(hbd, i, keep, with_left, with_right, channel);
    tw[i] = smoothed(thetabd, i, keep, with_left, with_right, channel);
    igradoff[i] = 0;
  }
}

// Wall `from`'s working values to wall `to`: an inlet mouth takes the waves of
// the open beach beside it (steps 3 and 4 of final_smoothing).
void copy_wall(ScratchState& scr, int to, int from) {
  scr.hbd_work(to) = scr.hbd_work(from);
  scr.thetabd_work(to) = scr.thetabd_work(from);
}

}  // namespace

namespace {

// Steps 1-5 of final_smoothing: the smoothed values in hbd_work, thetabd_work.
void smoothing_rules(const Settings& cfg, const TransportState& tr, const SourceState& src,
                     WaveState& wv, ScratchState& scr) {
  const int nx = cfg.NX;
  const Vec1<int>& inl = tr.INLCELL;  // 1 for the cells of a tidal inlet
  const bool inlets = cfg.INLETS;
  // The end walls are not smoothed. 1. New values from the merged neighbours, all computed before any is stored
  // (the rules at smoothed above). 2. The gradient-suppression flag is cleared;
  // only the breakwater rule of step 5 sets it again. 3. Inside an inlet (both
  // cells of the wall in the channel) no wave breaks on a beach: height and
  // direction 0.
  // The end walls' merged values go to the working arrays too, so that the
  // inlet rules can copy from them.
  for (int i : {1, nx + 1}) {
    scr.hbd_work(i) = wv.HBD(i);
    scr.thetabd_work(i) = wv.THETABD(i);
  }
  if (nx >= 2)
    run_kernel<smoothing_body>(2, nx, inlets ? 1 : 0, tr.WALLTYPE.data(), tr.DBMARK.data(),
                               inl.data(), wv.HBD.data(), wv.THETABD.data(), scr.hbd_work.data(),
                               scr.thetabd_work.data(), wv.IGRADOFF.data());
  // 3b. The inlet's left mouth (wall i-1 when cell i-2 is open beach) takes the
  // waves of the wall before it, which no rule changes after step 1.
  // Design note: an inlet that begins at cell 1 has the model boundary, wall 1,
  // for its left mouth; that wall is not smoothed and keeps its merged value.
  if (inlets) {
    for (int i = 3; i <= nx; ++i)
      if (inl(i - 1) == 1 && inl(i) == 1 && inl(i - 2) == 0) copy_wall(scr, i - 1, i - 2);
  }
  // 4. The right mouth of each inlet (wall i+1 after its last cell i) takes the
  // waves of the wall after it. An inlet that ends at cell NX has the boundary
  // wall NX+1 for its right mouth, which keeps its merged value.
  if (inlets) {
    for (int i = 1; i <= nx - 1; ++i)
      if (inl(i) == 1 && inl(i + 1) == 0) copy_wall(scr, i + 1, i + 2);
  }
  // 5. Detached breakwaters with a touching salient: walls in the shadow are
  // blocked or carry the transmitted height, with direction 0 and the
  // gradient-suppression flag set.
  touching_salient_waves(cfg, tr, src, wv, scr);
}

}  // namespace

void final_smoothing(const Settings& cfg, const TransportState& tr, const SourceState& src,
                     WaveState& wv, ScratchState& scr) {
  smoothing_rules(cfg, tr, src, wv, scr);
  // 6. The smoothed values of walls 2..NX become final; walls 1 and NX+1 keep
  //    the merged values.
  if (cfg.NX >= 2) {
    copy_range<float>(scr.hbd_work.data(), wv.HBD.data(), 2, cfg.NX);
    copy_range<float>(scr.thetabd_work.data(), wv.THETABD.data(), 2, cfg.NX);
  }
}

namespace {
// Depth at which the final wave breaks (m), at the event's period.
[[gnu::always_inline]] inline void final_depth_body(int lo, int hi, float gamma, float tz,
                                                    const float* __restrict hbd,
                                                    float* __restrict db, float* __restrict t) {
#pragma omp simd
  for (int i = lo; i <= hi; ++i) {
    db[i] = hbd[i] / gamma;
    t[i] = tz;
  }
}

// No wave, no celerity (a depth that is not a number included).
[[gnu::always_inline]] inline void no_wave_body(int lo, int hi, const float* __restrict db,
                                                float* __restrict cg, float* __restrict k) {
#pragma omp simd
  for (int i = lo; i <= hi; ++i) {
    const bool wave = db[i] > 0.0F;
    cg[i] = vmath::select(wave, cg[i], 0.0F);
    k[i] = vmath::select(wave, k[i], 0.0F);
  }
}
}  // namespace

void final_celerities(const Settings& cfg, WaveState& wv, ScratchState& scr) {
  const int nw = cfg.NX + 1;
  // 1. Depth at which the final wave breaks (m), at the event's period (s).
  run_kernel<final_depth_body>(1, nw, cfg.GAMMA, wv.TZ, static_cast<const float*>(wv.HBD.data()),
                               scr.brk_depth.data(), scr.brk_period.data());
  // 2. Wave number and group celerity there.
  wave_numbers(scr.brk_period.data(), scr.brk_depth.data(), 1, nw, wv.CGB.data(),
               scr.brk_ratio.data(), wv.KB.data());
  // 3. No wave, no celerity.
  run_kernel<no_wave_body>(1, nw, static_cast<const float*>(scr.brk_depth.data()), wv.CGB.data(),
                           wv.KB.data());
}

void final_waves(const Settings& cfg, const TransportState& tr, const SourceState& src,
                 WaveState& wv, ScratchState& scr) {
  final_smoothing(cfg, tr, src, wv, scr);
  final_celerities(cfg, wv, scr);
}

}  // namespace coastra

// The nearshore sequence of a time step: the representative offshore contour
// and its orientation (offshore_contour, moving_average), the calm-step test
// (calm_step), the closure depth (closure_depth), the shoreline orientation
// (shoreline_orientation) and breaking at every wall with the final breaking
// waves (breaking_waves). Writes YSMOOTH, ALPHAW, DLTZ, ALPHAS, ALPHASCODE,
// IWAVOFF, HB, THETAB, KB, CGBU, CGB, HBD, THETABD, OMEGA, K0, ZZRAD.

#include "waves/nearshore.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cassert>
#include <cmath>
#include <cstdint>

#include "model/array_kernels.h"
#include "model/simd_path.h"
#include "model/wall_codes.h"
#include "waves/breaker.h"
#include "model/vector_math.h"
#include "waves/wave_relations.h"

namespace coastra {

namespace {

constexpr float CONTOUR_OFFSET = 300.0F;  // offshore contour seaward of the smoothed shoreline (m)

// Bridges every tidal inlet in the working copy: its cells are replaced by the
// straight line in x between the cell before and the cell after the inlet, so
// the channel does not bend the contour that the waves refract over.
// Design note: an inlet at an end of the grid has only one neighbour; its cells
// then take that neighbour's position (a level line) rather than reading a
// position beyond the grid. An inlet covering the whole grid is left as it is.
void bridge_inlets(const Settings& cfg, const InputState& in, ScratchState& scr) {
  const int nx = cfg.NX;
  Vec1<float>& y = scr.ycontour_work;
  for (int k = 1; k <= std::min(cfg.NINL, MXINL); ++k) {
    const int first = std::max(cfg.IINLS(k), 1);
    const int last = std::min(cfg.IINLE(k), nx);
    const int before = first - 1;
    const int after = last + 1;
    if (first > last) continue;
    if (before >= 1 && after <= nx) {
      const float xb = in.XCELL(before);
      const float yb = y(before);
      const float slope = (y(after) - yb) / (in.XCELL(after) - xb);
      for (int j = first; j <= last; ++j) y(j) = yb + slope * (in.XCELL(j) - xb);
    } else if (before >= 1 || after <= nx) {
      const float yn = before >= 1 ? y(before) : y(after);
      for (int j = first; j <= last; ++j) y(j) = yn;
    }
  }
}

// Orientation (rad) of the line y at walls lo..hi: the backward difference
// over the mean spacing dx of the two cells, in single precision.
[[gnu::always_inline]] inline void contour_orientation_body(int lo, int hi,
                                                            const float* __restrict y,
                                                            const float* __restrict dx,
                                                            float* __restrict alpha) {
#pragma omp simd
  for (int i = lo; i <= hi; ++i)
    alpha[i] = vmath::atan((y[i] - y[i - 1]) / (0.5F * (dx[i - 1] + dx[i])));
}

// The orientation of the unsmoothed shoreline: positions are double and their
// difference may be small against their size, so the slope is formed in double;
// it is then rounded to float for the float arc tangent (the orientation is a
// single-precision quantity: the angle carries the slope's float rounding and
// the arc tangent's 3 ulp).
[[gnu::always_inline]] inline void shoreline_orientation_body(int lo, int hi,
                                                              const double* __restrict y,
                                                              const float* __restrict dx,
                                                              float* __restrict alpha) {
#pragma omp simd
  for (int i = lo; i <= hi; ++i) {
    const double dxm = 0.5 * (static_cast<double>(dx[i - 1]) + static_cast<double>(dx[i]));
    alpha[i] = vmath::atan(static_cast<float>((y[i] - y[i - 1]) / dxm));
  }
}

// Orientation (rad) of a line y(1..nx) at walls 1..nx+1: the backward difference
// over the mean spacing of the two cells, the forward pair at wall 1 (the same
// pair as wall 2), and wall nx+1 repeating wall nx. Single precision.
// Design note: a one-cell coast has no second position to difference against;
// its orientation is taken as 0 (parallel to the baseline).
void contour_orientation(const Vec1<float>& y, const Vec1<float>& dx, int nx, Vec1<float>& alpha) {
  if (nx < 2) {
    alpha(1) = 0.0F;
    alpha(2) = 0.0F;
    return;
  }
  run_kernel<contour_orientation_body>(2, nx, y.data(), dx.data(), alpha.data());
  alpha(1) = alpha(2);
  alpha(nx + 1) = alpha(nx);
}

}  // namespace

namespace {

// Cells at which the running sum of the moving average is formed afresh: every
// RESTART-th cell (and the first centred cell).
// Design note: a running sum carried along the whole coast gathers the
// rounding of thousands of float additions and subtractions, and ties every
// cell to all cells before it. Formed afresh every 16 cells, each mean carries
// the rounding of at most 15 updates, the blocks are independent (the
// processor overlaps them).
constexpr int RESTART = 16;

// Centred means of window 2h+1 (n = 2h+1 as a float, fn) at cells lo..hi, the
// running sum formed afresh at lo and at every multiple of RESTART. The input
// is taken in single precision (the shoreline's double positions rounded as
// they are read).
template <class In>
[[gnu::always_inline]] inline void centred_means_body(int lo, int hi, int h, float fn,
                                                      const In* __restrict in,
                                                      float* __restrict out) {
  for (int b = lo; b <= hi;) {
    const int end = std::min(hi, (b / RESTART + 1) * RESTART - 1);   // last cell of the block
    float sum = 0.0F;
    for (int j = b - h; j <= b + h; ++j) sum += static_cast<float>(in[j]);
    out[b] = sum / fn;
    for (int i = b + 1; i <= end; ++i) {
      sum = sum - static_cast<float>(in[i - h - 1]) + static_cast<float>(in[i + h]);
      out[i] = sum / fn;
    }
    b = end + 1;
  }
}

// The shoreline in single precision.
[[gnu::always_inline]] inline void to_float_body(int lo, int hi, const double* __restrict y,
                                                 float* __restrict yf) {
#pragma omp simd
  for (int i = lo; i <= hi; ++i) yf[i] = static_cast<float>(y[i]);
}

// a added to every value.
[[gnu::always_inline]] inline void add_body(int lo, int hi, float a, float* __restrict v) {
#pragma omp simd
  for (int i = lo; i <= hi; ++i) v[i] += a;
}

// The h cells at each end lie on the straight line (in cell number) through the
// end cell's own position and the nearest centred mean (mean, before any
// offset), so the end cells keep their positions and the contour does not pull
// away from the boundaries.
template <class In>
void end_line_left(const In* in, float* out, int h, float mean) {
  const float first = static_cast<float>(in[1]);
  const float slope = (mean - first) / static_cast<float>(h);
  for (int j = 1; j <= h; ++j) out[j] = first + slope * static_cast<float>(j - 1);
}
template <class In>
void end_line_right(const In* in, float* out, int nx, int h, float mean) {
  const float last = static_cast<float>(in[nx]);
  const float slope = (mean - last) / static_cast<float>(h);
  for (int j = nx - h + 1; j <= nx; ++j) out[j] = last + slope * static_cast<float>(nx - j);
}

// The moving average of in(1..nx) (window n) into out(1..nx), plus offset at
// every cell when OFFSET.
template <class In, bool OFFSET>
void smooth(const In* in, float* out, int nx, int n, float offset) {
  if (nx < 1) return;
  const auto add_offset = [out, offset](int lo, int hi) {
    if constexpr (OFFSET) run_kernel<add_body>(lo, hi, offset, out);
  };
  // A window below 3 cells is no smoothing.
  if (n < 3) {
    for (int i = 1; i <= nx; ++i) out[i] = static_cast<float>(in[i]);
    add_offset(1, nx);
    return;
  }
  // The window must be centred on its cell: an even window loses one cell.
  if (n % 2 == 0) --n;
  // Window as wide as the coast (or wider): every cell takes one mean.
  // Design note: a window wider than the coast averages all nx cells rather than
  // reading cells beyond the grid.
  if (nx <= n + 1) {
    const int count = std::min(n, nx);
    float sum = 0.0F;
    for (int j = 1; j <= count; ++j) sum += static_cast<float>(in[j]);
    const float mean = sum / static_cast<float>(count);
    for (int i = 1; i <= nx; ++i) out[i] = mean;
    add_offset(1, nx);
    return;
  }
  // Centred means for cells h+1..nx-h by running sums; the means at h+1 and
  // nx-h are kept before the offset for the end lines.
  const int h = (n - 1) / 2;
  const float fn = static_cast<float>(n);
  run_kernel<centred_means_body<In>>(h + 1, nx - h, h, fn, in, out);
  end_line_left(in, out, h, out[h + 1]);
  end_line_right(in, out, nx, h, out[nx - h]);
  add_offset(1, nx);
}

}  // namespace

void moving_average(const Vec1<float>& in, Vec1<float>& out, int nx, int n) {
  assert(&in != &out);  // the running sum reads cells the output has already passed
  smooth<float, false>(in.data(), out.data(), nx, n, 0.0F);
}

void offshore_contour(const Settings& cfg, const InputState& in, const TransportState& tr,
                      WaveState& wv, ScratchState& scr) {
  const int nx = cfg.NX;
  const auto orientation = [&cfg, &wv, nx] {
    contour_orientation(wv.YSMOOTH, cfg.DX, nx, wv.ALPHAW);
  };
  // With IREG = 3 the contour is not recomputed: the stored one is kept.
  if (cfg.IREG == 3) {
    orientation();
    return;
  }
  // 1-2. Two passes of the moving average (set-up made ISMOOTH odd) over the
  //      shoreline in single precision; with inlets over a working copy in
  //      which they are bridged.
  // 3. The representative contour lies 300 m seaward of the smoothed shoreline
  //    (added with the second pass).
  // 4. Contour orientation per wall (independent of the offset).
  const int n = cfg.ISMOOTH;
  if (cfg.NINL > 0) {
    run_kernel<to_float_body>(1, nx, static_cast<const double*>(tr.YSHORE.data()),
                              scr.ycontour_work.data());
    bridge_inlets(cfg, in, scr);
    moving_average(scr.ycontour_work, scr.ycontour_pass, nx, n);
  } else {
    smooth<double, false>(tr.YSHORE.data(), scr.ycontour_pass.data(), nx, n, 0.0F);
  }
  smooth<float, true>(scr.ycontour_pass.data(), wv.YSMOOTH.data(), nx, n, CONTOUR_OFFSET);
  orientation();
}

namespace {
// *calm: whether some wall has no period or no height (an OR gives the same
// answer in any order).
[[gnu::always_inline]] inline void no_wave_walls_body(int lo, int hi, const float* __restrict t,
                                                      const float* __restrict h, int* calm) {
  int any = 0;
#pragma omp simd reduction(| : any)
  for (int i = lo; i <= hi; ++i)
    any |= static_cast<int>(t[i] <= 0.0F) | static_cast<int>(h[i] == 0.0F);
  *calm = any;
}

// Hallermeier's form of the closure-depth quantity, 2.28 H - 68.5 H^2 / (g T^2)
// (m), at every cell; *bad: whether some cell's quantity is not positive (or
// not a number).
[[gnu::always_inline]] inline void closure_body(int lo, int hi, const float* __restrict hv,
                                                const float* __restrict tv,
                                                float* __restrict dltz, int* bad) {
  int any = 0;
#pragma omp simd reduction(| : any)
  for (int i = lo; i <= hi; ++i) {
    const float h = hv[i];
    const float t = tv[i];
    const float d = 2.28F * h - 68.5F * (h * h) / (GRAV * (t * t));
    dltz[i] = d;
    any |= static_cast<int>(!(d > 0.0F));
  }
  *bad = any;
}
}  // namespace

RecordChecks record_checks(const Settings& cfg, WaveState& wv) {
  const int lo = 1;
  const int last = cfg.NX;
  RecordChecks c;
  if (lo > last) return c;
  run_kernel<no_wave_walls_body>(lo, last, static_cast<const float*>(wv.TRF.data()),
                                         static_cast<const float*>(wv.HRF.data()), &c.no_wave);
  run_kernel<closure_body>(lo, last, static_cast<const float*>(wv.HRF.data()),
                                   static_cast<const float*>(wv.TRF.data()), wv.DLTZ.data(),
                                   &c.bad_depth);
  return c;
}

bool calm_step(const WaveState& wv, int no_wave) {
  if (wv.ZZDEGNR >= 90.0F || wv.ZZDEGNR <= -90.0F) return true;  // directed along or off the shore
  return no_wave != 0;
}

int closure_depth(const Settings& cfg, const WaveState& wv, int bad_depth) {
  if (bad_depth == 0) return 0;
  // A steep short wave makes the quantity vanish or turn negative; the profile
  // then has no active depth and the wave input is unusable: the first such
  // cell is reported. (Written as !(d > 0) so that a value that is not a
  // number stops the run as well.)
  for (int i = 1; i <= cfg.NX; ++i)
    if (!(wv.DLTZ(i) > 0.0F)) return i;
  return 0;
}

namespace {

// ALPHAS(i+1) of the previous step at each groin wall i: at a groin the
// shoreline has a step, and its orientation there is the mean over the
// groin's neighbours with this value (the right neighbour is formed after the
// groin wall in wall order). Kept before the pass over the walls replaces it.
using GroinRights = std::array<float, MXGRO + 1>;
GroinRights groin_rights(const Settings& cfg, const InputState& in, const WaveState& wv) {
  GroinRights right_before{};
  for (int g = 1; g <= std::min(in.NGRO, MXGRO); ++g) {
    const int i = in.IXG(g);
    if (i >= 1 && i <= cfg.NX) right_before[static_cast<std::size_t>(g)] = wv.ALPHAS(i + 1);
  }
  return right_before;
}

// Every wall ORIENT_PLAIN (no wall is marked by this stage; a structure stage
// placed after it may mark some), and the orientation of walls 2..NX from
// their pair of cells (NX >= 2).
void orientation_walls(const Settings& cfg, const TransportState& tr, WaveState& wv) {
  fill_range(wv.ALPHASCODE.data(), ORIENT_PLAIN, 1, cfg.NX + 1);
  run_kernel<shoreline_orientation_body>(2, cfg.NX, static_cast<const double*>(tr.YSHORE.data()),
                                         static_cast<const float*>(cfg.DX.data()),
                                         wv.ALPHAS.data());
}

// Wall 1 takes the pair of wall 2; the groin means in wall order (ALPHAS(i-1)
// is then final, a groin mean itself when wall i-1 is a groin), entries
// behind the scan passed over as in a scan of the walls, a breakwater end
// joined by a touching salient (WALL_TOUCH) keeping the local value; wall NX+1
// takes wall NX's value.
void orientation_finish(const Settings& cfg, const InputState& in, const TransportState& tr,
                        WaveState& wv, const GroinRights& right_before) {
  const int nx = cfg.NX;
  wv.ALPHAS(1) = wv.ALPHAS(2);
  int wall = 1;  // wall the scan has reached
  for (int g = 1; g <= std::min(in.NGRO, MXGRO); ++g) {
    const int i = in.IXG(g);
    if (i < wall) continue;
    if (i > nx) break;
    wall = i;
    if (i > 1 && tr.WALLTYPE(i) != WALL_TOUCH)
      wv.ALPHAS(i) =
          (wv.ALPHAS(i - 1) + wv.ALPHAS(i) + right_before[static_cast<std::size_t>(g)]) / 3.0F;
  }
  wv.ALPHAS(nx + 1) = wv.ALPHAS(nx);
  // The lateral boundary conditions may override the end walls afterwards.
}

// The one-cell coast: see contour_orientation.
void one_cell_orientation(WaveState& wv) {
  wv.ALPHAS(1) = 0.0F;
  wv.ALPHAS(2) = 0.0F;
  wv.ALPHASCODE(1) = ORIENT_PLAIN;
  wv.ALPHASCODE(2) = ORIENT_PLAIN;
}

}  // namespace

void shoreline_orientation(const Settings& cfg, const InputState& in, const TransportState& tr,
                           WaveState& wv) {
  if (cfg.NX < 2) {
    one_cell_orientation(wv);
    return;
  }
  const GroinRights right_before = groin_rights(cfg, in, wv);
  orientation_walls(cfg, tr, wv);
  orientation_finish(cfg, in, tr, wv, right_before);
}

namespace {
// *differs: whether some wall's period or depth differs in its bits from
// (tb, db) (an OR gives the same answer in any order).
[[gnu::always_inline]] inline void same_wave_body(int lo, int hi, const float* __restrict t,
                                                  const float* __restrict d, std::uint32_t tb,
                                                  std::uint32_t db, int* differs) {
  int any = 0;
#pragma omp simd reduction(| : any)
  for (int i = lo; i <= hi; ++i)
    any |= static_cast<int>(std::bit_cast<std::uint32_t>(t[i]) != tb) |
           static_cast<int>(std::bit_cast<std::uint32_t>(d[i]) != db);
  *differs = any;
}
}  // namespace

void input_wave_numbers(const Settings& cfg, WaveState& wv) {
  // Period and depth usually repeat along the coast (one station, one input
  // depth), so the dispersion relation is solved once per run of walls with the
  // same pair; equal bits give equal results, and a NaN never matches.
  const int lo = 1;
  const int hi = cfg.NX + 1;
  const auto same_bits = [](float a, float b) {
    return std::bit_cast<std::uint32_t>(a) == std::bit_cast<std::uint32_t>(b);
  };
  const float t0 = wv.TRF(lo);  // (s)
  const float d0 = wv.DRF(lo);  // (m)
  int differs = 0;
  run_kernel<same_wave_body>(lo, hi, static_cast<const float*>(wv.TRF.data()),
                                     static_cast<const float*>(wv.DRF.data()),
                                     std::bit_cast<std::uint32_t>(t0),
                                     std::bit_cast<std::uint32_t>(d0), &differs);
  if (differs == 0 && t0 == t0 && d0 == d0) {
    // One pair along the whole coast (the usual case): one solution.
    const WaveNumber w = WAVNUM(t0, d0);
    fill_range(wv.KRF.data(), w.K, lo, hi);
    fill_range(wv.NRF.data(), w.N, lo, hi);
  } else {
    WaveNumber w0{};
    for (int i = lo; i <= hi; ++i) {
      const float t = wv.TRF(i);  // (s)
      const float d = wv.DRF(i);  // (m)
      if (i == lo || !same_bits(t, wv.TRF(i - 1)) || !same_bits(d, wv.DRF(i - 1)) || t != t ||
          d != d)
        w0 = WAVNUM(t, d);
      wv.KRF(i) = w0.K;
      wv.NRF(i) = w0.N;
    }
  }
  // The breaking constants of the input wave, also fixed by the record.
  breaker_constants(lo, hi, cfg.GAMMA, wv.KRF.data(), wv.HRF.data(), wv.TRF.data(), wv.NRF.data(),
                    wv.C02RF.data(), wv.CHIRF.data());
}

void wave_constants(WaveState& wv) {
  wv.OMEGA = 2.0F * PI / wv.TZ;
  wv.K0 = wv.OMEGA * wv.OMEGA / GRAV;
  wv.ZZRAD = wv.ZZDEGNR * PI / 180.0F;
}

void breaking_waves(const Settings& cfg, const InputState& in, const TransportState& tr,
                    WaveState& wv, ScratchState& scr) {
  // (The closure depth DLTZ depends on the wave record alone; the run driver
  // forms it once per record, see closure_depth. The wave constants of the
  // event, wave_constants, and the breakwater transmission come before.)
  // 1. Shoreline orientation; every wall ORIENT_PLAIN. (A structure stage that
  // fixes the orientation of a wall itself sets ALPHAS and marks the wall
  // ORIENT_MARKED after this, before the diffraction and the transport read
  // either.)
  shoreline_orientation(cfg, in, tr, wv);
  // 2. Breaking at every wall, from the breaking constants of the input wave
  // (C02RF, CHIRF: computed once per wave record with KRF and NRF). A wave
  // directed offshore relative to the local contour cannot reach the shore
  // there: the wall is flagged (IWAVOFF) and breaks a shore-normal wave over a
  // contour parallel to the baseline for this step. THETARF and ALPHAW stay as
  // they are.
  const int nw = cfg.NX + 1;
  breaker_lines(1, nw, wv.ZZDEGNR, cfg.GAMMA, wv.C02RF.data(), wv.CHIRF.data(), wv.THETARF.data(),
                wv.ALPHAW.data(), wv.HB.data(), wv.THETAB.data(), scr.brk_depth.data(),
                wv.IWAVOFF.data());
  // 3. Wave number and group celerity at the breaking depth: the undiffracted
  // celerity CGBU for the statistics (CGB is formed at the final breaking depth
  // by final_waves), KB for the diffraction.
  wave_numbers(wv.TRF.data(), scr.brk_depth.data(), 1, nw, wv.CGBU.data(), scr.brk_ratio.data(),
               wv.KB.data());
}

}  // namespace coastra

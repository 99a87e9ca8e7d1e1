// Diffraction behind structures: the kernels SMAXSH, KD, tip_ray, relax_kd and
// between_adjust, the per-side coefficients KDGODA, the heights and directions
// of a component (DIFANG) and the stage `diffraction`, which merges one
// component per active segment of the segment table through WAVSUM. The
// per-wall loops are vectorised kernels (run_kernel) over the branch-free forms.

#include "waves/diffraction.h"

#include <algorithm>

#include "model/array_kernels.h"
#include "model/error_stop.h"
#include "model/simd_path.h"
#include "model/wall_codes.h"
#include "waves/final_waves.h"
#include "waves/wave_relations.h"

namespace coastra {

Spreading SMAXSH(float h, float OMEGA) {
  const float l0 = 2.0F * PI * GRAV / (OMEGA * OMEGA);  // deep-water wave length (m)
  const float r = h / l0;
  float s = r <= 0.2F ? 2.923F * std::pow(r, -1.027F) : 9.609375F * std::pow(r, -0.2718128F);
  s = std::min(s, 100.0F);
  if (s <= 10.0F) s = 10.0F;
  return {s, (-0.000103F * s + 0.27F) * s + 5.31F};
}

float relax_kd(float kdstar, float kdnew, int p) {
  if (p <= 3) return kdnew;
  const int w = p <= 8 ? 3 : std::min(10, 4 + (p - 9) / 10);
  return (static_cast<float>(w) * kdstar + kdnew) / static_cast<float>(w + 1);
}

namespace {

constexpr float ACTIVE_FACTOR = 0.01F;  // segments at or below are passed over
constexpr float OPEN_FACTOR = 0.999F;   // at or above: an open gap
constexpr float MIN_HEIGHT = 0.01F;     // diffracted heights at or below are no wave (m)
constexpr float MIN_GAP = 0.01F;        // narrower gaps get no between-structures adjustment (m)

// One tip of the segment being treated.
struct Side {
  int side = 1;            // 1 lower-wall end, 2 higher-wall end
  bool diffracted = false; // KD is iterated for this side
  int wall = 1;            // the structure's wall (1..NX+1)
  float ytip = 0.0F;       // tip distance from the baseline (m)
  float tip_depth = 0.0F;  // depth at the tip (m)
  float k = 0.0F;          // wave number at the tip (1/m)
  float theta = 0.0F;      // wave direction at the tip (rad)
  float a = 1.0F;          // SMAX / SMAXP
  float h = 0.0F;          // height entering the iteration (m)
};

// A list entry's wall on the grid: grid ends map to the end walls.
int grid_wall(const Settings& cfg, const StructureState& st, int e) {
  const int w = st.ISEGW(e);
  if (w == -1) return 1;
  if (w == -2) return cfg.NX + 1;
  return std::clamp(w, 1, cfg.NX + 1);
}

// Working height at wall i: the undiffracted breaking height, none inside an inlet.
float carried_height(const Settings& cfg, const TransportState& tr, const WaveState& wv, int i) {
  const bool inlet = cfg.INLETS && i > 1 && i <= cfg.NX && tr.INLCELL(i - 1) == 1 &&
                     tr.INLCELL(i) == 1;
  return inlet ? 0.0F : wv.HB(i);
}

// The shoreline position at every wall (the walls' alongshore positions
// dif_xwall are fixed for the run: the segment table forms them).
void wall_geometry(const Settings& cfg, const TransportState& tr, const WaveState& wv,
                   ScratchState& scr) {
  const int nx = cfg.NX;
  scr.dif_ywall(1) = static_cast<float>(tr.YSHORE(1));
  for (int i = 2; i <= nx; ++i)
    scr.dif_ywall(i) = static_cast<float>(0.5 * (tr.YSHORE(i - 1) + tr.YSHORE(i)));
  scr.dif_ywall(nx + 1) = static_cast<float>(tr.YSHORE(nx));
  // The carried heights, when inlets take some away.
  if (cfg.INLETS)
    for (int i = 1; i <= nx + 1; ++i) scr.dif_hc(i) = carried_height(cfg, tr, wv, i);
}

// The first wall at or beyond `from` in direction `step` whose structure state
// is 1 or 3, searched no further than `limit`; `limit` when there is none.
int range_end(const TransportState& tr, int from, int limit, int step) {
  for (int i = from; step < 0 ? i >= limit : i <= limit; i += step)
    if (tr.WALLTYPE(i) == WALL_GROIN || tr.WALLTYPE(i) == WALL_TOUCH) return i;
  return limit;
}

// Tip wave: from the event's deep-water wave when the tip lies deeper than the
// wave input, else from the input wave at the structure's wall.
RefractedWave tip_wave(const WaveState& wv, int w, float depth) {
  if (depth > wv.DRF(w)) {
    return REFSHO(wv.OMEGA, wv.K0, wv.K0, wv.HZ, wv.ZZRAD, GRAV / (2.0F * wv.OMEGA), wv.ALPHAW(w),
                  depth);
  }
  const WaveNumber w0 = WAVNUM(wv.TRF(w), wv.DRF(w));
  return REFSHO(wv.OMEGA, wv.K0, w0.K, wv.HRF(w), wv.THETARF(w), w0.CG, wv.ALPHAW(w), depth);
}

// Side s of open segment j: its tip, the wave there and the spreading.
// Design note: a grid end is never diffracted (KD = 1), nor is a tip without
// depth (set-up refuses those); a breakwater segment is not diffracted either:
// the waves that reach the coast around its tips belong to the neighbouring
// gaps' components.
Side make_side(const Settings& cfg, const TransportState& tr, const WaveState& wv,
               const StructureState& st, int j, int s) {
  Side t;
  t.side = s;
  const int e = j + s - 1;
  t.wall = grid_wall(cfg, st, e);
  t.ytip = st.YSEGT(e);
  t.tip_depth = st.DSEGT(e);
  t.diffracted = st.KSEGT(e) != KIND_END && t.tip_depth > 0.0F;
  if (!t.diffracted) return t;
  const RefractedWave tw = tip_wave(wv, t.wall, t.tip_depth);
  t.k = tw.K;
  t.theta = tw.THETA;
  const float gamma = cfg.GAMMA;
  const float hb = carried_height(cfg, tr, wv, t.wall);
  const float db = hb / gamma;  // breaking depth at the structure's wall (m)
  t.h = hb;
  if (t.tip_depth <= db) {
    // Tip inside the surf zone: broken waves with a fixed spreading, and a
    // height limited by the depth at the tip.
    t.a = 15.0F / 9.3F;
    t.h = hb * 0.9F * t.tip_depth / db;
  } else {
    const Spreading sp = SMAXSH(t.tip_depth, wv.OMEGA);
    t.a = sp.SMAX / sp.SMAXP;
  }
  return t;
}

// The constants of one side's iteration, copied out of the state for the loops.
struct TipPass {
  int side;         // 1 or 2
  double xtip;      // alongshore position of the structure's wall (m)
  float ytip;       // tip distance from the baseline (m)
  float h;          // height entering the iteration (m)
  float gamma;      // breaker index
  float depth;      // depth at the tip (m)
  float theta;      // wave direction at the tip (rad)
  float a;          // SMAX / SMAXP
};

struct KdPass {
  float KD;    // coefficient of the pass
  TipRay RAY;  // the ray from the tip to the breaker line
  float DY;    // cross-shore distance from the tip to the breaker line (m)
};
// One pass of the iteration at a wall dx (m) along the coast from the tip, whose
// shoreline lies dy0 (m) shoreward of the tip, from the estimate kdstar: the breaker line of the
// diffracted wave (depth falling linearly from the tip to the shoreline), the
// ray to it, and the coefficient.
[[gnu::always_inline]] inline KdPass kd_pass(const TipPass& c, float dx, float dy0, float kdstar) {
  const float db = c.h * kdstar / c.gamma;
  const float dy1 = dy0 * (1.0F - db / c.depth);
  const float dy = std::fabs(dy1) < 0.01F ? 0.01F : dy1;
  const TipRay ray = tip_ray(c.side, dx, dy, c.theta);
  return {KD(c.a, ray.THETA), ray, dy};
}

// The first pass of the iteration (from KD* = 1) at walls lo..hi: the pass's
// coefficient, ray and distance, and done = 1 where it has converged.
[[gnu::always_inline]] inline void kd_first_pass_body(int lo, int hi, const double* __restrict xwall,
                                                      const float* __restrict ywall, TipPass c,
                                                      float* __restrict kd, float* __restrict ang,
                                                      float* __restrict ray,
                                                      float* __restrict dy, int* __restrict done) {
  const double xtip = c.xtip;
  const float ytip = c.ytip;
  const float h = c.h;
#pragma omp simd
  for (int i = lo; i <= hi; ++i) {
    const KdPass p = kd_pass(c, static_cast<float>(xwall[i] - xtip), ytip - ywall[i], 1.0F);
    kd[i] = p.KD;
    ang[i] = p.RAY.THETA;
    ray[i] = p.RAY.BETA;
    dy[i] = p.DY;
    done[i] = std::fabs((1.0F - p.KD) * h) <= KD_TOLERANCE ? 1 : 0;
  }
}

struct SideArrays {
  float* kd;
  float* ang;
  float* ray;
  float* dy;
};

SideArrays side_arrays(ScratchState& scr, int s) {
  if (s == 1)
    return {scr.dif_kd1.data(), scr.dif_ang1.data(), scr.dif_ray1.data(), scr.dif_dy1.data()};
  return {scr.dif_kd2.data(), scr.dif_ang2.data(), scr.dif_ray2.data(), scr.dif_dy2.data()};
}

// KDGODA: the coefficient of one side at walls first..last. A side that is not
// diffracted keeps KD = 1 and lies in no shadow. False when an iteration does
// not converge (the stage reports it).
// Design note: every wall of the component's range is iterated for both sides,
// the gap between the tips included: the coefficient then rises smoothly from
// the shadow through the shadow line into the open gap, and at a groin wall the
// two gaps' coefficients are KD(theta) and KD(-theta), whose squares sum to 1.
// The shadow of a side (side 1 or 2) is where its angle is negative.
// The blend of KD towards 1 where the shoreline has advanced past the tip line
// is not made (side weights 1): a breaker line seaward of the tip is already
// handled by the ray rule for a negative cross-shore distance.
// Design note: the first pass runs over all walls at once; nearly every wall
// converges in it (the change of height is within the tolerance), and the few
// that do not are iterated afresh one by one with the same pass, so every wall
// gets exactly the result of its own iteration.
bool KDGODA(const Settings& cfg, ScratchState& scr, const Side& t, int first, int last) {
  SideArrays a = side_arrays(scr, t.side);
  if (!t.diffracted) {
    fill_range(a.kd, 1.0F, first, last);
    fill_range(a.ang, 0.0F, first, last);
    fill_range(a.ray, 0.0F, first, last);
    fill_range(a.dy, 0.0F, first, last);
    return true;
  }
  const TipPass c{t.side, scr.dif_xwall(t.wall), t.ytip, t.h, cfg.GAMMA, t.tip_depth, t.theta, t.a};
  int* done = scr.dif_done.data();
  run_kernel<kd_first_pass_body>(first, last, static_cast<const double*>(scr.dif_xwall.data()),
                                 static_cast<const float*>(scr.dif_ywall.data()), c, a.kd, a.ang,
                                 a.ray, a.dy, done);
  for (int i = first; i <= last; ++i) {
    if (done[i] == 1) continue;
    const float dx = static_cast<float>(scr.dif_xwall(i) - c.xtip);
    const float dy0 = c.ytip - scr.dif_ywall(i);
    KdPass last_pass{};
    const KdIteration it = iterate_kd(c.h, [&](float kdstar) {
      last_pass = kd_pass(c, dx, dy0, kdstar);
      return last_pass.KD;
    });
    if (!it.converged) return false;
    a.kd[i] = it.KD;
    a.ang[i] = last_pass.RAY.THETA;
    a.ray[i] = last_pass.RAY.BETA;
    a.dy[i] = last_pass.DY;
  }
  return true;
}

[[gnu::always_inline]] inline void adjust_between_body(int lo, int hi, float* __restrict kd1,
                                                       const float* __restrict dy1,
                                                       float* __restrict kd2,
                                                       const float* __restrict dy2, float spread,
                                                       float gap) {
#pragma omp simd
  for (int i = lo; i <= hi; ++i) {
    kd1[i] = between_adjust(kd1[i], dy1[i] * spread / gap);
    kd2[i] = between_adjust(kd2[i], dy2[i] * spread / gap);
  }
}

// Between the two tips of a gap bounded by structures on both sides, the spread
// of the two shadow lines over the gap width adjusts each side's coefficient.
// Design note: the shadow-line directions are the tips' wave directions, each
// counted positive when its shadow line turns away from the gap
// (theta1 = -theta_tip1, theta2 = +theta_tip2), so that the rule is its own
// mirror image; only walls strictly between the tips are adjusted, where no
// other component adds energy.
// Walls lo..hi of the component are adjusted, of those between the tips.
void adjust_between(ScratchState& scr, const Side& t1, const Side& t2, int lo, int hi) {
  if (!t1.diffracted || !t2.diffracted) return;
  const float gap = static_cast<float>(scr.dif_xwall(t2.wall) - scr.dif_xwall(t1.wall));
  if (gap < MIN_GAP) return;
  const float spread = std::tan(-t1.theta) + std::tan(t2.theta);
  const int a = std::max(t1.wall + 1, lo);
  const int b = std::min(t2.wall - 1, hi);
  if (a > b) return;
  run_kernel<adjust_between_body>(a, b, scr.dif_kd1.data(),
                                          static_cast<const float*>(scr.dif_dy1.data()),
                                          scr.dif_kd2.data(),
                                          static_cast<const float*>(scr.dif_dy2.data()), spread,
                                          gap);
}

[[gnu::always_inline]] inline void transmit_beside_body(int lo, int hi, float* __restrict kd,
                                                        float f2) {
#pragma omp simd
  for (int i = lo; i <= hi; ++i) kd[i] = std::sqrt(f2 + (1.0F - f2) * kd[i] * kd[i]);
}

// Beside a partly transmitting breakwater (outside its span, on the gap's side
// of its tip) the tip blocks only the part 1 - f^2 of the energy:
// KD^2 = f^2 + (1 - f^2) KD^2. Within the span the breakwater's own component
// applies the same weighting, so the two meet without a step at the tip.
// Design note: without this, a nearly transparent breakwater would leave a
// dip of almost 30 % in the height just outside its ends.
// Walls first..last are those of the component.
void transmit_beside(const StructureState& st, ScratchState& scr, int j, const Side& t, int first,
                     int last) {
  const int jn = t.side == 1 ? j - 1 : j + 1;
  if (!t.diffracted || jn < 1 || jn > st.NSEG || st.SEGBW(jn) == 0) return;
  const float f = std::max(st.SEGFAC(jn), 0.0F);
  float* kd = t.side == 1 ? scr.dif_kd1.data() : scr.dif_kd2.data();
  const int lo = t.side == 1 ? std::max(t.wall + 1, first) : first;
  const int hi = t.side == 1 ? last : std::min(t.wall - 1, last);
  if (lo <= hi) run_kernel<transmit_beside_body>(lo, hi, kd, f * f);
}

// The constants of a component's directions, copied out of the state.
struct DirectionRule {
  float fac;           // factor behind a breakwater (1 for a gap)
  int diffracted1;     // 1 when side 1 is diffracted
  int diffracted2;
  float k1;            // wave number at tip 1 (1/m)
  float k2;
  float wp1;           // weight of the undiffracted direction in the shadow of side 1
  float wp2;           // (a groin as the neighbouring structure), -1 for none
  float gamma;         // breaker index
  float K0;            // deep-water wave number of the event (1/m)
  int first;           // the component's range
  int last;
  int keep_first;      // 1 when the first wall is a groin wall (WALLTYPE 1)
  int keep_last;
};

struct ComponentIn {
  const float* kd1;
  const float* kd2;
  const float* hc;      // carried height (m)
  const float* thetab;  // undiffracted direction (rad)
  const float* kb;      // undiffracted wave number (1/m)
  const float* alphas;  // shoreline orientation (rad)
  const float* ang1;
  const float* ang2;
  const float* ray1;
  const float* ray2;
};

// The heights and directions of a component at walls lo..hi (DIFANG): both
// coefficients times the carried height and the factor; in the shadow of one
// tip the wave travels along that tip's ray, in the shadow of both along the
// mean of the two rays, elsewhere in the undiffracted direction; behind a
// groin the undiffracted direction is kept. The wave is then refracted from
// the tip to its own (diffracted) breaking depth. Heights of 0.01 m or less
// are no wave.
[[gnu::always_inline]] inline void component_waves_body(int lo, int hi, ComponentIn in,
                                                        DirectionRule r, float* __restrict hout,
                                                        float* __restrict thout) {
  const float* __restrict kd1 = in.kd1;
  const float* __restrict kd2 = in.kd2;
  const float* __restrict hc = in.hc;
  const float* __restrict thetab = in.thetab;
  const float* __restrict kb = in.kb;
  const float* __restrict alphas = in.alphas;
  const float* __restrict ang1 = in.ang1;
  const float* __restrict ang2 = in.ang2;
  const float* __restrict ray1 = in.ray1;
  const float* __restrict ray2 = in.ray2;
  const float fac = r.fac, k1 = r.k1, k2 = r.k2, wp1 = r.wp1, wp2 = r.wp2;
  const float gamma = r.gamma, K0 = r.K0;
  const bool d1 = r.diffracted1 == 1, d2 = r.diffracted2 == 1;
  const bool g1 = wp1 >= 0.0F, g2 = wp2 >= 0.0F;
  const int first = r.first, last = r.last;
  const bool kf = r.keep_first == 1, kl = r.keep_last == 1;
#pragma omp simd
  for (int i = lo; i <= hi; ++i) {
    const float h = kd1[i] * kd2[i] * hc[i] * fac;
    const float w = thetab[i];
    const float kw = kb[i];
    const bool s1 = d1 & (ang1[i] < 0.0F);
    const bool s2 = d2 & (ang2[i] < 0.0F);
    // The shadow of one side: its ray (blended with the undiffracted direction
    // behind a groin).
    const float dg1 = g1 ? ray1[i] * (1.0F - wp1) + w * wp1 : ray1[i];
    const float kg1 = g1 ? wp1 * kw + (1.0F - wp1) * k1 : k1;
    const float dg2 = g2 ? ray2[i] * (1.0F - wp2) + w * wp2 : ray2[i];
    const float kg2 = g2 ? wp2 * kw + (1.0F - wp2) * k2 : k2;
    const float dboth = 0.5F * (ray1[i] + ray2[i]);
    const float kboth = 0.5F * (k1 + k2);
    const float d = s1 ? (s2 ? dboth : dg1) : (s2 ? dg2 : w);
    const float kmix = s1 ? (s2 ? kboth : kg1) : (s2 ? kg2 : kw);
    const SnellWave sw = snell<VectorMath>(K0, kmix, d, alphas[i], h / gamma);
    const bool keep = ((i == first) & kf & s1 & !s2) | ((i == last) & kl & s2 & !s1);
    const float theta = !keep & (kmix <= sw.K) ? sw.THETA : w;
    const bool wave = !(h <= MIN_HEIGHT);
    hout[i] = wave ? h : 0.0F;
    thout[i] = wave ? theta : 0.0F;
  }
}

// One merge component: segment j, component icomp of ncomp, with what it takes
// from the state at the structures (ranges, tip waves, rules), formed once.
// Design note: walls covered by several components (behind a breakwater, where
// the gaps on both sides send waves, and at a groin wall) add their energies;
// the ranges are chosen so that only those walls overlap, and there the sum
// stays within the undiffracted energy. The structure's wall of a breakwater
// tip is the tip's cell number taken as a wall number, as in the list.
struct Component {
  int j = 0;           // segment
  int icomp = 0;       // component icomp of ncomp
  int ncomp = 0;
  bool open = false;   // an open gap (both sides may diffract)
  int first = 0;       // the component's walls
  int last = 0;
  Side t1, t2;         // its two sides
  float fac = 1.0F;    // factor behind a breakwater (1 for a gap)
  DirectionRule rule;
};

Component plan_component(const Settings& cfg, const TransportState& tr, const WaveState& wv,
                         const StructureState& st, int j, int icomp, int ncomp) {
  Component c;
  c.j = j;
  c.icomp = icomp;
  c.ncomp = ncomp;
  const float f = st.SEGFAC(j);
  c.open = f >= OPEN_FACTOR;
  const int nw = cfg.NX + 1;
  const int w1 = grid_wall(cfg, st, j);
  const int w2 = grid_wall(cfg, st, j + 1);
  // 1. Range. A gap's waves reach from the neighbouring structure on side 1 to
  // the one on side 2: each side's range ends at the first groin or structure
  // wall, or at the far tip of the neighbouring structure. A partly
  // transmitting breakwater's component covers its own span.
  c.first = w1;
  c.last = w2;
  if (c.open) {
    c.first =
        st.ISEGW(j) == -1 ? 1 : range_end(tr, w1, j > 1 ? grid_wall(cfg, st, j - 1) : 1, -1);
    c.last = st.ISEGW(j + 1) == -2
                 ? nw
                 : range_end(tr, w2, j + 2 <= st.NSEGENT ? grid_wall(cfg, st, j + 2) : nw, 1);
  }
  // 2. The two sides (a breakwater's component is not diffracted).
  c.t2.side = 2;
  if (c.open) {
    c.t1 = make_side(cfg, tr, wv, st, j, 1);
    c.t2 = make_side(cfg, tr, wv, st, j, 2);
  }
  // 3. The factor behind a breakwater, and the direction rule.
  c.fac = f <= 0.99F ? f : 1.0F;
  const auto groin_weight = [&st](int jn) {
    // A groin as the neighbouring structure on that side: its shadow keeps the
    // undiffracted direction (weight (-f)^0.2 = 1 for f = -1); -1 for none.
    return jn >= 1 && jn <= st.NSEG && st.SEGFAC(jn) < 0.0F ? std::pow(-st.SEGFAC(jn), 0.2F)
                                                              : -1.0F;
  };
  c.rule = DirectionRule{c.fac,
                         c.t1.diffracted ? 1 : 0,
                         c.t2.diffracted ? 1 : 0,
                         c.t1.k,
                         c.t2.k,
                         groin_weight(j - 1),
                         groin_weight(j + 1),
                         cfg.GAMMA,
                         wv.K0,
                         c.first,
                         c.last,
                         tr.WALLTYPE(c.first) == WALL_GROIN ? 1 : 0,
                         tr.WALLTYPE(c.last) == WALL_GROIN ? 1 : 0};
  return c;
}

// Component c: the coefficients, the heights and directions over its walls,
// and the merge. False when KD did not converge.
bool component_walls(const Settings& cfg, const StructureState& st, WaveState& wv,
                     ScratchState& scr, const Component& c) {
  const int first = std::max(c.first, 0);
  const int last = std::min(c.last, cfg.NX + 1);
  if (first <= last) {
    // 1. Coefficients of the two sides.
    if (!KDGODA(cfg, scr, c.t1, first, last) || !KDGODA(cfg, scr, c.t2, first, last)) return false;
    if (c.open) {
      adjust_between(scr, c.t1, c.t2, first, last);
      transmit_beside(st, scr, c.j, c.t1, first, last);
      transmit_beside(st, scr, c.j, c.t2, first, last);
    }
    // 2. The height is both coefficients times the carried height, times the
    // factor behind a breakwater. Behind a partly transmitting breakwater the
    // energy the gaps have brought is weighted by (1 - KT^2) before its own
    // KT^2 HB^2 is added, so that the sum never exceeds the undiffracted energy.
    if (!c.open && c.icomp > 1) {
      const float keep = 1.0F - c.fac * c.fac;
      for (int i = first; i <= last; ++i) {
        scr.wavsum_h2(i) *= keep;
        scr.wavsum_s2(i) *= keep;
      }
    }
    // 3. Heights and directions.
    const ComponentIn in{scr.dif_kd1.data(), scr.dif_kd2.data(),
                         cfg.INLETS ? scr.dif_hc.data() : wv.HB.data(),
                         wv.THETAB.data(),   wv.KB.data(),   wv.ALPHAS.data(),
                         scr.dif_ang1.data(), scr.dif_ang2.data(), scr.dif_ray1.data(),
                         scr.dif_ray2.data()};
    run_kernel<component_waves_body>(first, last, in, c.rule, scr.dif_h.data(),
                                             scr.dif_theta.data());
  }
  // 4. The merge (the first component clears, the last forms the final waves).
  WAVSUM(cfg, wv, scr, c.icomp, c.ncomp, scr.dif_h, scr.dif_theta, c.first, c.last);
  return true;
}

// Whether the coast has a diffracting structure (a segment table with more
// than the undiffracted coast): without one, diffraction is the merge of the
// undiffracted wave alone.
bool diffracting_structures(const StructureState& st) {
  return !(st.NSEG == 0 || (st.NSEG == 1 && st.KSEGT(1) == KIND_END && st.KSEGT(2) == KIND_END));
}

}  // namespace

bool diffraction(const Settings& cfg, const TransportState& tr, const StructureState& st,
                 WaveState& wv, ScratchState& scr) {
  const int nw = cfg.NX + 1;
  // 1. No diffracting structure: the undiffracted wave is the only component.
  if (!diffracting_structures(st)) {
    WAVSUM(cfg, wv, scr, 1, 1, wv.HB, wv.THETAB, 1, nw);
    return true;
  }
  wall_geometry(cfg, tr, wv, scr);
  // 2. The components of this step: every segment above the active threshold.
  int ncomp = 0;
  for (int j = 1; j <= st.NSEG; ++j)
    if (st.SEGFAC(j) > ACTIVE_FACTOR) ++ncomp;
  if (ncomp == 0) {
    // Opaque structures all along the coast: no wave reaches it.
    for (int i = 1; i <= nw; ++i) scr.dif_h(i) = 0.0F;
    WAVSUM(cfg, wv, scr, 1, 1, scr.dif_h, scr.dif_h, 1, nw);
    return true;
  }
  // 3. The components in processing order (the merge is finalised at the
  //    last). Design note: a wall whose coefficient does not converge stops
  //    the step: no further component runs, and nothing reads the stopped
  //    step's merged waves (the run ends).
  int icomp = 0;
  for (int o = 1; o <= st.NSEG && icomp < ncomp; ++o) {
    const int j = st.SEGORD(o);
    if (st.SEGFAC(j) <= ACTIVE_FACTOR) continue;
    if (!component_walls(cfg, st, wv, scr, plan_component(cfg, tr, wv, st, j, ++icomp, ncomp)))
      return false;
  }
  return true;
}

}  // namespace coastra

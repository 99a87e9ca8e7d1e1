// Longshore transport: the profile parameter and the start-up state of the
// transport step, the average nearshore slope of a wave step, the transport
// step itself (QLS at every wall from one straight-line pass of the formula,
// then the few groin, shadow-edge and waves-from-behind walls, and the
// boundary walls). The groin factors are in groins.cpp, the shoreline update in
// shoreline_solver.cpp.
// Routines: time_factors, profile_parameter, setup_transport, update_slope, transport_step.

#include "transport/transport.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string_view>

#include "model/array_kernels.h"
#include "model/error_stop.h"
#include "model/oblique_transport.h"
#include "model/simd_path.h"
#include "model/vector_math.h"
#include "model/wall_codes.h"
#include "transport/transport_constants.h"

namespace coastra {
namespace {

constexpr double NO_SEAWALL = -9999.0;      // seawall line of a cell without one (m)
constexpr double NO_SEAWARD_LIMIT = 99999.0;  // YDBW of a cell outside every shadow zone (m)

// Set-up check: the console line, then the error stop with the same text.
[[noreturn]] void setup_error(RunState& run, std::string_view text) {
  *run.CON << text << '\n';
  error_stop(text);
}

// Alongshore coordinate (m) of the right wall of cell k. A seawall end given
// outside the grid is placed by continuing the end cell's spacing, so the
// interpolation between its two ends keeps the slope the user gave.
float seawall_coordinate(const Settings& cfg, const InputState& in, int k) {
  const int nx = cfg.NX;
  if (k < 1) return in.XCELL(1) - static_cast<float>(1 - k) * cfg.DX(1);
  if (k > nx) return in.XCELL(nx) + static_cast<float>(k - nx) * cfg.DX(nx);
  return in.XCELL(k);
}

// YSWALL: -9999 everywhere without seawalls. With seawalls, each wall's line is
// laid out between its two ends (interpolated in the alongshore coordinate),
// converted to metres and measured from the regional contour like YSHORE; the
// other cells sit as far landward as "no seawall" in the user's unit.
// Design notes:
// - A wall given with its first cell after its last is laid out between the
//   same two ends in grid order (cells and ends swapped together); cells of a
//   wall outside 1..NX are ignored, the cells inside keep the wall's slope.
// - A one-cell wall takes SWY2: its last-cell value is assigned after the first.
// - A seawall line seaward of the initial shoreline is kept as given. The
//   solver holds a cell at its seawall only when it erodes, and a cell landward
//   of its line is held where it is rather than lifted to the line, so such a
//   wall never moves the shoreline seaward by itself.
void lay_out_seawalls(const Settings& cfg, const InputState& in, TransportState& tr) {
  const int nx = cfg.NX;
  const int nsw = std::min(cfg.NSW, MXSW);
  for (int i = 1; i <= nx; ++i) tr.YSWALL(i) = NO_SEAWALL;
  if (nsw <= 0) return;
  const double far_landward = static_cast<double>(-9999.0F * in.LENFAC);
  for (int i = 1; i <= nx; ++i)
    tr.YSWALL(i) = std::min(tr.YSHORE(i), far_landward - static_cast<double>(in.YREG(i)));
  for (int s = 1; s <= nsw; ++s) {
    int b = cfg.ISWBEG(s), e = cfg.ISWEND(s);
    float y1 = cfg.SWY1(s), y2 = cfg.SWY2(s);
    if (b > e) {
      std::swap(b, e);
      std::swap(y1, y2);
    }
    const float xb = seawall_coordinate(cfg, in, b);
    const float xe = seawall_coordinate(cfg, in, e);
    for (int i = std::max(b, 1); i <= std::min(e, nx); ++i) {
      float y = y1;
      if (i == e) {
        y = y2;
      } else if (i != b) {
        y = y1 + (in.XCELL(i) - xb) / (xe - xb) * (y2 - y1);
      }
      tr.YSWALL(i) = static_cast<double>(y * in.LENFAC) - static_cast<double>(in.YREG(i));
    }
  }
}

// Rule of the height-gradient quantity D at a wall (m2/s2), formed once per
// step from the wall codes, the shadow marks and the shoreline, so that the
// per-wall transport pass is straight-line. D is the alongshore difference of
// SFAC squared (proportional to the breaking height): centred where it can be,
// one-sided next to structures, salients and the grid ends, and none where the
// shoreline has reached the breakwater line (the waves there do not drive sand
// along the shadowed beach).
enum GradientRule : int {
  GRAD_NONE = 0,       // D = 0
  GRAD_BACKWARD = 1,   // D = 2 (SFAC(i)^2 - SFAC(i-1)^2)
  GRAD_FORWARD = 2,    // D = 2 (SFAC(i+1)^2 - SFAC(i)^2)
  GRAD_CENTRED = 3,    // D = SFAC(i+1)^2 - SFAC(i-1)^2
};

// grad_rule of walls lo..hi (within 2..NX): none at a wall switched off by a
// salient (IGRADOFF), at a groin or connected wall (codes 1 and 3) and at
// both walls of a cell whose salient touches the breakwater (DBMARK -1);
// backward next to NX or before such a wall on the right, else forward next
// to wall 2 or after one on the left, else centred; none when a cell the form
// reads has reached its breakwater line (cell NX+1 is read at wall NX but its
// form does not use it).
// Design note: a touching cell j is a cell, not a wall: it closes its two
// walls j and j+1, so the one-sided forms keep off them from both sides
// (backward at wall j-1, forward at wall j+2). Closing wall j only, with the
// forward form at wall j+1, treated the two sides of a salient differently,
// and a coast mirrored about a breakwater's centre then grew different
// tombolo flanks (1.9 m apart after 30 years).
[[gnu::always_inline]] inline void gradient_rules_body(
    int lo, int hi, int nx, const int* __restrict off, const int* __restrict code,
    const int* __restrict mark, const double* __restrict y, const double* __restrict ydbw,
    int* __restrict rule) {
#pragma omp simd
  for (int i = lo; i <= hi; ++i) {
    const int cm = code[i - 1];
    const int cp = code[i + 1];
    const bool none = (off[i] != 0) | (code[i] == WALL_GROIN) | (code[i] == WALL_TOUCH) |
                      (mark[i - 1] == -1) | (mark[i] == -1);
    const bool back = (i == nx) | (cp == WALL_GROIN) | (cp == WALL_TOUCH) | (mark[i + 1] == -1);
    const bool fwd = (i == 2) | (cm == WALL_GROIN) | (cm == WALL_TOUCH) | (mark[i - 2] == -1);
    const bool left_blocked = y[i - 1] >= ydbw[i - 1];
    const bool here_blocked = y[i] >= ydbw[i];
    const bool right_blocked = y[i + 1] >= ydbw[i + 1];
    const int centred = right_blocked | left_blocked ? GRAD_NONE : GRAD_CENTRED;
    const int forward = right_blocked | here_blocked ? GRAD_NONE : GRAD_FORWARD;
    const int backward = here_blocked | left_blocked ? GRAD_NONE : GRAD_BACKWARD;
    int r = fwd ? forward : centred;
    r = back ? backward : r;
    rule[i] = none ? GRAD_NONE : r;
  }
}

// grad_rule of walls 2..NX (the boundary walls have none, from set-up).
void gradient_rules(const Settings& cfg, const WaveState& wv, const TransportState& tr,
                    ScratchState& scr) {
  const int nx = cfg.NX;
  run_kernel<gradient_rules_body>(2, nx, nx, wv.IGRADOFF.data(),
                                  tr.WALLTYPE.data(), tr.DBMARK.data(), tr.YSHORE.data(),
                                  tr.YDBW.data(), scr.grad_rule.data());
}

// Run-wide scalars of the transport pass.
struct TransportScalars {
  float gamma;   // breaker index GAMMA
  float tanb;    // average nearshore slope TANB
  float c;       // sqrt(HS_OVER_HRMS / GAMMA / g) (s/m^0.5)
};

// SFAC = sqrt(HBD GAMMA g / (4 HS_OVER_HRMS)) (m/s) of a breaking height hbd (m).
[[gnu::always_inline]] inline float sfac_of(float hbd, float gamma) {
  return std::sqrt(hbd * gamma * 0.25F * GRAV / HS_OVER_HRMS);
}

// Transport at walls lo..hi (m3/s, + towards higher cells) from the breaking
// height, group celerity and angle to the shoreline normal (THETAREL, kept),
// the gradient quantity D of the wall's rule and the tidal current, as the sum
// of three terms (m3/s):
//   wave      A1W HB^2 CGB sin 2theta                         (oblique_transport)
//   gradient  - 4 HB^2 CGB K2 D cos theta / (K1_DIVISOR GAMMA g DX TANB)
//   tidal     4 sqrt(HS_OVER_HRMS / (GAMMA g)) HB^1.5 CGB (A1W / TRANSPORT_SCALE) UTIDE cos theta
// Design notes:
// - K1 enters only through A1W, as a factor of the wave and tidal terms, so
//   K1 = 0 leaves the gradient term alone, the transport's limit there,
//   with no division by K1.
// - The gradient part is 0 where D = 0, which changes no value and keeps a
//   zero slope from producing 0/0.
// - Straight-line: sin and cos from the branch-free vector math, one sincos
//   for the wave term and the cos theta of the other two.
[[gnu::always_inline]] inline void wall_transport_body(
    int lo, int hi, TransportScalars s, const float* __restrict thetabd,
    const float* __restrict alphas, const float* __restrict hbd, const float* __restrict cgb,
    const float* __restrict sfac, const float* __restrict k2w, const float* __restrict a1w,
    const float* __restrict utide, const float* __restrict dxw, const int* __restrict rule,
    float* __restrict thetarel, float* __restrict qls) {
#pragma omp simd
  for (int i = lo; i <= hi; ++i) {
    // Angle to the shoreline normal.
    const float theta = thetabd[i] - alphas[i];
    const vmath::SinCos sc = vmath::sincos(theta);
    // Height-gradient quantity D by the wall's rule (m2/s2).
    const float s2m = sfac[i - 1] * sfac[i - 1];
    const float s20 = sfac[i] * sfac[i];
    const float s2p = sfac[i + 1] * sfac[i + 1];
    const int r = rule[i];
    float d = r == GRAD_BACKWARD ? 2.0F * (s20 - s2m) : 0.0F;
    d = r == GRAD_FORWARD ? 2.0F * (s2p - s20) : d;
    d = r == GRAD_CENTRED ? s2p - s2m : d;
    const float hb = hbd[i];
    const float cg = cgb[i];
    const float a1 = a1w[i];
    const float wave = oblique_transport(a1, hb, cg, sc.s, sc.c);
    const float g =
        4.0F * hb * hb * cg * k2w[i] * d * sc.c / (K1_DIVISOR * s.gamma * GRAV * dxw[i] * s.tanb);
    const float gradient = d == 0.0F ? 0.0F : g;
    const float tidal =
        s.c * std::sqrt(hb) * 4.0F * hb * cg * (a1 / TRANSPORT_SCALE) * utide[i] * sc.c;
    thetarel[i] = theta;
    qls[i] = wave - gradient + tidal;
  }
}

// Leakage into a breakwater shadow zone at wall i: where transport enters a
// marked cell from an open one, half of it times the fraction that passes
// landward of the breakwater's depth is diverted into QDBX.
void shadow_leakage(const Settings& cfg, const WaveState& wv, TransportState& tr, int i) {
  if (i <= 1 || i > cfg.NX || tr.WALLTYPE(i) == WALL_GROIN || tr.WALLTYPE(i) == WALL_TOUCH) return;
  const int a = std::abs(tr.DBMARK(i));
  const int b = std::abs(tr.DBMARK(i - 1));
  const double ybar = 0.5 * (tr.YSHORE(i) + tr.YSHORE(i - 1));
  float dist = 0.0F;   // breakwater line seaward of the shoreline at the wall (m)
  if (a == 1 && b == 0 && tr.QLS(i) > 0.0F) {
    dist = static_cast<float>(tr.YDBW(i) - ybar);
  } else if (a == 0 && b == 1 && tr.QLS(i) < 0.0F) {
    dist = static_cast<float>(tr.YDBW(i - 1) - ybar);
  } else {
    return;
  }
  const float dlt = (SURF_DEPTH_FAC / cfg.GAMMA) * wv.HBD(i);   // surf-zone depth (m)
  const float dg = dist >= 0.0F ? tr.APROF * std::pow(dist, 0.667F) : 0.0F;
  float frac = dlt > 0.01F ? 1.0F - dg / dlt : 0.0F;
  if (dg > dlt) frac = 0.0F;
  frac = std::min(frac, 1.0F);
  const float x = 0.5F * tr.QLS(i) * frac;
  tr.QDBX(i) = x;
  tr.QLS(i) = tr.QLS(i) - x;
}

// SFAC and the cleared leakage at walls lo..hi; FBEHIND 1.1 (the factor of
// an open wall for waves from behind).
[[gnu::always_inline]] inline void prepare_walls_body(int lo, int hi, float gamma,
                                                      const float* __restrict hbd,
                                                      float* __restrict sfac,
                                                      float* __restrict qdbx,
                                                      float* __restrict fbehind) {
#pragma omp simd
  for (int i = lo; i <= hi; ++i) {
    sfac[i] = sfac_of(hbd[i], gamma);
    qdbx[i] = 0.0F;
    fbehind[i] = 1.1F;
  }
}

// Forms SFAC, clears QDBX, sets FBEHIND of the open walls and keeps YSHORE
// as YSTART.
void prepare_walls(const Settings& cfg, const WaveState& wv, TransportState& tr) {
  run_kernel<prepare_walls_body>(1, cfg.NX + 1, cfg.GAMMA,
                                 static_cast<const float*>(wv.HBD.data()), tr.SFAC.data(),
                                 tr.QDBX.data(), tr.FBEHIND.data());
  copy_range<double>(tr.YSHORE.data(), tr.YSTART.data(), 1, cfg.NX);
}

// Transport at every wall by the wall's formula (THETAREL kept), SFAC formed
// before (prepare_walls). Walls 1 and NX+1 read SFAC of walls 0 and NX+2,
// which their rule (none) does not use.
void wall_formula(const Settings& cfg, const WaveState& wv, const ScratchState& scr,
                  TransportState& tr) {
  const TransportScalars s{cfg.GAMMA, tr.TANB, std::sqrt((HS_OVER_HRMS / cfg.GAMMA) / GRAV)};
  run_kernel<wall_transport_body>(1, cfg.NX + 1, s, wv.THETABD.data(), wv.ALPHAS.data(), wv.HBD.data(),
                                  wv.CGB.data(), tr.SFAC.data(), cfg.K2.data(), tr.A1W.data(),
                                  tr.UTIDE.data(), tr.wall_dx.data(),
                                  scr.grad_rule.data(), tr.THETAREL.data(), tr.QLS.data());
}

// Groin walls: a groin or connected wall (code 1 or 3, either sign) passes its
// groin factor times the formula's transport; at a groin (code 1) waves from
// behind carry 1.1 GROINF of the neighbour's transport.
// Design note: the list is in wall order (the set-up checks ensure it); a
// groin named out of order or outside the walls ends the list's effect here,
// as a single walk of the walls along the list does.
void groin_walls(const Settings& cfg, const InputState& in, TransportState& tr) {
  const int nw = cfg.NX + 1;
  int next = 1;   // first wall the list may still name
  for (int k = 1; k <= in.NGRO; ++k) {
    const int i = in.IXG(k);
    if (i < next || i > nw) break;
    const int code = tr.WALLTYPE(i);
    if (code == WALL_GROIN || code == WALL_TOUCH) tr.QLS(i) = tr.GROINF(k) * tr.QLS(i);
    if (code == WALL_GROIN) tr.FBEHIND(i) = 1.1F * tr.GROINF(k);
    next = i + 1;
  }
}

// Leakage at the edges of the shadow zones: the walls between a marked and an
// unmarked cell.
void shadow_edges(const Settings& cfg, const WaveState& wv, TransportState& tr) {
  const int* __restrict mark = tr.DBMARK.data();
  for (int i = 2; i <= cfg.NX; ++i)
    if ((mark[i] == 0) != (mark[i - 1] == 0)) shadow_leakage(cfg, wv, tr, i);
}

// Whether any cell of lo..hi carries a shadow mark, and whether any wall's
// angle to the shoreline normal exceeds PI/2 on either side: the scalar walks
// of the shadow edges and of waves from behind run only then.
// Design note: these flags OR one test per element; an integer OR gives the
// same result in any order, so it may be a vector reduction on every path.
[[gnu::always_inline]] inline void any_marked_body(int lo, int hi, const int* __restrict mark,
                                                   int* __restrict any) {
  int b = 0;
#pragma omp simd reduction(| : b)
  for (int i = lo; i <= hi; ++i) b |= static_cast<int>(mark[i] != 0);
  *any = b;
}
[[gnu::always_inline]] inline void any_behind_body(int lo, int hi, const float* __restrict theta,
                                                   int* __restrict any) {
  int b = 0;
#pragma omp simd reduction(| : b)
  for (int i = lo; i <= hi; ++i)
    b |= static_cast<int>(theta[i] > PI / 2.0F) | static_cast<int>(theta[i] < -PI / 2.0F);
  *any = b;
}

// Waves from behind the shoreline on the left (theta > PI/2): the wall takes
// FBEHIND times the final transport of the wall to its left. Left to right, so
// that neighbour's value is final (a run of such walls carries it along).
void waves_from_left(const Settings& cfg, TransportState& tr) {
  const float* __restrict theta = tr.THETAREL.data();
  const float* __restrict f = tr.FBEHIND.data();
  float* __restrict q = tr.QLS.data();
  for (int i = 2; i <= cfg.NX + 1; ++i)
    if (theta[i] > PI / 2.0F) q[i] = f[i] * q[i - 1];
}

// Waves from behind the shoreline on the right (theta < -PI/2): the wall takes
// the transport of its right neighbour computed in this step. Right to left, so
// that neighbour's value is final (a run of such walls carries it along).
void waves_from_right(const Settings& cfg, TransportState& tr) {
  const float* __restrict theta = tr.THETAREL.data();
  const float* __restrict f = tr.FBEHIND.data();
  float* __restrict q = tr.QLS.data();
  for (int i = cfg.NX; i >= 1; --i)
    if (theta[i] < -PI / 2.0F) q[i] = f[i] * q[i + 1];
}

// Boundary walls without a groin: the boundary cell moves by the step's
// displacement (0 for a pinned beach) whatever the transport at its inner wall.
// With a groin at the boundary wall its factored transport stands.
void boundary_walls(const Settings& cfg, const InputState& in, TransportState& tr) {
  const int nx = cfg.NX;
  if (in.LMOVE)
    tr.QLS(1) = cfg.DX(1) * static_cast<float>(in.DYL) / tr.DTFAC(1) + tr.QLS(2);
  if (in.RMOVE)
    tr.QLS(nx + 1) = tr.QLS(nx) - static_cast<float>(in.DYR) * cfg.DX(nx) / tr.DTFAC(nx);
}

}  // namespace

namespace {
[[gnu::always_inline]] inline void time_factors_body(int lo, int hi, float dt,
                                                     const float* __restrict berm,
                                                     const float* __restrict dclos,
                                                     float* __restrict dtfac) {
#pragma omp simd
  for (int i = lo; i <= hi; ++i) dtfac[i] = 3600.0F * dt / (berm[i] + dclos[i]);
}
}  // namespace

// DTFAC(i) = 3600 DT / (berm height + closure depth) (s/m): turns a transport
// difference (m3/s) per metre of beach into a shoreline displacement over one
// step. DT is in hours, hence the 3600.
void time_factors(const Settings& cfg, const StepState& step, TransportState& tr) {
  run_kernel<time_factors_body>(1, cfg.NX, step.DT, cfg.BERMHT.data(), cfg.DCLOS.data(),
                                tr.DTFAC.data());
}

float profile_parameter(float D50) {
  if (D50 < 0.4F) return 0.41F * std::pow(D50, 0.94F);
  if (D50 < 10.0F) return 0.23F * std::pow(D50, 0.32F);
  if (D50 < 40.0F) return 0.23F * std::pow(D50, 0.28F);
  return 0.46F * std::pow(D50, 0.11F);
}

void setup_transport(const Settings& cfg, const StepState& step, RunState& run, InputState& in,
                     TransportState& tr, ScratchState& scr) {
  const int nx = cfg.NX;
  // 1. Profile shape parameter. A grain size of zero (the key's default) or less
  //    has no profile: every transport would be 0/0, so the run is stopped.
  if (!(cfg.D50 > 0.0F))
    setup_error(run, " ERROR. MEDIAN GRAIN SIZE D50 MUST BE GREATER THAN ZERO.");
  tr.APROF = profile_parameter(cfg.D50);
  //    The breaker index turns breaking heights into depths: without a positive
  //    one there is no breaker line.
  if (!(cfg.GAMMA > 0.0F)) setup_error(run, " ERROR. BREAKER INDEX GAMMA MUST BE GREATER THAN ZERO.");
  // 2. Active profile height: must be positive for DTFAC to exist.
  for (int i = 1; i <= nx; ++i)
    if (!(cfg.BERMHT(i) + cfg.DCLOS(i) > 0.0F))
      setup_error(run, " ERROR. BERM HEIGHT PLUS CLOSURE DEPTH MUST BE GREATER THAN ZERO.");
  time_factors(cfg, step, tr);
  // 3. Transport coefficient at every wall, the right boundary wall included, so
  //    a groin there passes transport as one at wall 1 does.
  for (int i = 1; i <= nx + 1; ++i) tr.A1W(i) = cfg.K1(i) / K1_DIVISOR;
  //    The spacing of every wall for the gradient term (wall NX+1 takes DX of
  //    cell NX); the cells do not change during the run.
  for (int i = 1; i <= nx + 1; ++i) tr.wall_dx(i) = cfg.DX(std::min(i, nx));
  // The boundary walls have no gradient rule (the step forms walls 2..NX).
  scr.grad_rule(1) = GRAD_NONE;
  scr.grad_rule(nx + 1) = GRAD_NONE;
  // 4. Shoreline measured seaward of the regional contour.
  for (int i = 1; i <= nx; ++i) {
    in.YINIT(i) -= static_cast<double>(in.YREG(i));
    tr.YSHORE(i) = in.YINIT(i);
  }
  // 5. Seawall lines.
  lay_out_seawalls(cfg, in, tr);
  // 6. Inlet cells.
  for (int i = 1; i <= nx; ++i) tr.INLCELL(i) = 0;
  for (int k = 1; k <= std::min(cfg.NINL, MXINL); ++k)
    for (int i = std::max(cfg.IINLS(k), 1); i <= std::min(cfg.IINLE(k), nx); ++i)
      tr.INLCELL(i) = 1;
  // 7. Wall codes: 1 at every groin wall.
  for (int i = 1; i <= nx + 1; ++i) tr.WALLTYPE(i) = WALL_OPEN;
  for (int k = 1; k <= in.NGRO; ++k)
    if (in.IXG(k) >= 1 && in.IXG(k) <= nx + 1) tr.WALLTYPE(in.IXG(k)) = WALL_GROIN;
  // 8. No breakwater shadow: open coast, no seaward limit.
  for (int i = 1; i <= nx; ++i) {
    tr.DBMARK(i) = 0;
    tr.YDBW(i) = NO_SEAWARD_LIMIT;
  }
}

namespace {
// K2C = K2 / (K2_DIVISOR TANB), the gradient coefficient of the stability parameter.
[[gnu::always_inline]] inline void gradient_coefficients_body(int lo, int hi, float tanb,
                                                              const float* __restrict k2,
                                                              float* __restrict k2c) {
#pragma omp simd
  for (int i = lo; i <= hi; ++i) k2c[i] = k2[i] / (K2_DIVISOR * tanb);
}
}  // namespace

void update_slope(const Settings& cfg, const WaveState& wv, TransportState& tr) {
  tr.TANB = std::sqrt(tr.APROF * tr.APROF * tr.APROF / wv.DLTZ(1));
  run_kernel<gradient_coefficients_body>(1, cfg.NX + 1, tr.TANB, cfg.K2.data(), tr.K2C.data());
}

void transport_step(const Settings& cfg, const InputState& in, const WaveState& wv,
                    TransportState& tr, ScratchState& scr) {
  // 1. (The time factor of every cell, DTFAC, is formed at set-up and again
  //    when the adaptive step changes DT.)
  // 2. SFAC, cleared leakage, YSTART; the gradient rule of every wall (the
  //    rules read neighbouring cells, which no pass here writes).
  // 3. Transport at every wall by its formula; whether a cell lies in a
  //    breakwater's shadow and whether waves come from behind a wall
  //    (THETAREL is written by the formula alone, the marks before the
  //    step's transport).
  const int nx = cfg.NX;
  prepare_walls(cfg, wv, tr);
  gradient_rules(cfg, wv, tr, scr);
  wall_formula(cfg, wv, scr, tr);
  const int marked = run_any<any_marked_body>(1, nx, tr.DBMARK.data());
  const int behind = run_any<any_behind_body>(1, nx + 1, tr.THETAREL.data());
  // 4. Groin walls, then leakage into the shadow zones (both wall by wall, so
  //    their order between walls does not matter).
  groin_walls(cfg, in, tr);
  if (marked != 0) shadow_edges(cfg, wv, tr);
  // 5. Waves from behind: from the left, left to right; then from the right,
  //    right to left, on the final values of the first pass.
  if (behind != 0) {
    waves_from_left(cfg, tr);
    waves_from_right(cfg, tr);
  }
  // 6. Boundary walls.
  boundary_walls(cfg, in, tr);
}

}  // namespace coastra

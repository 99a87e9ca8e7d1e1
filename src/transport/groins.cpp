// Groin factors of a wave step: the distance from each groin tip to the
// shoreline on both sides, the bypassing fraction BYPG and transport factor
// GROINF of each groin, and the potential transport at the groin wall.
// Routine: groin_factors.

#include "transport/groins.h"

#include <algorithm>
#include <cmath>

#include "model/oblique_transport.h"
#include "model/vector_math.h"
#include "transport/transport_constants.h"

namespace coastra {
namespace {

// Shoreline of cell c measured from the baseline (m), the measure of the groin
// tip lines.
double baseline_shoreline(const InputState& in, const TransportState& tr, int c) {
  return tr.YSHORE(c) + static_cast<double>(in.YREG(c));
}

// DGL, DGR: groin tip seaward of the shoreline extrapolated linearly to the
// groin wall from each side (m), never negative. Next to a grid end the
// distance on the outer side is the one given for the boundary groin.
// Design note: YSHORE is measured from the regional contour and the tip lines
// from the baseline, so the shoreline is taken back to the baseline first;
// without a regional contour the two measures are the same.
void tip_distances(const Settings& cfg, const InputState& in, TransportState& tr, int k) {
  const int nx = cfg.NX;
  const int j = in.IXG(k);
  const double yg = static_cast<double>(in.YG(k));
  float dl = cfg.LGROINY;
  float dr = cfg.RGROINY;
  if (j >= 3)
    dl = static_cast<float>(
        yg - (1.5 * baseline_shoreline(in, tr, j - 1) - 0.5 * baseline_shoreline(in, tr, j - 2)));
  if (j < nx)
    dr = static_cast<float>(
        yg - (1.5 * baseline_shoreline(in, tr, j) - 0.5 * baseline_shoreline(in, tr, j + 1)));
  tr.DGL(k) = std::max(dl, 0.0F);
  tr.DGR(k) = std::max(dr, 0.0F);
}

// GROINF, BYPG and QGPOT of groin k. The breaking angle at the groin wall is
// clipped to +-PI/4 and kept clipped for the transport.
// Design note: rel is the breaking angle relative to the shoreline normal with
// the sign of the transport (+ drives sand to higher cells), so the updrift side
// is the left one for rel > 0. Sand bypasses the tip from the updrift side: its
// tip distance sets the depth at the tip, its height difference enters the
// potential transport, and an inlet on that side feeds the groin nothing. The
// opposite sign would measure the depth on the downdrift (eroding) side, where
// a filling groin would bypass less and less. The potential transport QGPOT
// follows the same convention and so carries the sign of QLS at the wall
// (+ towards higher cells); any rule that tests its sign reads it that way.
// Design note: the gradient coefficient G = K2C / (2 DX) is used as it is, not
// truncated to a whole number (truncation would drop the gradient term for
// nearly every grid).
void groin_factor(const Settings& cfg, const InputState& in, WaveState& wv, TransportState& tr,
                  int k) {
  const int nx = cfg.NX;
  const int j = in.IXG(k);
  const float quarter = PI / 4.0F;
  const float angle = std::clamp(wv.THETABD(j), -quarter, quarter);
  wv.THETABD(j) = angle;
  const float rel = angle - wv.ALPHAS(j);
  const float p = in.PG(k);
  if (rel == 0.0F) {
    tr.BYPG(k) = 0.0F;
    tr.GROINF(k) = p;
    tr.QGPOT(k) = 0.0F;
    return;
  }
  // Bypassing: the part of the surf zone (depth DLT) that lies seaward of the tip.
  const float dist = rel > 0.0F ? tr.DGL(k) : tr.DGR(k);
  const float dg = tr.APROF * std::pow(dist, 0.667F) + tr.WLCUR;   // depth at the tip (m)
  const float dlt = (SURF_DEPTH_FAC / cfg.GAMMA) * wv.HBD(j);   // surf-zone depth (m)
  float byp = dlt > 0.01F ? 1.0F - dg / dlt : 0.0F;
  if (dlt < dg) byp = 0.0F;
  byp = std::min(byp, 1.0F);
  float gf = byp + p - p * byp;   // bypassed, plus what passes through the groin
  if ((rel > 0.0F && j > 2 && tr.INLCELL(j - 1) == 1) ||
      (rel < 0.0F && j < nx && tr.INLCELL(j) == 1)) {
    byp = 0.0F;
    gf = 0.0F;
  }
  tr.BYPG(k) = byp;
  tr.GROINF(k) = gf;
  // Potential transport at the groin wall, with the updrift height difference.
  const float half = PI / 2.0F;
  const float phi = std::clamp(rel, -half, half);
  float dh = 0.0F;
  if (rel > 0.0F && j > 1) dh = 2.0F * (wv.HBD(j) - wv.HBD(j - 1));
  if (rel < 0.0F && j <= nx) dh = 2.0F * (wv.HBD(j + 1) - wv.HBD(j));
  // QGPOT = A1W HB^2 CGB sin 2phi - HB^2 CGB G dh cos phi (m3/s), G (1/m), dh (m).
  const float g = tr.K2C(j) / (2.0F * cfg.DX(std::min(j, nx)));
  const float hb = wv.HBD(j);
  const float cg = wv.CGB(j);
  const vmath::SinCos sc = vmath::sincos(phi);
  tr.QGPOT(k) = oblique_transport(tr.A1W(j), hb, cg, sc.s, sc.c) - hb * hb * cg * g * dh * sc.c;
}

}  // namespace

void groin_factors(const Settings& cfg, const InputState& in, WaveState& wv, TransportState& tr) {
  for (int k = 1; k <= in.NGRO; ++k) {
    tip_distances(cfg, in, tr, k);
    groin_factor(cfg, in, wv, tr, k);
  }
}

}  // namespace coastra

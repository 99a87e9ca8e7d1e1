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
double baseline_shoreline(const ModelState& m, int c) {
  return m.YSHORE(c) + static_cast<double>(m.YREG(c));
}

// DGL, DGR: groin tip seaward of the shoreline extrapolated linearly to the
// groin wall from each side (m), never negative. Next to a grid end the
// distance on the outer side is the one given for the boundary groin.
// Design note: YSHORE is measured from the regional contour and the tip lines
// from the baseline, so the shoreline is taken back to the baseline first;
// without a regional contour the two measures are the same.
void tip_distances(ModelState& m, int k) {
  const int nx = m.cfg.NX;
  const int j = m.IXG(k);
  const double yg = static_cast<double>(m.YG(k));
  float dl = m.cfg.LGROINY;
  float dr = m.cfg.RGROINY;
  if (j >= 3)
    dl = static_cast<float>(
        yg - (1.5 * baseline_shoreline(m, j - 1) - 0.5 * baseline_shoreline(m, j - 2)));
  if (j < nx)
    dr = static_cast<float>(
        yg - (1.5 * baseline_shoreline(m, j) - 0.5 * baseline_shoreline(m, j + 1)));
  m.DGL(k) = std::max(dl, 0.0F);
  m.DGR(k) = std::max(dr, 0.0F);
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
void groin_factor(ModelState& m, int k) {
  const int nx = m.cfg.NX;
  const int j = m.IXG(k);
  const float quarter = PI / 4.0F;
  const float angle = std::clamp(m.THETABD(j), -quarter, quarter);
  m.THETABD(j) = angle;
  const float rel = angle - m.ALPHAS(j);
  const float p = m.PG(k);
  if (rel == 0.0F) {
    m.BYPG(k) = 0.0F;
    m.GROINF(k) = p;
    m.QGPOT(k) = 0.0F;
    return;
  }
  // Bypassing: the part of the surf zone (depth DLT) that lies seaward of the tip.
  const float dist = rel > 0.0F ? m.DGL(k) : m.DGR(k);
  const float dg = m.APROF * std::pow(dist, 0.667F) + m.WLCUR;   // depth at the tip (m)
  const float dlt = (SURF_DEPTH_FAC / m.cfg.GAMMA) * m.HBD(j);   // surf-zone depth (m)
  float byp = dlt > 0.01F ? 1.0F - dg / dlt : 0.0F;
  if (dlt < dg) byp = 0.0F;
  byp = std::min(byp, 1.0F);
  float gf = byp + p - p * byp;   // bypassed, plus what passes through the groin
  if ((rel > 0.0F && j > 2 && m.INLCELL(j - 1) == 1) ||
      (rel < 0.0F && j < nx && m.INLCELL(j) == 1)) {
    byp = 0.0F;
    gf = 0.0F;
  }
  m.BYPG(k) = byp;
  m.GROINF(k) = gf;
  // Potential transport at the groin wall, with the updrift height difference.
  const float half = PI / 2.0F;
  const float phi = std::clamp(rel, -half, half);
  float dh = 0.0F;
  if (rel > 0.0F && j > 1) dh = 2.0F * (m.HBD(j) - m.HBD(j - 1));
  if (rel < 0.0F && j <= nx) dh = 2.0F * (m.HBD(j + 1) - m.HBD(j));
  // QGPOT = A1W HB^2 CGB sin 2phi - HB^2 CGB G dh cos phi (m3/s), G (1/m), dh (m).
  const float g = m.K2C(j) / (2.0F * m.cfg.DX(std::min(j, nx)));
  const float hb = m.HBD(j);
  const float cg = m.CGB(j);
  const vmath::SinCos sc = vmath::sincos(phi);
  m.QGPOT(k) = oblique_transport(m.A1W(j), hb, cg, sc.s, sc.c) - hb * hb * cg * g * dh * sc.c;
}

}  // namespace

void groin_factors(ModelState& m) {
  for (int k = 1; k <= m.NGRO; ++k) {
    tip_distances(m, k);
    groin_factor(m, k);
  }
}

}  // namespace coastra

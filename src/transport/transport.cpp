// Longshore transport: the profile parameter and the start-up state of the
// transport step, the average nearshore slope of a wave step, the transport
// step itself (QLS at every wall, boundary walls) and the split of the step's
// final QLS into QNEG/QPOS/QGROSS. The groin factors are in groins.cpp, the
// shoreline update in shoreline_solver.cpp.
// Routines: time_factors, profile_parameter, setup_transport, update_slope, transport_step,
// split_transport.

#include "transport/transport.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string_view>

#include "model/error_stop.h"
#include "transport/transport_constants.h"

namespace coastra {
namespace {

constexpr double NO_SEAWALL = -9999.0;      // seawall line of a cell without one (m)
constexpr double NO_SEAWARD_LIMIT = 99999.0;  // YDBW of a cell outside every shadow zone (m)

// Set-up check: the console line, then the error stop with the same text.
[[noreturn]] void setup_error(ModelState& m, std::string_view text) {
  m.con() << text << '\n';
  error_stop(text);
}

// Alongshore coordinate (m) of the right wall of cell k. A seawall end given
// outside the grid is placed by continuing the end cell's spacing, so the
// interpolation between its two ends keeps the slope the user gave.
float seawall_coordinate(const ModelState& m, int k) {
  const int nx = m.cfg.NX;
  if (k < 1) return m.XCELL(1) - static_cast<float>(1 - k) * m.cfg.DX(1);
  if (k > nx) return m.XCELL(nx) + static_cast<float>(k - nx) * m.cfg.DX(nx);
  return m.XCELL(k);
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
void lay_out_seawalls(ModelState& m) {
  const int nx = m.cfg.NX;
  const int nsw = std::min(m.cfg.NSW, MXSW);
  for (int i = 1; i <= nx; ++i) m.YSWALL(i) = NO_SEAWALL;
  if (nsw <= 0) return;
  const double far_landward = static_cast<double>(-9999.0F * m.LENFAC);
  for (int i = 1; i <= nx; ++i)
    m.YSWALL(i) = std::min(m.YSHORE(i), far_landward - static_cast<double>(m.YREG(i)));
  for (int s = 1; s <= nsw; ++s) {
    int b = m.cfg.ISWBEG(s), e = m.cfg.ISWEND(s);
    float y1 = m.cfg.SWY1(s), y2 = m.cfg.SWY2(s);
    if (b > e) {
      std::swap(b, e);
      std::swap(y1, y2);
    }
    const float xb = seawall_coordinate(m, b);
    const float xe = seawall_coordinate(m, e);
    for (int i = std::max(b, 1); i <= std::min(e, nx); ++i) {
      float y = y1;
      if (i == e) {
        y = y2;
      } else if (i != b) {
        y = y1 + (m.XCELL(i) - xb) / (xe - xb) * (y2 - y1);
      }
      m.YSWALL(i) = static_cast<double>(y * m.LENFAC) - static_cast<double>(m.YREG(i));
    }
  }
}

// Height-gradient quantity D of wall i (m2/s2): the alongshore difference of
// SFAC squared (proportional to the breaking height), centred where it can be,
// one-sided next to structures, salients and the grid ends, and zero where the
// shoreline has reached the breakwater line (the waves there do not drive sand
// along the shadowed beach).
float height_gradient(const ModelState& m, int i) {
  const int nx = m.cfg.NX;
  if (m.IGRADOFF(i) != 0 || i == 1 || i == nx + 1) return 0.0F;
  if (m.WALLTYPE(i) == 1 || m.WALLTYPE(i) == 3 || m.DBMARK(i) == -1) return 0.0F;
  auto structure = [&m](int j) {
    const int t = std::abs(m.WALLTYPE(j));
    return t == 1 || t == 3;
  };
  auto blocked = [&m](int j) { return m.YSHORE(j) >= m.YDBW(j); };
  auto s2 = [&m](int j) { return m.SFAC(j) * m.SFAC(j); };
  float d = 0.0F;
  if (i == nx || structure(i + 1) || m.DBMARK(i + 1) == -1) {
    d = blocked(i) ? 0.0F : 2.0F * (s2(i) - s2(i - 1));   // backward one-sided
    if (blocked(i - 1)) d = 0.0F;
  } else if (i == 2 || structure(i - 1) || m.DBMARK(i - 1) == -1) {
    d = blocked(i + 1) ? 0.0F : 2.0F * (s2(i + 1) - s2(i));   // forward one-sided
    if (blocked(i)) d = 0.0F;
  } else {
    d = blocked(i + 1) ? 0.0F : s2(i + 1) - s2(i - 1);   // centred
    if (blocked(i - 1)) d = 0.0F;
  }
  return d;
}

// Transport at wall i (m3/s, + towards higher cells) from the breaking height,
// group celerity and angle (sin and cos of the relative angle), the gradient
// quantity d and the tidal current. The evaluated sequence equals the sum
// A1W HB^2 CGB sin 2theta - 4 HB^2 CGB K2 D cos theta / (K1_DIVISOR GAMMA g DX TANB)
// + tidal term.
// Design note: K1 = 0 would make the sequence 0/0; its limit is the gradient
// term alone (A1W = 0), which is evaluated directly. The gradient part is skipped
// when D = 0, which changes no value and keeps a zero slope from producing 0/0.
float wall_transport(const ModelState& m, int i, float sn, float cs, float d, float c) {
  const float hb = m.HBD(i);
  const float cgb = m.CGB(i);
  const float s = m.SFAC(i);
  const float k1 = m.cfg.K1(i);
  const float k2 = m.cfg.K2(i);
  const float gamma = m.cfg.GAMMA;
  const float dxw = m.cfg.DX(std::min(i, m.cfg.NX));   // wall NX+1 takes DX of cell NX
  if (k1 == 0.0F) {
    if (d == 0.0F) return 0.0F;
    return -4.0F * hb * hb * cgb * k2 * d * cs / (K1_DIVISOR * gamma * GRAV * dxw * m.TANB);
  }
  const float r = k1 / TRANSPORT_SCALE;
  const float grad =
      d == 0.0F ? 0.0F : (0.5F * d) * (4.0F * s * (k2 / r) / gamma / GRAV / dxw) / m.TANB;
  const float e = s * sn * (k1 / r) - grad;
  return c * (std::sqrt(hb) * 4.0F * hb * cgb * m.A1W(i) / k1) * r * (e + m.UTIDE(i)) * cs;
}

// Leakage into a breakwater shadow zone at wall i: where transport enters a
// marked cell from an open one, half of it times the fraction that passes
// landward of the breakwater's depth is diverted into QDBX.
void shadow_leakage(ModelState& m, int i) {
  if (i <= 1 || i > m.cfg.NX || m.WALLTYPE(i) == 1 || m.WALLTYPE(i) == 3) return;
  const int a = std::abs(m.DBMARK(i));
  const int b = std::abs(m.DBMARK(i - 1));
  const double ybar = 0.5 * (m.YSHORE(i) + m.YSHORE(i - 1));
  float dist = 0.0F;   // breakwater line seaward of the shoreline at the wall (m)
  if (a == 1 && b == 0 && m.QLS(i) > 0.0F) {
    dist = static_cast<float>(m.YDBW(i) - ybar);
  } else if (a == 0 && b == 1 && m.QLS(i) < 0.0F) {
    dist = static_cast<float>(m.YDBW(i - 1) - ybar);
  } else {
    return;
  }
  const float dlt = (SURF_DEPTH_FAC / m.cfg.GAMMA) * m.HBD(i);   // surf-zone depth (m)
  const float dg = dist >= 0.0F ? m.APROF * std::pow(dist, 0.667F) : 0.0F;
  float frac = dlt > 0.01F ? 1.0F - dg / dlt : 0.0F;
  if (dg > dlt) frac = 0.0F;
  frac = std::min(frac, 1.0F);
  const float x = 0.5F * m.QLS(i) * frac;
  m.QDBX(i) = x;
  m.QLS(i) = m.QLS(i) - x;
}

// Clears the step's wall arrays, forms SFAC and keeps YSHORE as YSTART.
void prepare_walls(ModelState& m) {
  const int nx = m.cfg.NX;
  const float gamma = m.cfg.GAMMA;
  for (int i = 1; i <= nx + 1; ++i) {
    m.QLS(i) = 0.0F;
    m.QDBX(i) = 0.0F;
    m.QNEG(i) = 0.0F;
    m.QPOS(i) = 0.0F;
    m.QGROSS(i) = 0.0F;
    m.SFAC(i) = std::sqrt(m.HBD(i) * gamma * 0.25F * GRAV / HS_OVER_HRMS);
  }
  for (int i = 1; i <= nx; ++i) m.YSTART(i) = m.YSHORE(i);
}

// One pass over the walls from left to right: transport, groin factor, shadow
// leakage and waves from behind the shoreline on the left (theta > PI/2 takes
// the final transport of the wall to the left). The factor for waves from
// behind is kept per wall for the pass from the right.
void wall_pass(ModelState& m) {
  const int nx = m.cfg.NX;
  const float c = std::sqrt((HS_OVER_HRMS / m.cfg.GAMMA) / GRAV);
  int k = 1;   // next groin of the list
  for (int i = 1; i <= nx + 1; ++i) {
    const float theta = m.THETABD(i) - m.ALPHAS(i);
    const float sn = std::sin(theta);
    const float cs = std::cos(theta);
    m.THETAREL(i) = theta;
    m.QLS(i) = wall_transport(m, i, sn, cs, height_gradient(m, i), c);
    float f = 1.1F;
    if (k <= m.NGRO && m.IXG(k) == i) {
      const int code = std::abs(m.WALLTYPE(i));
      if (code == 1 || code == 3) m.QLS(i) = m.GROINF(k) * m.QLS(i);
      if (code == 1) f = 1.1F * m.GROINF(k);
      ++k;
    }
    shadow_leakage(m, i);
    m.FBEHIND(i) = f;
    if (theta > PI / 2.0F && i > 1) m.QLS(i) = f * m.QLS(i - 1);
  }
}

// Waves from behind the shoreline on the right (theta < -PI/2): the wall takes
// the transport of its right neighbour computed in this step. Right to left, so
// that neighbour's value is final (a run of such walls carries it along).
void waves_from_right(ModelState& m) {
  for (int i = m.cfg.NX; i >= 1; --i)
    if (m.THETAREL(i) < -PI / 2.0F) m.QLS(i) = m.FBEHIND(i) * m.QLS(i + 1);
}

// Boundary walls without a groin: the boundary cell moves by the step's
// displacement (0 for a pinned beach) whatever the transport at its inner wall.
// With a groin at the boundary wall its factored transport stands.
void boundary_walls(ModelState& m) {
  const int nx = m.cfg.NX;
  if (m.LMOVE)
    m.QLS(1) = m.cfg.DX(1) * static_cast<float>(m.DYL) / m.DTFAC(1) + m.QLS(2);
  if (m.RMOVE)
    m.QLS(nx + 1) = m.QLS(nx) - static_cast<float>(m.DYR) * m.cfg.DX(nx) / m.DTFAC(nx);
}

}  // namespace

// DTFAC(i) = 3600 DT / (berm height + closure depth) (s/m): turns a transport
// difference (m3/s) per metre of beach into a shoreline displacement over one
// step. DT is in hours, hence the 3600.
void time_factors(ModelState& m) {
  for (int i = 1; i <= m.cfg.NX; ++i)
    m.DTFAC(i) = 3600.0F * m.cfg.DT / (m.cfg.BERMHT(i) + m.cfg.DCLOS(i));
}

float profile_parameter(float D50) {
  if (D50 < 0.4F) return 0.41F * std::pow(D50, 0.94F);
  if (D50 < 10.0F) return 0.23F * std::pow(D50, 0.32F);
  if (D50 < 40.0F) return 0.23F * std::pow(D50, 0.28F);
  return 0.46F * std::pow(D50, 0.11F);
}

void setup_transport(ModelState& m) {
  const int nx = m.cfg.NX;
  // 1. Profile shape parameter. A grain size of zero (the key's default) or less
  //    has no profile: every transport would be 0/0, so the run is stopped.
  if (!(m.cfg.D50 > 0.0F))
    setup_error(m, " ERROR. MEDIAN GRAIN SIZE D50 MUST BE GREATER THAN ZERO.");
  m.APROF = profile_parameter(m.cfg.D50);
  //    The breaker index turns breaking heights into depths: without a positive
  //    one there is no breaker line.
  if (!(m.cfg.GAMMA > 0.0F)) setup_error(m, " ERROR. BREAKER INDEX GAMMA MUST BE GREATER THAN ZERO.");
  // 2. Active profile height: must be positive for DTFAC to exist.
  for (int i = 1; i <= nx; ++i)
    if (!(m.cfg.BERMHT(i) + m.cfg.DCLOS(i) > 0.0F))
      setup_error(m, " ERROR. BERM HEIGHT PLUS CLOSURE DEPTH MUST BE GREATER THAN ZERO.");
  time_factors(m);
  // 3. Transport coefficient at every wall, the right boundary wall included, so
  //    a groin there passes transport as one at wall 1 does.
  for (int i = 1; i <= nx + 1; ++i) m.A1W(i) = m.cfg.K1(i) / K1_DIVISOR;
  // 4. Shoreline measured seaward of the regional contour.
  for (int i = 1; i <= nx; ++i) {
    m.YINIT(i) -= static_cast<double>(m.YREG(i));
    m.YSHORE(i) = m.YINIT(i);
  }
  // 5. Seawall lines.
  lay_out_seawalls(m);
  // 6. Inlet cells.
  for (int i = 1; i <= nx; ++i) m.INLCELL(i) = 0;
  for (int k = 1; k <= std::min(m.cfg.NINL, MXINL); ++k)
    for (int i = std::max(m.cfg.IINLS(k), 1); i <= std::min(m.cfg.IINLE(k), nx); ++i)
      m.INLCELL(i) = 1;
  // 7. Wall codes: 1 at every groin wall.
  for (int i = 1; i <= nx + 1; ++i) m.WALLTYPE(i) = 0;
  for (int k = 1; k <= m.NGRO; ++k)
    if (m.IXG(k) >= 1 && m.IXG(k) <= nx + 1) m.WALLTYPE(m.IXG(k)) = 1;
  // 8. No breakwater shadow: open coast, no seaward limit.
  for (int i = 1; i <= nx; ++i) {
    m.DBMARK(i) = 0;
    m.YDBW(i) = NO_SEAWARD_LIMIT;
  }
}

void update_slope(ModelState& m) {
  m.TANB = std::sqrt(m.APROF * m.APROF * m.APROF / m.DLTZ(1));
  for (int i = 1; i <= m.cfg.NX + 1; ++i) m.K2C(i) = m.cfg.K2(i) / (K2_DIVISOR * m.TANB);
}

void transport_step(ModelState& m) {
  // 1. Time factor of every cell (DT may have changed since the last step).
  time_factors(m);
  // 2. Clear the wall arrays, SFAC, YSTART.
  prepare_walls(m);
  // 3. Transport at every wall, left to right.
  wall_pass(m);
  // 4. Waves from behind on the right, right to left.
  waves_from_right(m);
  // 5. Boundary walls.
  boundary_walls(m);
}

void split_transport(ModelState& m) {
  for (int i = 1; i <= m.cfg.NX + 1; ++i) {
    const float q = m.QLS(i);
    if (q <= 0.0F) {
      m.QNEG(i) += q;
    } else {
      m.QPOS(i) += q;
    }
    m.QGROSS(i) += std::abs(q);
  }
}

}  // namespace coastra

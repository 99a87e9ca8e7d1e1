// Longshore transport: start-up state, the transport at the walls, groins,
// shadow leakage, waves from behind the shoreline and the boundary walls.

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <random>
#include <vector>

#include "model/oblique_transport.h"
#include "model/vector_math.h"
#include "support/coast_builder.h"
#include "support/simd_scope.h"
#include "transport/groins.h"
#include "transport/shoreline_solver.h"
#include "transport/transport.h"
#include "transport/transport_constants.h"
#include "waves/diffraction.h"
#include "waves/final_waves.h"
#include "waves/nearshore.h"

namespace coastra {
namespace {

// The default coast of the builder (50 m cells, 1 m waves, pinned ends) with
// uniform breaking waves at theta (rad) to the shore normal.
struct Coast : test::Coast {
  explicit Coast(int nx, float theta = 0.0F) : test::Coast(nx) { breaking(1.0F, theta); }
};

// SFAC squared of wall i, and the gradient term alone at normal incidence.
double s2(const ModelState& m, int i) {
  return static_cast<double>(m.HBD(i)) * 0.78 * 0.25 * 9.806 / 1.416;
}
double gradient_q(const ModelState& m, int i, double d) {
  const double hb = m.HBD(i);
  const double tanb = m.TANB;
  return -4.0 * hb * hb * 3.5 * 0.25 * d / (37.79317 * 0.78 * 9.806 * 50.0 * tanb);
}
bool near(double q, double expected) {
  return std::abs(q - expected) <= 1e-5 * std::abs(expected);
}

// The transport pass as a scalar walk of the walls with the library's sin and
// cos, the gradient form chosen by branches and the formula as the sum of its
// three terms in double precision (formula, groin factor, shadow leakage and
// waves from the left wall by wall), then waves from the right. Returns QLS
// (index = wall), writes the diverted transport into qdbx and into cond the
// sum of the terms' magnitudes over the magnitude of their sum (the factor by
// which cancellation between the terms enlarges a relative rounding error).
std::vector<float> reference_transport(const ModelState& m, std::vector<float>& qdbx,
                                       std::vector<double>& cond) {
  const int nx = m.cfg.NX;
  const float gamma = m.cfg.GAMMA;
  std::vector<float> sf(nx + 2), q(nx + 2), fb(nx + 2), th(nx + 2);
  qdbx.assign(nx + 2, 0.0F);
  cond.assign(nx + 2, 1.0);
  for (int i = 1; i <= nx + 1; ++i) sf[i] = std::sqrt(m.HBD(i) * gamma * 0.25F * GRAV / HS_OVER_HRMS);
  auto structure = [&m](int j) { return std::abs(m.WALLTYPE(j)) == 1 || std::abs(m.WALLTYPE(j)) == 3; };
  auto blocked = [&m](int j) { return m.YSHORE(j) >= m.YDBW(j); };
  auto s2 = [&sf](int j) { return sf[j] * sf[j]; };
  auto gradient = [&](int i) {
    if (m.IGRADOFF(i) != 0 || i == 1 || i == nx + 1) return 0.0F;
    if (m.WALLTYPE(i) == 1 || m.WALLTYPE(i) == 3 || m.DBMARK(i - 1) == -1 || m.DBMARK(i) == -1)
      return 0.0F;
    float d = 0.0F;
    if (i == nx || structure(i + 1) || m.DBMARK(i + 1) == -1) {
      d = blocked(i) ? 0.0F : 2.0F * (s2(i) - s2(i - 1));
      if (blocked(i - 1)) d = 0.0F;
    } else if (i == 2 || structure(i - 1) || m.DBMARK(i - 2) == -1) {
      d = blocked(i + 1) ? 0.0F : 2.0F * (s2(i + 1) - s2(i));
      if (blocked(i)) d = 0.0F;
    } else {
      d = blocked(i + 1) ? 0.0F : s2(i + 1) - s2(i - 1);
      if (blocked(i - 1)) d = 0.0F;
    }
    return d;
  };
  auto formula = [&](int i, double sn, double cs, double d) {
    const double hb = m.HBD(i), cgb = m.CGB(i), a1w = m.A1W(i), k2 = m.cfg.K2(i);
    const double dxw = m.cfg.DX(std::min(i, nx)), g = gamma, tanb = m.TANB;
    const double wave = a1w * hb * hb * cgb * 2.0 * sn * cs;
    const double grad =
        d == 0.0 ? 0.0 : 4.0 * hb * hb * cgb * k2 * d * cs / (37.79317 * g * 9.806 * dxw * tanb);
    const double tide = std::sqrt(1.416 / (g * 9.806)) * 4.0 * std::pow(hb, 1.5) * cgb * a1w *
                        static_cast<double>(m.UTIDE(i)) * cs / 2.7;
    const double sum = wave - grad + tide;
    cond[i] = (std::fabs(wave) + std::fabs(grad) + std::fabs(tide)) / std::fabs(sum);
    return static_cast<float>(sum);
  };
  auto leakage = [&](int i) {
    if (i <= 1 || i > nx || m.WALLTYPE(i) == 1 || m.WALLTYPE(i) == 3) return;
    const int a = std::abs(m.DBMARK(i)), b = std::abs(m.DBMARK(i - 1));
    const double ybar = 0.5 * (m.YSHORE(i) + m.YSHORE(i - 1));
    float dist = 0.0F;
    if (a == 1 && b == 0 && q[i] > 0.0F) {
      dist = static_cast<float>(m.YDBW(i) - ybar);
    } else if (a == 0 && b == 1 && q[i] < 0.0F) {
      dist = static_cast<float>(m.YDBW(i - 1) - ybar);
    } else {
      return;
    }
    const float dlt = (SURF_DEPTH_FAC / gamma) * m.HBD(i);
    const float dg = dist >= 0.0F ? m.APROF * std::pow(dist, 0.667F) : 0.0F;
    float frac = dlt > 0.01F ? 1.0F - dg / dlt : 0.0F;
    if (dg > dlt) frac = 0.0F;
    frac = std::min(frac, 1.0F);
    qdbx[i] = 0.5F * q[i] * frac;
    q[i] = q[i] - qdbx[i];
  };
  int k = 1;
  for (int i = 1; i <= nx + 1; ++i) {
    th[i] = m.THETABD(i) - m.ALPHAS(i);
    const double t = th[i];
    q[i] = formula(i, std::sin(t), std::cos(t), gradient(i));
    fb[i] = 1.1F;
    if (k <= m.NGRO && m.IXG(k) == i) {
      const int code = std::abs(m.WALLTYPE(i));
      if (code == 1 || code == 3) q[i] = m.GROINF(k) * q[i];
      if (code == 1) fb[i] = 1.1F * m.GROINF(k);
      ++k;
    }
    leakage(i);
    if (th[i] > PI / 2.0F && i > 1) q[i] = fb[i] * q[i - 1], cond[i] = cond[i - 1];
  }
  for (int i = nx; i >= 1; --i)
    if (th[i] < -PI / 2.0F) q[i] = fb[i] * q[i + 1], cond[i] = cond[i + 1];
  return q;
}

TEST(ProfileParameter, EachRangeOfTheTableStartsAtItsLowerBound) {
  // 0.41 D^0.94 below 0.4 mm, 0.23 D^0.32 below 10, 0.23 D^0.28 below 40, then
  // 0.46 D^0.11: the table jumps at each bound, so the bound picks the row.
  EXPECT_NEAR(profile_parameter(0.2F), 0.09032, 1e-5);
  EXPECT_NEAR(profile_parameter(0.399F), 0.17286, 1e-5);
  EXPECT_NEAR(profile_parameter(0.4F), 0.17155, 1e-5);
  EXPECT_NEAR(profile_parameter(9.999F), 0.48052, 1e-5);
  EXPECT_NEAR(profile_parameter(10.0F), 0.43826, 1e-5);
  EXPECT_NEAR(profile_parameter(39.99F), 0.64606, 1e-5);
  EXPECT_NEAR(profile_parameter(40.0F), 0.69022, 1e-5);
}

TEST(TransportSetup, BuildsRelativeShorelineSeawallsInletsAndWallCodes) {
  Coast c(10);
  ModelState& m = c.m;
  m.LENFAC = 0.3048F;   // seawall ends in feet
  for (int i = 1; i <= 10; ++i) m.YINIT(i) = 100.0, m.YREG(i) = 20.0F;
  c.seawall(3, 5, 100.0F, 200.0F).inlet(7, 8).groin(1, 150.0F, 0.0F).groin(11, 150.0F, 0.0F).start();
  EXPECT_DOUBLE_EQ(m.YSHORE(4), 80.0);
  EXPECT_NEAR(m.YSWALL(3), 30.48 - 20.0, 1e-4);
  EXPECT_NEAR(m.YSWALL(4), 45.72 - 20.0, 1e-4);   // half way alongshore
  EXPECT_NEAR(m.YSWALL(5), 60.96 - 20.0, 1e-4);
  EXPECT_NEAR(m.YSWALL(2), -9999.0 * 0.3048 - 20.0, 1e-2);
  EXPECT_FLOAT_EQ(m.A1W(11), 0.5F / 37.79317F);   // the right boundary wall too
  EXPECT_NEAR(m.DTFAC(1), 360.0F, 1e-3F);          // 3600 s / (2 m + 8 m)
  for (int i = 1; i <= 11; ++i) EXPECT_EQ(m.WALLTYPE(i), i == 1 || i == 11 ? 1 : 0) << i;
  for (int i = 1; i <= 10; ++i) EXPECT_EQ(m.INLCELL(i), i == 7 || i == 8 ? 1 : 0) << i;
  EXPECT_EQ(m.DBMARK(3), 0);
  EXPECT_DOUBLE_EQ(m.YDBW(3), 99999.0);
  EXPECT_DOUBLE_EQ(Coast(4).m.YSWALL(2), -9999.0);   // no seawall at all
}

TEST(TransportSetup, StopsWithoutAGrainSizeABreakerIndexOrAnActiveProfile) {
  Coast grain(4);
  grain.m.cfg.D50 = 0.0F;
  const std::string d50 = " ERROR. MEDIAN GRAIN SIZE D50 MUST BE GREATER THAN ZERO.";
  EXPECT_EQ(test::stop_message([&] { grain.start(); }), d50);
  EXPECT_EQ(grain.con.str(), d50 + "\n");
  Coast profile(4);
  profile.m.cfg.BERMHT(3) = -8.0F;   // berm height + closure depth = 0 at cell 3
  const std::string height = " ERROR. BERM HEIGHT PLUS CLOSURE DEPTH MUST BE GREATER THAN ZERO.";
  EXPECT_EQ(test::stop_message([&] { profile.start(); }), height);
  EXPECT_EQ(profile.con.str(), height + "\n");
  Coast breaker(4);
  breaker.m.cfg.GAMMA = 0.0F;
  EXPECT_EQ(test::stop_message([&] { breaker.start(); }),
            " ERROR. BREAKER INDEX GAMMA MUST BE GREATER THAN ZERO.");
}

TEST(Transport, NormalIncidenceWithUniformHeightMovesNothing) {
  Coast c(12);
  for (int i = 1; i <= 13; ++i) c.m.THETABD(i) = c.m.ALPHAS(i) = 0.05F * std::sin(float(i));
  c.m.THETABD(5) = 0.0625F;
  c.m.ALPHAS(5) = 0.0625F;
  c.m.ALPHASCODE(5) = ORIENT_MARKED;   // a marked wall transports by its orientation alone
  for (int i = 1; i <= 12; ++i) c.m.YINIT(i) = 100.0;
  c.start().transport();
  for (int i = 1; i <= 13; ++i) EXPECT_EQ(c.m.QLS(i), 0.0F) << "wall " << i;
  for (int i = 1; i <= 12; ++i) EXPECT_EQ(c.m.YSHORE(i), 100.0) << "cell " << i;
}

TEST(Transport, WallValueIsTheThreeTermSumWithItsGradientForms) {
  Coast c(8);
  ModelState& m = c.m;
  for (int i = 1; i <= 9; ++i) m.HBD(i) = 0.8F + 0.1F * static_cast<float>(i);
  m.THETABD(5) = 0.2F, m.ALPHAS(5) = 0.05F, m.UTIDE(5) = 0.3F;
  c.start().transport();
  const double th = 0.15, hb = m.HBD(5), a1w = 0.5 / 37.79317;
  const double oblique = a1w * hb * hb * 3.5 * std::sin(2.0 * th);
  const double gradient = gradient_q(m, 5, s2(m, 6) - s2(m, 4)) * std::cos(th);
  const double tide = std::sqrt(1.416 / 0.78 / 9.806) * 4.0 * std::pow(hb, 1.5) * 3.5 * a1w * 0.3 *
                      std::cos(th) / 2.7;
  EXPECT_NEAR(m.QLS(5), oblique + gradient + tide, 1e-5 * (oblique - gradient + tide));
  EXPECT_LT(gradient, 0.0);   // waves higher to the right drive sand to the left

  // Normal incidence: one-sided forms next to the ends, none at the end walls.
  Coast n(8);
  n.m.LMOVE = n.m.RMOVE = false;   // the formula value stands at walls 1 and NX+1
  for (int i = 1; i <= 9; ++i) n.m.HBD(i) = 0.5F + 0.1F * static_cast<float>(i * i);
  const ModelState& q = n.start().transport().m;
  EXPECT_TRUE(near(q.QLS(2), gradient_q(q, 2, 2.0 * (s2(q, 3) - s2(q, 2)))));
  EXPECT_TRUE(near(q.QLS(8), gradient_q(q, 8, 2.0 * (s2(q, 8) - s2(q, 7)))));
  EXPECT_TRUE(near(q.QLS(5), gradient_q(q, 5, s2(q, 6) - s2(q, 4))));
  EXPECT_EQ(q.QLS(1), 0.0F);
  EXPECT_EQ(q.QLS(9), 0.0F);
}

TEST(Transport, ObliqueTermByHand) {
  // A1W HB^2 CGB sin 2theta with A1W = 0.5 / 37.79317, HB = 2 m, CGB = 4 m/s:
  // amplitude 0.211678 m3/s, reached at 45 degrees; odd in theta. The angles
  // are multiples of the model's PI (3.141593), hence 1e-6 of the amplitude.
  const float a1w = 0.5F / 37.79317F;
  const double amp = 16.0 * static_cast<double>(a1w);
  EXPECT_NEAR(oblique_amplitude(a1w, 2.0F, 4.0F), 0.2116784, 1e-7);
  const struct {
    float theta;   // angle to the shoreline normal (rad)
    double q;      // A1W HB^2 CGB sin 2theta by hand (m3/s)
  } table[] = {{0.0F, 0.0}, {PI / 4.0F, amp}, {PI / 12.0F, 0.5 * amp}, {PI / 3.0F, 0.8660254 * amp},
               {PI / 2.0F, 0.0}, {0.001F, 0.002 * amp}, {2.0F * PI / 3.0F, -0.8660254 * amp}};
  for (const auto& t : table) {
    const vmath::SinCos p = vmath::sincos(t.theta), n = vmath::sincos(-t.theta);
    const float q = oblique_transport(a1w, 2.0F, 4.0F, p.s, p.c);
    EXPECT_NEAR(q, t.q, 1e-6 * amp) << t.theta;
    EXPECT_EQ(oblique_transport(a1w, 2.0F, 4.0F, n.s, n.c), -q) << t.theta;
  }
  // The slope at theta = 0 is twice the amplitude (the stability parameter's term).
  const float h = 1.0e-3F;
  const vmath::SinCos sh = vmath::sincos(h);
  EXPECT_NEAR(oblique_transport(a1w, 2.0F, 4.0F, sh.s, sh.c) / h, 2.0 * amp, 1e-5 * amp);
}

TEST(Transport, MirroringAnglesAndCellOrderFlipsTheSign) {
  const int nx = 20;
  Coast a(nx), b(nx);
  std::mt19937 rng(7);
  std::uniform_real_distribution<float> h(0.5F, 2.0F), ang(-0.4F, 0.4F), y(95.0F, 105.0F);
  for (int i = 1; i <= nx + 1; ++i) {
    const int j = nx + 2 - i;   // mirrored wall
    a.m.HBD(i) = b.m.HBD(j) = h(rng);
    a.m.CGB(i) = b.m.CGB(j) = h(rng);
    b.m.THETABD(j) = -(a.m.THETABD(i) = ang(rng));
    b.m.ALPHAS(j) = -(a.m.ALPHAS(i) = 0.1F * ang(rng));
  }
  for (int i = 1; i <= nx; ++i) a.m.YINIT(i) = b.m.YINIT(nx + 1 - i) = y(rng);
  a.groin(8, 110.0F, 0.2F).start().transport();
  b.groin(nx + 2 - 8, 110.0F, 0.2F).start().transport();
  for (int i = 1; i <= nx + 1; ++i)
    EXPECT_NEAR(b.m.QLS(nx + 2 - i), -a.m.QLS(i), 1e-6F * (1.0F + std::abs(a.m.QLS(i)))) << i;
  EXPECT_FLOAT_EQ(b.m.QGPOT(1), -a.m.QGPOT(1));
  for (int i = 1; i <= nx; ++i) EXPECT_NEAR(b.m.YSHORE(nx + 1 - i), a.m.YSHORE(i), 1e-5) << i;
}

TEST(Transport, ShorelineAtTheBreakwaterLineSwitchesTheGradientOff) {
  Coast c(10);   // normal incidence: only the height gradient drives sand
  for (int i = 1; i <= 11; ++i) c.m.HBD(i) = 0.5F + 0.1F * static_cast<float>(i);
  c.start();
  c.m.YDBW(5) = 0.0;   // cell 5 has reached its breakwater line (YSHORE = 0)
  const ModelState& m = c.transport().m;
  // The centred form at wall i reads the cells i-1 and i+1.
  EXPECT_EQ(m.QLS(4), 0.0F);
  EXPECT_EQ(m.QLS(6), 0.0F);
  EXPECT_LT(m.QLS(3), 0.0F);
  EXPECT_LT(m.QLS(7), 0.0F);
}

TEST(Transport, StraightLinePassFollowsTheScalarWalkOnGeneratedCoastsOnEveryPath) {
  // Coasts with groins (codes 1, 3, -1, -2, 4 at their walls, factors 0..1),
  // shadow zones with salients and blocked cells, walls switched off by
  // salients, K1 = 0 walls, tide, waves from behind on both sides and one
  // breaking height that is not a number (it must reach the transport).
  std::mt19937 rng(1307);
  auto u = [&rng](float lo, float hi) { return std::uniform_real_distribution<float>(lo, hi)(rng); };
  auto pick = [&rng](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
  const auto bits = [](float v) { return std::bit_cast<std::uint32_t>(v); };
  double worst = 0.0;   // largest |QLS - reference| / |reference| / cond of the baseline path
  int compared = 0, nan_walls = 0, behind = 0, leaked = 0;
  for (int trial = 0; trial < 60; ++trial) {
    const int nx = 6 + pick(70);
    test::Coast c(nx);
    ModelState& m = c.m;
    m.LMOVE = m.RMOVE = false;   // the boundary walls keep their formula values
    for (int g = 4 + pick(4); g <= nx - 2; g += 3 + pick(12)) c.groin(g, 100.0F, 0.3F);
    for (int i = 1; i <= nx + 1; ++i) {
      m.cfg.K1(i) = pick(9) == 0 ? 0.0F : u(0.1F, 1.0F);
      m.cfg.K2(i) = u(0.0F, 0.8F);
    }
    for (int i = 1; i <= nx; ++i) m.YINIT(i) = u(-20.0F, 20.0F);
    c.start();
    for (int i = 1; i <= nx + 1; ++i) {
      m.HBD(i) = u(0.0F, 3.0F);
      m.CGB(i) = u(0.5F, 6.0F);
      m.ALPHAS(i) = u(-0.3F, 0.3F);
      m.THETABD(i) = pick(15) == 0 ? u(-3.0F, 3.0F) : u(-1.0F, 1.0F);
      m.UTIDE(i) = pick(3) == 0 ? u(-0.5F, 0.5F) : 0.0F;
      m.IGRADOFF(i) = pick(12) == 0 ? 1 : 0;
    }
    for (int k = 1; k <= m.NGRO; ++k) {
      const int codes[5] = {1, 1, 3, 1, 3};   // the codes a groin wall takes (model/wall_codes.h)
      m.WALLTYPE(m.IXG(k)) = codes[pick(5)];
      m.GROINF(k) = u(0.0F, 1.0F);
    }
    if (pick(4) == 0) m.WALLTYPE(2 + pick(nx - 2)) = 4;
    for (int z = 0; z < 2; ++z) {   // shadow zones, some cells at or past their line
      const int first = 1 + pick(nx), last = std::min(nx, first + pick(8));
      for (int j = first; j <= last; ++j) {
        const int marks[4] = {1, 1, -1, -2};
        m.DBMARK(j) = marks[pick(4)];
        m.YDBW(j) = m.YSHORE(j) + static_cast<double>(pick(4) == 0 ? u(-5.0F, 0.0F) : u(0.5F, 60.0F));
      }
    }
    if (trial % 10 == 9) m.HBD(1 + pick(nx + 1)) = std::numeric_limits<float>::quiet_NaN();
    std::vector<float> ref_qdbx;
    std::vector<double> cond;
    const std::vector<float> ref = reference_transport(m, ref_qdbx, cond);
    std::vector<float> base;
    for (SimdPath p : {SimdPath::BASELINE, SimdPath::AVX2, SimdPath::AVX512}) {
      if (!simd_path_supported(p)) continue;
      const test::SimdPathScope scope(p);
      transport_step(m);
      std::vector<float> got;
      for (int i = 1; i <= nx + 1; ++i) got.insert(got.end(), {m.QLS(i), m.QDBX(i), m.THETAREL(i)});
      if (p != SimdPath::BASELINE) {
        for (std::size_t j = 0; j < got.size(); ++j)
          ASSERT_EQ(bits(got[j]), bits(base[j])) << simd_path_name(p) << " trial " << trial;
        continue;
      }
      base = got;
      for (int i = 1; i <= nx + 1; ++i) {
        const float q = m.QLS(i), r = ref[static_cast<std::size_t>(i)];
        behind += std::fabs(m.THETAREL(i)) > PI / 2.0F ? 1 : 0;
        leaked += ref_qdbx[static_cast<std::size_t>(i)] != 0.0F ? 1 : 0;
        EXPECT_EQ(m.THETAREL(i), m.THETABD(i) - m.ALPHAS(i));
        if (std::isnan(r)) {
          EXPECT_TRUE(std::isnan(q)) << "trial " << trial << " wall " << i;
          ++nan_walls;
          continue;
        }
        const float x = m.QDBX(i), rx = ref_qdbx[static_cast<std::size_t>(i)];
        EXPECT_EQ(x == 0.0F, rx == 0.0F) << "trial " << trial << " wall " << i;
        EXPECT_EQ(q == 0.0F, r == 0.0F) << "trial " << trial << " wall " << i;
        if (r == 0.0F) continue;
        const double dq = static_cast<double>(q), dr = static_cast<double>(r);
        const double err = std::fabs(dq - dr) / std::fabs(dr) / cond[static_cast<std::size_t>(i)];
        worst = std::max(worst, err);
        ++compared;
      }
    }
  }
  // Measured 3.1e-7: a few float roundings of the terms, scaled by how much
  // the wave, gradient and tidal terms cancel.
  EXPECT_LE(worst, 2.0E-6);
  EXPECT_GT(compared, 2000);
  EXPECT_GT(nan_walls, 0);
  EXPECT_GT(behind, 20);
  EXPECT_GT(leaked, 5);
}

TEST(Groins, BlockOrPassByPermeabilityAndBypassFromTheUpdriftSide) {
  const float open = Coast(10, 0.2F).transport().m.QLS(5);
  EXPECT_EQ(Coast(10, 0.2F).groin(5, 1000.0F, 0.0F).start().transport().m.QLS(5), 0.0F);
  EXPECT_FLOAT_EQ(Coast(10, 0.2F).groin(5, 1000.0F, 1.0F).start().transport().m.QLS(5), open);

  // Sand moving right: the left beach lies 20 m from the tip, the right 100 m.
  Coast c(10, 0.2F);
  for (int i = 1; i <= 10; ++i) c.m.YINIT(i) = i <= 4 ? 80.0 : 0.0;
  c.m.HBD(4) = 0.8F;
  c.groin(5, 100.0F, 0.0F).start();
  groin_factors(c.m);
  EXPECT_FLOAT_EQ(c.m.DGL(1), 20.0F);
  EXPECT_FLOAT_EQ(c.m.DGR(1), 100.0F);
  const float bypass = 1.0F - c.m.APROF * std::pow(20.0F, 0.667F) / (1.27F / 0.78F);
  EXPECT_FLOAT_EQ(c.m.BYPG(1), bypass);
  EXPECT_FLOAT_EQ(c.m.GROINF(1), bypass);
  // Potential transport with the updrift height step; G = K2C/(2 DX) < 1 is not truncated.
  const float g = c.m.K2C(5) / 100.0F;
  const float pot = 3.5F * (c.m.A1W(5) * std::sin(0.4F) - g * 0.4F * std::cos(0.2F));
  EXPECT_NEAR(c.m.QGPOT(1), pot, 1e-6F);

  Coast steep(10, 1.2F);   // the angle at the groin is clipped and kept clipped
  steep.groin(5, 100.0F, 0.5F).start();
  groin_factors(steep.m);
  EXPECT_FLOAT_EQ(steep.m.THETABD(5), PI / 4.0F);

  Coast inlet(10, 0.2F);   // an inlet on the updrift side feeds the groin nothing
  inlet.inlet(3, 4).groin(5, 100.0F, 0.5F).start();
  groin_factors(inlet.m);
  EXPECT_EQ(inlet.m.GROINF(1), 0.0F);

  Coast edge(10, 0.2F);   // a boundary groin takes the outer tip distance given
  edge.m.cfg.LGROINY = 7.0F;
  edge.groin(1, 100.0F, 0.0F).start();
  groin_factors(edge.m);
  EXPECT_FLOAT_EQ(edge.m.DGL(1), 7.0F);
}

TEST(Transport, WavesFromBehindCarryTheNeighbourOfTheSameStep) {
  Coast c(10, 0.3F);
  c.m.THETABD(4) = 1.7F;                      // > PI/2: from the wall to the left
  c.m.THETABD(7) = c.m.THETABD(8) = -1.7F;    // < -PI/2: from the right, two in a row
  const ModelState& m = c.start().transport().m;
  EXPECT_FLOAT_EQ(m.QLS(4), 1.1F * m.QLS(3));
  EXPECT_NE(m.QLS(9), 0.0F);
  EXPECT_FLOAT_EQ(m.QLS(8), 1.1F * m.QLS(9));
  EXPECT_FLOAT_EQ(m.QLS(7), 1.1F * m.QLS(8));
}

TEST(Transport, ShadowLeakageDivertsHalfAtAnOpenBreakwaterEdge) {
  const float open = Coast(10, 0.2F).transport().m.QLS(6);
  Coast c(10, 0.2F);
  c.start();
  c.m.DBMARK(6) = 1;
  c.m.YDBW(6) = 0.0;   // breakwater line at the shoreline: no depth, all passes landward
  c.transport();
  EXPECT_FLOAT_EQ(c.m.QDBX(6), 0.5F * open);
  EXPECT_FLOAT_EQ(c.m.QLS(6), 0.5F * open);
  EXPECT_EQ(c.m.QDBX(7), 0.0F);
}

TEST(Transport, BoundaryWallsPinOrMoveTheEndCells) {
  Coast c(10);
  for (int i = 1; i <= 11; ++i) c.m.THETABD(i) = 0.02F * static_cast<float>(i);
  c.m.DYL = 0.05;
  ModelState& m = c.start().transport().m;
  EXPECT_FLOAT_EQ(m.QLS(1), m.QLS(2) + 50.0F * 0.05F / m.DTFAC(1));
  EXPECT_NEAR(m.YSHORE(1), 0.05, 1e-6);
  EXPECT_EQ(m.QLS(11), m.QLS(10));   // pinned right end
  EXPECT_EQ(m.YSHORE(10), 0.0);
  m.DYR = -0.03;                     // the right end retreating
  c.transport();
  EXPECT_FLOAT_EQ(m.QLS(11), m.QLS(10) + 50.0F * 0.03F / m.DTFAC(10));
  EXPECT_NEAR(m.YSHORE(10), -0.03, 1e-6);
  for (int i = 1; i <= 11; ++i) {
    EXPECT_EQ(m.QPOS(i) + m.QNEG(i), m.QLS(i));
    EXPECT_EQ(m.QGROSS(i), std::abs(m.QLS(i)));
  }
  EXPECT_EQ(m.QNEG(5), 0.0F);
}

TEST(Transport, GatedBoundaryWallsCarryTheFormulaTimesTheGroinFactor) {
  // Uniform oblique waves: with a fully permeable groin a gated end passes the
  // transport of the interior, the right boundary wall included; a tight groin
  // reaching far seaward closes the end.
  for (const float p : {1.0F, 0.0F}) {
    Coast c(10, 0.2F);
    c.m.LMOVE = c.m.RMOVE = false;
    c.m.cfg.LGROINY = c.m.cfg.RGROINY = 1000.0F;
    const ModelState& m = c.groin(1, 1000.0F, p).groin(11, 1000.0F, p).start().transport().m;
    EXPECT_GT(m.QLS(5), 0.0F);
    EXPECT_FLOAT_EQ(m.QLS(1), p * m.QLS(5)) << p;
    EXPECT_FLOAT_EQ(m.QLS(11), p * m.QLS(5)) << p;
  }
}

TEST(WaveStep, BuilderCoastUnderObliqueWavesCarriesUniformDowndriftTransport) {
  // The whole chain of a wave step on the builder's straight coast, with no
  // array filled by hand: every wall gets a finite transport, the same at every
  // wall of the straight coast (so no cell moves), downdrift of the waves and
  // mirrored by the opposite direction.
  float q[2] = {0.0F, 0.0F};
  for (int k = 0; k < 2; ++k) {
    test::Coast c(20);
    c.m.cfg.ISMOOTH = 5;
    c.offshore(1.2F, 8.0F, (k == 0 ? 20.0F : -20.0F) * PI / 180.0F);
    offshore_contour(c.m);
    record_checks(c.m);
    update_slope(c.m);
    wave_constants(c.m);
    breaking_waves(c.m);
    diffraction(c.m);
    final_waves(c.m);
    const ModelState& m = c.transport().m;
    q[k] = m.QLS(10);
    for (int i = 1; i <= 21; ++i) {
      ASSERT_TRUE(std::isfinite(m.QLS(i))) << i;
      EXPECT_NEAR(m.QLS(i), q[k], 1e-6F * std::abs(q[k])) << k << " wall " << i;
    }
    for (int i = 1; i <= 20; ++i) EXPECT_NEAR(m.YSHORE(i), 0.0, 1e-9) << i;
  }
  EXPECT_GT(q[0], 0.0F);   // waves from the left drive sand to higher cells
  EXPECT_FLOAT_EQ(q[1], -q[0]);
}

}  // namespace
}  // namespace coastra

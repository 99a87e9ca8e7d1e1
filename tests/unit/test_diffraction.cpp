// Waves behind structures. Transmission through detached breakwaters: the
// three methods of KTCALC with their limits and warnings against
// hand-computed values, the dry-breakwater path, and the stage that fills KTDB
// with its statistics, warnings, run error and the factor handed to the
// segment table. Diffraction: the spreading at a tip, the diffraction
// coefficient, the ray from a tip, the damped iteration and its failure, the
// between-structures adjustment, and properties of the whole stage over
// generated coasts with groins and breakwaters (mirror images, listing order,
// far field, energy). (The shadow and transmission behind one breakwater are
// pinned by the golden cases breakwaters and breakwater_tip_in_surf.)

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "output/stage_notices.h"
#include "output/wave_reports.h"
#include "support/state_rig.h"
#include "support/structure_coast.h"
#include "waves/diffraction.h"
#include "waves/transmission.h"
#include "waves/wave_relations.h"

namespace coastra {
namespace {

constexpr float T8 = 8.0F;                   // wave period of the tests (s)
const float OMEGA8 = 2.0F * PI / T8;         // (rad/s)
// Deep-water wave length 2 pi g / omega^2 = g T^2 / (2 pi) = 9.806 x 64 / 6.283186 = 99.883 m.
constexpr float L0_8 = 99.88308F;
const float NAN_F = std::numeric_limits<float>::quiet_NaN();

// Hand values below use one sea state: T = 8 s at depth d = 3 m, incident
// height 1 m, wave normal to the contours.
//   OMEGA = 2 pi / 8 = 0.785398; K0 = OMEGA^2 / 9.806 = 0.0629054
//   y = K0 d = 0.188716; P(y) = 1 + d1 y + ... + d9 y^9 = 1.139641
//   k = sqrt(K0 (y + 1/P) / d) = 0.149520; L = 6.283186 / k = 42.0223 m; L0 = L0_8
constexpr float D3 = 3.0F;
const float K0 = OMEGA8 * OMEGA8 / GRAV;

Transmission kt_at(int method, float hdb, float b, float ss, float d50, float at,
                   float d = D3) {
  const ReferenceWave r = transmission_reference(OMEGA8, K0, D3);
  return KTCALC(d, T8, OMEGA8, K0, method, hdb, d50, at, b, ss, r.K, 1.0F, 0.2F, r.CG, 0.2F);
}

// The reference wave; hand values of the three methods, one row each: method, crest height HDB,
// width B, slopes SSDB = SHSDB, D50DB, area AT, depth; the value (exact where
// tol is 0) and the flags.
TEST(Transmission, ReferenceWaveAndMethodsAgainstHandValuesTheirLimitsAndDryBreakwaters) {
  // Method 2. HDB = 3 (Rc = 0), SSDB = 0.5: xi = 0.5 / sqrt(1 / 99.8831) = 4.99708
  //   1 - e^(-0.5 xi) = 0.917795,  1 - e^(-0.41 xi) = 0.871111
  //   KTa(B) = 0.64 B^-0.31 x 0.917795,  KTb(B) = 0.51 B^-0.65 x 0.871111
  // B = 4 (B/H < 8): KTa = 0.382197; B = 10: weight 0.5 of KTa = 0.287691 and
  // KTb = 0.099459, mean 0.193575; B = 12: still the blend, weight 1: KTb = 0.088344;
  // B = 15 (B/H > 12): KTb = 0.076416.
  // HDB = 1.9 (Rc = -1.1): KTa = 0.44 + 0.382197 = 0.822 > 0.8;
  // HDB = 3.9 (Rc = 0.9): KTa = -0.36 + 0.382197 = 0.022 < 0.075 (yet above 0).
  // Method 1, L = 42.0223 m:
  // a. HDB 2.5 (Rc = -0.5), B 4, D 0.5: e^(-0.65*0.5 - 1.09/4) = e^(-0.5975) = 0.550185,
  //    X1 = 0.5*4/(42.0223*0.5) = 0.095187, X2 = 0.5*1/(4*0.5) = 0.25,
  //    KT = 1 - 0.550185 - 0.047*0.095187 + 0.067*0.25 = 0.462091
  // b. HDB 1 (Rc = -2), B 0.5, D 0.05: X2 = 2/(0.5*0.05) = 80,
  //    KT = 1 - e^(-1.3 - 2.18) - 0.047*0.4759 + 0.067*80 = 6.31 > 1.5
  // c. HDB 1, B 40, D 0.1: X1 = 2*40/(42.0223*0.1) = 19.04 > 7.08,
  //    KT = 1 - 0.265206 - 0.047*19.0375 + 0.067*0.5 = -0.1265 < 0
  // d. HDB 2.5, B 2, D 0.1: X2 = 0.5/(2*0.1) = 2.5 > 2.14 but KT in range:
  //    KT = 1 - e^(-0.325 - 0.545) - 0.047*0.237969 + 0.067*2.5 = 0.737364
  // e, f. Crest above or exactly at the water: the method does not apply.
  // g. Crest one float step under the water (Rc = -2.4e-7), B = 0.01, D = 100:
  //    e^(-109) underflows to 0 and the two ratio terms are below half a unit in
  //    the last place of 1: the formula gives 1 exactly, stored as 0.99.
  // Method 3 (and any code other than 1 and 2), B = 2, SSDB = SHSDB = 0.5, D = 0.5;
  // AT = B*HDB + 0.5*HDB^2*(2 + 2).
  // HDB = 3.5 (Rc = 0.5): AT = 7 + 24.5 = 31.5
  //   KT_t = 1/(1 + 2^0.982 * e^(2.35*31.5/(99.8831*3.5) + 0.433)) = 0.209918
  //   X = 0.465 - 17.4/(31.5/1.75) + 0.00118*99.8831 + 12.7*0.5/sqrt(99.8831)
  //     = 0.465 - 0.966667 + 0.117862 + 0.635372 = 0.251567; KT_o = 0.437438
  //   KT = sqrt(0.209918^2 + 0.437438^2) = 0.485198
  // HDB = 5.5 (Rc/H = 2.5 > 2): no overtopping, AT = 11 + 60.5 = 71.5,
  //   KT = KT_t = 1/(1 + 2^0.982 * e^(2.35*71.5/(99.8831*5.5) + 0.433)) = 0.194736
  // HDB = 2.5 (Rc = -0.5), AT = 5 + 12.5 = 17.5: KT_t = 0.1,
  //   KT_o = 1/(1 + e^(0.631*(-0.5) - 0.646 + 0.00137*17.5/0.25)) = 0.703829
  //   KT = sqrt(0.01 + 0.703829^2) = 0.710898
  // At 0.01 m or less every method returns its lower limit without refraction
  // (which would divide by the depth); method 1 raises no applicability error.
  // The reference wave arrives unchanged at its own depth: Hi = 1 exactly. From
  // 3 m into 1.5 m under normal incidence it conserves H^2 Cg: Hi = sqrt(Cg(3) / Cg(1.5)).
  const ReferenceWave r = transmission_reference(OMEGA8, K0, D3);
  EXPECT_NEAR(r.K, 0.149520F, 2e-6F);
  EXPECT_EQ(kt_at(2, 3.0F, 4.0F, 0.5F, 0.0F, 0.0F).HI, 1.0F);
  EXPECT_EQ(kt_at(2, 3.0F, 4.0F, 0.5F, 0.0F, 0.0F).KI, r.K);
  const ReferenceWave s = transmission_reference(OMEGA8, K0, 1.5F);
  EXPECT_NEAR(kt_at(2, 3.0F, 4.0F, 0.5F, 0.0F, 0.0F, 1.5F).HI, std::sqrt(r.CG / s.CG), 1e-6F);
  EXPECT_FLOAT_EQ(cross_section_area(3.5F, 2.0F, 0.5F, 0.5F), 31.5F);
  EXPECT_FLOAT_EQ(cross_section_area(3.5F, 2.0F, 0.5F, 0.25F), 43.75F);  // 7 + 6.125*6
  struct Case { int method; float hdb, b, ss, d50, at, d, kt, tol; unsigned flags; };
  const float top = std::nextafter(D3, 0.0F);
  const Case cases[] = {
      {2, 3.0F, 4.0F, 0.5F, 0.0F, 0.0F, D3, 0.382197F, 1e-5F, 0U},
      {2, 3.0F, 10.0F, 0.5F, 0.0F, 0.0F, D3, 0.193575F, 1e-5F, 0U},
      {2, 3.0F, 12.0F, 0.5F, 0.0F, 0.0F, D3, 0.088344F, 1e-5F, 0U},
      {2, 3.0F, 15.0F, 0.5F, 0.0F, 0.0F, D3, 0.076416F, 1e-5F, 0U},
      {2, 1.9F, 4.0F, 0.5F, 0.0F, 0.0F, D3, 0.8F, 0.0F, KT_ABOVE_08},
      {2, 3.9F, 4.0F, 0.5F, 0.0F, 0.0F, D3, 0.075F, 0.0F, KT_BELOW_0075},
      {1, 2.5F, 4.0F, 0.0F, 0.5F, 0.0F, D3, 0.462091F, 1e-5F, 0U},
      {1, 1.0F, 0.5F, 0.0F, 0.05F, 0.0F, D3, 1.5F, 0.0F, KT_ABOVE_15 | KT_OUT_OF_RANGE},
      {1, 1.0F, 40.0F, 0.0F, 0.1F, 0.0F, D3, 0.0F, 0.0F, KT_BELOW_0 | KT_OUT_OF_RANGE},
      {1, 2.5F, 2.0F, 0.0F, 0.1F, 0.0F, D3, 0.737364F, 1e-5F, KT_OUT_OF_RANGE},
      {1, 3.5F, 4.0F, 0.0F, 0.5F, 0.0F, D3, 0.0F, 0.0F, KT_EMERGED},
      {1, 3.0F, 4.0F, 0.0F, 0.5F, 0.0F, D3, 0.0F, 0.0F, KT_EMERGED},
      {1, top, 0.01F, 0.0F, 100.0F, 0.0F, D3, 0.99F, 0.0F, 0U},
      {3, 3.5F, 2.0F, 0.5F, 0.5F, 31.5F, D3, 0.485198F, 1e-5F, 0U},
      {0, 3.5F, 2.0F, 0.5F, 0.5F, 31.5F, D3, 0.485198F, 1e-5F, 0U},
      {-1, 3.5F, 2.0F, 0.5F, 0.5F, 31.5F, D3, 0.485198F, 1e-5F, 0U},
      {3, 5.5F, 2.0F, 0.5F, 0.5F, 71.5F, D3, 0.194736F, 1e-5F, 0U},
      {3, 2.5F, 2.0F, 0.5F, 0.5F, 17.5F, D3, 0.710898F, 1e-5F, 0U},
      {1, 2.0F, 4.0F, 0.0F, 0.5F, 0.0F, 0.01F, 0.0F, 0.0F, KT_NO_WAVE},
      {2, 2.0F, 4.0F, 0.5F, 0.0F, 0.0F, 0.0F, 0.075F, 0.0F, KT_NO_WAVE},
      {3, 2.0F, 2.0F, 0.5F, 0.5F, 12.0F, -0.5F, 0.0F, 0.0F, KT_NO_WAVE},
  };
  for (const Case& k : cases) {
    const Transmission t = kt_at(k.method, k.hdb, k.b, k.ss, k.d50, k.at, k.d);
    EXPECT_NEAR(t.KT, k.kt, k.tol) << k.method << " " << k.hdb << " " << k.b << " " << k.d;
    EXPECT_EQ(t.FLAGS, k.flags) << k.method << " " << k.hdb << " " << k.b << " " << k.d;
    EXPECT_EQ(t.HI == 0.0F, k.d <= 0.01F) << k.method << " " << k.d;
  }
  // Just above the dry threshold the wave is carried there.
  EXPECT_GT(kt_at(2, 2.0F, 4.0F, 0.5F, 0.0F, 0.0F, 0.02F).HI, 0.0F);
}

// A coast of 20 cells under the hand sea state (input depth 3 m, T = 8 s) with
// two breakwaters: 1 in cells 4..8 (reference wall 6, tip depths 2 and 4,
// mean 3 m), 2 in cells 12..17 (reference wall 14, tip depths 3 and 3). Only the
// reference walls carry the 1 m wave; every other wall carries 5 m, so a wrong
// reference wall shows in KT.
struct StageCase : test::StateRig {
  Settings& c = m.cfg;
  StageCase() {
    c.NX = 20;
    c.NDB = 2;
    c.TRANMODE = 1;
    c.NKTMET = 2;
    c.PRWARN = true;
    c.DBI1(1) = 4;
    c.DBI2(1) = 8;
    c.DBDEP1(1) = 2.0F;
    c.DBDEP2(1) = 4.0F;
    c.DBI1(2) = 12;
    c.DBI2(2) = 17;
    c.DBDEP1(2) = c.DBDEP2(2) = 3.0F;
    for (int i = 1; i <= 21; ++i) {
      m.HRF(i) = (i == 6 || i == 14) ? 1.0F : 5.0F;
      m.DRF(i) = 3.0F;
      m.THETARF(i) = m.ALPHAW(i) = 0.1F;
    }
    m.TZ = T8;
    m.OMEGA = OMEGA8;
    m.K0 = K0;
    method(1, 2, 3.0F, 4.0F, 0.5F, 0.0F);  // hand value 0.382197
    method(2, 1, 2.5F, 4.0F, 0.0F, 0.5F);  // hand value 0.462091
  }
  void method(int k, int code, float hdb, float b, float ss, float d50) {
    c.KTMETDB(k) = code;
    c.HDB(k) = hdb;
    c.BDB(k) = b;
    c.SSDB(k) = c.SHSDB(k) = ss;
    c.D50DB(k) = d50;
  }
};

// The stage as the time step runs it: the computation, then its notices.
void transmit(ModelState& m) {
  const unsigned fired = breakwater_transmission(m.cfg, m.input(), m.waves(), m.transport(),
                                                 m.structures(), m.output());
  transmission_notices(m.cfg, m.run(), m.structures(), m.warnings(), fired);
}

TEST(Transmission, StageUsesMeanTipDepthAndMiddleWallAndStopsOnAnEmergedCrest) {
  StageCase s;
  transmission_setup(s.m.cfg, s.m.structures());
  EXPECT_TRUE(transmission_due(s.m.cfg, s.m.structures()));
  EXPECT_EQ(breakwater_reference_wall(s.m.cfg, s.m.input(), 1), 6);
  EXPECT_EQ(breakwater_reference_wall(s.m.cfg, s.m.input(), 2), 14);
  EXPECT_EQ(breakwater_depth(s.m.cfg, s.m.transport(), 1), 3.0F);
  transmit(s.m);
  EXPECT_NEAR(s.m.KTDB(1), 0.382197F, 1e-5F);
  EXPECT_NEAR(s.m.KTDB(2), 0.462091F, 1e-5F);
  EXPECT_EQ(s.m.NKT(1), 1);
  EXPECT_EQ(s.m.KTMAX(2), s.m.KTDB(2));
  EXPECT_EQ(s.m.IRUNERR, 0);
  EXPECT_EQ(s.prt.str(), "");
  EXPECT_EQ(breakwater_factor(s.m.cfg, s.m.structures(), 1), s.m.KTDB(1));
  // Computed once; due again only with a new wave record.
  EXPECT_FALSE(transmission_due(s.m.cfg, s.m.structures()));
  request_transmission(s.m.structures());
  EXPECT_TRUE(transmission_due(s.m.cfg, s.m.structures()));
  // Method 1 with its crest 0.5 m above the water ends the run; breakwater 1 on
  // dry ground takes the lower limit of its method.
  s.method(2, 1, 3.5F, 4.0F, 0.0F, 0.5F);
  s.c.DBDEP1(1) = s.c.DBDEP2(1) = 0.01F;
  const unsigned fired = breakwater_transmission(s.m.cfg, s.m.input(), s.m.waves(), s.m.transport(),
                                                 s.m.structures(), s.m.output());
  EXPECT_NE(fired & KT_EMERGED, 0U);
  EXPECT_EQ(s.m.IRUNERR, 0);   // the computation only tells what it met
  EXPECT_EQ(s.prt.str(), "");
  transmission_notices(s.m.cfg, s.m.run(), s.m.structures(), s.m.warnings(), fired);
  EXPECT_EQ(s.m.IRUNERR, 1);
  EXPECT_EQ(s.prt.str(), " ERROR! SEABROOK & HALL ONLY APPLICABLE FOR SUBMERGED BREAKWATER\n");
  EXPECT_EQ(s.m.NKT(2), 1);  // no value of an inapplicable method in the statistics
  EXPECT_EQ(s.m.KTDB(1), 0.075F);
  EXPECT_EQ(s.m.NKT(1), 2);
  // Fixed coefficients are never computed.
  s.c.TRANMODE = 0;
  EXPECT_FALSE(transmission_due(s.m.cfg, s.m.structures()));
}

TEST(Transmission, StageWarnsOncePerComputationAndCapsTheFactor) {
  StageCase s;
  s.method(1, 1, 1.0F, 0.5F, 0.0F, 0.05F);  // KT 6.31: 1.5 with two warnings
  s.method(2, 1, 1.0F, 0.5F, 0.0F, 0.05F);  // the same again
  transmission_setup(s.m.cfg, s.m.structures());
  transmit(s.m);
  const std::string twice =
      " !!WARNING-COMPUTED KT GREATER THAN 1.5, SET TO 1.5\n"
      " !!WARNING-INPUT VALUES OUTSIDE VARIABLE RANGE\n";
  EXPECT_EQ(s.prt.str(), twice);
  // The statistics hold the method's value, the segment table gets 0.99.
  EXPECT_EQ(s.m.KTMAX(1), 1.5F);
  EXPECT_EQ(breakwater_factor(s.m.cfg, s.m.structures(), 1), 0.99F);
  // Without PRWARN a warning already written is not repeated; with PRWARN it
  // is, but at most once per wave record. Rows: PRWARN, a new record, written
  // again. Every computation that raises it counts.
  std::string want = twice;
  for (const auto& [prwarn, next, again] :
       {std::tuple{false, 1, false}, {true, 0, true}, {true, 0, false}, {true, 1, true}}) {
    s.c.PRWARN = prwarn;
    s.m.NWREC += next;
    transmit(s.m);
    if (again) want += twice;
    EXPECT_EQ(s.prt.str(), want) << prwarn << " " << next;
  }
  EXPECT_EQ(s.m.NKT(1), 5);
  EXPECT_EQ(s.m.NWARNRUN[static_cast<std::size_t>(WarnKind::KT_ABOVE_15)], 5);
  EXPECT_EQ(s.m.NWARNRUN[static_cast<std::size_t>(WarnKind::KT_BELOW_0)], 0);
}

TEST(Diffraction, SpreadingBranchesAndClamps) {
  // r = 0.2: 2.923 x 0.2^-1.027 = 2.923 x e^(1.027 x 1.609438) = 2.923 x 5.22207 = 15.2641;
  // SMAXP = (-0.000103 x 15.2641 + 0.27) x 15.2641 + 5.31 = 4.09731 + 5.31 = 9.40731.
  // r = 0.21, the other branch: 9.609375 x 0.21^-0.2718128 = 9.609375 x e^0.424204 = 14.6867.
  // r = 0.01: 2.923 x 0.01^-1.027 = 331 is capped at 100; SMAXP = (-0.0103 + 0.27) x 100 + 5.31.
  // r = 2: 9.609375 x 2^-0.2718128 = 7.959 is raised to 10; SMAXP = 2.6897 + 5.31 = 7.9997.
  // Rows: r (depth over L0), SMAX and its tolerance, SMAXP (0: not checked).
  const float rows[][4] = {{0.2F, 15.2641F, 2e-3F, 9.40731F},
                           {0.21F, 14.6867F, 2e-3F, 0.0F},
                           {0.01F, 100.0F, 0.0F, 31.28F},
                           {2.0F, 10.0F, 0.0F, 7.9997F}};
  for (const auto& r : rows) {
    const Spreading s = SMAXSH(r[0] * L0_8, OMEGA8);
    EXPECT_NEAR(s.SMAX, r[1], r[2]) << r[0];
    if (r[3] > 0.0F) {
      EXPECT_NEAR(s.SMAXP, r[3], 2e-4F) << r[0];
    }
  }
  EXPECT_EQ(SMAXSH(0.0F, OMEGA8).SMAX, 100.0F);  // no depth: the cap, not a NaN
}

TEST(Diffraction, CoefficientOnShadowLineAndComplementarySides) {
  for (float a : {15.0F / 9.3F, 1.25F, 3.2F}) EXPECT_FLOAT_EQ(KD(a, 0.0F), std::sqrt(0.5F));
  // a = 1, theta = 0.5: tanh 0.5 = 0.4621172, KD = sqrt(0.7310586) = 0.8550196.
  EXPECT_NEAR(KD(1.0F, 0.5F), 0.8550196F, 1e-6F);
  EXPECT_EQ(KD(1.0F, 10.0F), KD(1.0F, 6.0F));  // the angle is capped at 6 rad
  for (float a : {1.25F, 1.613F, 3.2F}) {
    for (float th : {0.01F, 0.3F, 1.0F, 2.5F}) {
      const float k1 = KD(a, th);
      const float k2 = KD(a, -th);
      EXPECT_NEAR(k1 * k1 + k2 * k2, 1.0F, 2e-6F) << a << " " << th;
      EXPECT_LT(k2, k1);  // the shadow side gets less
    }
  }
  EXPECT_NEAR(KD(3.2F, -4.7F), 0.0F, 1e-6F);  // deep in the shadow
  for (float a : {1.0F, 2.2F, 3.3F}) EXPECT_TRUE(std::isnan(KD(a, NAN_F)));  // stays visible
}

TEST(Diffraction, RayFromTipAndItsMirror) {
  // Breaker line shoreward of the tip: beta = atan(dx/dy); side 1 counts from
  // the shadow line towards higher walls, side 2 the other way.
  const TipRay r = tip_ray(1, 100.0F, 100.0F, 0.1F);
  EXPECT_FLOAT_EQ(r.BETA, PI / 4.0F);
  EXPECT_FLOAT_EQ(r.THETA, PI / 4.0F - 0.1F);
  // Breaker line seaward of the tip (dy = -1): the open side's ray turns
  // seaward (dx = 1: pi/2 + pi/4), the sheltered side's lies along the coast.
  EXPECT_FLOAT_EQ(tip_ray(1, 1.0F, -1.0F, 0.0F).BETA, 0.75F * PI);
  EXPECT_FLOAT_EQ(tip_ray(1, -1.0F, -1.0F, 0.0F).BETA, -0.5F * PI);
  EXPECT_FLOAT_EQ(tip_ray(1, 0.0F, -100.0F, 0.0F).BETA, 0.0F);
  // Side 2 mirrors side 1, the breaker line shoreward and seaward of the tip.
  for (float dy : {50.0F, -30.0F}) {
    for (float dx : {-70.0F, 0.0F, 20.0F}) {
      const TipRay a = tip_ray(1, dx, dy, 0.2F);
      const TipRay b = tip_ray(2, -dx, dy, -0.2F);
      EXPECT_FLOAT_EQ(a.BETA, -b.BETA) << dx << " " << dy;
      EXPECT_FLOAT_EQ(a.THETA, b.THETA) << dx << " " << dy;
    }
  }
}

TEST(Diffraction, IterationConvergesOrGivesUpAfter74PassesAndTheStageStops) {
  // Relaxation weights of the old estimate: 0 up to pass 3, then 3, 4, ... 10.
  const std::pair<int, float> weight[] = {{3, 0.0F},        {4, 0.75F},  {8, 0.75F},
                                          {9, 0.8F},        {19, 5.0F / 6.0F}, {68, 0.9F},
                                          {69, 10.0F / 11.0F}, {500, 10.0F / 11.0F}};
  for (const auto& [pass, w] : weight) EXPECT_FLOAT_EQ(relax_kd(1.0F, 0.0F, pass), w) << pass;
  // KD = 0.5 + 0.25 KD* with H = 1 m: 1 -> 0.75 (change 0.25) -> 0.6875 (0.0625)
  // -> 0.671875 (0.015625 <= 0.025): three passes.
  KdIteration it = iterate_kd(1.0F, [](float k) { return 0.5F + 0.25F * k; });
  EXPECT_TRUE(it.converged);
  EXPECT_EQ(it.passes, 3);
  EXPECT_FLOAT_EQ(it.KD, 0.671875F);
  // The same map for a 0.1 m wave: the first change, 0.025 m, is small enough.
  EXPECT_EQ(iterate_kd(0.1F, [](float k) { return 0.5F + 0.25F * k; }).passes, 1);
  // A map that flips between 0 and 1 never settles.
  bool up = false;
  it = iterate_kd(1.0F, [&up](float) { return (up = !up) ? 0.0F : 1.0F; });
  EXPECT_FALSE(it.converged);
  EXPECT_EQ(it.passes, 74);
  // A height that is no number never converges: the stage tells, and the
  // report is the print file's two lines and the run error flag.
  test::Layout l;
  l.groins.emplace_back(150, 100.0F);
  test::DiffractionCoast c(l);
  ASSERT_EQ(c.m.IRUNERR, 0);
  c.m.HB(150) = NAN_F;  // the groin's wall
  EXPECT_FALSE(
      diffraction(c.m.cfg, c.m.transport(), c.m.structures(), c.m.waves(), c.m.scratch()));
  EXPECT_EQ(c.m.IRUNERR, 0);
  stop_on_kd_failure(c.m.run());
  EXPECT_EQ(c.m.IRUNERR, 1);
  EXPECT_EQ(c.prt.str(), " ERROR IN \"KDGODA\".\n KD CALCULATION DID NOT CONVERGE\n");
}

TEST(Diffraction, BetweenStructuresAdjustment) {
  // r = 0.5: g = 1 - 1 + 0.5^0.33 = 0.795536; KD 0.5 -> sqrt(1 - 0.75 g^2) = sqrt(0.525340) = 0.724804.
  EXPECT_NEAR(between_adjust(0.5F, 0.5F), 0.724804F, 2e-6F);
  // r = 0.05: g = 0.9 + 0.05^0.33 = 1.272, 1 - 0.99 g^2 < 0: the radicand is
  // clamped at 0 and KD is kept.
  EXPECT_EQ(between_adjust(0.1F, 0.05F), 0.1F);
  EXPECT_EQ(between_adjust(0.3F, 5.0F), 1.0F);  // r clamped to 1: g = 0, KD = 1
  // r = -0.5: g = 0 + 0.795536; KD 0.8 -> 0.636429. r = -0.1: g = 0.8 + 0.467735 > 1: kept.
  EXPECT_NEAR(between_adjust(0.8F, -0.5F), 0.636429F, 2e-6F);
  EXPECT_EQ(between_adjust(0.8F, -0.1F), 0.8F);
  EXPECT_EQ(between_adjust(0.8F, -3.0F), 0.0F);  // r = -1: g = 0
  for (float kd = 0.0F; kd <= 1.0F; kd += 0.0173F) {  // no ratio (0 or NaN) adjusts nothing
    EXPECT_EQ(between_adjust(kd, 0.0F), kd);
    EXPECT_EQ(between_adjust(kd, NAN_F), kd);
  }
}

using test::Bw;
using test::Layout;
using test::random_layout;
using Coast = test::DiffractionCoast;

bool close(float a, float b) {
  return std::fabs(a - b) <= 1e-5F * std::max(std::fabs(a), std::fabs(b)) + 1e-6F;
}

TEST(DiffractionStage, GeneratedCoastsAreFiniteMirroredOrderFreeAndConserveEnergy) {
  std::mt19937 rng(20261206);
  int far_walls = 0, groin_walls = 0;
  // Fixed coasts with joins first: a breakwater starting at a groin's tip and
  // two breakwaters sharing a cell; then generated ones.
  Layout j1;
  j1.groins.emplace_back(100, 120.0F);
  j1.bws.push_back({100, 120.0F, 125, 140.0F, 0.3F});
  j1.angle = 0.2F;
  Layout j2;
  j2.bws.push_back({180, 100.0F, 200, 130.0F, 0.0F});
  j2.bws.push_back({200, 130.0F, 215, 110.0F, 0.7F});
  j2.angle = -0.25F;
  Layout j3 = j2;  // sharing a cell at different distances: a zero-width gap
  j3.bws[1].y1 = 160.0F;
  for (int n = 0; n < 43; ++n) {
    const Layout l = n == 0 ? j1 : n == 1 ? j2 : n == 2 ? j3 : random_layout(rng);
    const Coast a(l);
    const Coast b(l.mirrored());
    Layout shuffled = l;  // breakwaters listed backwards, each with its tips swapped
    std::reverse(shuffled.bws.begin(), shuffled.bws.end());
    for (Bw& w : shuffled.bws) w = {w.c2, w.y2, w.c1, w.y1, w.kt};
    const Coast s(shuffled);
    const int nw = l.nx + 1;
    for (int i = 1; i <= nw; ++i) {
      ASSERT_TRUE(std::isfinite(a.m.HBD(i)) && std::isfinite(a.m.THETABD(i))) << n << " " << i;
      const int j = nw + 1 - i;  // the mirrored wall
      EXPECT_TRUE(close(a.m.HBD(i), b.m.HBD(j))) << n << " " << i;
      EXPECT_TRUE(close(a.m.THETABD(i), -b.m.THETABD(j))) << n << " " << i;
      EXPECT_EQ(a.m.HBD(i), s.m.HBD(i)) << n << " " << i;
      EXPECT_EQ(a.m.THETABD(i), s.m.THETABD(i)) << n << " " << i;
      EXPECT_LE(a.ratio(i), 1.001F) << n << " " << i;  // no energy is created
      // Far (1000 m) from every structure the waves are undiffracted.
      bool far = true;
      for (const auto& g : l.groins) far = far && std::abs(i - g.first) >= 50;
      for (const Bw& w : l.bws) far = far && std::abs(i - w.c1) >= 50 && std::abs(i - w.c2) >= 50;
      if (far) {
        ++far_walls;
        EXPECT_NEAR(a.ratio(i), 1.0F, 1e-3F) << n << " " << i;
      }
    }
    for (const auto& g : l.groins) {  // a groin wall gets the energy of both its open sides
      if (a.m.JOINFLAG(g.first) == 1) continue;
      ++groin_walls;
      EXPECT_NEAR(a.ratio(g.first), 1.0F, 0.01F) << n << " " << g.first;
    }
  }
  EXPECT_GT(far_walls, 100);  // the generator does leave open coast
  EXPECT_GT(groin_walls, 20);
}

}  // namespace
}  // namespace coastra

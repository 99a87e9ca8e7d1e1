// Tests of the tidal inlets: the reservoir routine against hand cases and
// volume conservation, the placement weights and the placement of a hand case
// with unequal cells and depths, dredging, the start-up line, the set-up
// refusals tried as a user would (one wrong line each) and the inlet files
// of a run in feet.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "inlets/dredging.h"
#include "inlets/inlet_setup.h"
#include "inlets/reservoirs.h"
#include "model/error_stop.h"
#include "support/cases.h"
#include "support/coast_builder.h"
#include "support/refusal.h"
#include "support/run_helpers.h"

namespace coastra {
namespace {

double total(const ReservoirVolumes& v) { return v.E + v.F + v.B + v.A; }

TEST(Reservoirs, ShoalsShareByFullnessAndOverflowInTheSameStepWithoutZeroByZero) {
  // At equilibrium e = f = c = 1, a = 1: all 0.5 m3/s goes on to the ebb shoal and out.
  const ReservoirVolumes full{1000.0, 800.0, 300.0, 200.0};
  const ReservoirStep q = RESERV(0.5, 3600.0, full, full);
  EXPECT_DOUBLE_EQ(q.QIE, 0.5);
  EXPECT_DOUBLE_EQ(q.RET, 0.0);
  EXPECT_DOUBLE_EQ(q.QEB, 0.5);
  EXPECT_DOUBLE_EQ(q.QBA, 0.5);
  EXPECT_DOUBLE_EQ(q.QOUT, 0.5);
  const ReservoirVolumes eq{1000.0, 1000.0, 300.0, 200.0};
  const ReservoirStep e = RESERV(0.01, 3600.0, {0.0, 0.0, 0.0, 0.0}, eq);
  // e = f = c = 0: a = (1 - 0) / (2 - 0 - 0) = 1/2; 36 m3 enter, 18 m3 to each shoal.
  EXPECT_DOUBLE_EQ(e.QIE, 0.0);
  EXPECT_DOUBLE_EQ(e.QCE, 0.005);
  EXPECT_DOUBLE_EQ(e.v.F, 18.0);
  EXPECT_DOUBLE_EQ(e.v.E, 18.0);
  EXPECT_DOUBLE_EQ(e.QEB, 0.0);
  EXPECT_DOUBLE_EQ(e.QOUT, 0.0);
  EXPECT_DOUBLE_EQ(e.v.B, 0.0);  // the floor acts in the formulas only: no volume is made
  // q = 1 m3/s for 100 s. e = 500/1000 = 0.5, f = 250/1000 = 0.25,
  // c = 750/2000 = 0.375, a = (1 - 0.5)/((2 - 0.25) - 0.5) = 0.4.
  // Qie = 0.375, R = 0.625, Qce = 0.25; flood += 0.6 x 0.625 x 100 = 37.5.
  // Ebb inflow 0.625, Qeb = 0.3125, ebb += 31.25. Bar 50/100: Qba = 0.15625,
  // bar += 15.625. Full attachment: Qout = Qba = 0.15625.
  const ReservoirStep r =
      RESERV(1.0, 100.0, {500.0, 250.0, 50.0, 10.0}, {1000.0, 1000.0, 100.0, 10.0});
  EXPECT_DOUBLE_EQ(r.QIE, 0.375);
  EXPECT_DOUBLE_EQ(r.QCE, 0.25);
  EXPECT_DOUBLE_EQ(r.v.F, 287.5);
  EXPECT_DOUBLE_EQ(r.QEB, 0.3125);
  EXPECT_DOUBLE_EQ(r.v.E, 531.25);
  EXPECT_DOUBLE_EQ(r.QBA, 0.15625);
  EXPECT_DOUBLE_EQ(r.v.B, 65.625);
  EXPECT_DOUBLE_EQ(r.QOUT, 0.15625);
  EXPECT_DOUBLE_EQ(r.v.A, 10.0);
  // q = 10 m3/s for 100 s. f = 0.99, e = 0, c = 99/200 = 0.495, a = 1/1.01.
  // R = 5.05; the flood shoal gets (0.01/1.01) x 5.05 x 100 = 5 m3 -> 104:
  // overflow Qfe = 4/100 = 0.04. Ebb inflow 0.04 + 4.95 + 5.0 = 9.99, e = 0 so
  // Qeb = 0 and the ebb shoal takes 999 m3 -> 999 > 100: Qeb = 899/100 = 8.99.
  const ReservoirStep o =
      RESERV(10.0, 100.0, {0.0, 99.0, 1000.0, 1000.0}, {100.0, 100.0, 1000.0, 1000.0});
  EXPECT_NEAR(o.QFE, 0.04, 1e-12);
  EXPECT_DOUBLE_EQ(o.v.F, 100.0);
  EXPECT_NEAR(o.QEB, 8.99, 1e-12);
  EXPECT_DOUBLE_EQ(o.v.E, 100.0);
  EXPECT_NEAR(o.QOUT, 8.99, 1e-12);
  // A full ebb shoal and a flood shoal just short of full, f = 1 - 2^-53: 2 - f
  // rounds to 1 and (2 - f) - e to 0 for e = 1. The ebb share is
  // a = (1 - e) / ((1 - f) + (1 - e)) = 0: the retained part (about 1e-16 of
  // q) goes to the flood shoal, all the rest passes on.
  const double f = 1.0 - std::ldexp(1.0, -53);
  const ReservoirStep z = RESERV(1.0, 1.0, {1.0, f, 1.0, 1.0}, {1.0, 1.0, 1.0, 1.0});
  EXPECT_TRUE(std::isfinite(z.v.E) && std::isfinite(z.v.F) && std::isfinite(z.QOUT));
  EXPECT_EQ(z.QCE, 0.0);
  EXPECT_NEAR(z.QOUT, 1.0, 1e-15);
}

TEST(Reservoirs, AnyStateConservesVolumeAndStaysFinite) {
  // Property: q dt = change of the four volumes + Qout dt, over random states,
  // shoals given fuller than equilibrium and empty bars included.
  std::mt19937 gen(7);
  std::uniform_real_distribution<double> u(0.0, 1.0);
  for (int n = 0; n < 2000; ++n) {
    const ReservoirVolumes eq{1.0 + 5000.0 * u(gen), 1.0 + 5000.0 * u(gen), 1.0 + 500.0 * u(gen),
                              1.0 + 500.0 * u(gen)};
    const ReservoirVolumes v{2.5 * eq.E * u(gen), 2.5 * eq.F * u(gen),
                             n % 5 == 0 ? 0.0 : eq.B * u(gen), eq.A * u(gen)};
    const double q = 2.0 * u(gen), dt = 3600.0 * (1.0 + 5.0 * u(gen));
    const ReservoirStep r = RESERV(q, dt, v, eq);
    ASSERT_TRUE(std::isfinite(r.QOUT));
    EXPECT_GE(r.QOUT, 0.0);
    EXPECT_NEAR(q * dt, total(r.v) - total(v) + r.QOUT * dt, 1e-9 * (q * dt + total(v)));
  }
}

TEST(Placement, TriangularWeightsWithRealHalfWidth) {
  // One cell: 1. n = 4, h = 2, centre 4.5: distances 1.5, 0.5 -> 0.25, 0.75.
  // n = 5, h = 2.5, centre 3: 1 - 2/2.5 = 0.2, 1 - 1/2.5 = 0.6, 1.
  const std::pair<int, std::vector<double>> rows[] = {
      {4, {1.0}}, {3, {0.25, 0.75, 0.75, 0.25}}, {1, {0.2, 0.6, 1.0, 0.6, 0.2}}};
  for (const auto& [first, want] : rows) {
    Vec1<double> w(10);
    const int last = first + static_cast<int>(want.size()) - 1;
    BYPWTS(first, last, w);
    for (int j = first; j <= last; ++j)
      EXPECT_DOUBLE_EQ(w(j), want[static_cast<std::size_t>(j - first)]) << first << " " << j;
  }
}

// A 14-cell coast with one inlet over cells 6..7, its reservoirs at
// equilibrium, right attachment range 9..11 and left range 2..4.
struct InletCoast : test::Coast {
  InletCoast() : Coast(14, 50.0F) {
    inlet(6, 7);
    Settings& c = m.cfg;
    c.IBYPR1(1) = 9;
    c.IBYPR2(1) = 11;
    c.IBYPL1(1) = 2;
    c.IBYPL2(1) = 4;
    c.VVSEQ(1) = c.VVSE(1) = 1000.0F;
    c.VVSFQ(1) = c.VVSF(1) = 1000.0F;
    c.VVSBQL(1) = c.VVSBL(1) = c.VVSBQR(1) = c.VVSBR(1) = 300.0F;
    c.VVSAQL(1) = c.VVSAL(1) = c.VVSAQR(1) = c.VVSAR(1) = 200.0F;
    start();
    setup_inlets(m.cfg, m.input(), m.transport(), m.inlets());
  }
};

TEST(Placement, UnequalCellsAndDepthsEachGetTheirShareAndTheTotalIsQoutTimesDt) {
  InletCoast t;
  ModelState& m = t.m;
  // Range 9..11 (n = 3, h = 1.5, weights 1/3, 1, 1/3) with DX 30, 60, 90 m:
  // sum w DX = 10 + 60 + 30 = 100 m. Profile heights 10, 5, 10 m; the cell
  // beside the inlet (8) is 40 m wide, 10 m high.
  m.cfg.DX(8) = 40.0F;
  m.cfg.DX(9) = 30.0F;
  m.cfg.DX(10) = 60.0F;
  m.cfg.DX(11) = 90.0F;
  m.cfg.DCLOS(10) = 3.0F;
  for (int i = 1; i <= 14; ++i) m.YSHORE(i) = 0.0;
  // 0.02 m3/s from the left for one hour at equilibrium: Qout = 0.02, 72 m3.
  m.QLS(6) = 0.02F;
  m.QLS(8) = 0.0F;
  inlet_step(m.cfg, m.run(), m.input(), m.step(), m.transport(), m.inlets());
  // 0.9 x 72 = 64.8 m3 on the range: cell 9 64.8 x (1/3) x 30/100 = 6.48 m3
  // -> 6.48/(30 x 10) = 0.0216 m; cell 10 64.8 x 60/100 = 38.88 m3 -> /(60 x 5)
  // = 0.1296 m; cell 11 64.8 x (1/3) x 90/100 = 19.44 m3 -> /(90 x 10) = 0.0216 m.
  // Cell 8 gets 0.1 x 72 = 7.2 m3 -> 7.2/(40 x 10) = 0.018 m. Together 72 m3.
  EXPECT_NEAR(m.YSHORE(9), 0.0216, 1e-7);
  EXPECT_NEAR(m.YSHORE(10), 0.1296, 1e-7);
  EXPECT_NEAR(m.YSHORE(11), 0.0216, 1e-7);
  EXPECT_NEAR(m.YSHORE(8), 0.018, 1e-7);
  EXPECT_NEAR(m.VINLIN(1), 72.0, 1e-4);
  EXPECT_NEAR(m.VINLOUT(1), 72.0, 1e-4);
  EXPECT_EQ(m.YSHORE(5), 0.0);  // nothing placed updrift
  // The mouth walls are closed for the reports, the walls beside them copied.
  EXPECT_EQ(m.QLS(6), 0.0F);
  EXPECT_EQ(m.QLS(8), 0.0F);
  EXPECT_EQ(m.QLS(5), m.QLS(4));
  EXPECT_EQ(m.QLS(9), m.QLS(10));
}

TEST(Placement, MouthWallsFollowTheSandThatReachesThem) {
  InletCoast t;
  ModelState& m = t.m;
  // From the left an open mouth passes on its neighbour's transport; leaving
  // sand feeds nothing. From the right the mirror.
  m.QLS(5) = 0.3F;
  m.QLS(6) = 0.1F;
  m.QLS(9) = -0.2F;
  m.QLS(8) = 0.4F;
  mouth_walls(m.cfg, m.transport());
  EXPECT_EQ(m.QLS(6), 0.3F);
  EXPECT_EQ(m.QLS(8), -0.2F);
  m.QLS(5) = -0.3F;
  m.QLS(9) = 0.2F;
  mouth_walls(m.cfg, m.transport());
  EXPECT_EQ(m.QLS(6), 0.0F);
  EXPECT_EQ(m.QLS(8), 0.0F);
  // A jetty at the left mouth keeps its own factored transport.
  m.WALLTYPE(6) = 1;
  m.QLS(5) = 0.3F;
  m.QLS(6) = 0.05F;
  mouth_walls(m.cfg, m.transport());
  EXPECT_EQ(m.QLS(6), 0.05F);
}

TEST(Dredging, EventsInForceTakeTheirVolumeTimesDtAndBookIt) {
  InletCoast t;
  ModelState& m = t.m;
  Settings& c = m.cfg;
  c.DREDGING = true;
  c.NDRED = 4;
  c.DT = m.DT = 3.0F;
  m.CALM = true;  // dredging runs on calm steps too
  const auto event = [&c](int n, int reservoir, int start, int end, float rate) {
    c.DREDINL(n) = 1;
    c.IMOR(n) = reservoir;
    c.IDREDS(n) = start;
    c.IDREDE(n) = end;
    c.DREDV(n) = rate;
  };
  event(1, 3, 20200201, 20200205, 10.0F);   // ebb shoal, 10 m3/h from 1 to 5 February
  event(2, 4, 0, 20301231, 10.0F);          // flood shoal, disabled (IDREDS 0)
  event(3, 2, 20200101, 20301231, 200.0F);  // left bar, 200 m3/h, more than it holds
  event(4, 6, 20200101, 20301231, -4.0F);   // right attachment: a placement into it
  m.STEPDATE = 20200131;  // event 1 not yet in force
  inlet_step(m.cfg, m.run(), m.input(), m.step(), m.transport(), m.inlets());
  EXPECT_EQ(m.VVSE(1), 1000.0);
  EXPECT_EQ(m.VVSBL(1), 0.0);    // 600 m3 asked, the 300 held taken
  EXPECT_EQ(m.VVSAR(1), 212.0);  // 4 m3/h x 3 h placed
  m.STEPDATE = 20200205;          // last day of event 1
  inlet_step(m.cfg, m.run(), m.input(), m.step(), m.transport(), m.inlets());
  EXPECT_EQ(m.VVSE(1), 970.0);  // 10 m3/h x 3 h
  EXPECT_EQ(m.VVSF(1), 1000.0);  // the disabled event never acts
  EXPECT_EQ(m.VDREDRM(1), -330.0);  // 300 + 30 removed
  EXPECT_EQ(m.VDREDPL(1), 24.0);    // 12 + 12 placed
  m.STEPDATE = 20200206;
  inlet_step(m.cfg, m.run(), m.input(), m.step(), m.transport(), m.inlets());
  EXPECT_EQ(m.VVSE(1), 970.0);
}

TEST(InletSetUp, StartUpLineFromTheBeachOrTheJettyTip) {
  test::Coast t({10.0, 10.0, 20.0, 30.0, 30.0, 30.0, 30.0, 60.0, 60.0, 60.0}, 50.0F);
  t.inlet(4, 7).groin(8, 100.0F, 0.0F).start();
  ModelState& m = t.m;
  m.cfg.JBCR(1) = 0.25F;
  m.cfg.YINLL(1) = 0.0F;  // open left edge: the beach of cell 3 (20 m), JBCL set to 1
  m.cfg.YINLR(1) = 0.0F;  // jetty at wall 8, tip 100 m, beach of cell 8 at 60 m:
                          // 100 - (100 - 60) x 0.25 = 90 m
  setup_inlets(m.cfg, m.input(), m.transport(), m.inlets());
  EXPECT_DOUBLE_EQ(m.YINLL(1), 20.0);
  EXPECT_EQ(m.JBCL(1), 1.0F);
  EXPECT_DOUBLE_EQ(m.YINLR(1), 90.0);
  EXPECT_EQ(m.JBCR(1), 0.25F);   // only the open edge's factor is replaced
  // Straight line over cells 4..7: 20, 43.33, 66.67, 90.
  EXPECT_DOUBLE_EQ(m.YSHORE(4), 20.0);
  EXPECT_NEAR(m.YSHORE(5), 20.0 + 70.0 / 3.0, 1e-12);
  EXPECT_DOUBLE_EQ(m.YSHORE(7), 90.0);
  EXPECT_EQ(m.YINIT(6), m.YSHORE(6));
  // Given edges in feet are converted and measured from the regional contour;
  // a one-cell inlet takes the mean of the two.
  test::Coast f({10.0, 10.0, 20.0, 30.0, 30.0, 30.0, 30.0, 60.0}, 50.0F);
  f.inlet(4, 4);
  f.m.LENFAC = 0.3048F;
  f.m.YREG(4) = 5.0F;
  f.m.cfg.YINLL(1) = 100.0F;  // 30.48 m - 5 = 25.48
  f.m.cfg.YINLR(1) = 200.0F;  // 60.96 m - 5 = 55.96
  setup_inlets(f.m.cfg, f.m.input(), f.m.transport(), f.m.inlets());
  EXPECT_NEAR(f.m.YSHORE(4), 0.5 * (25.48 + 55.96), 1e-5);
}

// A valid metric coast of 30 cells with one inlet over cells 14..16 (name
// Pass), a dredging event and budget entries; each refusal case changes one line.
std::string inlet_config() {
  return test::base_config(30, 50.0, 20200101, 20200301, 6.0, 240.0) +
         "IINLS: 14\nIINLE: 16\nINLNAME: Pass\nIBYPL1: 10\nIBYPL2: 13\nIBYPR1: 17\nIBYPR2: 21\n"
         "VVSE: 1000\nVVSF: 1000\nVVSBL: 100\nVVSBR: 100\nVVSAL: 100\nVVSAR: 100\n"
         "VVSEQ: 20000\nVVSFQ: 20000\nVVSBQL: 2000\nVVSBQR: 2000\nVVSAQL: 2000\nVVSAQR: 2000\n"
         "YINLL: 0\nYINLR: 0\n"
         "IMOR: 3\nIDREDS: 20200201\nIDREDE: 20200210\nDRDAY: 10\nDREDV: 500\n"
         "IQMAPV1: 1\nIQMAPV2: 30\nIQMAPQ1: 1\nIQMAPQ2: 31\n";
}

// A run case of cfg on the 30-cell coast (the earlier run's data files present).
std::unique_ptr<test::RunCase> inlet_case(const std::string& cfg) {
  auto c = std::make_unique<test::RunCase>();
  c->cfg = cfg;
  c->dir.write("shore.dat", test::cell_file(std::vector<double>(30, 100.0)));
  return c;
}

std::string replaced(std::string s, const std::string& from, const std::string& to) {
  const auto at = s.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) s.replace(at, from.size(), to);
  return s;
}

TEST(InletSetUp, WrongLinesAreRefusedNamingTheKeyAndTheInlet) {
  struct Case {
    const char* from;
    const char* to;
    const char* message;
  };
  const Case cases[] = {
      {"IINLS: 14\n", "IINLS: 2\n", "IINLS of inlet 1 must be at least 3 (cell 2)"},
      {"IINLE: 16\n", "IINLE: 29\n", "IINLE of inlet 1 must be at most NX-2 (cell 29)"},
      {"IINLE: 16\n", "IINLE: 12\n", "IINLE of inlet 1 must not be less than IINLS"},
      {"IBYPR2: 21\n", "", "IBYPR1/IBYPR2 of inlet 1 not given"},
      {"IBYPL2: 13\n", "IBYPL2: 9\n", "IBYPL1/IBYPL2 of inlet 1: first cell after last cell"},
      {"IBYPR2: 21\n", "IBYPR2: 31\n", "IBYPR1/IBYPR2 of inlet 1 outside cells 1..NX"},
      {"IBYPL2: 13\n", "IBYPL2: 14\n", "IBYPL1/IBYPL2 of inlet 1 covers inlet cell 14"},
      {"IMOR: 3\n", "IMOR: 7\n", "IMOR of dredging event 1 of inlet 1 must be 1..6"},
      {"IQMAPV2: 30\n", "IQMAPV2: 31\n", "IQMAPV2 of budget entry 1 outside cells 1..NX"},
      {"IQMAPQ2: 31\n", "IQMAPQ2: 32\n", "IQMAPQ2 of budget entry 1 outside walls 1..NX+1"},
      {"YINLR: 0\n", "YINLR: 0\nIXNDG: 15\nYNDG: 150\nPNDG: 0\n",
       "groin at wall 15 stands inside inlet 1"},
      {"YINLR: 0\n", "YINLR: 0\nBFDATS: 20200105\nBFDATE: 20200110\nIBFS: 12\nIBFE: 14\nYADD: 5\n",
       "IBFS/IBFE of fill 1 covers inlet cell 14"},
      {"YINLR: 0\n", "YINLR: 0\nBPDATS: 20200105\nBPDATE: 20200110\nIBPS: 15\nIBPE: 15\nQBP: 10\n",
       "IBPS/IBPE of bypass 1 covers inlet cell 15"},
      {"DREDV: 500\n",
       "DREDV: 500\nIINLS: 20\nIINLE: 20\nIBYPL1: 19\nIBYPL2: 19\nIBYPR1: 21\nIBYPR2: 21\n"
       "VVSEQ: 1\nVVSFQ: 1\nVVSBQL: 1\nVVSBQR: 1\nVVSAQL: 1\nVVSAQR: 1\n",
       "IINLS of inlet 2: fewer than 4 beach cells after inlet 1"},
      {"DREDV: 500\n",
       "DREDV: 500\nIINLS: 25\nIINLE: 25\nINLNAME: Pass\nIBYPL1: 24\nIBYPL2: 24\nIBYPR1: "
       "26\nIBYPR2: 26\nVVSEQ: 1\nVVSFQ: 1\nVVSBQL: 1\nVVSBQR: 1\nVVSAQL: 1\nVVSAQR: 1\n",
       "INLNAME of inlet 2 repeats the name of inlet 1"},
      // the .irv file would land outside the run's folder
      {"INLNAME: Pass\n", "INLNAME: ../x\n", "INLNAME ../x holds a path separator"},
      // the reservoir model divides by every equilibrium volume (one loop over the six)
      {"VVSAQR: 2000\n", "", "VVSAQR of inlet 1 not given (equilibrium volume)"},
      {"IDREDS: 20200201\n", "IDREDS: 2020021\n",
       "IDREDS and IDREDE of dredging event 1: one a date, one a step"},
      {"IDREDE: 20200210\n", "IDREDE: 20200230\n", "IDREDE of dredging event 1 is no date YYYYMMDD"},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.to);
    test::expect_refused(*inlet_case(replaced(inlet_config(), k.from, k.to)), k.message);
  }
}

// An inlet's file is named after the inlet beside the print file: it must not
// overwrite an input or the print file (two inlets of one name are refused at
// set-up). Every name is checked before any output file is truncated.
TEST(InletFiles, NameThatWouldOverwriteAnInputOrAnotherOutputIsRefused) {
  // The shoreline input named like the inlet's file (it stays whole).
  auto in = inlet_case(replaced(inlet_config(), "INIFILE: shore.dat\n", "INIFILE: Pass.irv\n"));
  in->dir.write("Pass.irv", in->dir.read("shore.dat"));
  // The input and the earlier run's data files stay whole.
  test::expect_refused(*in, "INLNAME output Pass.irv would overwrite input file Pass.irv");
  // A print file named like the inlet's file.
  auto prt = inlet_case(replaced(inlet_config(), "PRFILE: run.out\n", "PRFILE: Pass.irv\n"));
  test::expect_refused(*prt, "INLNAME outputs Pass.irv and Pass.irv are one file", {"Pass.irv"});
}

TEST(InletFiles, NamesHeadersLayoutAndCubicYardsOfAFeetRun) {
  // The coast in feet (164 ft cells, berm 6.5 ft, closure depth 26 ft), a
  // second inlet without a name, the print file in a subfolder, the dredging
  // window opening on the run's first day (it acts from step 1).
  std::string cfg = replaced(inlet_config(), "CSTUNITS: (m)\n", "CSTUNITS: (ft)\n");
  cfg = replaced(cfg, "IDREDS: 20200201\nIDREDE: 20200210", "IDREDS: 20200101\nIDREDE: 20200110");
  cfg = replaced(replaced(cfg, "DX: 50\n", "DX: 164\n"), "BERMHT: 2.0\nDCLOS: 8.0\n",
                 "BERMHT: 6.5\nDCLOS: 26.0\n");
  cfg = replaced(replaced(cfg, "PRFILE: run.out\n", "PRFILE: out/run.out\n"), "DREDV: 500\n",
                 "DREDV: 500\nIINLS: 25\nIINLE: 25\nIBYPL1: 23\nIBYPL2: 24\nIBYPR1: 26\nIBYPR2: 28\n"
                 "VVSEQ: 10\nVVSFQ: 10\nVVSBQL: 10\nVVSBQR: 10\nVVSAQL: 10\nVVSAQR: 10\n");
  auto c = inlet_case(cfg);
  const test::ScratchDir& dir = c->dir;
  std::filesystem::create_directory(dir.path() / "out");
  const test::RunResult r = c->run();
  ASSERT_EQ(r.status, EXIT_NORMAL) << r.console;
  const std::string hdr =
      "      DT        L_Qout         L_Qie      L_Attach         L_Qba      L_Bypass         L_Qeb"
      "           Ebb           Qfe         Flood           Qce         R_Qeb      R_Bypass"
      "         R_Qba      R_Attach         R_Qie        R_Qout       DATE";
  for (const auto& [name, title] :
       {std::pair{"out/Pass.irv", "Pass"}, {"out/Inlet2.irv", "Inlet2"}}) {
    const auto lines = test::lines_of(dir.read(name));
    // 2020-01-01 to 2020-03-01 is 60 days (leap February) of 6-hour steps = 240
    // steps; DTSAVE 240 h = 40 steps: records at steps 40, 80, ..., 240.
    ASSERT_EQ(lines.size(), 2U + 6U) << name;
    EXPECT_EQ(lines[0], std::string("Inlet Shoal Volumes for ") + title);
    EXPECT_EQ(lines[1], hdr);
    for (std::size_t n = 2; n < lines.size(); ++n) {
      const std::string& rec = lines[n];
      ASSERT_EQ(rec.size(), 8U + 1U + 16U * 14U + 4U + 8U);  // I8, 1X, 16F14.0, 4X, I8
      EXPECT_EQ(std::stoi(rec.substr(0, 8)), 40 * static_cast<int>(n - 1));
      for (int col = 0; col < 16; ++col) EXPECT_EQ(rec[9 + 14 * col + 13], '.') << rec;
    }
    // Step 40 ends on 2020-01-11 (40 x 6 h = 10 days after 2020-01-01).
    EXPECT_EQ(lines[2].substr(lines[2].size() - 8), "20200111");
  }
  // Pass is fed from the left: the left attachment bar keeps its 100 (cubic
  // yards, as every volume of the file); some sand leaves on the right.
  const auto rec = test::lines_of(dir.read("out/Pass.irv"))[2];
  EXPECT_EQ(std::stod(rec.substr(9 + 2 * 14, 14)), 100.0);  // L_Attach
  EXPECT_GT(std::stod(rec.substr(9 + 15 * 14, 14)), 0.0);   // R_Qout
  // 500 CY dredged from the ebb shoal over its 10 days (all of DREDV, the
  // window's days of steps taken from its first day): removal -500 CY
  // (the per-hour volume is read in single precision). The shoals hold what
  // the books say: Pass's six reservoirs at the end of the run (the last
  // record, whole cubic yards) less the 2400 CY they started with.
  const std::string prt = dir.read("out/run.out");
  EXPECT_NEAR(test::values_after(prt, "    DREDGED VOLUME REMOVAL (CY): ").at(0), -500.0, 1e-3);
  const std::string last = test::lines_of(dir.read("out/Pass.irv")).back();
  double held = -2400.0;
  for (int col : {2, 4, 6, 8, 11, 13}) held += std::stod(last.substr(9 + 14 * col, 14));
  EXPECT_NEAR(held, test::values_after(prt, "    INLET VOLUME CHANGE (CY):    ").at(0), 3.0);
  EXPECT_EQ(test::count_of(prt, "(M3"), 0);
}

}  // namespace
}  // namespace coastra

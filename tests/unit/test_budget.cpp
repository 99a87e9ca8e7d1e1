// Tests of the sediment budget: closure of the whole grid and of every inlet
// over generated runs (in-process runs read through the printed report), and
// the report's labels, order and values in metres and in feet against
// hand-computed volumes.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <numeric>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "output/budget_report.h"
#include "output/format.h"
#include "support/cases.h"
#include "support/run_helpers.h"
#include "support/state_rig.h"

namespace coastra {
namespace {

using test::values_after;

// Dated six-hourly records from 2020-01-01 over 92 days: oblique waves from
// both sides, one calm record (height 0) in seven.
constexpr int WAVE_RECORDS = 92 * 4;

// A generated coast: one or two inlets with dredging (the first now and then
// with a jetty), a seawall, moving or pinned boundaries.
std::string generated_config(std::mt19937& gen, int nx) {
  std::uniform_int_distribution<int> pick(0, 1000);
  std::ostringstream os;
  std::string base = test::base_config(nx, 40.0, 20200101, 20200401, 6.0, 24.0);
  base.replace(base.find("WAVEID: 1 10.0 0 waves.dat"), 26,
               "WAVEID: 1 10.0 " + std::to_string(WAVE_RECORDS) + " waves.dat");
  os << base;
  const int ninl = 1 + pick(gen) % 2;
  const int s1 = 6 + pick(gen) % 4, e1 = s1 + pick(gen) % 3;
  int s[2] = {s1, e1 + 6 + pick(gen) % 6}, e[2] = {e1, 0};
  e[1] = s[1] + pick(gen) % 2;
  for (int k = 0; k < ninl; ++k) {
    os << "IINLS: " << s[k] << "\nIINLE: " << e[k] << "\nIBYPL1: " << s[k] - 3
       << "\nIBYPL2: " << s[k] - 1 << "\nIBYPR1: " << e[k] + 1
       << "\nIBYPR2: " << e[k] + 2 + pick(gen) % 2 << "\nVVSE: " << pick(gen)
       << "\nVVSF: " << pick(gen) << "\nVVSBL: 50\nVVSBR: 0\nVVSAL: 20"
       << "\nVVSAR: 20\nVVSEQ: " << 2000 + 10 * pick(gen) << "\nVVSFQ: 3000\nVVSBQL: 800"
       << "\nVVSBQR: 800\nVVSAQL: 500\nVVSAQR: 500\nYINLL: 0\nYINLR: 0\n"
       << "DRDAY: 20\nIMOR: " << 1 + pick(gen) % 6
       << "\nIDREDS: 20200210\nIDREDE: 20200301\nDREDV: " << 200 + pick(gen) << "\n";
    // Now and then a jetty at the inlet's left mouth; the left edge then lies
    // halfway from its tip back to the beach.
    if (k == 0 && pick(gen) % 2 == 0)
      os << "JBCL: 0.5\nIXNDG: " << s[k] << "\nYNDG: 130\nPNDG: 0.2\n";
  }
  os << "ISWBEG: " << nx - 6 << "\nISWEND: " << nx - 3 << "\nSWY1: 99.5\nSWY2: 99.5\n";
  // A fill updrift of the first inlet, an excavation beside the seawall and a
  // bypass pair from the right end to the left end, all clear of the inlets.
  os << "BFDATS: 20200201\nBFDATE: 20200301\nIBFS: 2\nIBFE: 3\nYADD: " << 2 + pick(gen) % 5
     << "\nBFDATS: 20200110\nBFDATE: 20200120\nIBFS: " << nx - 9 << "\nIBFE: " << nx - 8
     << "\nYADD: -1.5\n";
  os << "BPDATS: 20200115\nBPDATE: 20200315\nIBPS: " << nx - 2 << "\nIBPE: " << nx - 1
     << "\nQBP: -" << 5 + pick(gen) % 20 << "\nBPDATS: 20200115\nBPDATE: 20200315\nIBPS: 4"
     << "\nIBPE: 5\nQBP: 12\n";
  if (pick(gen) % 2 == 0)
    os << "LBCTYPE: 3\nLMOVY: " << 0.05 * (pick(gen) % 3 - 1) << "\nLMOVPER: 2\n";
  if (pick(gen) % 2 == 0) os << "RBCTYPE: 3\nRMOVY: -0.04\nRMOVPER: 2\n";
  os << "IQMAPV1: 1\nIQMAPV2: " << nx << "\nIQMAPQ1: 1\nIQMAPQ2: " << nx + 1 << "\n";
  return os.str();
}

std::string generated_waves(std::mt19937& gen) {
  std::uniform_real_distribution<double> ang(-35.0, 35.0);
  const int month_days[] = {31, 29, 31, 30};
  std::ostringstream os;
  int n = 0;
  for (int month = 1; month <= 4; ++month) {
    for (int day = 1; day <= month_days[month - 1]; ++day) {
      for (int hour = 0; hour < 24; hour += 6) {
        if (n++ >= WAVE_RECORDS) return os.str();
        char date[64];  // room for any int the compiler cannot rule out
        std::snprintf(date, sizeof date, "2020%02d%02d %02d00 ", month, day, hour);
        os << date << (n % 7 == 3 ? 0.0 : 0.8 + 0.001 * n) << " 7.0 " << ang(gen) << "\n";
      }
    }
  }
  return os.str();
}

TEST(BudgetClosure, GeneratedRunsCloseOnTheWholeGridAndPerInlet) {
  std::mt19937 gen(2026);   // its six runs have jetties, two inlets and moving ends
  for (int run = 0; run < 6; ++run) {
    const int nx = 36 + run;
    test::ScratchDir dir;
    const std::string cfg = generated_config(gen, nx);
    dir.write("run.cfg", cfg);
    dir.write("shore.dat",
              test::cell_file(std::vector<double>(static_cast<std::size_t>(nx), 100.0)));
    dir.write("waves.dat", generated_waves(gen));
    const test::RunResult r = test::run_in(dir, {"run.cfg"});
    ASSERT_EQ(r.status, EXIT_NORMAL) << r.console << cfg;
    const std::string prt = dir.read("run.out");
    const double dv = values_after(prt, "    VOLUME CHANGE (M3):             ").at(0);
    const auto right = values_after(prt, "        VOLUME TO RIGHT (M3):     ");
    const auto left = values_after(prt, "        VOLUME TO LEFT  (M3):     ");
    const auto left2 = values_after(prt, "        VOLUME TO LEFT (M3):      ");
    const auto into = values_after(prt, "    VOLUME TRANSPORTED INTO INLET (M3):  ");
    const auto from = values_after(prt, "    VOLUME TRANSPORTED FROM INLET (M3):  ");
    const auto dplace = values_after(prt, "    DREDGED VOLUME PLACEMENT (M3):       ");
    const auto dremove = values_after(prt, "    DREDGED VOLUME REMOVAL (M3): ");
    const auto change = values_after(prt, "    INLET VOLUME CHANGE (M3):    ");
    const double fill = values_after(prt, "    BEACH FILL VOLUME PLACEMENT (M3):    ").at(0);
    const double excav = values_after(prt, "    BEACH EXCAVATION VOLUME REMOVAL (M3):").at(0);
    const double src = values_after(prt, "    BYPASS SOURCE VOLUME PLACEMENT (M3): ").at(0);
    const double snk = values_after(prt, "    BYPASS SINK VOLUME REMOVAL (M3):     ").at(0);
    EXPECT_GT(fill, 0.0);
    EXPECT_LT(excav, 0.0);
    EXPECT_GT(src, 0.0);
    EXPECT_LT(snk, 0.0);
    ASSERT_EQ(right.size(), 2U);
    ASSERT_FALSE(into.empty());
    // Whole grid: change = boundary inflow - boundary outflow - entering the
    // inlets + placed from them + fills and excavations + bypass sources and sinks.
    // The printed change counts shoreline moves below 0.0001 m as none: at most
    // 0.0001 m x 40 m x 10 m = 0.04 m3 a cell.
    const double boundary = (right[0] + left[0]) - (right[1] + left2.at(0));
    const double in = std::accumulate(into.begin(), into.end(), 0.0);
    const double out = std::accumulate(from.begin(), from.end(), 0.0);
    EXPECT_NEAR(dv, boundary - in + out + fill + excav + src + snk, 0.04 * nx + 1e-6 * in) << cfg;
    EXPECT_GT(in, 0.0);
    // Each inlet: change = entering - placed - removed + placed by dredging.
    for (std::size_t i = 0; i < into.size(); ++i) {
      EXPECT_NEAR(change[i], into[i] - from[i] + dremove[i] + dplace[i], 1e-6 * (1.0 + into[i]));
      EXPECT_LE(dremove[i], 0.0);
    }
    // The grid total line agrees with the budget cell over the whole grid.
    EXPECT_NEAR(test::total_volume_change(prt), dv, 1e-4 * std::abs(dv) + 1.0);
  }
}

// A budget state with hand values: 10 cells of 50 m and one inlet over 4..5;
// the report in metres or feet is compared line by line.
struct BudgetRig : test::StateRig {
  explicit BudgetRig(bool feet) {
    Settings& c = m.cfg;
    c.NX = 10;
    c.UNITSYS = feet ? 2 : 1;
    c.DT = m.DT = 24.0F;
    m.YDFAC = feet ? 0.9144F : 1.0F;
    c.INLETS = true;
    c.NINL = 1;
    c.IINLS(1) = 4;
    c.IINLE(1) = 5;
    c.INLNAME[1] = "Big Pass";
    c.NQMAPV = 2;
    c.IQMAPV1(1) = 1;
    c.IQMAPV2(1) = 10;  // holds the inlet
    c.IQMAPV1(2) = 1;
    c.IQMAPV2(2) = 3;  // ends beside it
    c.NQMAPQ = 1;
    c.IQMAPQ1(1) = 1;
    c.IQMAPQ2(1) = 4;  // boundary and left mouth
    // 730 steps of a day: 730 / 365 = 2 years for the cells, 730 / 365.25 for the flux.
    m.ISTEP = 730;
    m.ELAPSED = 729.0 * 24.0;
    for (int i = 1; i <= 10; ++i) m.VOLCELL(i) = 100.0;  // 1000 m3 over the grid, 300 on 1..3
    m.VINLIN(1) = 3000.0;
    m.VINR(1) = 3000.0;  // all from the left
    m.VINLOUT(1) = 1000.0;
    m.VOUTR(1) = 1000.0;  // placed on the right
    m.VDREDRM(1) = -500.0;
    m.VDREDPL(1) = 200.0;
  }
};

// One free-form record of the given items (the formatting layer has its own
// tests; the values here are the hand-computed ones), without its newline.
template <class... A>
std::string line(const A&... items) {
  std::string s = lstr(items...);
  s.pop_back();
  return s;
}

TEST(BudgetReport, InletBlocksWarningsAndRatesInMetresAndInFeet) {
  // The budget-cell and flux-arrow blocks without an inlet, their values and
  // rates are pinned by the golden runs in both units; here the inlet blocks,
  // the adjacency warning and the two years of the inlet rates.
  for (const bool feet : {false, true}) {
    BudgetRig r(feet);
    write_budget_report(r.m);
    const auto l = test::lines_of(r.prt.str());
    const double v = feet ? static_cast<double>(0.9144F) : 1.0;
    const double d = v * v * v;  // the model's float factor cubed, 0.76455 m3 a cubic yard
    const char* u = feet ? "CY" : "M3";
    SCOPED_TRACE(u);
    ASSERT_GT(l.size(), 82U);
    // The inlet block of budget cell 1: change = 3000 - 1000 - 500 + 200 =
    // 1700 m3, 850 m3/yr over 730 days of 365.
    EXPECT_EQ(l[24], line("    QMAP CELL INCLUDES INLET:           ", "Big Pass"));
    EXPECT_EQ(l[25], line("    VOLUME TRANSPORTED INTO INLET ", "(", u, "):  ", 3000.0 / d));
    EXPECT_EQ(l[26], line("    VOLUME TRANSPORTED FROM INLET ", "(", u, "):  ", 1000.0 / d));
    EXPECT_EQ(l[27], line("    DREDGED VOLUME PLACEMENT (", u, ")", ":       ", 200.0 / d));
    EXPECT_EQ(l[28], line("    DREDGED VOLUME REMOVAL (", u, "): ", -500.0 / d));
    EXPECT_EQ(l[29], line("    INLET VOLUME CHANGE (", u, "):    ", 1700.0 / d));
    EXPECT_EQ(l[32], line("    AVG. INLET VOL. CHANGE RATE (", u, "/YR): ", 850.0 / d));
    // Budget cell 2 (cells 1..3) ends beside the inlet.
    EXPECT_EQ(l[53], line("    WARNING: QMAP CELL ", 2));
    EXPECT_EQ(l[54], line("    IS ADJACENT TO BOUNDARY OF INLET: ", "Big Pass"));
    // The left mouth (wall 4): its inlet block; 730 days are 730 / 365.25 years.
    EXPECT_EQ(l[74], line("    QMAP FLUX ARROW ADJACENT TO INLET:  ", "Big Pass"));
    EXPECT_EQ(l[75], line("    TRANSPORT INTO OR OUT OF INLET AT ", "CELL-WALL:", 4));
    EXPECT_EQ(l[76], line("        VOL. INTO INLET LEFT TO RIGHT ", "(", u, "):", 3000.0 / d));
    EXPECT_EQ(l[77], line("        VOL. FROM INLET RIGHT TO LEFT ", "(", u, "):", 0.0));
    EXPECT_EQ(l[78], line("        AVG. RATE INTO INLET L TO R", "(", u, "/YR):",
                          3000.0 / d / (730.0 / 365.25)));
  }
}

TEST(BudgetReport, PartialOverlapsWarnAndARunOfNoStepHasZeroRates) {
  BudgetRig r(false);
  ModelState& m = r.m;
  m.cfg.NQMAPQ = 0;
  m.cfg.IINLS(1) = 4;
  m.cfg.IINLE(1) = 4;    // one-cell inlet
  m.cfg.IQMAPV1(1) = 4;  // begins on the inlet's only cell and runs on
  m.cfg.IQMAPV2(1) = 8;
  m.cfg.IQMAPV1(2) = 1;  // ends on it
  m.cfg.IQMAPV2(2) = 4;
  m.ISTEP = 0;  // no step simulated
  m.ELAPSED = 0.0;
  // The one-cell inlet lies inside 4..8 whole: its block; 1..4 as well.
  std::string text = (write_budget_report(m), r.prt.str());
  EXPECT_EQ(test::count_of(text, "QMAP CELL INCLUDES INLET:"), 2);
  // Two-cell inlet 4..5: a cell 5..8 and a cell 1..4 each hold part of it.
  r.prt.str("");
  m.cfg.IINLE(1) = 5;
  m.cfg.IQMAPV1(1) = 5;
  text = (write_budget_report(m), r.prt.str());
  EXPECT_EQ(test::count_of(text, " ONLY CONTAINS PART OF INLET: Big Pass"), 2);
  EXPECT_EQ(test::count_of(text, "NOT INCLUDED IN CALCULATION"), 2);
  EXPECT_EQ(text.find("nan"), std::string::npos);
  for (double rate : values_after(text, "/YR):")) EXPECT_EQ(rate, 0.0);
}

}  // namespace
}  // namespace coastra

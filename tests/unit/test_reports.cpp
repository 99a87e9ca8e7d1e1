// Print-file reports: echo, unit labels, yearly report and its thousands form,
// end-of-run reports and the total line.

#include <gtest/gtest.h>

#include "output/data_files.h"
#include "output/echo.h"
#include "output/reports.h"
#include "support/run_helpers.h"
#include "support/state_rig.h"

namespace coastra {
namespace {

using test::has_line;
using test::lines_of;

// One cell (two walls), metric or in feet, the print file and console captured.
struct Captured : test::StateRig {
  explicit Captured(bool feet = false) {
    m.cfg.NX = 1;
    m.cfg.CSTUNITS = feet ? "(ft)" : "(m)";
    if (!feet) return;
    m.LENFAC = 0.3048F;
    m.YDFAC = 0.9144F;
    m.cfg.UNITSYS = 2;
  }
  // The line after the first line equal to heading.
  std::string after(const std::string& heading) const {
    const auto lines = lines_of(prt.str());
    for (std::size_t i = 0; i + 1 < lines.size(); ++i)
      if (lines[i] == heading) return lines[i + 1];
    return "<no " + heading + ">";
  }
};

// The final and intermediate reports' labels and conversions in both units are
// pinned by the golden cases (feet_regional, feet_fills and the metric ones).
// The anniversaries, the last step, a report once per anniversary, its console
// lines, the shoreline and net lists, the mean-annual records' values and the
// new period it begins are pinned by the golden cases (groins_metric has two
// yearly reports); none has a report step that crosses midnight.
TEST(Reports, YearlyReportOfARunStartedOnALeapDay) {
  Captured c;
  ModelState& m = c.m;
  m.cfg.SIMDATS = 20240229;
  m.NTS = 1000;
  m.ISTEP = 10;
  m.STARTDAY = false;
  const auto due = [&m](int date) {
    m.CURDATE = date;
    return yearly_report_due(m.cfg, m.run(), m.input(), m.output());
  };
  // The year closes when the clock passes the missing date.
  EXPECT_FALSE(due(20250228));
  EXPECT_TRUE(due(20250301));
}

TEST(Reports, YearlyReportSwitchesToThousandsAboveOneHundredThousand) {
  test::ScratchDir dir;
  Captured c;
  ModelState& m = c.m;
  m.cfg.OUTBASE = dir.file("run.");
  open_data_files(m.cfg, m.output());
  m.cfg.SIMDATS = m.IREPDATE = 20240101;
  m.CURDATE = 20250101;
  m.NEXTDATE = 20250102;   // a one-day step: the mean-annual records carry the date it ends on
  m.ISTEP = 1464;
  m.STARTDAY = false;
  m.VGROSSP(1) = 100000.0;  // at the limit: volumes in full
  yearly_report(m.cfg, m.input(), m.waves(), m.transport(), m.run(), m.output());
  EXPECT_EQ(c.after(" GROSS TRANSPORT VOLUME (M3) FROM 20240101 TO 20250101"), "100000.     0.");
  // Second year: one wall above the limit puts all four lists in thousands.
  m.CURDATE = 20260101;
  m.VGROSSP(1) = 100001.0;
  m.VLEFTP(1) = -90600.0;
  yearly_report(m.cfg, m.input(), m.waves(), m.transport(), m.run(), m.output());
  EXPECT_EQ(c.after(" GROSS TRANSPORT VOLUME (M3/1000) FROM 20250101 TO 20260101"), "   100.     0.");
  EXPECT_EQ(c.after(" TRANSPORT VOLUME TO THE LEFT (M3/1000) FROM 20250101 TO 20260101"), "   -91.     0.");
  close_data_files(m.cfg, m.run(), m.output());
  EXPECT_EQ(lines_of(dir.read("run.mqn"))[1], "20250102              0.              0.");
  // The limit applies to the volume as printed: 90000 m3 is 117716 cubic yards.
  // A run shorter than a year reports 0 completed years at its last step.
  Captured ft(true);
  ft.m.VGROSSP(1) = 90000.0;
  yearly_report(ft.m.cfg, ft.m.input(), ft.m.waves(), ft.m.transport(), ft.m.run(),
                ft.m.output());
  EXPECT_TRUE(has_line(ft.prt.str(),
                       " SHORELINE POSITION (ft)   AFTER   0 YEARS  =       0 TIME STEPS.  DATE IS        0"));
  EXPECT_EQ(ft.after(" GROSS TRANSPORT VOLUME (YARDS3/1000) FROM        0 TO        0"), "   118.     0.");
  // Before any yearly report an intermediate report decides from the period so far.
  Captured early;
  early.m.VGROSSP(1) = 200000.0;
  intermediate_report(early.m.cfg, early.m.input(), early.m.transport(), early.m.run(),
                      early.m.output());
  EXPECT_NE(early.prt.str().find(" MEAN ANNUALIZED NET TRANSPORT (M3/1000) FROM"), std::string::npos);
}

// The echo in feet (title, groins, depths, the DX line) is pinned by the golden
// cases feet_regional and feet_fills, which have heights in feet and no WAVREGANG.
TEST(Reports, EchoOfMetreHeightsInFeetAndWavregang) {
  Captured c(true);
  ModelState& m = c.m;
  m.cfg.WAVEFAC = 1.0F;  // wave heights in metres
  m.cfg.WAVREGANG = 1;
  m.cfg.IWAVREGSMOOTH = 3;
  write_banner_and_echo(m.cfg, m.input(), m.waves(), m.step(), m.run());
  EXPECT_EQ(c.after(" Wave heights input and reported in meters"),
            " Median Grain Size (D50) input and reported in     millimeters");
  EXPECT_EQ(lines_of(c.prt.str()).back(), " WAVREGANG =          1 IWAVREGSMOOTH =          3");
}

TEST(Reports, EndOfRunReportsAverageOverStepsSimulatedAndWarnOfOffshoreWaves) {
  Captured c;
  ModelState& m = c.m;
  m.NSPERDAY = 4.0F;
  m.NTS = 20;
  m.ISTEP = 10;  // stopped at step 10 of 20
  m.CURDATE = 20240103;
  m.VNET(1) = 10000.0;  // 10000 m3 in 2.5 days: 1461000 m3 a year
  m.VLEFT(1) = -2500.0;
  m.NOFFSHORE = 3;
  end_reports_transport(m);
  end_reports_shoreline(m.cfg, m.input(), m.waves(), m.transport(), m.output(), m.run());
  EXPECT_EQ(c.after(" MEAN NET ANNUAL TRANSPORT (M3/1000)"), "  1461.     0.");
  EXPECT_EQ(c.after(" MEAN ANNUAL TRANSPORT TO THE LEFT (M3/1000)"), "  -365.     0.");
  EXPECT_TRUE(has_line(c.prt.str(), " OUTPUT LAST TIMESTEP NO.      10 DATE IS 20240103"));
  const std::string warning = " WARNING: Wave Angle is greater than 90 deg         or less than -90 deg.";
  EXPECT_TRUE(has_line(c.prt.str(), warning));
  EXPECT_TRUE(has_line(c.con.str(), warning));
  EXPECT_TRUE(has_line(c.con.str(), " Number of Occurrences :          3"));
  // With computed transmission the warning follows the KT statistics and
  // precedes the volume change (the order of the others is pinned by the
  // golden case breakwaters; no golden run has waves beyond 90 degrees).
  Captured k;
  k.m.cfg.NDB = 1;
  k.m.NKT(1) = 2;
  k.m.NOFFSHORE = 1;
  end_reports_transport(k.m);
  end_reports_shoreline(k.m.cfg, k.m.input(), k.m.waves(), k.m.transport(), k.m.output(),
                        k.m.run());
  const std::string p = k.prt.str();
  const std::size_t kt = p.find(" MIN KT VALUE(S)  ="), at = p.find(" WARNING: Wave Angle"),
                    volume = p.find(" CALCULATED VOLUME CHANGE (M3 PER GRID CELL)");
  ASSERT_NE(volume, std::string::npos);
  EXPECT_LT(kt, at);
  EXPECT_LT(at, volume);
}

}  // namespace
}  // namespace coastra

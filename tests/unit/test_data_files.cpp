// The eight output data files: names, headers, layouts, record values and units.

#include <gtest/gtest.h>

#include "model/error_stop.h"
#include "output/data_files.h"
#include "support/run_helpers.h"

namespace coastra {
namespace {

using test::lines_of;

void open_in(ModelState& m, const test::ScratchDir& dir, int nx) {
  m.cfg.NX = nx;
  m.cfg.OUTBASE = dir.file("run.");
  open_data_files(m);
}

std::string record(const test::ScratchDir& dir, const char* name, std::size_t k = 1) {
  const auto lines = lines_of(dir.read(name));
  return k < lines.size() ? lines[k] : "<missing>";
}

TEST(DataFiles, NamesHeadersAndLayouts) {
  EXPECT_EQ(data_file_name("run.", "slo"), "run.slo");          // from run.out
  EXPECT_EQ(data_file_name("results.", "qtr"), "results.qtr");  // from results.2024.txt
  EXPECT_EQ(data_file_name("", "slo"), "slo");                  // no period in the name
  EXPECT_EQ(data_file_name("      ", "vcx"), "vcx");
  test::ScratchDir dir;
  auto s = make_state();
  open_in(*s, dir, 100);
  close_data_files(*s);
  EXPECT_EQ(s->POSFMT, "(I8, 101F14.2)");
  EXPECT_EQ(s->VOLFMT, "(I8, 101F16.0)");
  EXPECT_EQ(dir.read("run.slo"), "Shoreline Position Output\n");
  EXPECT_EQ(dir.read("run.vcx"), "Volume Change Per Linear Distance Unit Alongshore\n");
  // A file that cannot be created ends the run with its name.
  s->cfg.OUTBASE = dir.file("missing/run.");
  try {
    open_data_files(*s);
    FAIL() << "expected an error stop";
  } catch (const ErrorStop& e) {
    EXPECT_EQ(e.message, "Cannot open output data file " + dir.file("missing/run.slo"));
  }
}

TEST(DataFiles, PeriodicRecordsInMetresAndInFeet) {
  test::ScratchDir dir;
  auto s = make_state();
  ModelState& m = *s;
  open_in(m, dir, 2);
  m.NEXTDATE = 20240102;
  m.YREG(1) = 100.0F;
  m.YREG(2) = 200.0F;
  m.YSHORE(1) = 1.5;
  m.YSHORE(2) = -2.25;
  m.YSMOOTH(1) = m.YSMOOTH(2) = 300.0F;
  m.VOLCELL(2) = 20.0;
  m.VOLLEN(2) = -1.0;
  m.QNET(1) = 0.01F;  // 315576 m3 a year
  m.QNET(3) = -0.02F;
  write_periodic_records(m);
  close_data_files(m);
  EXPECT_EQ(record(dir, "run.slo"), "20240102        101.50        197.75");
  EXPECT_EQ(record(dir, "run.qtr"), "20240102         315576.              0.        -631152.");
  EXPECT_EQ(record(dir, "run.off"), "20240102        400.00        500.00");
  EXPECT_EQ(record(dir, "run.vcc"), "20240102          0.00         20.00");
  EXPECT_EQ(record(dir, "run.vcx"), "20240102          0.00         -1.00");

  test::ScratchDir ft;
  auto s2 = make_state();
  ModelState& f = *s2;
  f.LENFAC = 0.3048F;
  f.YDFAC = 0.9144F;
  open_in(f, ft, 1);
  f.QNET(1) = 0.01F;             // 0.01 x 31557600 / 0.9144^3 = 412757.8 yd3 a year
  f.VOLCELL(1) = 764.554857984;  // 1000 yd3
  f.VOLLEN(1) = 10.0;            // 10 m3/m = 3.9866 yd3/ft
  write_periodic_records(f);
  close_data_files(f);
  EXPECT_EQ(record(ft, "run.qtr"), "       0         412758.              0.");
  EXPECT_EQ(record(ft, "run.vcc"), "       0       1000.00");
  EXPECT_EQ(record(ft, "run.vcx"), "       0          3.99");
}

TEST(DataFiles, ShorelineIsInterpolatedAcrossInletsInFixedWidthRecords) {
  test::ScratchDir dir;
  auto s = make_state();
  ModelState& m = *s;
  open_in(m, dir, 100);
  m.cfg.INLETS = true;
  m.cfg.NINL = 2;
  m.cfg.IINLS(1) = 3;
  m.cfg.IINLE(1) = 4;
  m.cfg.IINLS(2) = 99;  // touches the right end: takes cell 98
  m.cfg.IINLE(2) = 100;
  const double y[] = {1.0, 20.0, 99.0, -99.0, 50.0};
  for (int i = 1; i <= 100; ++i) m.YSHORE(i) = i <= 5 ? y[i - 1] : 1.0 * i;
  write_periodic_records(m);
  close_data_files(m);
  const std::string slo = record(dir, "run.slo");
  EXPECT_EQ(slo.size(), 8U + 100U * 14U);
  EXPECT_EQ(slo.substr(8 + 14, 4 * 14), "         20.00         30.00         40.00         50.00");
  EXPECT_EQ(slo.substr(8 + 97 * 14), "         98.00         98.00         98.00");
  EXPECT_EQ(record(dir, "run.qtr").size(), 8U + 101U * 16U);
}

TEST(DataFiles, FinalRecordsAverageOverTheStepsSimulated) {
  test::ScratchDir dir;
  auto s = make_state();
  ModelState& m = *s;
  open_in(m, dir, 1);
  m.NSPERDAY = 4.0F;
  m.NSTSAVE = 4;
  m.NTS = m.ISTEP = 10;
  m.NEXTDATE = 20240103;
  m.VNET(1) = 1000.0;  // over 10 steps of 6 h: 1000 x 365.25 / 2.5 = 146100 a year
  m.VRIGHT(1) = 1500.0;
  m.VLEFT(1) = -500.0;
  write_final_records(m);
  m.ISTEP = 5;  // stopped early: the same volume over half the time, no final state
  write_final_records(m);
  m.NSTSAVE = 5;
  m.ISTEP = 10;  // step 10 was already saved
  write_final_records(m);
  close_data_files(m);
  EXPECT_EQ(record(dir, "run.mqn", 1), "20240103         146100.              0.");
  EXPECT_EQ(record(dir, "run.mqn", 2), "20240103         292200.              0.");
  EXPECT_EQ(record(dir, "run.mqr"), "20240103         219150.              0.");
  EXPECT_EQ(record(dir, "run.mql"), "20240103         -73050.              0.");
  EXPECT_EQ(lines_of(dir.read("run.slo")).size(), 2U);
  EXPECT_EQ(lines_of(dir.read("run.vcx")).size(), 2U);
}

}  // namespace
}  // namespace coastra

// Wave input along the coast: screening, interpolation between stations,
// direction adjustments, dated records, a file ending early and the breaking
// statistics report.

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "output/stage_notices.h"
#include "output/wave_reports.h"
#include "support/coast_builder.h"
#include "waves/breaking_statistics.h"
#include "waves/wave_input.h"
#include "waves/wave_relations.h"

namespace coastra {
namespace {

// The builder's default coast on 10 m cells.
struct Rig : test::Coast {
  explicit Rig(int nx) : test::Coast(nx, 10.0F) {}
};

constexpr float DEG = PI / 180.0F;

TEST(WaveInput, OneStationGivesEveryWallItsValuesTurnedByTheRegionalContourAndAdjusted) {
  Rig r(4);
  r.m.cfg.IREG = 1;
  const float yreg[] = {0.0F, 10.0F, 10.0F, 20.0F};  // 45 degrees but parallel between cells 2-3
  for (int i = 1; i <= 4; ++i) r.m.YREG(i) = yreg[i - 1];
  r.station(2, 12.0F, "2 8 30\n");
  r.m.cfg.WAVEFAC = 0.3048F;  // heights in feet
  r.m.cfg.HAMP(1) = 0.5F;
  r.m.cfg.THETAAMP(5) = 2.0F;
  r.m.cfg.THETADEL(5) = 5.0F;  // degrees
  setup_wave_input(r.m.cfg, r.m.input(), r.m.wave_input());
  WAVINP(r.m.cfg, r.m.run(), r.m.wave_input(), r.m.waves(), r.m.warnings());
  // 30 - 45 degrees (wall 1 the forward pair, wall 5 as 4), 30 at wall 3; wall 5 2 x -15 + 5.
  const float theta[] = {-15.0F, -15.0F, 30.0F, -15.0F, -25.0F};
  for (int i = 1; i <= 5; ++i) {
    EXPECT_FLOAT_EQ(r.m.HRF(i), (i == 1 ? 0.3048F : 0.6096F)) << i;
    EXPECT_FLOAT_EQ(r.m.TRF(i), 8.0F);
    EXPECT_FLOAT_EQ(r.m.DRF(i), 12.0F);
    EXPECT_FLOAT_EQ(r.m.ZRF(i), 30.0F);
    EXPECT_NEAR(r.m.THETARF(i) / DEG, theta[i - 1], 1e-4F) << i;
  }
  // Event values are those of the last wall; ZZDEGNR without the regional turn, 2 x 30 + 5.
  EXPECT_FLOAT_EQ(r.m.HZ, 0.6096F);
  EXPECT_FLOAT_EQ(r.m.TZ, 8.0F);
  EXPECT_NEAR(r.m.ZZDEG, -25.0F, 1e-4F);
  EXPECT_NEAR(r.m.ZZDEGNR, 65.0F, 1e-4F);
}

TEST(WaveInput, TwoStationsInterpolateLinearlyInAlongshoreDistance) {
  Rig r(10);
  const float x[] = {10, 20, 30, 35, 80, 100, 120, 130, 140, 150, 160};
  for (int i = 1; i <= 11; ++i) r.m.XCELL(i) = x[i - 1];
  r.station(3, 8.0F, "1 6 -20\n");
  r.station(8, 12.0F, "3 10 40\n");
  setup_wave_input(r.m.cfg, r.m.input(), r.m.wave_input());
  WAVINP(r.m.cfg, r.m.run(), r.m.wave_input(), r.m.waves(), r.m.warnings());
  // Walls 1-3 take station 1, walls 8-11 station 2; wall 4 is 5 % and wall 5 half way.
  for (int i : {1, 2, 3}) EXPECT_FLOAT_EQ(r.m.HRF(i), 1.0F) << i;
  for (int i : {8, 9, 10, 11}) EXPECT_FLOAT_EQ(r.m.ZRF(i), 40.0F) << i;
  EXPECT_FLOAT_EQ(r.m.HRF(4), 1.1F);
  EXPECT_FLOAT_EQ(r.m.ZRF(4), -17.0F);
  EXPECT_FLOAT_EQ(r.m.TRF(4), 6.2F);
  EXPECT_FLOAT_EQ(r.m.DRF(4), 8.2F);
  EXPECT_FLOAT_EQ(r.m.HRF(5), 2.0F);
  EXPECT_FLOAT_EQ(r.m.TRF(5), 8.0F);
  EXPECT_FLOAT_EQ(r.m.ZRF(5), 10.0F);
  EXPECT_FLOAT_EQ(r.m.DRF(5), 10.0F);
  EXPECT_FLOAT_EQ(r.m.THETARF(5), 10.0F * DEG);
}

// Each half of the coast takes one station (walls 1-495 and 496-1001): every
// wall's period and input wave number are its own station's.
TEST(WaveInput, InputWaveNumbersFollowEachWallsOwnStation) {
  Rig r(1000);
  r.station(495, 8.0F, "1 6 10\n");
  r.station(496, 12.0F, "1 9 10\n");
  setup_wave_input(r.m.cfg, r.m.input(), r.m.wave_input());
  WAVINP(r.m.cfg, r.m.run(), r.m.wave_input(), r.m.waves(), r.m.warnings());
  const float k6 = WAVNUM(6.0F, 8.0F).K, k9 = WAVNUM(9.0F, 12.0F).K;
  ASSERT_NE(k6, k9);
  for (int i = 1; i <= 1001; ++i) {
    ASSERT_EQ(r.m.TRF(i), i <= 495 ? 6.0F : 9.0F) << i;
    ASSERT_EQ(r.m.KRF(i), i <= 495 ? k6 : k9) << i;
  }
}

// Dated records before the start are passed over; records out of range become
// calm and offshore ones are counted. A station's file that ends early is met
// while reading (the start-up checks only the file of the events): the fault
// names the file, the record and the end. (The unreadable record's fault is met
// by the time-step and end-to-end tests, the wording of both lines by the
// wave-event tests.)
TEST(WaveInput, DatedRecordsArePassedOverScreenedAndAnEarlyEndIsNamed) {
  Rig r(1);
  r.m.cfg.NWAVEV = 7;
  r.m.cfg.SIMDATS = 20200103;
  r.station(1, 10.0F,
            "20200101 0000 1 8 0\n20200102 0000 2 8 0\n20200103 0000 3 8 0\n"
            "20200103 0100 0.05 8 10\n20200103 0200 2 8 95\n20200103 0300 99 8 10\n"
            "20200103 0400 2 0.05 10\n20200103 0500 2 8 -95\n");
  setup_wave_input(r.m.cfg, r.m.input(), r.m.wave_input());
  const auto read = [&r] {
    return WAVINP(r.m.cfg, r.m.run(), r.m.wave_input(), r.m.waves(), r.m.warnings()).file;
  };
  EXPECT_EQ(read().file, 0);
  EXPECT_FLOAT_EQ(r.m.HRF(2), 3.0F);
  EXPECT_EQ(r.m.IWREC(1), 3);
  // Too low, from offshore, too high, too short, from offshore: calm.
  const int offshore[] = {0, 1, 1, 1, 2};
  for (int rec = 0; rec < 5; ++rec) {
    EXPECT_EQ(read().file, 0) << rec;
    EXPECT_EQ(r.m.HRF(2), 0.0F) << rec;
    EXPECT_EQ(r.m.TRF(2), 0.1F) << rec;
    EXPECT_EQ(r.m.ZRF(2), 0.0F) << rec;
    EXPECT_EQ(r.m.NOFFSHORE, offshore[rec]) << rec;
  }
  const WaveFileFault f = read();
  EXPECT_EQ(f.file, 1);
  EXPECT_EQ(f.record, 9);
  EXPECT_TRUE(f.ended);
}

TEST(WaveInput, BadStationsStopTheRunAtSetUp) {
  struct Case { std::vector<int> cells; int numwaves, err; std::string print; };
  for (const Case& k :
       {Case{{6}, 0, 1, " ERROR. WAVEID LINE 1: STATION CELL 6 OUTSIDE CELLS 1 TO 5\n"},
        Case{{3, 3}, 0, 1, " ERROR. WAVEID LINE 2: STATION CELL 3 NOT AFTER CELL 3 OF THE "
                           "LINE BEFORE; WAVEID CELLS MUST ASCEND\n"},
        Case{{5}, 3, 0,
             " WARNING. NUMWAVES = 3 EXCEEDS THE 1 WAVEID LINES; 1 WAVE FILES ARE USED.\n"}}) {
    Rig r(4);
    for (int cell : k.cells) r.station(cell, 10.0F, "2 8 0\n");
    if (k.numwaves > 0) r.m.cfg.NUMWAVES = k.numwaves;
    station_notices(r.m.run(), r.m.wave_input(),
                    setup_wave_input(r.m.cfg, r.m.input(), r.m.wave_input()));
    EXPECT_EQ(r.m.IRUNERR, k.err) << k.print;
    EXPECT_EQ(r.prt.str(), k.print);
  }
}

// (The block's heading, unit labels and its feet and cubic-yard values are
// pinned by the golden cases.)
TEST(BreakingStatistics, AveragesDivideByEveryStepOfTheRun) {
  Rig r(1);
  for (int i = 1; i <= 2; ++i) {
    r.m.CGBU(i) = 2.0F;
    r.m.A1W(i) = 0.01F;
    r.m.THETAB(i) = 0.3F;
    r.m.ALPHAS(i) = 0.1F;
  }
  r.m.ALPHASCODE(2) = ORIENT_MARKED;  // a marked wall: ALPHAS is its orientation all the same
  // Four steps of 6 hours; the report divides by the hours run through the
  // last step (ELAPSED at its start + DT).
  r.m.NTS = 4;
  r.m.DT = r.m.cfg.DT = 6.0F;
  r.m.HB(1) = 2.0F;
  r.m.HB(2) = 4.0F;
  // Steps 2 and 3 calm: nothing added.
  BRKSTAT(r.m.cfg, r.m.input(), r.m.transport(), r.m.step(), r.m.waves());
  r.m.HB(1) = 1.0F;
  r.m.HB(2) = 0.0F;
  BRKSTAT(r.m.cfg, r.m.input(), r.m.transport(), r.m.step(), r.m.waves());
  r.m.ELAPSED = 18.0;
  EXPECT_EQ(r.prt.str(), "");  // accumulating writes nothing
  write_breaking_statistics(r.m.cfg, r.m.input(), r.m.waves(), r.m.step(), r.m.run());
  // Heights 3/4 and 4/4; angle 0.4 rad / 4 = 5.73 deg; rates 2*0.01*(4+1)*sin(0.4)/4*100
  // = 0.9735 and 2*0.01*16*sin(0.4)/4*100 = 3.11534.
  for (const char* line : {"        0.75       1.00", "        5.73       5.73",
                           "      0.9735     3.1153"})
    EXPECT_TRUE(test::has_line(r.prt.str(), line)) << line << "\n" << r.prt.str();
  // A step twice as long weighs twice: a 12-hour step adds 12 HB.
  const double before = r.m.SUMHB(2);
  r.m.DT = r.m.cfg.DT = 12.0F;
  r.m.HB(2) = 4.0F;
  BRKSTAT(r.m.cfg, r.m.input(), r.m.transport(), r.m.step(), r.m.waves());
  EXPECT_DOUBLE_EQ(r.m.SUMHB(2) - before, 48.0);
}

}  // namespace
}  // namespace coastra

// Wave input along the coast: screening, interpolation between stations,
// direction adjustments, dated records, a file ending early and the breaking
// statistics report; the wave events: the wave-record time step and its checks
// against DT, the initial event, cycling at the end of the events and the
// steepness acknowledgement.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "driver/wave_events.h"
#include "output/stage_notices.h"
#include "output/wave_reports.h"
#include "support/coast_builder.h"
#include "support/run_helpers.h"
#include "waves/breaking_statistics.h"
#include "waves/wave_input.h"
#include "waves/wave_relations.h"

namespace coastra {
namespace {

// The builder's default coast on 10 m cells; for the events, one station at
// cell 1 of a two-cell grid.
struct Rig : test::Coast {
  explicit Rig(int nx) : test::Coast(nx, 10.0F) {}
  Rig(int nevents, float dt, const std::string& records) : test::Coast(2, 10.0F) {
    m.DT = m.cfg.DT = dt;
    m.cfg.NWAVEV = nevents;
    station(1, 10.0F, records);
  }
  // The start-up of the wave input; the error-stop message or "(no stop)".
  std::string start_waves() {
    return test::stop_message([this] {
      setup_wave_events(m);
      check_wave_timestep(m.step(), m.run(), m.waves());
      setup_wave_input(m.cfg, m.input(), m.wave_input());
    });
  }
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

std::string events(std::initializer_list<const char*> stamps) {
  std::string s;
  for (const char* t : stamps) s += std::string(t) + " 2 8 10\n";
  return s;
}

using test::count_of;

const std::string RERUN = " PLEASE REVIEW AND REVISE YOUR .cfg AND INPUT WAVE FILES AS APPROPRIATE.\n";

TEST(WaveEvents, RecordStepFollowsTheFirstTwoEventsAndFaultsStopTheStart) {
  // Hourly; across days, 2 days less 21 h 30 min = 26.5 hours of 0.5-hour
  // steps; with no second event DT and one record a step. Then record steps
  // that do not fit DT or span a year or a month, and faulty files.
  const std::string OK = "(no stop)", REVISE = " review and revise your input wave files.\n";
  struct Case {
    int n;
    float dt;
    std::string text;
    float dtwave;
    int nws;
    std::string stop, print;
  };
  for (const Case& k : {
           Case{3, 1.0F, events({"20200101 0000", "20200101 0100", "20200101 0200"}), 1.0F, 1, OK,
                ""},
           Case{2, 0.5F, events({"20200110 2330", "20200112 0200"}), 26.5F, 53, OK, ""},
           Case{1, 2.0F, events({"20200101 0000"}), 2.0F, 1, OK, ""},
           Case{2, 2.0F, events({"20200101 0000", "20200101 0300"}), 0.0F, 0,
                "ERROR. Wave time step not a multiple of simulation time step",
                " ERROR. TIME STEP IN WAVE FILE MUST BE A MULTIPLE OF SIMULATION TIME STEP.\n" +
                    RERUN},
           Case{2, 2.0F, events({"20200101 0000", "20200101 0100"}), 0.0F, 0,
                "ERROR. Simulation time step greater than wave time step",
                " ERROR. SIMULATION TIME STEP GREATER THAN TIME STEP IN WAVE FILE.\n" + RERUN},
           Case{2, 1.0F, events({"20191231 2300", "20200101 0000"}), 0.0F, 0,
                "ERROR. Wave time step exceeds one year.",
                " ERROR.  Time step in WAVEFILE exceeds one year.  Please\n" + REVISE},
           Case{2, 1.0F, events({"20200229 2300", "20200301 0000"}), 0.0F, 0,
                "ERROR. Wave time step exceeds one month.",
                " ERROR.  Time step in WAVEFILE exceeds one month.  Please\n" + REVISE},
           // A file shorter than its events or unreadable ends the run at start-up.
           Case{5, 1.0F, events({"20200101 0000", "20200101 0100"}), 0.0F, 0, OK,
                " ERROR. WAVE FILE w1.dat ENDS BEFORE RECORD 3\n"},
           Case{2, 1.0F, "20200101 0000 2 8 10\n2020O101 0100 2 8 10\n", 0.0F, 0, OK,
                " ERROR. INVALID RECORD 2 IN WAVE FILE w1.dat\n"}}) {
    Rig r(k.n, k.dt, k.text);
    EXPECT_EQ(r.start_waves(), k.stop) << k.text;
    EXPECT_EQ(r.prt.str(), k.print) << k.text;
    EXPECT_EQ(r.m.IRUNERR, k.stop == OK && !k.print.empty() ? 1 : 0) << k.text;
    if (k.nws > 0) {
      EXPECT_FLOAT_EQ(r.m.DTWAVE, k.dtwave) << k.text;
      EXPECT_EQ(r.m.NWS, k.nws) << k.text;
    }
  }
}

TEST(WaveEvents, InitialEventMatchesMonthAndDayWhateverTheYear) {
  // The event on the start's month and day; else the first event not before
  // the start, and event 1 when every event lies before it.
  const std::string days = events({"20190313 0000", "20190314 0000", "20190315 0000"});
  for (const auto& [n, text, start, first] :
       {std::tuple{3, days, 20200315, 3},
        {2, events({"20200314 0000", "20200316 0000"}), 20200315, 2}, {3, days, 20190320, 1}}) {
    Rig r(n, 24.0F, text);
    r.m.cfg.SIMDATS = start;
    r.start_waves();
    EXPECT_EQ(r.m.IWEVENT, first) << start;
  }
}

TEST(WaveEvents, RunOutlastingTheEventsCyclesBackToTheFirstRecord) {
  Rig r(3, 1.0F,
        "20200101 0000 1 8 0\n20200101 0100 2 8 0\n20200101 0200 3 8 0\n"
        "20200101 0300 9 8 0\n");
  ASSERT_EQ(r.start_waves(), "(no stop)");
  r.m.CURDATE = 20200102;
  const float heights[] = {1.0F, 2.0F, 3.0F, 1.0F, 2.0F};
  for (float h : heights) {
    wave_step(r.m);
    EXPECT_FLOAT_EQ(r.m.HRF(1), h);
  }
  EXPECT_EQ(r.m.IWEVENT, 3);
  // (The notice's words, count and dates are pinned by the golden case cross_shore_bay.)
  EXPECT_EQ(count_of(r.prt.str(), "Cycling back to first wave event."), 1);
}

// Waves steeper than H / LZ = 0.142, LZ = 1.56 T^2, are cut to the limit at
// every wall. The record's report is one block for all walls, dated at its
// step, and written again at later records only with PRWARN. The undated form
// repeats its first record (its warning at every wave step is pinned by the
// golden case feet_regional, which has a single record).
TEST(WaveEvents, SteepWavesAreLimitedAndReportedOnceOrWithPrwarn) {
  const std::string block =
      "WARNING. UNPHYSICAL DEEPWATER WAVE STEEPNESS.\n"
      " WAVE HEIGHT REDUCED TO MATCH HZ/LZ = 0.142\n"
      " GIVING HZ =    3.544\n\n";
  for (bool prwarn : {false, true}) {
    Rig r(0, 1.0F, "4 4 0\n3 9 5\n");
    r.m.cfg.PRWARN = prwarn;
    ASSERT_EQ(r.start_waves(), "(no stop)");
    EXPECT_EQ(r.m.NWS, 1);
    r.m.CURDATE = 20200101;
    for (int step = 1; step <= 2; ++step) {
      r.m.ISTEP = step;
      wave_step(r.m);
    }
    for (int i = 1; i <= 3; ++i) EXPECT_NEAR(r.m.HRF(i), 3.54432F, 1e-5F);  // 0.142 * 1.56 * 4^2
    EXPECT_EQ(r.m.NWARNRUN[static_cast<int>(WarnKind::STEEPNESS)], 6);   // 3 walls, 2 records
    const std::string& text = r.prt.str();
    EXPECT_EQ(count_of(text, block), prwarn ? 2 : 1);
    const std::string dated = " DATE IS 20200101.  TIME STEP IS        ";
    EXPECT_EQ(count_of(text, dated + "1\n"), 1);
    EXPECT_EQ(count_of(text, dated + "2\n"), prwarn ? 1 : 0);
    EXPECT_EQ(r.m.ISTEEP, -1);
  }
  // H / LZ = 0.12 is kept. The limit squares the period first: for T = 3.3 s
  // LZ = 16.9883976 m and H = 2.41235256 m; forming (1.56 T) T rounds to 2.4123528 m.
  for (const auto& [record, h] : {std::pair{"3 4 0\n", 3.0F}, {"3 3.3 0\n", 2.41235256F}}) {
    Rig r(0, 1.0F, record);
    r.start_waves();
    wave_step(r.m);
    EXPECT_EQ(r.m.HRF(1), h) << record;
    EXPECT_EQ(r.m.ISTEEP, h == 3.0F ? 0 : -1) << record;
  }
}

}  // namespace
}  // namespace coastra

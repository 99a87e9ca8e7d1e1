// The water-level and tidal-current series: record intervals across day, month
// and year ends, the record in force (cycling), the readers' checks tried one
// wrong line at a time, the station interpolation, and the physics the series
// drive: groin bypassing with the water level at the tip, transport by a tidal
// current. Runs end to end with a water-level and a tide file.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "input/series_records.h"
#include "input/tidal_currents.h"
#include "input/water_levels.h"
#include "model/error_stop.h"
#include "support/cases.h"
#include "support/coast_builder.h"
#include "support/run_helpers.h"
#include "support/state_rig.h"

namespace coastra {
namespace {

TEST(SeriesRecords, IntervalsCountTheFullDateAndTime) {
  // 2300 to 0000 of the next day is one hour at a day, month and year end and
  // either side of a leap day (2028 is a leap year); daily records at 0000 are
  // 24 hours apart, also across the end of a February; 0930 to 1000 is half
  // an hour; backwards is negative.
  const int cases[][5] = {
      {20260314, 2300, 20260315, 0, 60},   {20260430, 2300, 20260501, 0, 60},
      {20261231, 2300, 20270101, 0, 60},   {20280228, 2300, 20280229, 0, 60},
      {20280229, 2300, 20280301, 0, 60},   {20260228, 0, 20260301, 0, 1440},
      {20260101, 930, 20260101, 1000, 30}, {20260101, 100, 20260101, 0, -60}};
  for (const auto& c : cases) EXPECT_EQ(minutes_between(c[0], c[1], c[2], c[3]), c[4]) << c[0] << " " << c[1];
  // Calendar stamps: a leap day in 2028, none in 2027; month 13, day 0, hour
  // 24, minute 60 and year 0 are no stamps.
  EXPECT_TRUE(calendar_stamp(20280229, 2359));
  for (const auto& [date, time] : {std::pair{20270229, 0}, {20261301, 0}, {20260100, 0}, {20260101, 2400},
                                   {20260101, 960}, {101, 0}})
    EXPECT_FALSE(calendar_stamp(date, time)) << date << " " << time;
}

// text with its tags made paths of files of dir: "@1" and "@2" the tidal-current
// files of stations 1 and 2, a lone "@" the water-level file.
std::string with_paths(std::string text, const test::ScratchDir& dir) {
  for (auto at = text.find('@'); at != std::string::npos; at = text.find('@', at)) {
    const bool tide = at + 1 < text.size() && (text[at + 1] == '1' || text[at + 1] == '2');
    const std::string name = tide ? "tide" + text.substr(at + 1, 1) + ".dat" : "wl.dat";
    text.replace(at, tide ? 2 : 1, dir.file(name));
  }
  return text;
}

// A state for the water-level reader: metric, DT hours, transmission computed,
// run from 1 January 2026; the file wl.dat holds text, announced with n records.
struct WaterLevelRig : test::StateRig {
  test::ScratchDir dir;
  WaterLevelRig(const std::string& text, int n, float dt = 1.0F) {
    dir.write("wl.dat", text);
    Settings& c = m.cfg;
    c.DT = m.DT = dt;
    c.SIMDATS = 20260101;
    c.SIMDATE = 20260201;
    c.TRANMODE = 1;
    c.WLFILE = dir.file("wl.dat");
    c.IWLFILE = n;
    m.FWL.open(c.WLFILE);
  }
  std::string read() {
    return test::stop_message([&] { read_water_levels(m.cfg, m.input(), m.run(), m.transport(),
                                                      m.series()); });
  }
  std::string name() const { return dir.file("wl.dat"); }
};

TEST(WaterLevels, ReaderTakesLevelsAndTheLevelInForceCyclesWithOneNote) {
  // Two-hour records (one comma-separated) with DT = 1: two steps per record.
  WaterLevelRig a("20260101 0000 0.5\n20260101 0200 -0.5\n20260101,0400,1.5\n", 3);
  EXPECT_EQ(a.read(), "(no stop)");
  EXPECT_TRUE(a.m.WLUSED);
  EXPECT_EQ(a.m.NWL, 3);
  EXPECT_EQ(a.m.DTWL, 2.0F);
  EXPECT_EQ(a.m.NSTWL, 2);
  EXPECT_EQ(a.m.WL, (std::vector<float>{0.5F, -0.5F, 1.5F}));
  EXPECT_EQ(a.con.str(), " Reading WTRELFILE\n");
  EXPECT_EQ(a.prt.str(), "");   // starts with the run: no warning
  // Steps 1-2 record 1, 3-4 record 2, 5-6 record 3, 7 record 1 again.
  const float expected[] = {0.5F, 0.5F, -0.5F, -0.5F, 1.5F, 1.5F, 0.5F, 0.5F, -0.5F};
  const bool changes[] = {true, false, true, false, true, false, true, false, true};
  for (int n = 1; n <= 9; ++n) {
    a.m.ISTEP = n;
    a.m.CURDATE = 20260101;
    EXPECT_EQ(water_level_step(a.m.input(), a.m.run(), a.m.wave_input(), a.m.transport(),
                               a.m.series()), changes[n - 1]) << n;
    EXPECT_EQ(a.m.WLCUR, expected[n - 1]) << n;
  }
  EXPECT_EQ(a.prt.str(), " NOTE. WATER LEVEL SERIES STARTS AGAIN FROM ITS FIRST RECORD AT TIME"
                         " STEP 7, DATE 20260101 (SHOWN ONCE).\n");
  // In feet a level of 2 is held as 2 x 0.3048 = 0.6096 m; 3-hour records
  // across midnight with DT = 1 give 3 steps a record; a first record after
  // the run start is used from the first step, with a warning.
  WaterLevelRig f("20260102 2300 2.0\n20260103 0200 1.0\n", 2);
  f.m.LENFAC = 0.3048F;
  EXPECT_EQ(f.read(), "(no stop)");
  EXPECT_FLOAT_EQ(f.m.WL[0], 0.6096F);
  EXPECT_EQ(f.m.NSTWL, 3);
  EXPECT_EQ(f.prt.str(), " WARNING. WATER LEVEL FILE " + f.name() +
                             " STARTS AT 20260102 2300, NOT AT THE RUN START 20260101 0000;"
                             " ITS FIRST RECORD IS USED FROM THE FIRST STEP.\n");
  // Without transmission computed the file is not read and said to be unused.
  WaterLevelRig u("not even a record\n", 5);
  u.m.cfg.TRANMODE = 0;
  EXPECT_EQ(u.read(), "(no stop)");
  EXPECT_FALSE(u.m.WLUSED);
  EXPECT_EQ(u.m.NSTWL, 1);
  EXPECT_EQ(u.con.str(),
            " Water level file not used (no breakwater transmission computed): " + u.name() + "\n");
  EXPECT_EQ(u.prt.str(),
            " WATER LEVEL FILE NOT USED (NO BREAKWATER TRANSMISSION COMPUTED): " + u.name() + "\n");
}

TEST(WaterLevels, EveryWrongLineOrRecordStopsNamingFileAndRecord) {
  struct Case {
    std::string text;
    int n;
    float dt;
    std::string message;   // the error stop; "@" stands for the file's path
    std::string print;     // the print-file text, "" to skip
  };
  const std::string ok2 = "20260101 0000 0.5\n20260101 0100 0.6\n";
  const Case cases[] = {
      {ok2, 3, 1.0F, "Water level file ends before record 3: @",
       " ERROR. WATER LEVEL FILE @ ENDS BEFORE RECORD 3\n"},
      {"20260101 0000 0.5\n20260101 0100 abc\n", 2, 1.0F, "Invalid record 2 in water level file @",
       " ERROR. INVALID RECORD 2 IN WATER LEVEL FILE @: NOT A DATE, A TIME AND A VALUE\n"},
      {"20260101 0000\n20260101 0100 0.6\n", 2, 1.0F, "Invalid record 1 in water level file @", ""},
      // a level no tide reaches
      {"20260101 0000 0.5\n20260101 0100 1E10\n", 2, 1.0F, "Invalid record 2 in water level file @",
       " ERROR. INVALID RECORD 2 IN WATER LEVEL FILE @: VALUE BEYOND +-100\n"},
      {"20260132 0000 0.5\n20260201 0100 0.6\n", 2, 1.0F, "Invalid record 1 in water level file @",
       " ERROR. INVALID RECORD 1 IN WATER LEVEL FILE @: DATE OR TIME NOT ON THE CALENDAR"
       " (YYYYMMDD HHMM)\n"},
      {ok2, 1, 1.0F, "Water level file needs at least 2 records: @",
       " ERROR. WATER LEVEL FILE @ NEEDS AT LEAST 2 RECORDS; WLFILE ANNOUNCES 1\n"},
      {"20260101 0100 0.5\n20260101 0000 0.6\n", 2, 1.0F,
       "Water level record 2 not later than the record before: @",
       " ERROR. RECORD 2 OF WATER LEVEL FILE @ IS NOT LATER THAN RECORD 1\n"},
      {"20260101 0000 0.5\n20260101 0000 0.6\n", 2, 1.0F,
       "Water level record 2 not later than the record before: @", ""},
      {ok2 + "20260101 0300 0.7\n", 3, 1.0F, "Water level record 3 breaks the series interval: @",
       " ERROR. RECORD 3 OF WATER LEVEL FILE @ BREAKS THE RECORD INTERVAL OF 1.00 HOURS\n"},
      // The three interval checks keep their own texts.
      {"20260101 0930 0.5\n20260101 1000 0.6\n", 2, 1.0F,
       "ERROR. Simulation time step greater than water level time step.",
       " ERROR. SIMULATION TIME STEP GREATER THAN TIME STEP IN WATER LEVEL FILE.\n"
       " PLEASE REVIEW AND REVISE YOUR .cfg AND INPUT WATER LEVEL FILE AS APPROPRIATE.\n"},
      {"20260101 0000 0.5\n20260101 0700 0.6\n", 2, 7.0F,
       "ERROR. Water level time step exceeds 6 hours.",
       " ERROR.  Time step in water level file exceeds 6 hours.  Please\n"
       " review and revise your input water level file.\n"},
      {"20260101 0000 0.5\n20260101 0300 0.6\n", 2, 2.0F,
       "ERROR. Water level time step not a multiple of simulation time step.",
       " ERROR. TIME STEP IN WATER LEVEL FILE MUST BE A MULTIPLE OF SIMULATION TIME STEP.\n"
       " PLEASE REVIEW AND REVISE YOUR WATER LEVEL FILE.\n"},
      {"20260101 0000 0.5" + std::string(1100, ' ') + "\n" + ok2, 2, 1.0F,
       "Water level file line 1 over 1024 characters: @", ""},
  };
  for (const Case& c : cases) {
    WaterLevelRig r(c.text, c.n, c.dt);
    EXPECT_EQ(r.read(), with_paths(c.message, r.dir)) << c.text;
    if (!c.print.empty()) {
      EXPECT_EQ(r.prt.str(), with_paths(c.print, r.dir)) << c.text;
    }
  }
}

// A state for the tidal-current reader: NX cells of DX metres, stations at the
// given walls with their file texts, n records announced.
struct TideRig : test::StateRig {
  test::ScratchDir dir;
  TideRig(int nx, const std::vector<int>& walls, const std::vector<std::string>& texts, int n) {
    Settings& c = m.cfg;
    c.NX = nx;
    c.DT = m.DT = 1.0F;
    c.SIMDATS = 20260101;
    c.SIMDATE = 20260201;
    for (int i = 1; i <= nx + 1; ++i) c.DX(i) = 50.0F;
    c.TIDES = true;
    c.NTIDEFILES = static_cast<int>(walls.size());
    c.ITIDE2 = n;
    m.FTIDE.resize(walls.size() + 1);
    for (int j = 1; j <= c.NTIDEFILES; ++j) {
      const std::string f = "tide" + std::to_string(j) + ".dat";
      dir.write(f, texts[static_cast<std::size_t>(j - 1)]);
      c.ITIDEWALL(j) = walls[static_cast<std::size_t>(j - 1)];
      c.TIDEFILE[j] = dir.file(f);
      m.FTIDE[static_cast<std::size_t>(j)].open(c.TIDEFILE[j]);
    }
  }
  std::string read() {
    return test::stop_message([&] { read_tidal_currents(m.cfg, m.input(), m.run(), m.series()); });
  }
  void step(int n) {   // the currents of step n, as the time-step loop puts them in force
    m.ISTEP = n;
    tidal_current_step(m.cfg, m.input(), m.run(), m.wave_input(), m.transport(), m.series());
  }
};

TEST(TidalCurrents, StationsInterpolateAlongTheCoastTimesKtide) {
  // Stations at walls 1 and 11 of a uniform grid, 0.2 and 0.4 m/s in record 1:
  // wall 6 lies halfway, 0.3 m/s. Record 2 reverses the current.
  TideRig r(12, {1, 11},
            {"20260101 0000 0.2\n20260101 0100 -0.2\n", "20260101 0000 0.4\n20260101 0100 -0.4\n"},
            2);
  ASSERT_EQ(r.read(), "(no stop)");
  EXPECT_EQ(r.con.str(), " Reading TCRNTFILE: \n");
  EXPECT_EQ(r.m.NSTTC, 1);
  r.step(1);
  EXPECT_FLOAT_EQ(r.m.UTIDE(6), 0.3F);
  EXPECT_FLOAT_EQ(r.m.UTIDE(1), 0.2F);
  EXPECT_FLOAT_EQ(r.m.UTIDE(3), 0.24F);   // 0.2 + 2/10 x 0.2
  EXPECT_FLOAT_EQ(r.m.UTIDE(11), 0.4F);
  EXPECT_FLOAT_EQ(r.m.UTIDE(13), 0.4F);   // beyond the last station: its value
  // KTIDE multiplies, sign included, when the next record comes into use.
  r.m.cfg.KTIDE = -2.0F;
  r.step(2);
  EXPECT_FLOAT_EQ(r.m.UTIDE(6), 0.6F);    // -2 x -0.3
  // Unequal cells: the walls' own coordinates. Cells of 10, 30 and 60 m put
  // walls 1, 2, 3, 4 at 0, 10, 40, 100 m; stations at walls 1 and 4.
  TideRig u(3, {1, 4}, {"20260101 0000 0.0\n20260101 0100 0\n", "20260101 0000 1.0\n20260101 0100 0\n"}, 2);
  u.m.cfg.DX(1) = 10.0F;
  u.m.cfg.DX(2) = 30.0F;
  u.m.cfg.DX(3) = 60.0F;
  ASSERT_EQ(u.read(), "(no stop)");
  u.step(1);
  EXPECT_FLOAT_EQ(u.m.UTIDE(2), 0.1F);
  EXPECT_FLOAT_EQ(u.m.UTIDE(3), 0.4F);
  // In feet the currents are feet per second: 1 ft/s = 0.3048 m/s.
  TideRig f(3, {2}, {"20260101 0000 1.0\n20260101 0100 1.0\n"}, 2);
  f.m.LENFAC = 0.3048F;
  ASSERT_EQ(f.read(), "(no stop)");
  f.step(1);
  EXPECT_FLOAT_EQ(f.m.UTIDE(1), 0.3048F);   // one station: uniform
  EXPECT_FLOAT_EQ(f.m.UTIDE(4), 0.3048F);
}

TEST(TidalCurrents, EveryWrongStationOrRecordStops) {
  const std::string ok = "20260101 0000 0.2\n20260101 0100 0.3\n";
  struct Case {
    std::vector<int> walls;
    std::vector<std::string> texts;
    int n;
    std::string message;   // "@1", "@2": the path of station 1's or 2's file
    std::string print = "";   // a line the print file must hold (station 1's file), "" to skip
  };
  const Case cases[] = {
      {{0}, {ok}, 2, "TIDEFILE station 1 at wall 0 off the grid or out of order: @1"},
      {{1, 12}, {ok, ok}, 2, "TIDEFILE station 2 at wall 12 off the grid or out of order: @2"},
      {{5, 5}, {ok, ok}, 2, "TIDEFILE station 2 at wall 5 off the grid or out of order: @2"},
      {{6, 2}, {ok, ok}, 2, "TIDEFILE station 2 at wall 2 off the grid or out of order: @2"},
      {{1, 11}, {ok, ok}, 1, "Tidal current file needs at least 2 records: @1"},
      {{1, 11}, {ok, "20260101 0000 0.2\n"}, 2, "Tidal current file ends before record 2: @2"},
      {{1, 11}, {ok, "20260101 0000 0.2\n20260101 0200 0.3\n"}, 2,
       "Tidal current record 2 dated unlike station 1: @2"},
      {{1}, {"20260101 0000 0.2\n20260101 0700 0.3\n"}, 2,
       "ERROR. Tidal current time step exceeds 6 hours.",
       " ERROR.  Time step in tidal current file exceeds 6 hours.  Please"},
      {{1}, {"20260101 0000 0.2\n20260101 0030 0.3\n"}, 2,
       "ERROR. Simulation time step greater than tidal current time step."},
      {{1}, {"20260101 0000 0.2\n20260101 0130 0.3\n"}, 2,
       "ERROR. Tidal current time step not a multiple of simulation time step."},
      {{1}, {"20260101 0000 0.2\n20260101 0100 0.3\n20260101 0300 0.3\n"}, 3,
       "Tidal current record 3 breaks the series interval: @1"},
      {{1}, {"20260101 0000 0.3\n20260101 0100 O.3\n"}, 2,
       "Invalid record 2 in tidal current file @1",
       " ERROR. INVALID RECORD 2 IN TIDAL CURRENT FILE @1: NOT A DATE, A TIME AND A VALUE"},
      // a current no tide reaches
      {{1}, {"20260101 0000 0.3\n20260101 0100 21\n"}, 2,
       "Invalid record 2 in tidal current file @1",
       " ERROR. INVALID RECORD 2 IN TIDAL CURRENT FILE @1: VALUE BEYOND +-20"},
  };
  for (const Case& c : cases) {
    TideRig r(10, c.walls, c.texts, c.n);
    EXPECT_EQ(r.read(), with_paths(c.message, r.dir)) << c.message;
    if (!c.print.empty()) {
      EXPECT_TRUE(test::has_line(r.prt.str(), with_paths(c.print, r.dir))) << r.prt.str();
    }
  }
}

// ---- physics ----

TEST(WaterLevelPhysics, GroinTipDryAtLowWaterIsBypassedAndHeldBackAtHighWater) {
  // Oblique waves (0.2 rad) carry sand to higher cells; a groin at wall 6 of
  // zero permeability reaches 20 m beyond the straight shoreline. Breaking
  // height 1 m: surf-zone depth DLT = 1.27 / 0.78 = 1.6282 m. Still water puts
  // APROF x 20^0.667 = 0.13222 x 7.3764 = 0.9753 m at the tip (APROF =
  // 0.41 x 0.3^0.94 = 0.13222 m^1/3 for 0.3 mm sand).
  auto qls_at_groin = [](float level) {
    test::Coast c(12);
    c.breaking(1.0F, 0.2F).groin(6, 20.0F, 0.0F).start();
    c.m.WLCUR = level;   // the level in force (WaterLevels above: which record when)
    c.transport();
    return std::pair<float, float>(c.m.QLS(6), c.m.QLS(4));   // groin wall, open wall
  };
  // Low water 1 m below the datum: the tip stands dry (depth 0.975 - 1 < 0),
  // the whole surf zone lies seaward of it and all the transport passes.
  const auto low = qls_at_groin(-1.0F);
  EXPECT_GT(low.second, 0.0F);
  EXPECT_FLOAT_EQ(low.first, low.second);
  // High water 0.5 m above: 1.4753 m at the tip, so only the part of the surf
  // zone seaward of it passes, 1 - 1.4753 / 1.6282 = 0.0939 of the transport.
  const auto high = qls_at_groin(0.5F);
  EXPECT_NEAR(high.first / high.second, 0.0939F, 0.0005F);
}

TEST(TidePhysics, TransportFollowsTheCurrent) {
  // Normal waves on a straight coast move no sand; a current U adds
  // c x 4 HB^1.5 CGB A1W U / 2.7 with c = sqrt((1.416 / GAMMA) / g) =
  // sqrt(1.8154 / 9.806) = 0.430267 and A1W = K1 / 37.79317 = 0.0132299:
  // 0.430267 x 4 x 1 x 3.5 x 0.0132299 / 2.7 = 0.0295161 per m/s. A uniform
  // current gives uniform transport and moves nothing. (The currents of the
  // stations, times KTIDE, are the reader's: TidalCurrents above.)
  test::Coast c(20);
  for (int i = 1; i <= 21; ++i) c.m.UTIDE(i) = -0.45F;
  c.transport();
  const float q = 0.0295161F * -0.45F;
  for (int i = 1; i <= 21; ++i) EXPECT_NEAR(c.m.QLS(i), q, 2e-6F * std::fabs(q)) << i;
  for (int i = 1; i <= 20; ++i) EXPECT_EQ(c.m.YSHORE(i), 0.0) << i;
  // U = 0.02 (i - 1) m/s: the transport linear at the inner walls (the end
  // walls follow the boundary rule).
  test::Coast g(20);
  for (int i = 1; i <= 21; ++i) g.m.UTIDE(i) = 0.02F * static_cast<float>(i - 1);
  g.transport();
  for (int i = 2; i <= 20; ++i) {
    const float qi = 0.0295161F * 0.02F * static_cast<float>(i - 1);
    EXPECT_NEAR(g.m.QLS(i), qi, 2e-6F * qi) << i;
  }
}

// ---- end to end ----

TEST(SeriesRun, BreakwaterTransmissionFollowsTheWaterLevelAndTheTideCycles) {
  // One low-crested breakwater (crest 3.2 m above a 3 m bed) under one steady
  // daily wave record; the water level alternates 0 and 1 m every 6 hours, so
  // the crest is 0.2 m above and 0.8 m below the water in turn: the
  // coefficient is computed again at every new level and spreads between the
  // two, while with the level held at 0 it only follows the slow change of the
  // contour in front of the breakwater. A 24-hour tide of four 6-hour records
  // runs in both: the loop puts its record 1 in force again at step 5, with
  // one note for the run.
  auto kt_range = [](const std::string& levels) {
    test::RunCase c;
    c.set("SIMDATE:", "SIMDATE: 20200111");
    c.set("WAVEID:", "WAVEID: 1 10.0 10 waves.dat");
    c.cfg += "DBI1: 8\nDBY1: 150.0\nDBDEP1: 3.0\nDBI2: 12\nDBY2: 150.0\nDBDEP2: 3.0\n"
             "KTMETDB: 2\nHDB: 3.2\nBDB: 4.0\nSSDB: 0.5\nSHSDB: 0.5\nWLFILE: 4 wl.dat\n"
             "TIDEFILE: 1 4 t1.dat\nKTIDE: 2.0\n";
    std::string waves;
    for (int d = 1; d <= 10; ++d) waves += std::to_string(20200100 + d) + " 0000 1.0 7.0 10.0\n";
    c.dir.write("waves.dat", waves);
    c.dir.write("wl.dat", levels);
    c.dir.write("t1.dat", "20200101 0000 0.3\n20200101 0600 0.1\n20200101 1200 -0.1\n"
                          "20200101 1800 0.1\n");
    EXPECT_EQ(c.run().status, EXIT_NORMAL);
    const std::string prt = c.dir.read("run.out");
    EXPECT_EQ(test::count_of(prt, "TIDAL CURRENT SERIES STARTS AGAIN FROM ITS FIRST RECORD"), 1);
    EXPECT_TRUE(test::has_line(prt, " NOTE. TIDAL CURRENT SERIES STARTS AGAIN FROM ITS FIRST"
                                    " RECORD AT TIME STEP 5, DATE 20200102 (SHOWN ONCE)."));
    return std::pair<double, double>(test::values_after(prt, " MIN KT VALUE(S)  =").at(0),
                                     test::values_after(prt, " MAX KT VALUE(S)  =").at(0));
  };
  const auto tidal = kt_range(
      "20200101 0000 0.0\n20200101 0600 1.0\n20200101 1200 0.0\n20200101 1800 1.0\n");
  EXPECT_GT(tidal.first, 0.0);
  EXPECT_GT(tidal.second, tidal.first + 0.05) << tidal.second;   // more passes a submerged crest
  const auto still = kt_range(
      "20200101 0000 0.0\n20200101 0600 0.0\n20200101 1200 0.0\n20200101 1800 0.0\n");
  EXPECT_LT(still.second - still.first, 0.001);
  EXPECT_NEAR(still.first, tidal.first, 0.001);  // the low-water value is the still-water one
}

}  // namespace
}  // namespace coastra

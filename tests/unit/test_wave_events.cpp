// Wave events: the wave-record time step and its checks against DT, the initial
// event, cycling at the end of the events and the steepness acknowledgement.

#include <gtest/gtest.h>

#include <tuple>

#include "driver/wave_events.h"
#include "support/coast_builder.h"
#include "support/run_helpers.h"
#include "waves/wave_input.h"

namespace coastra {
namespace {

// One station at cell 1 of a two-cell grid.
struct Rig : test::Coast {
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

std::string events(std::initializer_list<const char*> stamps) {
  std::string s;
  for (const char* t : stamps) s += std::string(t) + " 2 8 10\n";
  return s;
}

using test::count_of;

const std::string RERUN = " PLEASE REVIEW AND REVISE YOUR .cfg AND INPUT WAVE FILES AS APPROPRIATE.\n";

TEST(WaveEvents, RecordStepFollowsTheFirstTwoEvents) {
  // Hourly; across days, 2 days less 21 h 30 min = 26.5 hours of 0.5-hour
  // steps; with no second event one record a step.
  struct Case { int n; float dt; std::string text; float dtwave; int nws; };
  const std::string hourly = events({"20200101 0000", "20200101 0100", "20200101 0200"});
  for (const Case& k : {Case{3, 1.0F, hourly, 1.0F, 1},
                        Case{2, 0.5F, events({"20200110 2330", "20200112 0200"}), 26.5F, 53},
                        Case{1, 2.0F, events({"20200101 0000"}), 0.0F, 1}}) {
    Rig r(k.n, k.dt, k.text);
    EXPECT_EQ(r.start_waves(), "(no stop)");
    if (k.n > 1) {
      EXPECT_FLOAT_EQ(r.m.DTWAVE, k.dtwave);
    }
    EXPECT_EQ(r.m.NWS, k.nws) << k.text;
  }
}

TEST(WaveEvents, RecordStepThatDoesNotFitDtOrSpansAYearOrMonthStops) {
  const std::string REVISE = " review and revise your input wave files.\n";
  struct Case { const char *first, *second; float dt; std::string stop, print; };
  for (const Case& k : {
           Case{"20200101 0000", "20200101 0300", 2.0F,
                "ERROR. Wave time step not a multiple of simulation time step",
                " ERROR. TIME STEP IN WAVE FILE MUST BE A MULTIPLE OF SIMULATION TIME STEP.\n" + RERUN},
           Case{"20200101 0000", "20200101 0100", 2.0F,
                "ERROR. Simulation time step greater than wave time step",
                " ERROR. SIMULATION TIME STEP GREATER THAN TIME STEP IN WAVE FILE.\n" + RERUN},
           Case{"20191231 2300", "20200101 0000", 1.0F, "ERROR. Wave time step exceeds one year.",
                " ERROR.  Time step in WAVEFILE exceeds one year.  Please\n" + REVISE},
           Case{"20200229 2300", "20200301 0000", 1.0F, "ERROR. Wave time step exceeds one month.",
                " ERROR.  Time step in WAVEFILE exceeds one month.  Please\n" + REVISE}}) {
    Rig r(2, k.dt, events({k.first, k.second}));
    EXPECT_EQ(r.start_waves(), k.stop);
    EXPECT_EQ(r.prt.str(), k.print);
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

TEST(WaveEvents, ShortOrUnreadableEventFileEndsTheRunAtStartUp) {
  Rig shortfile(5, 1.0F, events({"20200101 0000", "20200101 0100"}));
  EXPECT_EQ(shortfile.start_waves(), "(no stop)");
  EXPECT_EQ(shortfile.m.IRUNERR, 1);
  EXPECT_EQ(shortfile.prt.str(), " ERROR. WAVE FILE w1.dat ENDS BEFORE RECORD 3\n");
  Rig unreadable(2, 1.0F, "20200101 0000 2 8 10\n2020O101 0100 2 8 10\n");
  unreadable.start_waves();
  EXPECT_EQ(unreadable.m.IRUNERR, 1);
  EXPECT_EQ(unreadable.prt.str(), " ERROR. INVALID RECORD 2 IN WAVE FILE w1.dat\n");
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
  // The notice names the event count, the date and the date cycled back to.
  for (const char* line : {" WARNING: Current wave event exceeds maximum number of wave",
                           "          Specified maximum number of wave events:        3",
                           "          Current simulation date is: 20200102",
                           "          Newly cycled wave event date is: 20200101"})
    EXPECT_TRUE(test::has_line(r.prt.str(), line)) << line;
}

// The warning of the undated form at every wave step is pinned by the golden
// case feet_regional, which has a single record.
TEST(WaveEvents, UndatedFormRepeatsItsFirstRecord) {
  Rig r(0, 3.0F, "2 8 10\n3 9 5\n");
  ASSERT_EQ(r.start_waves(), "(no stop)");
  EXPECT_EQ(r.m.NWS, 1);
  for (int step = 1; step <= 3; ++step) {
    wave_step(r.m);
    EXPECT_FLOAT_EQ(r.m.HRF(2), 2.0F);
  }
}

TEST(WaveEvents, SteepnessReportIsDatedOnceOrWithPrwarn) {
  for (bool prwarn : {false, true}) {
    Rig r(0, 1.0F, "4 4 0\n");
    r.m.cfg.PRWARN = prwarn;
    r.start_waves();
    r.m.CURDATE = 20200101;
    for (int step = 1; step <= 2; ++step) {
      r.m.ISTEP = step;
      wave_step(r.m);
    }
    const std::string& text = r.prt.str();
    EXPECT_EQ(count_of(text, " DATE IS 20200101.  TIME STEP IS        1\n"), 1);
    EXPECT_EQ(count_of(text, " DATE IS 20200101.  TIME STEP IS        2\n"), prwarn ? 1 : 0);
    EXPECT_EQ(r.m.ISTEEP, -1);
  }
}

}  // namespace
}  // namespace coastra

// Wave events: the wave-record time step and its checks against DT, the initial
// event, cycling at the end of the events and the steepness acknowledgement.

#include <gtest/gtest.h>

#include <tuple>
#include <utility>

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

// The stability parameter against hand-computed values and its proportionality
// to the time step; the warnings; the halving and doubling of the adaptive time
// step with every step count formed again (the golden runs take the adaptive
// step end to end).

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <map>
#include <string>
#include <tuple>

#include "driver/stability.h"
#include "input/clock.h"
#include "model/error_stop.h"
#include "support/run_helpers.h"
#include "support/state_rig.h"

namespace coastra {
namespace {

// A coast of 4 cells of 10 m with an active profile of 5 m (berm 1 + closure 4),
// so F = 3600 DT / (10^2 x 5) = 7.2 DT; uniform breaking waves HBD = 1 m,
// CGB = 2.5 m/s and no gradient term, so S = S1 = 2 x 1 x A1W x 2.5 x 7.2 DT
// = 36 A1W DT. Run of 10 days from 27 February 2020 (leap day inside), dated
// wave records every 24 h, records saved every 24 h.
struct AdaptRig : test::StateRig {
  Settings& c = m.cfg;
  explicit AdaptRig(float dt) {
    c.NX = 4;
    c.SIMDATS = 20200227;
    c.SIMDATE = 20200308;
    c.DT = m.DT = dt;
    c.DTSAVE = 24.0F;
    c.DTADAPT = 1;
    c.DTMIN = 0.0001;
    c.DTMAX = 8.0F;
    c.NSTABDTMIN = 0.0F;
    c.STABMIN = 0.5F;
    c.STABMAX = 0.5F;
    c.PRWARN = false;
    c.NWAVEV = 10;
    for (int i = 0; i < 10; ++i) {
      m.EVDATE.push_back(i < 3 ? 20200227 + i : 20200301 + i - 3);
      m.EVHOUR.push_back(1200);
    }
    m.IWEVENT = 3;  // record of event 2 in force
    m.HZ = 1.5F;
    m.TZ = 8.0F;
    m.ZZDEG = -12.5F;
    m.DTWAVE = 24.0F;
    m.NWS = static_cast<int>(std::lround(24.0F / dt));
    m.NSTSAVE = m.NWS;
    for (int i = 1; i <= 5; ++i) {
      c.DX(i) = 10.0F;
      c.BERMHT(i) = 1.0F;
      c.DCLOS(i) = 4.0F;
      m.HBD(i) = 1.0F;
      m.CGB(i) = 2.5F;
    }
    set_run_length(m.cfg, m.run(), m.input());
    setup_stability(m.cfg, m.input(), m.step(), m.stability());
    m.ISTEP = 0;
    m.ELAPSED = 0.0;
  }
  // Waves whose stability parameter is s_per_hour x DT.
  void waves(float s_per_hour) {
    for (int i = 1; i <= 5; ++i) m.A1W(i) = s_per_hour / 36.0F;
  }
  // The loop around the check: step number, clock, check (or the given
  // stand-in for it), elapsed time.
  template <class F>
  void step(F check) {
    if (m.ADAPTED) {
      m.ISTEP = step_number_after_change(m.ELAPSED, m.DT);
      m.ADAPTED = false;
    } else {
      m.ISTEP += 1;
    }
    advance_clock(m.step(), m.input());
    check();
    m.ELAPSED += static_cast<double>(m.DT);
  }
  void step() { step([this] { stability_check(m); }); }
  // Every step count describes the same hours as before the change; the step
  // that started at hour start is numbered in the DT in force.
  void expect_counts_on_hours(double start, double run_hours = 240.0) const {
    const double dt = static_cast<double>(m.DT);
    EXPECT_DOUBLE_EQ(m.NTS * dt, run_hours) << "DT " << dt;
    EXPECT_DOUBLE_EQ(m.NWS * dt, 24.0) << "DT " << dt;
    EXPECT_DOUBLE_EQ(m.NSTSAVE * dt, 24.0) << "DT " << dt;
    EXPECT_FLOAT_EQ(m.NSPERDAY, static_cast<float>(24.0 / dt));
    EXPECT_FLOAT_EQ(m.DTFAC(1), static_cast<float>(3600.0 * dt / 5.0));
    EXPECT_EQ(m.ISTEP, static_cast<int>(start / dt) + 1);  // (step - 1) DT = start
  }
};

// ---- the parameter ----

// Inputs of the kernel on walls 1..nx+1, one vector per array (index 0 unused).
struct Field {
  Vec1<float> HBD{700}, THETABD{700}, CGB{700}, A1W{700}, K2C{700}, DX{700}, BERMHT{700},
      DCLOS{700};
  Vec1<float> F{700};   // time factors for a step of F_DT hours, when formed
  float F_DT = 0.0F;
  StabilityWalls walls(bool cached = false) const {
    return {HBD, THETABD, CGB, A1W, K2C, DX, BERMHT, DCLOS, cached ? &F : nullptr, F_DT};
  }
};

TEST(StabilityParameter, HandComputedTermsOnATinyWaveField) {
  // nx = 4, walls 1..5. Profile 1 + 4 = 5 m; DX 10 m except cell 2 (5 m).
  // F at DT = 1 h: 3600 / (10^2 x 5) = 7.2; cell 2: 3600 / (5^2 x 5) = 28.8.
  Field f;
  const float row[5][5] = {// HBD, CGB, THETABD, A1W, DX per wall
                           {1.0F, 2.0F, 0.0F, 0.01F, 10.0F},
                           {2.0F, 2.0F, 0.3F, 0.01F, 5.0F},
                           {1.5F, 4.0F, -0.2F, 0.01F, 10.0F},
                           {1.0F, 2.0F, 0.5F, 0.1F, 10.0F},
                           {0.5F, 2.0F, 0.1F, 0.01F, 10.0F}};
  for (int i = 1; i <= 5; ++i) {
    const float* w = row[i - 1];
    f.HBD(i) = w[0], f.CGB(i) = w[1], f.THETABD(i) = w[2], f.A1W(i) = w[3], f.DX(i) = w[4];
    f.K2C(i) = 0.5F, f.BERMHT(i) = 1.0F, f.DCLOS(i) = 4.0F;
  }
  // S1 over walls 1..3 (wall 4, with the largest term 2 x 1 x 0.1 x 2 x 7.2 = 2.88,
  // is wall N and does not count):
  //   wall 1: 2 x 1    x 0.01 x 2 x 7.2  = 0.288
  //   wall 2: 2 x 4    x 0.01 x 2 x 28.8 = 4.608   <- largest (narrow cell)
  //   wall 3: 2 x 2.25 x 0.01 x 4 x 7.2  = 1.296   (largest HBD^2 CGB = 9: K2C checked here)
  // S2: sin(THETABD(k)) x (HBD(k+1) - HBD(k-1)) for k = 2..4:
  //   k=2: sin(0.3) x 0.5 = 0.147760; k=3: sin(-0.2) x (-1) = 0.198669; k=4: sin(0.5) x (-1) < 0
  //   S2 = 2.25 x 0.5 x 4 x 7.2 x 0.198669 / (2 x 10) = 0.321844
  const StabilityTerms t = stability_parameter(4, 1.0F, f.walls());
  EXPECT_NEAR(t.S1, 4.608F, 4.608F * 1e-6F);
  EXPECT_NEAR(t.S2, 0.321844F, 0.321844F * 1e-5F);
  // Time factors formed before for this step are read (the same bits), those
  // of another step ignored: at 2 h both terms double exactly.
  form_stability_factors(f.DX, f.BERMHT, f.DCLOS, 4, 1.0F, f.F);
  f.F_DT = 1.0F;
  for (const float dt : {1.0F, 2.0F}) {
    EXPECT_EQ(stability_parameter(4, dt, f.walls(true)).S1, dt * t.S1) << dt;
    EXPECT_EQ(stability_parameter(4, dt, f.walls(true)).S2, dt * t.S2) << dt;
  }

  // The gradient term counts only where K2C at the wall of largest HBD^2 CGB
  // (wall 3) is at least 0.001.
  f.K2C(3) = 0.0009F;
  EXPECT_EQ(stability_parameter(4, 1.0F, f.walls()).S2, 0.0F);
  f.K2C(3) = 0.5F;
  // A term that is not a number never counts: wall 2 without a celerity
  // leaves wall 3's 1.296 the largest S1 term.
  f.CGB(2) = NAN;
  EXPECT_NEAR(stability_parameter(4, 1.0F, f.walls()).S1, 1.296F, 1e-5F);
  f.CGB(2) = 2.0F;

  // Every sin x difference term negative (height falls in the wave direction):
  // k stays 1 and S2 = 0, although wall 1 has a height and a celerity.
  for (int i = 1; i <= 5; ++i) {
    f.HBD(i) = 3.0F - 0.5F * static_cast<float>(i);
    f.THETABD(i) = 0.4F;
  }
  EXPECT_EQ(stability_parameter(4, 1.0F, f.walls()).S2, 0.0F);
}

// ---- the check ----

TEST(StabilityCheck, FixedStepWarnsOncePerWaveRecordInDetailOnceAndCountsEveryStep) {
  for (bool prwarn : {false, true}) {
    AdaptRig r(4.0F);
    r.c.DTADAPT = 0;
    r.c.PRWARN = prwarn;
    r.waves(0.36F);  // S = 0.36 x 4 = 1.44
    // Three unstable steps of one wave record: one console warning, one block.
    for (int n = 0; n < 3; ++n) r.step();
    EXPECT_EQ(test::count_of(r.con.str(), " WARNING!  Solution is unstable.\n"), 1);
    EXPECT_EQ(test::count_of(r.con.str(), " Check printable output file for details.\n"), 1);
    EXPECT_EQ(test::count_of(r.prt.str(), "CALCULATION SCHEME UNSTABLE"), 1);
    // Two steps of the next record: the console line again, the block only with PRWARN.
    r.m.NWREC += 1;
    for (int n = 0; n < 2; ++n) r.step();
    EXPECT_EQ(test::count_of(r.con.str(), " WARNING!  Solution is unstable.\n"), 2);
    EXPECT_EQ(test::count_of(r.prt.str(), "CALCULATION SCHEME UNSTABLE"), prwarn ? 2 : 1);
    EXPECT_EQ(r.m.NWARNRUN[static_cast<std::size_t>(WarnKind::UNSTABLE)], 5);
    // First step ends 27 February 04:00; the record in force is event 2 (the
    // block's first lines are pinned by the golden runs).
    EXPECT_NE(r.prt.str().find(" date is 20200227 wave date is 20200228 hours is 1200\n"
                               " hz is     1.500 zzdeg is   -12.500 t is     8.000\n"),
              std::string::npos);
    EXPECT_EQ(r.m.DT, 4.0F);  // no adaptation
    EXPECT_EQ(r.m.NTS, 60);
  }
}

TEST(AdaptiveStep, TwoHalvingsInOneStepRescaleEveryCount) {
  AdaptRig r(4.0F);
  r.m.NSTABDTMIN = r.c.NSTABDTMIN = 12.0F;  // 12 steps of 4 hours: two days
  r.m.DYL = -0.02;         // left boundary: -0.02 m per 4-hour step
  r.m.DYLHOUR = -0.005;
  r.c.NOUT = 2;
  r.m.PRDATE(1) = 30;    // step 30 of 4 hours: hour 120
  r.m.PRDATE(2) = 20200301;
  r.waves(0.36F);          // S = 1.44 = 2.88 STABMIN: 4 -> 2 (0.72) -> 1 (0.36)
  r.step();
  EXPECT_EQ(r.m.DT, 1.0F);  // a quarter of the old DT
  EXPECT_TRUE(r.m.ADAPTED);
  r.expect_counts_on_hours(0.0);  // NTS 240, NWS 24
  EXPECT_FLOAT_EQ(r.m.DAYINC, 1.0F / 24.0F);
  EXPECT_FLOAT_EQ(r.m.NSTABDTMIN, 48.0F);  // the same 2 days
  EXPECT_DOUBLE_EQ(r.m.DYL, -0.005);
  EXPECT_EQ(r.m.PRDATE(1), 120);
  EXPECT_EQ(r.m.PRDATE(2), 20200301);
  EXPECT_EQ(r.c.DT, 4.0F);   // the settings stay as configured
  EXPECT_EQ(r.c.NSTABDTMIN, 12.0F);
  EXPECT_EQ(r.m.NSTABLE, 0);
  // The step now ends at 01:00 of the start day.
  EXPECT_FLOAT_EQ(r.m.CLKDAY, 27.0F + 1.0F / 24.0F);
  EXPECT_EQ(r.m.CURDATE, 20200227);
  // The notice on the console and in the print file (after the detailed
  // block): the values of this step, the dates and hour apart (in the golden
  // runs, which pin the layout and the wave values, the two dates agree).
  EXPECT_EQ(r.con.str().rfind(" WARNING!  Solution is unstable.\n Check printable", 0), 0U);
  for (const char* l : {"PARAMETER is:      1.440000\n", "simulation date is: 20200227\n",
                        "wave event date is: 20200228\n", "event hour is:     1200\n",
                        "NEW DT =      1.000000\n", "NEW STABILITY PARAMETER =      0.360000\n"}) {
    EXPECT_EQ(test::count_of(r.con.str(), l), 1) << l;
    EXPECT_EQ(test::count_of(r.prt.str(), l), 1) << l;
  }
  // The next step follows on: step 2 starts at hour 1.
  r.step();
  EXPECT_EQ(r.m.ISTEP, 2);
  EXPECT_FALSE(r.m.ADAPTED);
}

TEST(AdaptiveStep, QuietStepsDoubleAndTrialsThatDoNotFitOrAreUnstableAreRefused) {
  AdaptRig r(1.0F);
  r.waves(0.2F);  // S = 0.2 DT
  // Step 1 (hour 0): counter 1 > NSTABDTMIN 0, trial 2 h: S = 0.4 <= 0.5, accepted.
  r.step();
  EXPECT_EQ(r.m.DT, 2.0F);
  EXPECT_EQ(r.m.NSTABLE, 1);  // an accepted increase keeps the counter
  r.expect_counts_on_hours(0.0);  // NTS 120
  for (const char* l : {"NEW DT =      2.000000\n", "NEW STABILITY PARAMETER =      0.400000\n"})
    EXPECT_EQ(test::count_of(r.con.str(), l), 1) << l;
  EXPECT_EQ(r.prt.str(), r.con.str());
  // Step 2 starts at hour 2, no multiple of the 4-hour trial: no trial, counting on.
  r.step();
  EXPECT_EQ(r.m.ISTEP, 2);
  EXPECT_EQ(r.m.DT, 2.0F);
  EXPECT_EQ(r.m.NSTABLE, 2);
  // Step 3 (hour 4): trial 4 h gives S = 0.8 > 0.5: rejected, DT stays, counter 0.
  r.step();
  EXPECT_EQ(r.m.DT, 2.0F);
  EXPECT_EQ(r.m.NSTABLE, 0);
  EXPECT_FALSE(r.m.ADAPTED);
  // Step 4 (hour 6): a trial capped at DTMAX = 3 h (S = 0.6) is rejected too;
  // DT stays 2, not half the trial.
  r.c.DTMAX = 3.0F;
  r.step();
  EXPECT_EQ(r.m.DT, 2.0F);
  EXPECT_EQ(r.m.NSTABLE, 0);
  // Quieter waves: the 3-hour trial is stable but waits for a step that starts
  // on a multiple of 3 hours (hours 8 and 10 are not; 12 is).
  r.waves(0.1F);
  for (int n = 0; n < 2; ++n) r.step();
  EXPECT_EQ(r.m.DT, 2.0F);
  EXPECT_EQ(r.m.NSTABLE, 2);
  r.step();
  EXPECT_EQ(r.m.DT, 3.0F);
  EXPECT_EQ(r.m.ISTEP, 5);  // hour 12 is the start of the fifth 3-hour step
  r.expect_counts_on_hours(12.0);  // NTS 80
  EXPECT_EQ(test::count_of(r.con.str(), "increase!!!"), 2);
  // DTMAX not above DT: no trial however quiet.
  for (int n = 0; n < 2; ++n) r.step();
  EXPECT_EQ(r.m.DT, 3.0F);
  EXPECT_EQ(r.m.NSTABLE, 5);
  EXPECT_EQ(r.m.ISTEP, 7);
}

TEST(AdaptiveStep, HalvingStopsAboveDtminAndTheRunGoesOnWithTheNotice) {
  for (bool prwarn : {false, true}) {
    AdaptRig r(4.0F);
    r.c.DTMIN = 1.0;
    r.c.PRWARN = prwarn;
    r.waves(1.0F);  // S = DT: 4 -> 2 -> 1; half of 1 is below DTMIN
    r.step();
    EXPECT_EQ(r.m.DT, 1.0F);
    EXPECT_FLOAT_EQ(r.m.STAB, 1.0F);
    r.expect_counts_on_hours(0.0);
    const std::string held = "NOTICE: Time step (DT) is held at its smallest value (DTMIN).\n";
    EXPECT_EQ(test::count_of(r.con.str(), held), 1);
    EXPECT_EQ(test::count_of(r.prt.str(), held), 1);
    EXPECT_NE(r.con.str().find("          ACTION:  Simulation continues with DT =      1.000000\n"),
              std::string::npos);
    // Still unstable at DTMIN: no change, no rescale; the notice again only with
    // PRWARN, and only in a new wave record.
    r.step();
    EXPECT_EQ(r.m.DT, 1.0F);
    EXPECT_FALSE(r.m.ADAPTED);
    EXPECT_EQ(r.m.NTS, 240);
    EXPECT_EQ(r.m.ISTEP, 2);
    EXPECT_EQ(test::count_of(r.con.str(), held), 1);
    r.m.NWREC += 1;
    r.step();
    EXPECT_EQ(test::count_of(r.con.str(), held), prwarn ? 2 : 1);
    EXPECT_EQ(r.m.NWARNRUN[static_cast<std::size_t>(WarnKind::DTMIN_HELD)], 3);
    EXPECT_EQ(test::count_of(r.con.str(), "reduction!!!"), 1);
  }
}

// The calendar date (YYYYMMDD) hours after 00:00 of the day start (YYYYMMDD).
int date_after(int start, double hours) {
  using namespace std::chrono;
  const year_month_day s{year{start / 10000}, month{static_cast<unsigned>(start / 100 % 100)},
                         day{static_cast<unsigned>(start % 100)}};
  const year_month_day d{floor<days>(sys_days{s} + duration<double, std::ratio<3600>>(hours))};
  const int month = static_cast<int>(static_cast<unsigned>(d.month()));
  return static_cast<int>(d.year()) * 10000 + month * 100 +
         static_cast<int>(static_cast<unsigned>(d.day()));
}

TEST(AdaptiveStep, StepsStayOnTheWaveRecordsAndTheCalendarThroughChanges) {
  // DT changes at the start of the steps at these hours. In the run over the
  // leap day the first one halves a step that would have ended on 1 March
  // 00:00: it must end on 29 February. Over the new year, a halved step that
  // would have ended the year leaves the year (and its count) to its successor.
  using Changes = std::map<double, float>;
  const std::tuple<int, int, double, Changes> runs[] = {
      {20200227, 20200308, 240.0,
       {{68.0, 2.0F}, {80.0, 1.0F}, {96.0, 2.0F}, {100.0, 4.0F}, {120.0, 8.0F}, {200.0, 0.5F},
        {210.0, 1.0F}}},
      {20201231, 20210102, 48.0, {{20.0, 2.0F}}}};
  for (const auto& [first, last, hours, changes] : runs) {
    AdaptRig r(4.0F);
    r.c.DTADAPT = 0;  // the changes below stand in for the check
    r.c.SIMDATS = first;
    r.c.SIMDATE = last;
    set_run_length(r.m.cfg, r.m.run(), r.m.input());
    setup_stability(r.m.cfg, r.m.input(), r.m.step(), r.m.stability());
    r.waves(0.0F);
    int wave_steps = 0, saves = 0;
    while (r.m.ISTEP < r.m.NTS) {
      ASSERT_LT(r.m.ELAPSED, hours);
      r.step([&r, &changes, hours] {
        const auto at = changes.find(r.m.ELAPSED);
        if (at == changes.end()) return;
        change_time_step(r.m, at->second);
        r.expect_counts_on_hours(r.m.ELAPSED, hours);
      });
      const double dt = static_cast<double>(r.m.DT), start = r.m.ELAPSED - dt, end = r.m.ELAPSED;
      // The wave record is read exactly at the record times, every 24 hours;
      // records are saved at the end of every day; the clock dates the step by
      // its end, and the year count follows the date.
      const bool wave_step = (r.m.ISTEP - 1) % r.m.NWS == 0;
      EXPECT_EQ(wave_step, std::fmod(start, 24.0) == 0.0) << first << " hour " << start;
      const bool save = r.m.ISTEP % r.m.NSTSAVE == 0;
      EXPECT_EQ(save, std::fmod(end, 24.0) == 0.0) << first << " hour " << start;
      EXPECT_EQ(r.m.CURDATE, date_after(first, end)) << first << " hour " << start;
      EXPECT_EQ(r.m.NEXTDATE, date_after(first, end + dt)) << first << " hour " << start;
      EXPECT_EQ(r.m.NYEARSIM, r.m.CURDATE / 10000 - first / 10000) << first << " hour " << start;
      wave_steps += wave_step ? 1 : 0;
      saves += save ? 1 : 0;
    }
    EXPECT_DOUBLE_EQ(r.m.ELAPSED, hours);  // the run ends on time
    EXPECT_EQ(wave_steps, static_cast<int>(hours / 24.0));
    EXPECT_EQ(saves, static_cast<int>(hours / 24.0));
    EXPECT_EQ(r.m.CURDATE, last);
  }
}

TEST(AdaptiveStep, SeriesRecordStepsAreRescaledAndBoundTheTrialStep) {
  AdaptRig r(1.0F);
  r.m.WLUSED = true;     // water levels every 2 hours, tidal currents every 6
  r.m.DTWL = 2.0F;
  r.m.NSTWL = 2;
  r.m.TCUSED = true;
  r.m.DTTC = 6.0F;
  r.m.NSTTC = 6;
  r.waves(0.05F);        // S = 0.05 DT: every trial is stable
  // Hour 0: the 2-hour trial divides 2 and 6 hours: accepted, 1 and 3 steps a record.
  r.step();
  EXPECT_EQ(r.m.DT, 2.0F);
  EXPECT_EQ(r.m.NSTWL, 1);
  EXPECT_EQ(r.m.NSTTC, 3);
  // Hours 2 and 4: a 4-hour step would not divide the 2-hour water-level
  // records (the tidal records left out); hours 6 to 12: nor, the other way
  // round, the 6-hour tidal records.
  r.m.TCUSED = false;
  r.step();
  r.step();
  EXPECT_EQ(r.m.DT, 2.0F);
  r.m.WLUSED = false;
  r.m.TCUSED = true;
  for (int n = 0; n < 4; ++n) r.step();
  EXPECT_EQ(r.m.DT, 2.0F);
  // Unstable waves halve the step: 2 and 6 steps a record again.
  r.m.WLUSED = true;
  r.waves(0.4F);         // S = 0.8 at 2 h, 0.4 at 1 h
  r.step();
  EXPECT_EQ(r.m.DT, 1.0F);
  EXPECT_EQ(r.m.NSTWL, 2);
  EXPECT_EQ(r.m.NSTTC, 6);
}

}  // namespace
}  // namespace coastra

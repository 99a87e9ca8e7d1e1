// Fills, bypassing and the salient update at the level of the state: the
// advance per step against hand counts of days and steps, exact placed
// volumes, the books at a seawall, the structure marks and the salient cap
// against hand cases (the spread of diverted transport into a shadow is held
// by the golden run with a breakwater in the surf zone).

#include <gtest/gtest.h>

#include "driver/stability.h"
#include "input/clock.h"
#include "input/schedules.h"
#include "support/coast_builder.h"
#include "transport/shoreline_solver.h"
#include "transport/sources.h"
#include "transport/structures.h"
#include "transport/transport.h"

namespace coastra {
namespace {

TEST(Schedules, FillAdvanceCountsTheStepsOfItsWindow) {
  // 20200101-20200111: 10 days = 240 h; DT 24 h gives 10 steps, 10 m / 10 = 1 m.
  EXPECT_DOUBLE_EQ(fill_advance(10.0, 0.0, 240.0, 24.0), 1.0);
  // Steps 5..14 of DT 3 h: hours [12, 42), ten step starts 12, 15, ..., 39.
  EXPECT_DOUBLE_EQ(fill_advance(10.0, 12.0, 42.0, 3.0), 1.0);
  // DT 5 h does not divide the 24 h window [0, 24): starts 0, 5, 10, 15, 20 = 5 steps.
  EXPECT_DOUBLE_EQ(fill_advance(10.0, 0.0, 24.0, 5.0), 2.0);
  // A window shorter than a step between two step starts holds none: nothing placed.
  EXPECT_DOUBLE_EQ(fill_advance(10.0, 1.0, 2.0, 24.0), 0.0);
}

// A coast whose fills, operations and events are set up by the program's own
// schedules; steps run as the loop runs them (elapsed hours += DT).
struct Scheduled : test::Coast {
  explicit Scheduled(int nx, float dt, int simdate) : Coast(nx, 25.0F) {
    m.DT = m.cfg.DT = dt;
    m.cfg.SIMDATE = simdate;
    set_run_length(m.cfg, m.run(), m.input());
    time_factors(m.cfg, m.step(), m.transport());
  }
  void fill(int s, int e, int first, int last, float yadd) {
    const int k = ++m.cfg.NBF;
    m.cfg.BFDATS(k) = s, m.cfg.BFDATE(k) = e, m.cfg.IBFS(k) = first, m.cfg.IBFE(k) = last;
    m.cfg.YADD(k) = yadd;
  }
  void operation(int s, int e, int first, int last, double qbp) {
    const int k = ++m.cfg.NBP;
    m.cfg.BPDATS(k) = s, m.cfg.BPDATE(k) = e, m.cfg.IBPS(k) = first, m.cfg.IBPE(k) = last;
    m.cfg.QBP(k) = qbp;
  }
  // Calm steps (sources only) over the whole run; returns the volume change (m3).
  double run_calm() {
    setup_schedules(m.cfg, m.input(), m.step(), m.run(), m.sources());
    double v0 = volume();
    m.ELAPSED = 0.0;
    for (int n = 1; n <= m.NTS; ++n) {
      for (int i = 1; i <= m.cfg.NX; ++i) m.QSRC(i) = 0.0;
      bypass_sources(m.cfg, m.run(), m.step(), m.transport(), m.sources());
      apply_fills(m.cfg, m.run(), m.step(), m.transport(), m.sources());
      calm_update(m.cfg, m.input(), m.step(), m.transport(), m.sources());
      book_sources(m.cfg, m.transport(), m.sources());
      m.ELAPSED += static_cast<double>(m.DT);
    }
    return volume() - v0;
  }
  double volume() const {
    double v = 0.0;
    for (int i = 1; i <= m.cfg.NX; ++i) v += m.YSHORE(i) * static_cast<double>(m.cfg.DX(i)) * 10.0;
    return v;
  }
};

TEST(Sources, FillPlacesExactlyItsVolume) {
  // Every case places YADD x cells x DX x (berm + closure) = 29 m x 4 x 25 m x 10 m = 29000 m3.
  const double want = 29.0 * 4 * 25.0 * 10.0;
  for (float dt : {24.0F, 6.0F, 1.0F}) {
    Scheduled feb(10, dt, 20200401);   // across 29 February: 29 days
    feb.fill(20200201, 20200301, 3, 6, 29.0F);
    EXPECT_NEAR(feb.run_calm(), want, 1e-9 * want) << dt;
    double books = 0.0;
    for (int i = 1; i <= 10; ++i) books += feb.m.VFILL(i);
    EXPECT_NEAR(books, want, 1e-9 * want) << dt;
    EXPECT_EQ(feb.m.YSHORE(2), 0.0);
    EXPECT_NEAR(feb.m.YSHORE(3), 29.0, 1e-12);
    Scheduled first(10, dt, 20200401);  // a window starting on the first day of the run
    first.fill(20200101, 20200130, 5, 8, 29.0F);
    EXPECT_NEAR(first.run_calm(), want, 1e-9 * want) << dt;
    Scheduled steps(10, dt, 20200401);  // step form: steps 3..31 inclusive, 29 steps
    steps.fill(3, 31, 1, 4, 29.0F);
    EXPECT_NEAR(steps.run_calm(), want, 1e-9 * want) << dt;
    EXPECT_NEAR(steps.m.FILLADV(1), 1.0, 1e-15);
  }
  // 10 m over 20200111-20200121 (240 h): 40 steps of 6 h, 0.25 m each; after
  // DT halves to 3 h, 80 steps of 0.125 m: the advance per day stays 1 m.
  Scheduled s(10, 6.0F, 20200401);
  s.fill(20200111, 20200121, 2, 3, 10.0F);
  setup_schedules(s.m.cfg, s.m.input(), s.m.step(), s.m.run(), s.m.sources());
  setup_stability(s.m.cfg, s.m.input(), s.m.step(), s.m.stability());
  EXPECT_DOUBLE_EQ(s.m.FILLADV(1), 0.25);
  change_time_step(s.m, 3.0F);
  EXPECT_DOUBLE_EQ(s.m.FILLADV(1), 0.125);
}

TEST(Sources, BypassPairKeepsTheVolumeAndSinkAtSeawallBooksWhatItTook) {
  // A sink at cells 2-3 and a source at cells 8-9 of equal rate 100 m3/h over
  // January 2020 (744 h): the total volume stays; each side books 74400 m3.
  Scheduled pair(10, 6.0F, 20200301);
  pair.operation(20200101, 20200201, 2, 3, -100.0);
  pair.operation(20200101, 20200201, 8, 9, 100.0);
  EXPECT_NEAR(pair.run_calm(), 0.0, 1e-6);
  EXPECT_NEAR(pair.m.VBPSRC(8) + pair.m.VBPSRC(9), 74400.0, 1e-6);
  EXPECT_NEAR(pair.m.VBPSINK(2) + pair.m.VBPSINK(3), 74400.0, 1e-6);
  // Each cell of 25 m moves by 74400 / 2 / (25 m x 10 m) = 148.8 m.
  EXPECT_NEAR(pair.m.YSHORE(8), 148.8, 1e-9);
  EXPECT_NEAR(pair.m.YSHORE(2), -148.8, 1e-9);

  // The same sink in front of a seawall 5 m landward of the beach: it can take
  // only 5 m x 25 m x 10 m = 1250 m3 from each cell, and books that.
  Scheduled wall(10, 6.0F, 20200301);
  wall.seawall(1, 10, -5.0F, -5.0F);
  wall.start();
  wall.operation(20200101, 20200201, 2, 3, -100.0);
  EXPECT_NEAR(wall.run_calm(), -2500.0, 1e-6);
  EXPECT_NEAR(wall.m.VBPSINK(2), 1250.0, 1e-6);
  EXPECT_NEAR(wall.m.YSHORE(2), -5.0, 1e-12);
  // An excavation at the same wall: -20 m requested, 5 m taken and booked.
  Scheduled dig(10, 6.0F, 20200301);
  dig.seawall(1, 10, -5.0F, -5.0F);
  dig.start();
  dig.fill(20200101, 20200111, 4, 4, -20.0F);
  EXPECT_NEAR(dig.run_calm(), -1250.0, 1e-6);
  EXPECT_NEAR(dig.m.VEXCAV(4), 1250.0, 1e-6);
  // An operation whose end precedes its start never acts (its warning: end to end).
  Scheduled back(10, 6.0F, 20200301);
  back.operation(20200201, 20200101, 2, 3, 100.0);
  EXPECT_EQ(back.run_calm(), 0.0);
}

TEST(Sources, BypassEventsPlaceTheirRatesWhileTheyLast) {
  // Event 1: 5 days (120 h) at 5 m3/h per m on cells 10-12 of 25 m:
  //   120 x 5 x 3 x 25 = 45000 m3.
  // Event 2: 10 days (240 h) at 1, 2, 3, 4 m3/h per m on cells 11-14:
  //   240 x (1 + 2 + 3 + 4) x 25 = 60000 m3. Together 105000 m3.
  for (float dt : {24.0F, 6.0F, 1.0F}) {
    Scheduled ev(20, dt, 20200301);
    test::ScratchDir dir;
    dir.write("events.dat", "20200105 20200110 10 12 5.0\n20200110 20200120 11 14 1 2 3 4\n");
    Settings& c = ev.m.cfg;
    c.BYPFILE = "events.dat";
    ev.m.FBYP.open(dir.file("events.dat"));
    c.QQGIVEN = 15;
    c.BPDATS(1) = 20200101, c.BPDATE(1) = 20200301, c.IBPS(1) = 10, c.IBPE(1) = 14;
    EXPECT_NEAR(ev.run_calm(), 105000.0, 1e-9 * 105000.0) << dt;
    // Cell 14 only in event 2: 240 h x 4 m3/h per m / 10 m of profile = 96 m.
    EXPECT_NEAR(ev.m.YSHORE(14), 96.0, 1e-9) << dt;
    EXPECT_NEAR(ev.m.VBPSRC(14), 96.0 * 25.0 * 10.0, 1e-6) << dt;
  }
}

// One breakwater with tips at walls i1 and i2, y1 and y2 off the baseline (m).
void breakwater(ModelState& m, int i1, int i2, float y1, float y2) {
  m.cfg.NDB = 1;
  m.cfg.DBI1(1) = i1, m.cfg.DBI2(1) = i2;
  m.cfg.DBY1(1) = y1, m.cfg.DBY2(1) = y2;
}

TEST(Structures, MarksFollowTheGapToTheBreakwaterLine) {
  // Breakwater with tips at walls 3 and 7 (cells of 25 m: walls at x = 50 and
  // 150 m from the grid origin), from 100 m to 120 m off the baseline. The
  // shadow range is cells 3..6 with centres at x = 62.5, 87.5, 112.5, 137.5,
  // so YDB = 100 + 20 (x - 50) / 100 = 102.5, 107.5, 112.5, 117.5.
  test::Coast coast(std::vector<double>{0, 0, 0, 107.5 - 0.0005, 112.5 + 0.01, 0, 0, 0}, 25.0F);
  ModelState& m = coast.m;
  coast.seawall(6, 6, 130.0F, 130.0F);   // a seawall seaward of a tombolo's line
  coast.start();
  breakwater(m, 3, 7, 100.0F, 120.0F);
  m.YSHORE(6) = 131.0;
  setup_structures(m.cfg, m.input(), m.transport(), m.sources());
  EXPECT_EQ(m.DBS(1), 3);
  EXPECT_EQ(m.DBE(1), 6);
  for (int j = 3; j <= 6; ++j) EXPECT_NEAR(m.YDB(j), 102.5 + 5.0 * (j - 3), 1e-9) << j;
  EXPECT_EQ(m.DBMARK(2), 0);
  EXPECT_EQ(m.DBMARK(3), 1);        // open water: gap 102.5 m
  EXPECT_EQ(m.YDBW(3), m.YDB(3));
  EXPECT_EQ(m.DBMARK(4), -1);       // gap 0.0005 m: touching
  EXPECT_EQ(m.DBMARK(5), -2);       // 0.01 m past the line: tombolo
  EXPECT_EQ(m.YDBW(5), NO_LIMIT_SEAWARD);
  EXPECT_NEAR(m.YSWALL(5), 112.5, 1e-9);   // held at the breakwater line
  EXPECT_EQ(m.DBMARK(6), -2);
  EXPECT_NEAR(m.YSWALL(6), 130.0, 1e-9);   // the larger of seawall and breakwater line
  EXPECT_EQ(m.DBMARK(7), 0);
  // Not sticky: back on the line the tombolo touches, and its hold is released.
  m.YSHORE(5) = 112.5;
  structure_marks(m.cfg, m.sources(), m.transport());
  EXPECT_EQ(m.DBMARK(5), -1);
  EXPECT_EQ(m.YSWALL(5), m.YSWALL0(5));
}

TEST(Structures, SalientCapHandsTheExcessBackAgainstTheTransportWhateverTheOrder) {
  // Cells 3..7 of 25 m behind a breakwater line 10 m off the baseline, DTFAC
  // 360 s/m (0.1 m3/s over a step moves a cell 1.44 m). After the shoreline
  // update: transport converges on cell 5 (1 m3/s from the left, 3 from the
  // right), which lies 28.8 m (2 m3/s) past the line; cell 4 has 1 m of room,
  // cell 6 lies on the line and cell 7 brought it only 1 m3/s. The excess
  // splits 1:3: 0.5 m3/s to cell 4, which keeps 1 m and hands 6.2 m on to
  // cell 3; 1.5 m3/s to cell 6, which can give back only the 1 m3/s cell 7
  // brought (14.4 m) and keeps 7.2 m past the line. The mirrored group (cell
  // i at 10 - i, transport reversed), walked from its other end, must give the
  // mirrored result to the bit, and no sand is made or lost.
  const std::vector<double> y{0, 0, 0, 9, 38.8, 10, 0, 0, 0};   // cells 1..9 (m)
  const std::vector<float> q{0, 1, 1, 1, 1, -3, -1, -1, 0, 0};  // walls 1..10 (m3/s)
  const auto capped = [&](bool mirror) {
    test::Coast coast(9, 25.0F);
    ModelState& m = coast.m;
    breakwater(m, 3, 8, 10.0F, 10.0F);
    setup_structures(m.cfg, m.input(), m.transport(), m.sources());
    for (int i = 1; i <= 9; ++i) m.YSHORE(mirror ? 10 - i : i) = y[static_cast<std::size_t>(i - 1)];
    for (int w = 1; w <= 10; ++w) {
      const float v = q[static_cast<std::size_t>(w - 1)];
      m.QLS(mirror ? 11 - w : w) = mirror ? -v : v;
      m.QDBX(w) = 0.0F;
    }
    salient_update(m.cfg, m.sources(), m.transport());
    std::vector<double> out;   // cells 3..7 then walls 3..8, in the unmirrored order
    for (int i = 3; i <= 7; ++i) out.push_back(m.YSHORE(mirror ? 10 - i : i));
    for (int w = 3; w <= 8; ++w)
      out.push_back(mirror ? -static_cast<double>(m.QLS(11 - w)) : static_cast<double>(m.QLS(w)));
    return out;
  };
  const std::vector<double> got = capped(false);
  const std::vector<double> want{6.2, 10.0, 10.0, 17.2, 14.4, 1.0, 1.0 - 6.2 / 14.4, 0.5, -1.5, 0.0, -1.0};
  for (std::size_t k = 0; k < want.size(); ++k) EXPECT_NEAR(got[k], want[k], 1e-6) << k;
  EXPECT_EQ(got[1], 10.0);   // a cell that gives back all its excess lies on its line
  EXPECT_EQ(got[2], 10.0);
  EXPECT_NEAR(got[0] + got[1] + got[2] + got[3] + got[4], 9.0 + 38.8 + 10.0, 1e-12);
  EXPECT_EQ(capped(true), got);
}

TEST(Structures, JoinedGroinLosesItsBypassingTowardsTheBreakwater) {
  // A groin at wall 5 with its tip on the first end of a breakwater over cells
  // 5..8 (code 1). Factor 0.8 = BYPG 0.5 + P 0.6 - 0.6 x 0.5; without the
  // bypassing share 0.8 - 0.5 = 0.3.
  const auto factor = [](float pot, double y5, float tip_other) {
    test::Coast coast(12, 25.0F);
    ModelState& m = coast.m;
    coast.groin(5, 120.0F, 0.6F);   // a diffracting groin: in the groin list and its own
    m.cfg.NDG = 1, m.cfg.IXDG(1) = 5, m.cfg.YDG(1) = 120.0F;
    breakwater(m, 5, 9, 120.0F, tip_other);
    m.YSHORE(5) = y5;
    setup_structures(m.cfg, m.input(), m.transport(), m.sources());
    m.GROINF(1) = 0.8F, m.BYPG(1) = 0.5F, m.QGPOT(1) = pot;
    joined_groins(m.cfg, m.input(), m.sources(), m.transport());
    return m.GROINF(1);
  };
  EXPECT_FLOAT_EQ(factor(-1.0F, 0.0, 120.0F), 0.3F);    // sand from the shadow side
  EXPECT_FLOAT_EQ(factor(1.0F, 0.0, 120.0F), 0.3F);     // from the open side, line is the limit
  EXPECT_FLOAT_EQ(factor(1.0F, 125.0, 120.0F), 0.8F);   // tombolo in cell 5: unchanged
  // Touching salient at the joined end: wall code 3, the groin passes all.
  EXPECT_FLOAT_EQ(factor(1.0F, 120.0, 120.0F), 1.0F);
}

}  // namespace
}  // namespace coastra

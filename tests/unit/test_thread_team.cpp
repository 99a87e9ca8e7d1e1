// The two-thread team: where a range is split, that a split kernel call runs
// every element exactly once whoever runs which part, and how the thread
// count is read from the command line and the environment. (Whole runs on two
// threads are compared with one thread in the golden tests.)

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "model/simd_path.h"
#include "model/thread_team.h"
#include "support/simd_scope.h"

namespace coastra {
namespace {

using test::SplitMinScope;

// Adds 1 to every element of lo..hi: a range run twice, or an element run by
// both threads, shows as a 2.
[[gnu::always_inline]] inline void count_body(int lo, int hi, float* __restrict hits) {
#pragma omp simd
  for (int i = lo; i <= hi; ++i) hits[i] = hits[i] + 1.0F;
}

TEST(ThreadTeam, SplitPointIsAMultipleOf16NearTheMiddle) {
  // 1..4001: middle 1 + 4001/2 = 2001, nearest multiple of 16 is 2000.
  EXPECT_EQ(split_point(1, 4001), 2000);
  // 1..512: middle 257 -> 256; 0..31: middle 16 -> 16; 5..36: middle 21 -> 16.
  EXPECT_EQ(split_point(1, 512), 256);
  EXPECT_EQ(split_point(0, 31), 16);
  EXPECT_EQ(split_point(5, 36), 16);
  for (int lo = 0; lo < 40; ++lo)
    for (int hi = lo + 31; hi < lo + 300; ++hi) {
      const int s = split_point(lo, hi);
      ASSERT_EQ(s % 16, 0) << lo << ".." << hi;
      ASSERT_TRUE(lo < s && s <= hi) << lo << ".." << hi;
      ASSERT_LE(std::abs(s - (lo + (hi - lo + 1) / 2)), 8) << lo << ".." << hi;
    }
}

// Many split calls over varied ranges, some as regions whose parts call a
// kernel again: each element of each range is run exactly once, elements
// outside it not at all, and the worker takes its part
// in some of the calls (it is given up to 10 s on a busy machine, where the
// team also runs stretches of calls on the calling thread alone).
TEST(ThreadTeam, SplitCallRunsEveryElementOnce) {
  const SplitMinScope min(32);
  const ThreadTeamScope team(2, ThreadTeamScope::DEFAULT_SPIN_US);
  ASSERT_EQ(team_threads(), 2);
  const TeamCounts before = team_counts();
  std::vector<float> hits(2100, 0.0F);
  std::vector<float> expected(2100, 0.0F);
  const auto start = std::chrono::steady_clock::now();
  int call = 0;
  while (call < 3000 || (team_counts().worker == before.worker &&
                         std::chrono::steady_clock::now() - start < std::chrono::seconds(10))) {
    const int lo = call % 37;
    const int hi = lo + 20 + (call % 2040) * 7919 % 2040;   // 21 to 2060 elements, some below 32
    if (call % 3 == 0) {   // a region whose parts call the kernel again: never split twice
      run_region(lo, hi, [&hits](int a, int b) { run_kernel<count_body>(a, b, hits.data()); });
    } else if (call % 3 == 1 && hi - lo >= 64) {   // split at a given point
      const int at = lo + 1 + call % (hi - lo);
      run_parts(lo, hi, [&hits](int, int a, int b) { run_kernel<count_body>(a, b, hits.data()); }, at);
    } else {
      run_kernel<count_body>(lo, hi, hits.data());
    }
    for (int i = lo; i <= hi; ++i) expected[static_cast<std::size_t>(i)] += 1.0F;
    ++call;
  }
  for (std::size_t i = 0; i < hits.size(); ++i) ASSERT_EQ(hits[i], expected[i]) << "element " << i;
  EXPECT_GT(team_counts().split, before.split);
  EXPECT_GT(team_counts().worker, before.worker);
  // Inside an alone scope nothing is split, and the elements still run once.
  const long long split = team_counts().split;
  {
    const AloneScope alone;
    run_kernel<count_body>(0, 2047, hits.data());
  }
  EXPECT_EQ(team_counts().split, split);
  for (std::size_t i = 0; i <= 2047; ++i) ASSERT_EQ(hits[i], expected[i] + 1.0F) << "element " << i;
}

// The learned split point over synthetic part times: work of 1 per wall below
// wall 3000 and 5 above it, over walls 0..4001 (of the work, 3000 + 5 x 1002 =
// 8010, half lies below wall 3201). The point moves to within a step of 16 walls of the
// balance and stays a multiple of 16 inside the range; a call run as one part
// leaves it, another range starts again from the middle.
TEST(ThreadTeam, PartBalanceMovesTheSplitWhereThePartsTakeEqualTimes) {
  const auto work = [](int a, int b) {   // walls a..b-1
    const auto below = [](int w) { return w <= 3000 ? w : 3000 + 5 * (w - 3000); };
    return static_cast<double>(below(b) - below(a));
  };
  PartBalance p;
  int s = p.split(0, 4001);
  EXPECT_EQ(s, split_point(0, 4001));
  for (int call = 0; call < 30; ++call) {
    p.took(0, work(0, s));
    p.took(1, work(s, 4002));
    s = p.split(0, 4001);
    ASSERT_EQ(s % 16, 0);
    ASSERT_TRUE(0 < s && s <= 4001);
  }
  EXPECT_NEAR(s, 3201, 16);
  p.took(0, 1.0);   // one part only
  EXPECT_EQ(p.split(0, 4001), s);
  EXPECT_EQ(p.split(1, 4001), split_point(1, 4001));
}

// The governor over synthetic step times (s): split steps cost `split`, steps
// on one thread `alone`; the first step of each probe block (the switch) and
// every 24th step (a record) cost ten times more. Returns the modes of the
// steps that followed the first probe, over one hold and into the next probe.
std::vector<bool> governed_modes(double split, double alone) {
  TeamGovernor g;
  std::vector<bool> modes;
  const int probe = TeamGovernor::BLOCK * TeamGovernor::PROBE_BLOCKS;
  for (int step = 1; step <= 2 * probe + TeamGovernor::HOLD; ++step) {
    const bool on = g.split();
    if (step > probe) modes.push_back(on);
    const bool spike = (step - 1) % TeamGovernor::BLOCK == 0 || step % 24 == 0;
    g.step_done((on ? split : alone) * (spike ? 10.0 : 1.0));
  }
  return modes;
}

TEST(ThreadTeam, GovernorHoldsTheFasterModeAndMeasuresAgain) {
  const int hold = TeamGovernor::HOLD;
  const int probe = TeamGovernor::BLOCK * TeamGovernor::PROBE_BLOCKS;
  // Splitting twice as fast: split for the whole hold; then a new probe that
  // alternates blocks, the first one split.
  const std::vector<bool> fast = governed_modes(1.0, 2.0);
  ASSERT_EQ(static_cast<int>(fast.size()), hold + probe);
  for (std::size_t s = 0; s < static_cast<std::size_t>(hold); ++s)
    ASSERT_TRUE(fast[s]) << "hold step " << s;
  for (int s = 0; s < probe; ++s)
    EXPECT_EQ(fast[static_cast<std::size_t>(hold + s)], (s / TeamGovernor::BLOCK) % 2 == 0) << s;
  // Splitting slower (a loaded machine), or no clear gain (2 % only): one
  // thread for the whole hold. The spikes do not decide.
  for (const double split : {2.0, 0.99}) {
    const std::vector<bool> slow = governed_modes(split, 1.0);
    for (std::size_t s = 0; s < static_cast<std::size_t>(hold); ++s)
      ASSERT_FALSE(slow[s]) << split << " step " << s;
  }
  // A gain just past the threshold splits.
  EXPECT_TRUE(governed_modes(0.95, 1.0)[0]);
}

// *any: whether some element of lo..hi is negative.
[[gnu::always_inline]] inline void any_negative_body(int lo, int hi, const float* __restrict v,
                                                     int* any) {
  int a = 0;
#pragma omp simd reduction(| : a)
  for (int i = lo; i <= hi; ++i) a |= static_cast<int>(v[i] < 0.0F);
  *any = a;
}

// A split OR finds one flagged element wherever it lies (first element, either
// side of the split at 1024, last element), and nothing outside lo..hi; on one
// thread and on two (many calls, so that the worker runs its part in some).
TEST(ThreadTeam, SplitOrFindsAFlagInEitherPart) {
  const SplitMinScope min(32);
  std::vector<float> v(2100, 1.0F);
  for (const int threads : {1, 2}) {
    const ThreadTeamScope team(threads);
    for (const int k : {1, 1023, 1024, 2047}) {
      v[static_cast<std::size_t>(k)] = -1.0F;
      for (int call = 0; call < 300; ++call) {
        ASSERT_EQ(run_any<any_negative_body>(1, 2047, v.data()), 1) << threads << " " << k;
        ASSERT_EQ(run_any<any_negative_body>(k + 1, 2090, v.data()), 0) << threads << " " << k;
      }
      v[static_cast<std::size_t>(k)] = 1.0F;
    }
  }
}

TEST(ThreadTeam, ThreadCountFromOptionAndEnvironment) {
  EXPECT_EQ(parse_thread_count("1"), 1);
  EXPECT_EQ(parse_thread_count("2"), 2);
  for (const char* bad : {"0", "3", "", "2x", "-1"}) EXPECT_FALSE(parse_thread_count(bad)) << bad;
  const char* saved = std::getenv("COASTRA_THREADS");
  const std::string keep = saved != nullptr ? saved : "";
  ::setenv("COASTRA_THREADS", "2", 1);
  EXPECT_EQ(default_thread_count(), 2);
  ::setenv("COASTRA_THREADS", "4", 1);   // not a count this program runs: the default
  EXPECT_EQ(default_thread_count(), 1);
  ::unsetenv("COASTRA_THREADS");
  EXPECT_EQ(default_thread_count(), 1);
  if (saved != nullptr) ::setenv("COASTRA_THREADS", keep.c_str(), 1);
  // One thread starts no team.
  const ThreadTeamScope team(1);
  EXPECT_EQ(team_threads(), 1);
}

}  // namespace
}  // namespace coastra

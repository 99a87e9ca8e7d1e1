// The two-thread team: one worker thread per run, a handshake per split kernel
// call (a generation number the calling thread posts, a claim of the upper
// part that exactly one of the two threads wins, a done mark the worker sets),
// brief spinning and then passive waiting on the atomics (futex).

#include "model/thread_team.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <system_error>
#include <thread>

namespace coastra {

struct ThreadTeam {
  // Each atomic on its own cache line: the two threads write different ones.
  alignas(64) std::atomic<std::uint32_t> posted{0};    // generation of the latest task offered
  alignas(64) std::atomic<std::uint32_t> claimed{0};   // latest generation whose upper part is taken
  alignas(64) std::atomic<std::uint32_t> done{0};      // latest generation the worker finished
  std::atomic<bool> stop{false};                       // the scope ends: the worker returns
  // The task of generation `posted`, written by the calling thread before it
  // posts, read by the worker only once it has won the claim.
  alignas(64) RangeTask task = nullptr;
  const void* args = nullptr;
  int lo = 0;   // the worker's part lo..hi
  int hi = -1;
  int spin_us = 0;      // (microseconds) spinning before a passive wait
  std::thread worker;
};

namespace {

ThreadTeam*& active_team() {
  static ThreadTeam* team = nullptr;
  return team;
}

// Written by the calling thread only (the one thread that runs kernels).
TeamCounts& counts() {
  static TeamCounts c;
  return c;
}

int& min_split() {
  static int n = 512;
  return n;
}

inline void cpu_relax() {
#if defined(__x86_64__) || defined(__i386__)
  __builtin_ia32_pause();
#endif
}

// Spins until ready() holds or spin_us microseconds have passed; true when ready.
template <class Ready>
bool spin_until(Ready ready, int spin_us) {
  if (ready()) return true;
  const auto end = std::chrono::steady_clock::now() + std::chrono::microseconds(spin_us);
  for (;;) {
    for (int i = 0; i < 32; ++i) {
      cpu_relax();
      if (ready()) return true;
    }
    if (std::chrono::steady_clock::now() >= end) return false;
  }
}

// Waits until the atomic a no longer holds old: spinning first, then asleep.
void wait_while_equal(const std::atomic<std::uint32_t>& a, std::uint32_t old, int spin_us) {
  if (spin_until([&] { return a.load(std::memory_order_acquire) != old; }, spin_us)) return;
  a.wait(old, std::memory_order_acquire);
}

void worker_loop(ThreadTeam& t) {
  std::uint32_t seen = 0;
  for (;;) {
    wait_while_equal(t.posted, seen, t.spin_us);
    seen = t.posted.load(std::memory_order_acquire);
    if (t.stop.load(std::memory_order_acquire)) return;
    // The claim succeeds only while generation `seen` is unclaimed, that is
    // while the calling thread still waits in run_split for it: the task
    // fields are then those of `seen`.
    std::uint32_t expected = seen - 1;
    if (t.claimed.compare_exchange_strong(expected, seen, std::memory_order_acq_rel)) {
      t.task(t.args, t.lo, t.hi);
      t.done.store(seen, std::memory_order_release);
      t.done.notify_one();   // no system call unless the calling thread sleeps
    }
  }
}

}  // namespace

int team_threads() { return active_team() != nullptr ? 2 : 1; }

int split_min_elements() { return min_split(); }

void set_split_min_elements(int n) { min_split() = n < 32 ? 32 : n; }

int split_point(int lo, int hi) {
  const int middle = lo + (hi - lo + 1) / 2;
  int split = (middle + 8) / 16 * 16;
  if (split <= lo) split += 16;
  if (split > hi) split -= 16;
  return split;
}

void run_split(RangeTask task, const void* args, int lo, int hi) {
  ThreadTeam* tp = active_team();
  if (tp == nullptr || hi - lo + 1 < 32) {
    task(args, lo, hi);
    return;
  }
  ThreadTeam& t = *tp;
  const int split = split_point(lo, hi);
  t.task = task;
  t.args = args;
  t.lo = split;
  t.hi = hi;
  const std::uint32_t g = t.posted.load(std::memory_order_relaxed) + 1;   // only this thread posts
  t.posted.store(g, std::memory_order_release);
  t.posted.notify_one();   // no system call unless the worker sleeps
  ++counts().split;
  task(args, lo, split - 1);
  std::uint32_t expected = g - 1;
  if (t.claimed.compare_exchange_strong(expected, g, std::memory_order_acq_rel)) {
    task(args, split, hi);   // the worker had not started: its part here
    return;
  }
  ++counts().worker;
  // done only grows, and reaches g when the worker has finished this part.
  for (std::uint32_t d = t.done.load(std::memory_order_acquire); d != g;
       d = t.done.load(std::memory_order_acquire))
    wait_while_equal(t.done, d, t.spin_us);
}

TeamCounts team_counts() { return counts(); }

ThreadTeamScope::ThreadTeamScope(int threads, int spin_us) : outer_(active_team()) {
  active_team() = nullptr;
  if (threads < 2) return;
  team_ = new ThreadTeam;
  team_->spin_us = spin_us;
  try {
    team_->worker = std::thread(worker_loop, std::ref(*team_));
  } catch (const std::system_error&) {
    // Design note: a run that cannot start its worker (thread limit reached)
    // runs on one thread: the results are the same, only slower.
    delete team_;
    team_ = nullptr;
    return;
  }
  active_team() = team_;
}

ThreadTeamScope::~ThreadTeamScope() {
  if (team_ != nullptr) {
    team_->stop.store(true, std::memory_order_release);
    team_->posted.fetch_add(1, std::memory_order_release);
    team_->posted.notify_one();
    team_->worker.join();
    delete team_;
  }
  active_team() = outer_;
}

std::optional<int> parse_thread_count(std::string_view text) {
  if (text == "1") return 1;
  if (text == "2") return 2;
  return std::nullopt;
}

int default_thread_count() {
  if (const char* env = std::getenv("COASTRA_THREADS")) {
    if (const auto n = parse_thread_count(env)) return *n;
  }
  return 1;
}

}  // namespace coastra

// The two-thread team: one worker thread per run, a handshake per split kernel
// call (a generation number the calling thread posts, a claim word through
// which either thread takes the upper part, a count of the parts the worker
// finished), brief spinning and then passive waiting on the atomics (futex).

#include "model/thread_team.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <system_error>
#include <thread>

namespace coastra {

// (microseconds) how long the calling thread, its own part done, leaves the
// worker's part to the worker. Design notes: the worker's part is one piece,
// taken by one thread or the other through the claim word; on this project's
// machine a split call of a 4001-element copy cost 1.25 us when that part was
// cut in four pieces and 0.64 us as one. A run on two threads took 1.03-1.07 s
// with the worker's part taken over at once when the worker had not yet come
// for it (15 % of the calls), and 0.97-1.02 s when it was always left to the
// worker: the data then moves between the cores' caches only at the serial
// stages. A worker held off its core for long is the governor's business (it
// then runs the kernels on one thread).
constexpr int STEAL_US = 20;

struct ThreadTeam {
  // What the calling thread posts for a split call, on one cache line: the
  // worker's first read of it brings the generation, the claim word and the
  // task together (one transfer between the cores instead of three).
  alignas(64) std::atomic<std::uint32_t> posted{0};   // generation of the latest task offered
  // (generation << 1) | taken: the upper part is taken by setting the low
  // bit, only while the generation is the current one (generations repeat
  // after 2^31 split calls, hundreds of times a long run's count).
  std::atomic<std::uint32_t> claim{0};
  // The task of generation `posted`, written by the calling thread before it
  // posts, read by the worker only after taking the upper part.
  RangeTask task = nullptr;
  const void* args = nullptr;
  int upper_lo = 0, upper_hi = 0;   // the upper part: elements upper_lo..upper_hi
  // What the worker writes, on a line of its own.
  alignas(64) std::atomic<std::uint32_t> done{0};     // upper parts the worker has finished, ever
  alignas(64) std::atomic<bool> stop{false};          // the scope ends: the worker returns
  int spin_us = 0;              // (microseconds) spinning before a passive wait
  std::uint32_t done_expected = 0;   // `done` once the last split call ended (calling thread only)
  TeamGovernor governor;             // split or alone, by measurement (calling thread only)
  TeamSteps steps;                   // steps timed, and those that split (calling thread only)
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

// Whether this thread is running a part of a split call.
thread_local bool in_split = false;

// Runs a part of a split call with the thread marked as inside one.
void run_part(RangeTask task, const void* args, int lo, int hi) {
  in_split = true;
  task(args, lo, hi);
  in_split = false;
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
    // The clock is read seldom: a read costs about as much as a kernel's handshake.
    for (int i = 0; i < 256; ++i) {
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

// Takes the upper part of generation g; false when it is taken already or g
// is not the current call. The claim word holds g only while the calling
// thread is inside the split call of g, so the task fields read after a
// successful take are g's.
bool take_upper(ThreadTeam& t, std::uint32_t g) {
  std::uint32_t free = g << 1;
  return t.claim.compare_exchange_strong(free, free | 1U, std::memory_order_acq_rel);
}

void worker_loop(ThreadTeam& t) {
  std::uint32_t seen = 0;
  for (;;) {
    wait_while_equal(t.posted, seen, t.spin_us);
    seen = t.posted.load(std::memory_order_acquire);
    if (t.stop.load(std::memory_order_acquire)) return;
    if (take_upper(t, seen)) {
      run_part(t.task, t.args, t.upper_lo, t.upper_hi);
      t.done.fetch_add(1, std::memory_order_release);
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
  int split = (middle + SPLIT_ALIGN / 2) / SPLIT_ALIGN * SPLIT_ALIGN;
  if (split <= lo) split += SPLIT_ALIGN;
  if (split > hi) split -= SPLIT_ALIGN;
  return split;
}

int PartBalance::split(int lo, int hi) {
  const double t0 = took_[0], t1 = took_[1];
  took_[0] = took_[1] = 0.0;
  if (lo != lo_ || hi != hi_ || t0 <= 0.0 || t1 <= 0.0) {
    if (lo != lo_ || hi != hi_) split_ = split_point(lo, hi);
    lo_ = lo;
    hi_ = hi;
    return split_;
  }
  // The walls the split point moves across take the work per wall of the part
  // they leave; half of that move is made.
  const double half = 0.5 * (t0 + t1);
  const double per_wall = t0 > t1 ? t0 / (split_ - lo) : t1 / (hi - split_ + 1);
  const double move = 0.5 * (half - t0) / per_wall;
  int s = split_ + static_cast<int>(std::lround(move / SPLIT_ALIGN)) * SPLIT_ALIGN;
  // Within lo < s <= hi, at a multiple of SPLIT_ALIGN (a range that splits
  // holds one).
  s = std::clamp(s, (lo / SPLIT_ALIGN + 1) * SPLIT_ALIGN, hi / SPLIT_ALIGN * SPLIT_ALIGN);
  split_ = s;
  return split_;
}

void run_split(RangeTask task, const void* args, int lo, int hi, int at) {
  ThreadTeam* tp = active_team();
  if (tp == nullptr || hi - lo + 1 < 32 || in_split) {
    task(args, lo, hi);
    return;
  }
  ThreadTeam& t = *tp;
  if (!t.governor.split()) {
    task(args, lo, hi);
    return;
  }
  const int split = at > lo && at <= hi ? at : split_point(lo, hi);
  t.upper_lo = split;
  t.upper_hi = hi;
  t.task = task;
  t.args = args;
  const std::uint32_t g = t.posted.load(std::memory_order_relaxed) + 1;   // only this thread posts
  t.claim.store(g << 1, std::memory_order_release);
  t.posted.store(g, std::memory_order_release);
  t.posted.notify_one();   // no system call unless the worker sleeps
  ++counts().split;
  run_part(task, args, lo, split - 1);
  // The worker's part stays the worker's while it comes for it within
  // STEAL_US: each core then works on the same walls call after call, and
  // they stay in its cache. Only a worker that late (woken from its passive
  // wait, or held off its core) has its part run here.
  const auto taken = [&t] { return (t.claim.load(std::memory_order_acquire) & 1U) != 0; };
  // The upper part here when the worker has not taken it; else wait for it.
  // A part seen taken is not claimed again: the claim would fail, and its
  // read-modify-write would pull the line back from the worker's cache.
  if (!spin_until(taken, STEAL_US) && take_upper(t, g)) {
    run_part(task, args, split, hi);
    return;
  }
  ++counts().worker;
  const std::uint32_t target = t.done_expected + 1;
  t.done_expected = target;
  // done only grows, and reaches target when the worker's part is finished.
  for (std::uint32_t d = t.done.load(std::memory_order_acquire); d != target;
       d = t.done.load(std::memory_order_acquire))
    wait_while_equal(t.done, d, t.spin_us);
}

TeamCounts team_counts() { return counts(); }

AloneScope::AloneScope() : outer_(in_split) { in_split = true; }
AloneScope::~AloneScope() { in_split = outer_; }

namespace {
// The median of the n values of v (n > 0), reordering them.
double median_of(double* v, int n) {
  std::nth_element(v, v + n / 2, v + n);
  return v[n / 2];
}
}  // namespace

// Design note: the median step time of each mode, not the sum, decides: the
// steps that read a wave record or write records cost several times an
// ordinary step and fall unevenly into the blocks. The first step of a block
// is not timed: it carries the switch (a worker waking from its passive wait).
void TeamGovernor::step_done(double seconds) {
  ++step_;
  if (!probing_) {
    if (step_ < HOLD) return;
    probing_ = true;   // measure again, starting with a split block
    step_ = 0;
    n_split_ = n_alone_ = 0;
    split_ = true;
    return;
  }
  if ((step_ - 1) % BLOCK != 0) {   // not the block's first step
    if (split_ && n_split_ < SAMPLES) t_split_[n_split_++] = seconds;
    if (!split_ && n_alone_ < SAMPLES) t_alone_[n_alone_++] = seconds;
  }
  if (step_ % BLOCK != 0) return;
  if (step_ < BLOCK * PROBE_BLOCKS) {
    split_ = !split_;   // the next block in the other mode
    return;
  }
  split_ = median_of(t_split_, n_split_) < SPLIT_GAIN * median_of(t_alone_, n_alone_);
  probing_ = false;
  step_ = 0;
}

void team_step_done(double seconds) {
  ThreadTeam* t = active_team();
  if (t == nullptr) return;
  ++t->steps.steps;
  if (t->governor.split()) ++t->steps.split;
  t->governor.step_done(seconds);
}

TeamSteps team_steps() {
  const ThreadTeam* t = active_team();
  return t != nullptr ? t->steps : TeamSteps{};
}

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

// The thread team of a run: the calling thread and, for two threads, one worker
// started when the run starts and joined when it ends. run_split runs an
// element-wise kernel over lo..hi with the lower part on the calling thread and
// the upper part on the worker; ThreadTeamScope holds the team for a run;
// parse_thread_count and default_thread_count read the user's request.
#pragma once

#include <optional>
#include <string_view>

namespace coastra {

// A part of a kernel: runs elements lo..hi of the kernel whose arguments args
// points to.
using RangeTask = void (*)(const void* args, int lo, int hi);

struct ThreadTeam;   // the worker and the handshake of a two-thread team

// Design note: the team is a property of the running run, held once per
// process like the instruction-set path: the kernels are pure functions of
// their arrays and reach the team through run_kernel, not through the state.
// One run at a time uses it (the run sequence opens one scope per run).
int team_threads();   // threads of the team in force: 1, or 2 while a two-thread scope is open

// Ranges of fewer elements than this run on the calling thread alone: below
// it the handshake costs more than half the range saves. 512 by default;
// tests lower it so that small cases split too.
int split_min_elements();
void set_split_min_elements(int n);

// The first element of the worker's part of lo..hi: the middle rounded to a
// multiple of 16, so that both parts start where the whole range's vector
// loop would be aligned; always lo < split <= hi for ranges of 32 elements
// or more.
int split_point(int lo, int hi);
inline constexpr int SPLIT_ALIGN = 16;   // split points are multiples of this

// Runs task over lo..hi: lo..split-1 on the calling thread, split..hi on the
// worker, and returns when both parts are done. The split point is
// split_point(lo, hi), or `at` when it is given (lo < at <= hi). The calling
// thread runs the worker's part itself when the worker has not come for it
// within a short wait (a worker woken late). While the team's governor has
// chosen one thread, for a range too short to split, inside an AloneScope,
// and for a split call made from inside a part (a region of several kernels
// runs each of them on the part's thread), the calling thread runs lo..hi in
// one call.
// So task is called on exactly those two parts, or on the whole range.
// Elements are formed independently, so the result is the same bits whoever
// runs which part.
void run_split(RangeTask task, const void* args, int lo, int hi, int at = 0);

// The split point of a region whose work is uneven along its walls, learned
// from the time each part took: the diffraction of a coast whose structures,
// and so the walls that iterate their coefficient longest, lie more in one
// half. Each call moves the point half-way towards where the last call's
// work, taken as even within each part, would have been halved. Any split
// gives the same bits (the walls are formed alone); only the waiting of the
// thread that finishes first changes.
class PartBalance {
 public:
  // The split point for lo..hi: the learned one while the range stays the
  // same, else the middle (split_point).
  int split(int lo, int hi);
  // The time (s) part 0 or 1 took in the call just made, told by the thread
  // that ran it; a call that ran as one part tells part 0 only.
  void took(int part, double seconds) { took_[part == 0 ? 0 : 1] = seconds; }

 private:
  int lo_ = 0, hi_ = -1;       // the range of the last call
  int split_ = 0;              // its split point
  double took_[2] = {};        // (s) its parts' times, 0 for a part not run
};

// Whether splitting pays on this machine at this moment, decided by measuring
// it: on a machine whose other core is busy, a two-thread team is slower than
// one thread (the worker takes time slices from the calling thread, or is off
// its core when a kernel waits for it). The governor times the steps of a run
// in both modes, in short alternating blocks, and holds the faster mode for a
// long stretch before it measures again. Splitting needs to be clearly faster
// (SPLIT_GAIN) to be chosen: at a tie one thread leaves the other core to the
// machine. Both modes give the same bits, so the choice never changes results.
class TeamGovernor {
 public:
  static constexpr int BLOCK = 8;          // steps per probe block (the first is a warm-up)
  static constexpr int PROBE_BLOCKS = 8;   // blocks per probe, alternating split / alone
  static constexpr int HOLD = 4096;        // steps in the chosen mode between probes
  static constexpr double SPLIT_GAIN = 0.97;   // split when its median step is below this x alone's

  // Whether the coming step splits its kernels.
  bool split() const { return split_; }
  // The wall-clock duration (s) of the step just run, in the mode split() gave
  // for it; sets the mode of the next step.
  void step_done(double seconds);

 private:
  static constexpr int SAMPLES = PROBE_BLOCKS / 2 * (BLOCK - 1);   // per mode and probe
  int step_ = 0;               // step within the probe, or within the hold after it
  bool probing_ = true;
  bool split_ = true;          // the first probe block splits
  int n_split_ = 0, n_alone_ = 0;
  double t_split_[SAMPLES] = {};   // (s) step times of this probe, per mode
  double t_alone_[SAMPLES] = {};
};

// The governor of the team in force, told the time of each step of the run's
// time loop; no effect without a two-thread team.
void team_step_done(double seconds);

// The steps the team in force has been told of, and those of them that split
// their kernels (both 0 without a two-thread team).
struct TeamSteps {
  long long steps = 0;
  long long split = 0;
};
TeamSteps team_steps();

// Within its scope the kernels called on this thread run on it alone (a
// stage of several small kernels whose hand-overs would cost more than the
// halves save).
class AloneScope {
 public:
  AloneScope();
  ~AloneScope();
  AloneScope(const AloneScope&) = delete;
  AloneScope& operator=(const AloneScope&) = delete;

 private:
  bool outer_;
};

// How the split calls of this process went (for measurement): calls split,
// and how many of them the worker took part in.
struct TeamCounts {
  long long split = 0;
  long long worker = 0;
};
TeamCounts team_counts();

// The team of one run: starts the worker for threads == 2 (none for 1) and
// stops and joins it at the end of the scope. The worker waits passively
// between kernels after a brief spin (spin_us microseconds), so that a loaded
// machine does not lose a core to it. A worker that cannot be started leaves
// the run on one thread.
class ThreadTeamScope {
 public:
  static constexpr int DEFAULT_SPIN_US = 50;   // (microseconds)
  explicit ThreadTeamScope(int threads, int spin_us = DEFAULT_SPIN_US);
  ~ThreadTeamScope();
  ThreadTeamScope(const ThreadTeamScope&) = delete;
  ThreadTeamScope& operator=(const ThreadTeamScope&) = delete;

 private:
  ThreadTeam* team_ = nullptr;
  ThreadTeam* outer_ = nullptr;   // the team in force before this scope, restored at its end
};

// "1" or "2"; nothing for any other text.
std::optional<int> parse_thread_count(std::string_view text);
// The threads of a run without --threads: COASTRA_THREADS when it is 1 or 2,
// else 1.
int default_thread_count();

}  // namespace coastra

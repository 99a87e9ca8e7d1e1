// Wall-clock time spent in each stage of the time-step loop, for measuring
// where a run's time goes. Off unless the run asks for it; when off, a mark
// costs one test of a flag. stage_mark charges the time since the previous mark
// to a stage and starts the next interval.
#pragma once

#include <array>
#include <chrono>

namespace coastra {

enum class Stage { WAVE_INPUT, BREAKING, DIFFRACTION, TRANSPORT, SOLVER, BOOKKEEPING, OUTPUT };
inline constexpr int NSTAGE = 7;

struct StageTimes {
  bool ON = false;                                // stage timing requested for this run
  std::array<double, NSTAGE> SEC{};               // time charged to each stage (s)
  std::chrono::steady_clock::time_point LAST{};   // end of the last charged interval
};

// Starts the first interval (at the start of the loop).
inline void stage_start(StageTimes& t) {
  if (t.ON) t.LAST = std::chrono::steady_clock::now();
}

// Charges the time since the last mark to stage s.
inline void stage_mark(StageTimes& t, Stage s) {
  if (!t.ON) return;
  const auto now = std::chrono::steady_clock::now();
  t.SEC[static_cast<std::size_t>(s)] += std::chrono::duration<double>(now - t.LAST).count();
  t.LAST = now;
}

}  // namespace coastra

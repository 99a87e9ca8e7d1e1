// Model-state section of the run's warnings: the list of warnings found inside
// a per-wall loop (the stage records kind, wall, step and value here, the
// output layer writes the list after the loop, output/warnings.h), the run's
// count of every kind of repeated warning, and the wave record in which each
// kind was last written, so that none is written more than once per record.
#pragma once

#include <array>

#include "model/constants.h"

namespace coastra {

// Kinds of warning a per-wall loop may record. A new kind is added before
// COUNT and gets its text in output/warnings.cpp.
enum class WarnKind : unsigned char {
  STEEPNESS,        // deep-water steepness above 0.142: height reduced to VALUE (m)
  UNSTABLE,         // stability parameter above 0.5 (driver/stability.cpp)
  DTMIN_HELD,       // adaptive step held at DTMIN while still unstable
  KT_ABOVE_08,      // transmission warnings of one computation (waves/transmission.cpp)
  KT_BELOW_0075,
  KT_ABOVE_15,
  KT_BELOW_0,
  KT_OUT_OF_RANGE,
  COUNT
};
inline constexpr int NWARNKIND = static_cast<int>(WarnKind::COUNT);

struct StepWarning {
  WarnKind kind = WarnKind::STEEPNESS;
  int wall = 0;          // wall the warning was found at
  int step = 0;          // time step (ISTEP; 0 before the loop)
  float value = 0.0F;    // the number the warning reports, in the unit its kind states
};

// Capacity: one warning per wall per loop, and the list is written after every
// loop, so a loop over walls 1..NX+1 never loses one.
inline constexpr int MXWARN = MXWALL;

struct WarningState {
  std::array<StepWarning, MXWARN> WARNLIST{};  // warnings not yet written, in the order found
  int NWARN = 0;                               // entries of WARNLIST in use
  std::array<int, NWARNKIND> NWARNRUN{};       // warnings raised over the run, per kind
  std::array<int, NWARNKIND> WRECWRITTEN{};    // 1 + the wave record in which the kind was
                                               // last written (0: never)
  int NWREC = 0;                               // wave records read so far (0 before the first)
  std::array<int, NWARNKIND> NWARNWRITTEN{};   // warnings written over the run, per kind
};

// Design note: a warning that repeats is written for its first WARN_WRITE_MAX
// occurrences in a run and only counted after that: a steep undated wave is a
// new record every step and would otherwise write its block every step (some
// megabytes of print file a year). The end-of-run counts say how many were
// raised and how many of them were not written.
inline constexpr int WARN_WRITE_MAX = 100;

// Counts one occurrence of a warning over the run.
inline void count_warning(WarningState& w, WarnKind kind) {
  w.NWARNRUN[static_cast<std::size_t>(kind)] += 1;
}

// True for the first asking of a kind within the current wave record (the
// warning may then be written, and counts as written), false for every later
// one: a warning that repeats is written at most once per wave record, and at
// most WARN_WRITE_MAX times in a run.
inline bool first_in_record(WarningState& w, WarnKind kind) {
  int& last = w.WRECWRITTEN[static_cast<std::size_t>(kind)];
  int& written = w.NWARNWRITTEN[static_cast<std::size_t>(kind)];
  if (last == w.NWREC + 1 || written >= WARN_WRITE_MAX) return false;
  last = w.NWREC + 1;
  written += 1;
  return true;
}

// Records one warning. Beyond the capacity it is counted but not stored.
inline void record_warning(WarningState& w, WarnKind kind, int wall, int step, float value) {
  count_warning(w, kind);
  if (w.NWARN >= MXWARN) return;
  w.WARNLIST[static_cast<std::size_t>(w.NWARN)] = StepWarning{kind, wall, step, value};
  w.NWARN += 1;
}

}  // namespace coastra

// Model-state section of the warnings found inside a per-wall loop: the stage
// records (kind, wall, step, value) here instead of writing to the print file,
// and the output layer writes the list after the loop (output/warnings.h),
// where the run's count per kind is also kept.
#pragma once

#include <array>

#include "model/constants.h"

namespace coastra {

// Kinds of warning a per-wall loop may record. A new kind is added before
// COUNT and gets its text in output/warnings.cpp.
enum class WarnKind : unsigned char {
  STEEPNESS,   // deep-water steepness above 0.142: height reduced to VALUE (m)
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
  std::array<int, NWARNKIND> NWARNRUN{};       // warnings recorded over the run, per kind
};

// Records one warning. Beyond the capacity it is counted but not stored.
inline void record_warning(WarningState& w, WarnKind kind, int wall, int step, float value) {
  w.NWARNRUN[static_cast<std::size_t>(kind)] += 1;
  if (w.NWARN >= MXWARN) return;
  w.WARNLIST[static_cast<std::size_t>(w.NWARN)] = StepWarning{kind, wall, step, value};
  w.NWARN += 1;
}

}  // namespace coastra

// The water-level series: read once at start-up when breakwater transmission
// is computed (read_water_levels), and the level in force at each step
// (water_level_step), which the breakwater depths and the groin tip depths add.
#pragma once

#include "model/state.h"

namespace coastra {

// Start-up, after set-up (units known) and before the wave events. Without a
// WLFILE line: no series, WLCUR = 0 and NSTWL = 1. With one while transmission
// is not computed (no KTMETDB line): the file is not read, and the console and
// the print file say so. Otherwise reads NWL records (the WLFILE integer) into
// WLDATE, WLTIME, WL (metres), derives DTWL and NSTWL; error stops on a short
// or unreadable file and on the interval checks.
void read_water_levels(const Settings& cfg, const InputState& in, RunState& run,
                       TransportState& tr, SeriesState& ser);

// Time-step loop, once per step after the clock: the record in force at step
// ISTEP becomes WLCUR (m). Returns true when the level changed, so that the
// caller has the transmission computed again. A restart of the series is
// noted in the print file (note_restart).
bool water_level_step(const InputState& in, RunState& run, WaveInputState& wi,
                      TransportState& tr, SeriesState& ser);

}  // namespace coastra

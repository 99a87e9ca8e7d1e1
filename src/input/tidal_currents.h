// Tidal currents: one series per station (TIDEFILE lines), read once at
// start-up with the stations' interpolation weights along the coast
// (read_tidal_currents), and the currents of the record in force put on every
// wall at each step (tidal_current_step) as the transport's UTIDE.
#pragma once

#include "model/state.h"

namespace coastra {

// Start-up, after the grid is known. Without TIDEFILE lines: no series, UTIDE
// stays 0 and NSTTC = 1. Otherwise checks the station walls (1..NX+1,
// increasing), reads NTC records (the second TIDEFILE integer) of every station
// into TCDATE, TCTIME, TCVAL (m/s), derives DTTC and NSTTC and the per-wall
// weights TCA, TCB, TCW; error stops on a short, unreadable or differently
// dated station file and on the interval checks.
void read_tidal_currents(const Settings& cfg, const InputState& in, RunState& run,
                         SeriesState& ser);

// Per-wall linear interpolation weights between the stations at walls
// station(1) < ... < station(J), in the walls' alongshore coordinate (the sum of
// the widths of the cells before the wall): walls at or before the first
// station take its value, walls at or beyond the last station the last's.
void tidal_weights(const Settings& cfg, SeriesState& ser);

// Time-step loop, once per step after the clock: when the record in force at
// step ISTEP is not the one in UTIDE, UTIDE(i) = KTIDE x the station currents
// of that record interpolated to wall i (m/s), walls 1..NX+1. A restart of
// the series is noted in the print file (note_restart).
void tidal_current_step(const Settings& cfg, const InputState& in, RunState& run,
                        WaveInputState& wi, TransportState& tr, SeriesState& ser);

}  // namespace coastra

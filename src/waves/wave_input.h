// Wave input along the coast: reading and screening the station records and
// distributing them to the walls (WAVINP), with the shared wave-file helpers.
#pragma once

#include <cstddef>

#include "model/state.h"
#include "waves/nearshore.h"

namespace coastra {

// What the start-up of the wave input found in the WAVEID lines.
struct StationFault {
  enum Kind { NONE, NO_STATION, OUTSIDE, NOT_ASCENDING } kind = NONE;
  int line = 0;    // the WAVEID line
  int cell = 0;    // its station cell
  int bound = 0;   // OUTSIDE: the last wall NX+1; NOT_ASCENDING: the line before's cell
};
struct StationSetup {
  int numwaves = 0;   // NUMWAVES when it exceeds the WAVEID lines (those are used), else 0
  int files = 0;      // the WAVEID lines then
  StationFault fault;
};
// Start-up: checks the stations against the grid and prepares the per-wall
// interpolation; returns what it found (output/stage_notices.h writes it; a
// fault ends the run). Sets NSTATION, JSLO, JSHI, WSTA and RREG.
StationSetup setup_wave_input(const Settings& cfg, const InputState& in, WaveInputState& wi);
// Reads the next record of every station and fills HRF, TRF, THETARF, DRF, ZRF,
// KRF, NRF, the breaking constants, DLTZ and the event values; they stay in
// force until the next record. Returns the record's checks over the cells
// (record_checks). A steepness reduction is recorded in the step's warning
// list. A wave file that ends or a record that cannot be read is named in the
// checks' `file` (the other checks are then empty). Reads the wave files
// (FWAVE) and ISTEP; the station records go to HST, TST, ZST.
RecordChecks WAVINP(const Settings& cfg, RunState& run, WaveInputState& wi, WaveState& wv,
                    WarningState& warn);

// Longest wave-file line read: a record's five items fit many times over, and
// the line buffer cannot grow without bound on a corrupt file.
inline constexpr std::size_t WAVE_LINE_MAX = 1024;

// Line `line` (1-based) of wave file k into WLINE; false at the end of the file.
// A longer line than WAVE_LINE_MAX ends the run naming the file and the line:
// cutting it would read a record that the file does not hold.
bool read_wave_line(const Settings& cfg, RunState& run, WaveInputState& wi, int k, int line);

// Returns wave file k to its first record (record counter IWREC(k) = 0).
void rewind_wave_file(RunState& run, WaveState& wv, int k);

}  // namespace coastra

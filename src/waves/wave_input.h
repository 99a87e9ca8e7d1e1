// Wave input along the coast: reading and screening the station records and
// distributing them to the walls (WAVINP), with the shared wave-file helpers.
#pragma once

#include <cstddef>

#include "model/state.h"
#include "waves/nearshore.h"

namespace coastra {

// Start-up: checks the stations against the grid and prepares the per-wall
// interpolation; may set the run error flag.
void setup_wave_input(ModelState& m);
// Reads the next record of every station and fills HRF, TRF, THETARF, DRF, ZRF,
// KRF, NRF, the breaking constants, DLTZ and the event values; they stay in
// force until the next record. Returns the record's checks over the cells
// (record_checks). A steepness reduction is recorded in the step's warning
// list. A wave file that ends or a record that cannot be read sets the run
// error flag with a print-file line (and the checks are then empty).
RecordChecks WAVINP(ModelState& m);

// Longest wave-file line read: a record's five items fit many times over, and
// the line buffer cannot grow without bound on a corrupt file.
inline constexpr std::size_t WAVE_LINE_MAX = 1024;

// Line `line` (1-based) of wave file k into WLINE; false at the end of the file.
// A longer line than WAVE_LINE_MAX ends the run naming the file and the line:
// cutting it would read a record that the file does not hold.
bool read_wave_line(ModelState& m, int k, int line);

// Returns wave file k to its first record (record counter IWREC(k) = 0).
void rewind_wave_file(ModelState& m, int k);
// A wave file that ended before record `record` (ended = true) or whose record
// `record` cannot be read: print-file line naming the file, run error flag set.
void wave_file_error(ModelState& m, int k, int record, bool ended);

}  // namespace coastra

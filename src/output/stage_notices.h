// The words of what the physics stages found: the transmission warnings and
// the emerged-breakwater stop, the wave-file faults of a record, the wave
// stations' set-up faults and the inlet next to a groin. The stages return
// what happened; the driver hands it here.
#pragma once

#include "model/state.h"
#include "waves/wave_input.h"

namespace coastra {

// The transmission warnings of one computation (`fired`, the KT_... bits of
// breakwater_transmission): each text once, counted for the run's counts,
// after its first appearance in the run only with PRWARN and at most once per
// wave record; method 1 on an emerged breakwater writes its error line and
// sets IRUNERR (the run ends with its reports).
void transmission_notices(const Settings& cfg, RunState& run, StructureState& st,
                          WarningState& warn, unsigned fired);
// A wave file k that ended before record `record` (ended) or whose record
// `record` cannot be read: the print-file line naming the file, IRUNERR = 1.
void wave_file_error(const Settings& cfg, RunState& run, WaveInputState& wi, int k, int record,
                     bool ended);
// The wave stations' set-up: the NUMWAVES warning, and a station fault's
// print-file line with IRUNERR = 1.
void station_notices(RunState& run, WaveInputState& wi, const StationSetup& s);
// An inlet edge next to a groin without a jetty tip to measure from: one
// print-file warning per such edge.
void inlet_groin_notices(RunState& run, int edges);

}  // namespace coastra

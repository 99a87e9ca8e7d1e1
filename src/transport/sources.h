// Sources and sinks of the step: the source rates QSRC from the active bypass
// operations and the active bypass event, the beach fills placed on the
// shoreline with the seawall hold, and the per-cell books of fill,
// excavation, bypass placement and bypass removal volumes.
//   bypass_sources, apply_fills, book_sources
#pragma once

#include "model/state.h"

namespace coastra {

// Step start in hours since the run start within [h0, h1), with the allowance
// that fill_advance counts steps with.
bool window_active(double elapsed, double h0, double h1, double dt);
// QSRC (cleared before) += every active operation's and the active event's
// rate, converted from m3/h to m3/s per metre of beach once, at the step start
// ELAPSED (run); moves the event pointer IBPEV on.
void bypass_sources(const Settings& cfg, const RunState& run, const StepState& step,
                    TransportState& tr, SourceState& src);
// Every active fill advances its cells by FILLADV; excavations stop at the
// seawall line. DYFILL holds the change applied.
void apply_fills(const Settings& cfg, const RunState& run, const StepState& step,
                 TransportState& tr, SourceState& src);
// Adds the step's applied fill and source changes to VFILL, VEXCAV, VBPSRC and
// VBPSINK (m3), and clears QSRC for the next step.
void book_sources(const Settings& cfg, TransportState& tr, SourceState& src);

}  // namespace coastra

// Detached breakwaters acting on the shoreline: the breakwater line and shadow
// range of each breakwater, the per-step shadow marks (open water, touching
// salient, tombolo) with their seaward and landward limits, the wall code of a
// breakwater end joined to a groin, and the salient update that keeps the
// sand behind a breakwater from passing its line.
//   setup_structures, structure_marks, joined_groins, salient_update
#pragma once

#include "model/state.h"

namespace coastra {

inline constexpr double NO_LIMIT_SEAWARD = 99999.0;  // YDBW of a cell without a seaward limit (m)
inline constexpr double MARK_TOUCH = 0.001;          // gap within which a salient touches (m)

// Start-up, after the shoreline and seawall lines: YDB, DBS/DBE, DBCON, YSWALL0
// and the first marks (structure_marks). Reads the cell coordinates and the
// groin list (in).
void setup_structures(const Settings& cfg, const InputState& in, TransportState& tr,
                      SourceState& src);
// Each step, after the fills: DBMARK, YDBW, the tombolo part of YSWALL and the
// wall codes of joined breakwater ends, from the shoreline of the step.
void structure_marks(const Settings& cfg, const SourceState& src, TransportState& tr);
// After the groin factors: a groin wall whose breakwater end holds a touching
// salient (wall code 3) passes all transport.
void joined_groins(const Settings& cfg, const InputState& in, const SourceState& src,
                   TransportState& tr);
// After the shoreline update: caps each shadow group at its breakwater line by
// reducing the transport that enters a capped cell (sand is only moved, never
// made or lost).
void salient_update(const Settings& cfg, const SourceState& src, TransportState& tr);

}  // namespace coastra

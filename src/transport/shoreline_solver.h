// The shoreline-change solver: the explicit, upstream-first update of YSHORE
// with seawall limits, and the calm-step update by sources and boundaries.
#pragma once

#include "model/state.h"

namespace coastra {

// Updates YSHORE(1..NX) from QLS, QSRC and DTFAC; may reduce QLS at seawalls.
// Writes the source's share of each move (DYSRC); YNEW is its working array.
void update_shoreline(const Settings& cfg, TransportState& tr, SourceState& src,
                      ScratchState& scr);
// Calm step: sources and boundary displacements (DYL, DYR) only, held at the
// seawalls; keeps YSHORE as YSTART and writes the source's share (DYSRC).
void calm_update(const Settings& cfg, const InputState& in, const StepState& step,
                 TransportState& tr, SourceState& src);

}  // namespace coastra

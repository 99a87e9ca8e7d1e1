// The shoreline-change solver: the explicit, upstream-first update of YSHORE
// with seawall limits, and the calm-step update by sources and boundaries.
#pragma once

#include "model/state.h"

namespace coastra {

// Updates YSHORE(1..NX) from QLS, QSRC and DTFAC; may reduce QLS at seawalls.
void update_shoreline(ModelState& m);
// Calm step: sources and boundary displacements only, held at the seawalls.
void calm_update(ModelState& m);

}  // namespace coastra

// The shoreline-change solver: the explicit, upstream-first update of YSHORE
// with seawall limits, and the calm-step update by sources and boundaries.
#pragma once

#include "model/state.h"

namespace coastra {

// A check of cells lo..hi once their update is taken: the bits of a find, 0
// for none.
using CellCheck = int (*)(const ModelState& m, int lo, int hi);
// Updates YSHORE(1..NX) from QLS, QSRC and DTFAC; may reduce QLS at seawalls.
// With a check: runs it over each part of the cells in the update's region
// and returns the OR of its finds when no cell was held (every cell updated
// at once), else -1 (the check was not made on the final values).
int update_shoreline(ModelState& m, CellCheck check = nullptr);
// Calm step: sources and boundary displacements only, held at the seawalls.
void calm_update(ModelState& m);

}  // namespace coastra

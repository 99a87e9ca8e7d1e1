// The sediment-budget report at the end of the print file: per budget cell
// (a range of cells) the volume change with the fill, excavation and bypass
// volumes and the budget of each inlet it holds whole; per flux arrow (two
// walls) the volumes transported each way and the inlet transfers at a mouth.
#pragma once

#include "model/state.h"

namespace coastra {

// Refuses budget cells outside cells 1..NX and flux arrows outside walls
// 1..NX+1, naming the key and the entry (a reversed range is allowed: it sums
// nothing).
void check_budget_entries(const Settings& cfg);

// Writes the report to the print file (nothing without entries), then the
// sign-convention line and the closing line of asterisks.
void write_budget_report(ModelState& m);

}  // namespace coastra

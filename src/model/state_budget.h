// Model-state section of the sediment budget: the running source and sink
// volumes per cell that the budget report sums over its budget cells. They are
// written by the beach-fill and bypass bookkeeping of every step.
#pragma once

#include "model/constants.h"
#include "model/vec1.h"

namespace coastra {

struct BudgetState {
  Vec1<double> VFILL{MXCELL};   // beach-fill volume placed in the cell over the run (m3, >= 0)
  Vec1<double> VEXCAV{MXCELL};  // excavation volume removed from the cell (m3, <= 0)
  Vec1<double> VBPSRC{MXCELL};  // bypass volume placed in the cell (m3, >= 0)
  Vec1<double> VBPSNK{MXCELL};  // bypass volume removed from the cell (m3, <= 0)
};

}  // namespace coastra

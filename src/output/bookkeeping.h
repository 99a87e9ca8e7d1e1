// Per-step bookkeeping for the reports: transport volumes accumulated from the
// step's QLS, the volume change per cell and the extreme shoreline positions.
#pragma once

#include "model/state.h"

namespace coastra {

void accumulate_transport(ModelState& m);   // after the transport step
void volume_change(ModelState& m);          // VOLCELL, VOLLEN, VOLTOT
void update_extremes(ModelState& m);        // YMAX, YMIN

}  // namespace coastra

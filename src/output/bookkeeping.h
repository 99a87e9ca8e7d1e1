// Per-step bookkeeping for the reports: transport volumes accumulated from the
// step's QLS, the volume change per cell and the extreme shoreline positions.
#pragma once

#include "model/state.h"

namespace coastra {

// Start of the loop: extremes from the initial shoreline, period start date,
// yearly-report counters and breakwater KT statistics reset.
void init_bookkeeping(ModelState& m);
void accumulate_transport(ModelState& m);   // after the shoreline update: QNEG..QNET, V*P, V*
void volume_change(ModelState& m);          // VOLCELL, VOLLEN, VOLTOT
// After a calm step: what the end cells gained beyond their sources (their
// positions before the step yleft, yright, m) is booked as the transport
// volume of the boundary walls 1 and NX+1 when the boundary moves.
void book_calm_boundaries(ModelState& m, double yleft, double yright);
void update_extremes(ModelState& m);        // YMAX, YMIN

// Factor that turns a volume accumulated over the steps simulated so far into a
// mean annual volume: steps per year (365.25 x NSPERDAY) / steps simulated.
double annual_factor(const ModelState& m);
// Divisor of volumes from m3 to the user's volume unit: YDFAC^3 (1 or 0.9144^3).
double volume_divisor(const ModelState& m);

}  // namespace coastra

// Per-step bookkeeping for the reports: transport volumes accumulated from the
// step's QLS, the volume change per cell and the extreme shoreline positions.
#pragma once

#include "model/state.h"

namespace coastra {

// Start of the loop: extremes from the initial shoreline, period start date,
// yearly-report counters and breakwater KT statistics reset.
void init_bookkeeping(const Settings& cfg, const InputState& in, OutputState& out);
// After the shoreline update: QNEG, QPOS, QGROSS of tr from its QLS; QNET and
// the volumes V*P, V* of out.
void accumulate_transport(const Settings& cfg, const StepState& step, TransportState& tr,
                          OutputState& out);
// VOLCELL, VOLLEN, VOLTOT from YSHORE against YINIT.
void volume_change(const Settings& cfg, const InputState& in, const TransportState& tr,
                   OutputState& out);
// After a calm step: what the end cells gained beyond their sources (their
// positions before the step yleft, yright, m) is booked as the transport
// volume of the boundary walls 1 and NX+1 when the boundary moves (DYL, DYR).
void book_calm_boundaries(const Settings& cfg, const InputState& in, const TransportState& tr,
                          const StepState& step, OutputState& out, double yleft, double yright);
// YMAX, YMIN from YSHORE.
void update_extremes(const Settings& cfg, const TransportState& tr, OutputState& out);

// Factor that turns a volume accumulated over the steps simulated so far into a
// mean annual volume: steps per year (365.25 x NSPERDAY) / steps simulated
// (ISTEP, IRUNERR).
double annual_factor(const RunState& run, const InputState& in);
// Divisor of volumes from m3 to the user's volume unit: YDFAC^3 (1 or 0.9144^3).
double volume_divisor(const InputState& in);

}  // namespace coastra

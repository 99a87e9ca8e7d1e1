// Set-up of the tidal inlets: the refusals of inlet input that cannot be
// simulated, and the start-up values of every inlet (reservoir volumes, the
// straight start-up shoreline across the inlet and its jetty factors).
#pragma once

#include <string>

#include "model/state.h"

namespace coastra {

// Refuses, naming the key and the inlet: an inlet outside 3..NX-2 or reversed;
// an attachment range missing, outside the grid, reversed or on an inlet cell;
// fewer than four beach cells between two inlets; a groin strictly inside an
// inlet; IMOR outside 1..6; fills or bypass operations on inlet cells; two
// inlets of the same name. Needs the groin list (in) and the grid.
void check_inlets(const Settings& cfg, const InputState& in);

// Start-up values (after the shoreline is measured from the regional contour):
// volumes, YINLL/YINLR in metres from the regional contour, JBCL/JBCR, the
// start-up line of the inlet cells in YSHORE and YINIT, the running sums at 0.
// Returns the edges next to a groin wall without a groin to measure from
// (each gets a warning: output/stage_notices.h). Reads the groin list and
// the wall codes.
int setup_inlets(const Settings& cfg, InputState& in, TransportState& tr, InletState& inl);

// Name of inlet k: its INLNAME, or "Inlet" followed by k when none was given.
std::string inlet_name(const Settings& c, int k);

}  // namespace coastra

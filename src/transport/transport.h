// Longshore transport: start-up coefficients, the groin factors of a step and
// the transport step (transport at every wall, boundaries, shoreline update,
// accumulation of the step's splits).
#pragma once

#include "model/state.h"

namespace coastra {

// Start-up: APROF, A1W, YSHORE = YINIT, seawall lines, inlet cells, wall codes of
// the groins, the boundary movement flags.
void setup_transport(ModelState& m);
// Every step with waves, before the transport: TANB from DLTZ(1) and K2C.
void update_slope(ModelState& m);
// Every step with waves, before the transport: groin tip distances, GROINF, BYPG.
void groin_factors(ModelState& m);
// The transport step: DTFAC, QLS at every wall, boundary walls, shoreline update,
// QNEG/QPOS/QGROSS.
void transport_step(ModelState& m);

}  // namespace coastra

// Longshore transport: start-up coefficients, the groin factors of a step and
// the transport step (transport at every wall, boundaries, shoreline update,
// accumulation of the step's splits).
#pragma once

#include "model/state.h"

namespace coastra {

// Equilibrium-profile shape parameter APROF (m^1/3) of a median grain size (mm).
float profile_parameter(float D50);

// DTFAC of every cell for the current DT: 3600 DT / (berm height + closure depth) (s/m).
void time_factors(ModelState& m);

// Shoreline orientation of a wall with its marker offset of 999 removed (rad).
inline float wall_orientation(float ALPHAS) { return ALPHAS > 900.0F ? ALPHAS - 999.0F : ALPHAS; }

// Start-up: APROF, A1W, DTFAC, YINIT and YSHORE relative to the regional contour,
// seawall lines, inlet cells, wall codes of the groins, breakwater marks cleared.
void setup_transport(ModelState& m);
// Once per wave record that is not calm, after DLTZ: TANB from DLTZ(1) and K2C.
void update_slope(ModelState& m);
// Every step with waves, before the transport: groin tip distances, GROINF, BYPG.
void groin_factors(ModelState& m);
// The transport step: DTFAC, QLS at every wall, boundary walls, shoreline update,
// QNEG/QPOS/QGROSS.
void transport_step(ModelState& m);

}  // namespace coastra

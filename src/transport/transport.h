// Longshore transport: the start-up coefficients, the average nearshore slope
// of a wave record, and the transport step (QLS at every wall with its
// boundaries) and the step's split of the final transport by direction. The
// shoreline update that follows it is the solver's stage (shoreline_solver.h).
#pragma once

#include <cmath>

#include "model/state.h"

namespace coastra {

// Equilibrium-profile shape parameter APROF (m^1/3) of a median grain size (mm).
float profile_parameter(float D50);

// DTFAC of every cell for the current DT: 3600 DT / (berm height + closure depth) (s/m).
void time_factors(const Settings& cfg, const StepState& step, TransportState& tr);

// Start-up: APROF, A1W, DTFAC, YINIT and YSHORE relative to the regional contour,
// seawall lines, inlet cells, wall codes of the groins, breakwater marks cleared,
// the boundary walls' gradient rules. A refused input writes its console line
// (run) and stops.
void setup_transport(const Settings& cfg, const StepState& step, RunState& run, InputState& in,
                     TransportState& tr, ScratchState& scr);
// Once per wave record that is not calm, after DLTZ: TANB from DLTZ(1) and K2C.
void update_slope(const Settings& cfg, const WaveState& wv, TransportState& tr);
// The transport step, every step with waves after the groin factors: QLS
// at every wall (groins, shadow leakage, waves from behind), the boundary walls.
// Keeps YSHORE as YSTART. Moves no shoreline. Reads the groin list and the
// boundary movements (in); the working gradient rules are scr's.
void transport_step(const Settings& cfg, const InputState& in, const WaveState& wv,
                    TransportState& tr, ScratchState& scr);
// The split of a wall's final transport q (m3/s), after the shoreline update
// (which may cut QLS at seawalls), into its leftward part (<= 0),
// its rightward part (>= 0) and its size. 0 + q rather than q: it turns a
// negative zero transport into +0, so either part books +0.
struct TransportSplit {
  float neg, pos, gross;
};
[[gnu::always_inline]] inline TransportSplit split_of(float q) {
  const float v = 0.0F + q;
  const bool left = q <= 0.0F;
  return {left ? v : 0.0F, left ? 0.0F : v, std::fabs(v)};
}

}  // namespace coastra

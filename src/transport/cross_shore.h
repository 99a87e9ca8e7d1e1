// The cross-shore equilibrium response of the beach profile: every cell's
// shoreline relaxes towards an equilibrium position set by the wave energy, at
// a rate that differs for accretion and erosion. Routines:
// cross_shore_relaxation (the kernel of one cell), cross_shore_response (the
// stage).
#pragma once

#include "model/state.h"

namespace coastra {

// The excursion after a step of dt days under waves of height h (m), energy
// E = h^2 (m2): the exact solution of dYc/dt = k sqrt(E) (Yeq - Yc) with
// Yeq = -xss (E - eref), k the
// accretion rate kacc when Yeq > Yc, else the erosion rate kero (1/(m day)).
// Exact for any step length, so the response is stable whatever DT is.
double cross_shore_relaxation(double yc, float h, float xss, float eref, float kacc, float kero,
                              float dt_days);

// XSSHADE 1 at every wall (set-up): open water until a wave step says otherwise.
void setup_cross_shore(const Settings& cfg, CrossShoreState& xs);

// A new wave record: its equilibrium and shares are formed at the next step.
void request_cross_shore(CrossShoreState& xs);

// The stage of one step, after the longshore shoreline update on both the
// calm and the wave paths: the shoreline of every cell outside the inlets
// moves by the change of its excursion, held as a source is held (never
// landward of the seawall line, never seaward of a breakwater line that caps
// the cell). Reads HRF, and on a wave step (CALM of run) HB and HBD (for
// XSSHADE); writes YSHORE, YC, XSSHADE and the record's XSEQ, XSQ.
void cross_shore_response(const Settings& cfg, const RunState& run, const WaveState& wv,
                          const StepState& step, TransportState& tr, CrossShoreState& xs);

}  // namespace coastra

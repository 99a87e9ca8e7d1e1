// The inlet reservoir model: the routing of sand that enters an inlet through
// its ebb shoal, flood shoal, bypassing bar and attachment bar (kernel RESERV),
// the placement weights of an attachment range (BYPWTS), the mouth walls before
// the shoreline update and the inlet step after it (reservoirs, placement on
// the downdrift beach, inlet wall copies).
#pragma once

#include "model/state.h"

namespace coastra {

// Volumes (m3) of the reservoirs one call works on: the two shoals and the bar
// and attachment bar of the downdrift side.
struct ReservoirVolumes {
  double E = 0.0, F = 0.0, B = 0.0, A = 0.0;  // ebb, flood, bar, attachment (m3)
};

// One call of the reservoir routine: the volumes after it and its rates (m3/s).
struct ReservoirStep {
  ReservoirVolumes v;
  double QIE = 0.0;   // entering sand sent on to the ebb shoal at once
  double RET = 0.0;   // entering sand retained by the shoals
  double QCE = 0.0;   // ebb shoal's share of the retained sand
  double QFE = 0.0;   // flood-shoal overflow to the ebb shoal
  double QEB = 0.0;   // ebb shoal to bypassing bar
  double QBA = 0.0;   // bypassing bar to attachment bar
  double QOUT = 0.0;  // attachment bar to the beach
};

// Routes q (m3/s, >= 0) entering over dt seconds through volumes v towards
// their equilibrium volumes eq (all > 0). Conserves volume:
// q dt = change of E + F + B + A + QOUT dt.
ReservoirStep RESERV(double q, double dt, ReservoirVolumes v, const ReservoirVolumes& eq);

// Triangular placement weights of cells first..last into w(first..last):
// 1 - k/h with k the distance (cells) from the centre of the range and h half
// the cell count as a real number; a one-cell range gets 1.
void BYPWTS(int first, int last, Vec1<double>& w);

// Before the shoreline update: the mouth walls of every inlet carry the sand
// that reaches them (the open mouth passes on its neighbour's transport, a
// jetty its own), none when the neighbour's transport leaves the inlet.
void mouth_walls(const Settings& cfg, TransportState& tr);

// After the shoreline update, every step: the rates cleared, dredging; on a
// wave step the reservoirs of each inlet with the final mouth fluxes, the
// placement on the downdrift beaches and the inlet wall copies for the reports.
// Reads CALM and ISTEP (run) and STEPDATE (in) for the dredging windows.
void inlet_step(const Settings& cfg, const RunState& run, const InputState& in,
                const StepState& step, TransportState& tr, InletState& inl);

}  // namespace coastra

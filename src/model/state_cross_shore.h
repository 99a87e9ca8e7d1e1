// Model-state section of the cross-shore equilibrium response: the excursion
// of each cell's shoreline from where the longshore model alone would put it
// (with the cell's active height and width also the book of the sand traded
// with the profile, read by the sediment-budget report), the wave-energy
// factor of the walls behind structures and what a record gives each cell.
#pragma once

#include "model/constants.h"
#include "model/vec1.h"

namespace coastra {

struct CrossShoreState {
  Vec1<double> YC{MXCELL};        // cross-shore excursion Yc of the cell (m); 0 at the start,
                                  // the shoreline shift the response has applied so far
  Vec1<float> XSSHADE{MXWALL};    // wave-energy factor of the wall: (final / undiffracted
                                  // breaking height)^2 of the last wave step, 1 in open water
  // What the waves of the record give each cell, formed once per record (and
  // again when DT or the energy factors change), so that a step only closes
  // its share of the gap:
  Vec1<double> XSEQ{MXCELL};      // equilibrium excursion Yeq (m)
  Vec1<float> XSQ{MXCELL};        // share of the gap a step closes, 1 - e^-(k sqrt(E) dt), with
                                  // the accretion or the erosion rate as the record began
  float XSKMAX = 0.0F;             // largest accretion or erosion rate of the coast (1/(m day))
  bool XSDUE = true;              // the record's values are to be formed before the next step
  float XSDT = 0.0F;              // the step (hours) the shares were formed for
};

}  // namespace coastra

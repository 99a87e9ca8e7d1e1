// Model-state section of the cross-shore equilibrium response: the excursion
// of each cell's shoreline from where the longshore model alone would put it,
// the wave-energy factor of the walls behind structures, and the per-cell book
// of the sand traded with the profile (read by the sediment-budget report).
#pragma once

#include "model/constants.h"
#include "model/vec1.h"

namespace coastra {

struct CrossShoreState {
  Vec1<double> YC{MXCELL};        // cross-shore excursion Yc of the cell (m); 0 at the start,
                                  // the shoreline shift the response has applied so far
  Vec1<double> VXSHORE{MXCELL};   // sand the response brought onto the beach from the profile
                                  // inside the closure depth (m3); < 0 taken off it
  Vec1<float> XSSHADE{MXWALL};    // wave-energy factor of the wall: (final / undiffracted
                                  // breaking height)^2 of the last wave step, 1 in open water
};

}  // namespace coastra

// The final breaking waves of a time step: the energy merge of the breaking-wave
// components, the alongshore smoothing with its structure and inlet rules, and
// the group celerity and wave number at the final breaking depth.
#pragma once

#include "model/state.h"

namespace coastra {

// Energy merge of the breaking-wave components of a step: component icomp of
// ncomp, heights H and directions THETA over walls first..last. Component 1
// clears the accumulators and HBD, THETABD; the last one forms HBD = sqrt(sum H^2)
// and THETABD = asin(sum H^2 sin 2theta / sum H^2) / 2 at every wall.
void WAVSUM(ModelState& m, int icomp, int ncomp, const Vec1<float>& H, const Vec1<float>& THETA,
            int first, int last);
// WAVSUM at walls lo..hi of 0..NX+1 alone (a part of a region over the walls).
void WAVSUM_walls(ModelState& m, int icomp, int ncomp, const float* H, const float* THETA,
                  int first, int last, int lo, int hi);
// Alongshore smoothing of the merged HBD, THETABD at walls 2..NX by the structure
// states WALLTYPE and the shoreline states DBMARK, with the inlet rules (INLCELL);
// clears IGRADOFF there. Uses hbd_work, thetabd_work.
void final_smoothing(ModelState& m);
// Final CGB and KB at every wall from the event period and the breaking depth
// HBD / GAMMA (0 where that depth is 0).
void final_celerities(ModelState& m);
// A check of walls lo..hi once their values are final (1 for a find, else 0).
using WallCheck = int (*)(const ModelState& m, int lo, int hi);
// final_smoothing, then final_celerities (the smoothed values taken and the
// celerities formed in one region over the walls), and `check` over each
// part's walls in the same region, when one is given. Returns the OR of the
// parts' checks (0 without one).
int final_waves(ModelState& m, WallCheck check = nullptr);

}  // namespace coastra

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
// Uses the accumulators wavsum_h2, wavsum_s2.
void WAVSUM(const Settings& cfg, WaveState& wv, ScratchState& scr, int icomp, int ncomp,
            const Vec1<float>& H, const Vec1<float>& THETA, int first, int last);
// Alongshore smoothing of the merged HBD, THETABD at walls 2..NX by the structure
// states WALLTYPE and the shoreline states DBMARK, with the inlet rules (INLCELL);
// clears IGRADOFF there. Uses hbd_work, thetabd_work. The walls behind a
// breakwater with a touching salient follow touching_salient_waves.
void final_smoothing(const Settings& cfg, const TransportState& tr, const SourceState& src,
                     WaveState& wv, ScratchState& scr);
// Final CGB and KB at every wall from the event period and the breaking depth
// HBD / GAMMA (0 where that depth is 0).
void final_celerities(const Settings& cfg, WaveState& wv, ScratchState& scr);
// The final breaking waves: final_smoothing, then final_celerities.
void final_waves(const Settings& cfg, const TransportState& tr, const SourceState& src,
                 WaveState& wv, ScratchState& scr);

}  // namespace coastra

// The waves behind a detached breakwater whose salient touches it: the walls
// between touching cells are blocked, the walls beside them take the
// transmitted height, both with direction 0 and no height-gradient term.
//   touching_salient_waves
#pragma once

#include "model/state.h"

namespace coastra {

// On the smoothed working values hbd_work, thetabd_work; sets IGRADOFF. Reads
// HB, the shadow marks DBMARK, WALLTYPE and the breakwaters' shadow ranges.
void touching_salient_waves(const Settings& cfg, const TransportState& tr, const SourceState& src,
                            WaveState& wv, ScratchState& scr);

}  // namespace coastra

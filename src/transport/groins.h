// Groin factors of a wave step: tip distances from the shoreline on both sides,
// the bypassing fraction and the transport factor of every groin, and the
// potential transport at its wall.
#pragma once

#include "model/state.h"

namespace coastra {

// Every step with waves, after the final celerities and before the transport:
// DGL/DGR, BYPG, GROINF, QGPOT of every groin. Clips THETABD at each groin wall
// to +-PI/4 and keeps it clipped for the transport step. Reads the groin list (in).
void groin_factors(const Settings& cfg, const InputState& in, WaveState& wv, TransportState& tr);

}  // namespace coastra

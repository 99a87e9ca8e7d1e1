// Set-up checks of the diffracting groins and detached breakwaters that keep
// the wave computations behind them well defined: tip depths, breakwater tips
// in two ordered cells, fixed coefficients, and the properties a computed
// transmission method divides by. Failures are error stops naming key and number.
#pragma once

#include "model/state.h"

namespace coastra {

// Every diffracting groin has water at its tip: DDG (m) > 0. Groins are named
// by their line in the input (IDGORD).
void check_groin_depths(const Settings& cfg);

// Breakwater k (lengths already in metres): tip depths > 0, two different tip
// cells (reversed tips are swapped, each with its distance and depth), TRANDB in
// [0, 1], and with computed transmission its own KTMETDB line and the
// properties its method needs. Part of the set-up: the swap writes the settings.
void check_breakwater(Settings& cfg, int k);

}  // namespace coastra

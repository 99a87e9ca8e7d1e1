// Input checking and model set-up: reads the configuration, converts every
// length and volume to metres, derives the run length, checks the structures
// and boundaries and builds the structure lists.
#pragma once

#include <string>

#include "model/state.h"

namespace coastra {

// Returns 1 when the input is complete and valid, 0 when the configuration
// reader reported a failure; every other failure is an error stop.
int check_input_and_setup(ModelState& m, const std::string& cfgname);

// Everything after the configuration reader: unit factors and conversions, run
// length, grid, groin, breakwater, boundary and fill checks, and the groin,
// tip and diffracting-structure lists. Returns 1; failures are error stops.
int setup_after_config(ModelState& m);

// Shoreline displacement of a moving boundary per time step (m) for an amount
// movy (model length unit) given per run (movper 1), per day (2) or per time
// step (3), divided by NWAVES when that is not 1; 0 for any other period. Uses
// the current NSPERDAY, so it also serves when the time step changes.
double boundary_rate(const Settings& cfg, const InputState& in, const WaveState& wv, float movy,
                     int movper);

}  // namespace coastra

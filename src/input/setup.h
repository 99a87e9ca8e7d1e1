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

}  // namespace coastra

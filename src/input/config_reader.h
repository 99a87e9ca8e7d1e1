// The configuration reader: fills the settings record from the configuration
// file, opens the data files it names and applies the end-of-file checks and
// derivations.
#pragma once

#include <string>

#include "model/state.h"

namespace coastra {

// Reads the configuration file cfgname into the settings and opens the data
// files it names on the run's streams (the print file among them). Invalid
// input ends the run through the error stop; returns false only when a
// diffracting groin has no tip depth (the message is already on the console),
// true otherwise.
bool read_config(Settings& cfg, RunState& run, const std::string& cfgname);

}  // namespace coastra

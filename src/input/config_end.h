// The end-of-file steps of the configuration reader: groins sorted by wall,
// the required items, the diffracting-groin depth, the alongshore parameters
// expanded to the cell walls, the print file, the warnings flag, the units and
// the dates. Used by the configuration reader only.
#pragma once

#include <vector>

#include "model/state.h"

namespace coastra {

// What the end-of-file steps need to know of the lines read.
struct ReadFacts {
  float lastddg = 0.0F;        // the most recent DDG value (0 when none)
  std::vector<int> given;      // per key of the table: 0 never given with a value; for a
                               // list the items of its last line, else the lines given
  bool simdats8 = false;       // SIMDATS, SIMDATE written as eight digits
  bool simdate8 = false;
};

// Runs the end-of-file steps in their order on the settings (its notices and
// warnings on the console and in the print file). A failing check ends the
// run through the error stop; returns false only when a diffracting groin has
// no tip depth (the console already has the message), true otherwise.
bool config_end_of_file(Settings& cfg, RunState& run, const ReadFacts& facts);

}  // namespace coastra

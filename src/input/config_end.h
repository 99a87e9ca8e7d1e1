// The end-of-file steps of the configuration reader: groins sorted by wall,
// the required items, the diffracting-groin depth, the alongshore parameters
// expanded to the cell walls, the print file, the warnings flag, the units and
// the dates. Used by the configuration reader only.
#pragma once

#include "model/state.h"

namespace coastra {

// Runs the end-of-file steps in their order on m.cfg. lastddg is the most
// recent DDG value read (0 when none); simdats_given and simdate_given tell
// whether the file gave those dates. A failing check ends the run through the
// error stop; returns false only when a diffracting groin has no tip depth
// (the console already has the message), true otherwise.
bool config_end_of_file(ModelState& m, float lastddg, bool simdats_given, bool simdate_given);

}  // namespace coastra

// The run sequence: command-line check, set-up, the time-step loop and the
// end-of-run reports, in the order of the run; returns the process exit status.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "model/state.h"

namespace coastra {

// args are the command-line arguments after the program name.
int run_coastra(const std::vector<std::string>& args, std::ostream& console);

}  // namespace coastra

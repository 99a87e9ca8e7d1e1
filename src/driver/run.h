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
// The same run on a state the caller owns (a fresh one from make_state), which
// keeps the final shoreline and the run's books for inspection afterwards.
int run_coastra_on(ModelState& m, const std::vector<std::string>& args, std::ostream& console);

}  // namespace coastra

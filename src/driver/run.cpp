// The run sequence of a Coastra run, from the command-line check to the
// end-of-run reports.

#include "driver/run.h"

#include <filesystem>

#include "model/error_stop.h"

namespace coastra {

int run_coastra(const std::vector<std::string>& args, std::ostream& console) {
  auto state = make_state();
  ModelState& m = *state;
  m.CON = &console;
  try {
    m.con() << " Coastra Model Execution\n";
    if (args.size() != 1) {
      m.con() << " Please include a valid Coastra configuration file on the command line.\n";
      silent_stop();
    }
    const std::string& cfgname = args[0];
    std::error_code ec;
    if (!std::filesystem::exists(cfgname, ec)) {
      m.con() << " --> Cannot find the input file= " << cfgname << "\n";
      silent_stop();
    }
    m.con() << " Model run completed\n";
    return EXIT_NORMAL;
  } catch (const ErrorStop& e) {
    m.con() << error_line(e.message) << "\n";
    return EXIT_STOPPED;
  } catch (const SilentStop&) {
    return EXIT_STOPPED;
  }
}

}  // namespace coastra

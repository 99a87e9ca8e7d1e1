// The command line: `coastra [OPTIONS] CONFIG`. parse_command_line sorts the
// arguments into the run's options; usage_text, help_text and version_text are
// the texts of the usage line, --help and --version.
#pragma once

#include <string>
#include <vector>

namespace coastra {

struct CommandLine {
  enum Action { Run, Help, Version, Keys, BadOption } action = Run;
  std::vector<std::string> operands;   // what is left once the options are taken (the configuration file)
  std::string netcdf;                  // --netcdf FILE: the NetCDF file of the run, blank for none
  bool quiet = false;                  // --quiet: no progress line on a terminal
  bool stage_times = false;            // --stage-times: the time per stage of the loop
  bool strict = false;                 // --strict: a warning about a configuration line refuses
  bool check = false;                  // --check: set-up and its checks only, nothing written
  std::string simd;                    // --simd NAME: the instruction-set path, blank for the widest
  std::string bad;                     // the refused option (BadOption)
};

CommandLine parse_command_line(const std::vector<std::string>& args);
std::string usage_text();     // one line, ends with '\n'
std::string help_text();      // usage, options, files and exit statuses
std::string version_text();   // version and build: compiler, vector path, optional features

}  // namespace coastra

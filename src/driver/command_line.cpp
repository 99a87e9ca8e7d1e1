// The command line of coastra: options precede the configuration file, "--"
// ends them, and any other argument starting with "-" is refused. The version
// text names the build, so that a result can be traced to the program that
// made it.

#include "driver/command_line.h"

#include "model/simd_path.h"
#include "output/echo.h"
#include "output/netcdf_file.h"

namespace coastra {

CommandLine parse_command_line(const std::vector<std::string>& args) {
  CommandLine c;
  bool options_done = false;
  for (std::size_t k = 0; k < args.size(); ++k) {
    const std::string& a = args[k];
    // A lone "-" or anything after "--" or after the first operand is an operand:
    // options precede the configuration file.
    if (options_done || a.size() < 2 || a[0] != '-') {
      c.operands.push_back(a);
      options_done = true;
    } else if (a == "--") {
      options_done = true;
    } else if (a == "--help" || a == "-h") {
      c.action = CommandLine::Help;
      return c;
    } else if (a == "--version") {
      c.action = CommandLine::Version;
      return c;
    } else if (a == "--keys") {
      c.action = CommandLine::Keys;
      return c;
    } else if (a == "--strict") {
      c.strict = true;
    } else if (a == "--check") {
      c.check = true;
    } else if (a == "--quiet" || a == "-q") {
      c.quiet = true;
    } else if (a == "--stage-times") {
      c.stage_times = true;
    } else if (a == "--netcdf" && k + 1 < args.size()) {
      c.netcdf = args[++k];
    } else if (a.starts_with("--netcdf=") && a.size() > 9) {
      c.netcdf = a.substr(9);
    } else if (a == "--simd" && k + 1 < args.size()) {
      c.simd = args[++k];
    } else if (a.starts_with("--simd=") && a.size() > 7) {
      c.simd = a.substr(7);
    } else {
      c.action = CommandLine::BadOption;
      c.bad = a;
      return c;
    }
  }
  return c;
}

std::string usage_text() {
  return "Usage: coastra [--netcdf FILE] [--quiet] [--strict] [--check] [--stage-times] [--simd PATH] "
         "CONFIG\n";
}

std::string help_text() {
  return usage_text() +
         "Simulates the long-term evolution of a coastline with a one-line model.\n"
         "\n"
         "Options (before CONFIG):\n"
         "  --netcdf FILE  also write the run's results to the NetCDF file FILE,\n"
         "                 one record per save interval (needs a build with NetCDF)\n"
         "  --quiet, -q    no progress line, even on a terminal\n"
         "  --strict       refuse the run on any warning about a configuration line\n"
         "                 (a word that is no key, a key without its colon, a\n"
         "                 decimal comma, a list that leaves walls at 0)\n"
         "  --check        read the configuration and every input, make every\n"
         "                 set-up check and say what the run would do; writes no\n"
         "                 file; exit 0 when the run would start, 1 otherwise\n"
         "  --keys         print the reference of every configuration key and exit\n"
         "  --stage-times  after the run, the wall-clock time of each stage of the\n"
         "                 time step (wave input, breaking, diffraction, transport,\n"
         "                 solver, bookkeeping, output) on the console\n"
         "  --simd PATH    run the vectorised loops on the instruction-set path\n"
         "                 PATH: baseline, avx2 or avx512 (default: the widest the\n"
         "                 processor has, or the environment's COASTRA_SIMD); every\n"
         "                 path gives the same results\n"
         "  --help, -h     print this help and exit\n"
         "  --version      print the version and the build and exit\n"
         "\n"
         "Files:\n"
         "  CONFIG names the shoreline, wave and other input files and the print\n"
         "  file; the data files (.slo .qtr .off .mqn .mqr .mql .vcc .vcx) are named\n"
         "  after the print file and written beside it.\n"
         "\n"
         "Progress:\n"
         "  When standard output is a terminal, one line shows the share of steps\n"
         "  done, the simulated date and the elapsed and remaining wall time.\n"
         "\n"
         "Exit status:\n"
         "  0  the run completed\n"
         "  1  the run stopped (bad command line, input error or error stop)\n"
         "  3  the run stopped early during the time steps; the reports were written\n";
}

std::string version_text() {
  std::string compiler = "unknown compiler";
#if defined(__clang__)
  compiler = "clang " __clang_version__;
#elif defined(__GNUC__)
  compiler = "GCC " __VERSION__;
#endif
  // The kernels are compiled for every path; the run takes the widest this
  // processor has unless --simd or COASTRA_SIMD asks for another.
  const std::string vector_path = simd_path_name(simd_path());
  return "coastra " + std::string(VERSION_LINE) + "\n" + "compiler: " + compiler + "\n" +
         "vector path: " + vector_path + "\n" + "optional features: NetCDF " +
         (netcdf_available() ? "yes" : "no") + "\n";
}

}  // namespace coastra

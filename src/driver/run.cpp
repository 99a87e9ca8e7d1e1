// The run sequence of a Coastra run: command-line check, input and set-up,
// data files, the time-step loop and the end-of-run reports. The error stop
// and the silent stops unwind to here; their exit status tells a calling
// script that the run did not end normally. A run is complete only when every
// output, the console included, has been written and closed without error.

#include "driver/run.h"

#include <filesystem>

#include "driver/command_line.h"
#include "driver/progress.h"
#include "driver/stability.h"
#include "driver/time_loop.h"
#include "driver/wave_events.h"
#include "inlets/inlet_setup.h"
#include "input/clock.h"
#include "input/schedules.h"
#include "input/setup.h"
#include "input/shoreline_files.h"
#include "input/tidal_currents.h"
#include "input/water_levels.h"
#include "model/error_stop.h"
#include "model/simd_path.h"
#include "output/bookkeeping.h"
#include "output/budget_report.h"
#include "output/data_files.h"
#include "output/echo.h"
#include "output/format.h"
#include "output/inlet_files.h"
#include "output/netcdf_file.h"
#include "output/reports.h"
#include "output/warnings.h"
#include "output/wave_reports.h"
#include "transport/cross_shore.h"
#include "transport/structures.h"
#include "transport/transport.h"
#include "waves/breaking_statistics.h"
#include "waves/segment_table.h"
#include "waves/transmission.h"
#include "waves/wave_input.h"

namespace coastra {

namespace {

void check_command_line(ModelState& m, const std::vector<std::string>& args) {
  if (args.size() != 1) {
    lwrite(m.con(), "Please include a valid Coastra configuration ", "file on the command line.");
    silent_stop();
  }
  std::error_code ec;
  if (!std::filesystem::exists(args[0], ec)) {
    lwrite(m.con(), " --> Cannot find the input file= ", args[0]);
    silent_stop();
  }
}

// A run without a print file (no PRFILE, or PRTOUT false) drops its
// print-file text rather than holding it for the whole run.
void settle_print_file(ModelState& m) {
  if (!m.cfg.PRTOUT && m.PRTFILE.is_open()) {
    // PRFILE still names the data files; the print file itself stays empty.
    m.PRTFILE.close();
    m.PRTFILE.open(m.cfg.PRFILE, std::ios::trunc);
    m.PRTFILE.close();
  }
  if (m.PRT == &m.PRTPENDING || !m.cfg.PRTOUT) {
    m.PRTPENDING.str("");
    m.PRT = &m.NOPRINT;
  }
}

// The data files, the inlet files and the NetCDF file when one is asked for,
// each checked before any is truncated.
void open_outputs(ModelState& m, const std::string& cfgname) {
  check_inlet_file_names(m);
  open_netcdf_file(m, cfgname);
  open_data_files(m);
  open_inlet_files(m);
}

// Start-up up to the loop. Returns false when the run goes straight to its
// stop line and end-of-run reports (run error flag set during start-up).
bool start_up(ModelState& m, const std::string& cfgname) {
  if (check_input_and_setup(m, cfgname) != 1) silent_stop();
  check_inlets(m);
  check_budget_entries(m);
  settle_print_file(m);
  if (m.cfg.DX(1) == -1.0F) read_cell_spacing(m);
  build_cell_coordinates(m);
  read_shoreline_files(m);
  read_water_levels(m);
  read_tidal_currents(m);
  setup_wave_events(m);
  write_banner_and_echo(m);
  // Design note: the data files and the inlet files are created only when no
  // check of the input can refuse the run any more (the schedule, save-interval
  // and wave-step checks below end with an error stop): a refused run leaves
  // the files of an earlier run as they were. A run that stops early during
  // start-up still gets them, for its end-of-run records.
  if (m.IRUNERR != 0) {
    open_outputs(m, cfgname);
    return false;
  }
  transmission_setup(m);
  build_segment_table(m);
  setup_wave_input(m);
  if (m.IRUNERR != 0) {
    open_outputs(m, cfgname);
    return false;
  }
  setup_transport(m);
  setup_schedules(m);
  setup_structures(m);
  setup_cross_shore(m);
  setup_inlets(m);   // the start-up line of the inlet cells is their initial shoreline
  write_initial_shoreline(m);
  check_save_interval(m);
  check_wave_timestep(m);
  setup_stability(m);
  open_outputs(m, cfgname);
  init_bookkeeping(m);
  return true;
}

void end_of_run(ModelState& m) {
  if (m.IRUNERR != 0) lwrite(m.prt(), "EXECUTION STOPPED DURING TIME STEP", m.ISTEP);
  end_reports_transport(m);
  // The undiffracted statistics take the values in force at the end (the last
  // step's, which the breaking sequence leaves out) before they are reported.
  BRKSTAT(m);
  write_breaking_statistics(m);
  end_reports_shoreline(m);
  write_budget_report(m);
  write_total_volume_line(m);
  write_warning_counts(m);
  lwrite(m.con(), "<<<Simulation finished>>>");
  // Every output is complete and on disk before the run calls itself done: a
  // failed write or last flush ends the run naming the file.
  write_netcdf_final(m);
  close_netcdf_file(m, true);
  close_data_files(m);
  close_inlet_files(m);
  m.PRTFILE.flush();
  check_output_streams(m);
  lwrite(m.con(), "Model run completed");
  // Design note: the console is one of the run's outputs. One that cannot be
  // written (standard output on a full disk) fails the run too, so that a
  // calling script never reads exit 0 from a run whose log was lost; the
  // reason then goes to the print file, still open for it.
  m.con().flush();
  if (!m.con()) error_stop("Cannot write the console (standard output)");
  close_print_file(m);
}

// The 80-column error line of an error stop, on the console and, once the
// print file is open, in the print file too, so that it always says why the
// last attempt ended.
void report_error_stop(ModelState& m, const std::string& message) {
  const std::string line = error_line(message);
  m.con() << line << '\n';
  m.con().flush();
  if (m.PRT == &m.PRTFILE && m.PRTFILE.is_open()) {
    m.PRTFILE << line << '\n';
    m.PRTFILE.flush();
  }
}

// --simd NAME: the path of the vectorised loops for this run. A name that is
// not a path, or a path this processor cannot run, stops the run before any
// file is written.
void choose_simd_path(const std::string& name) {
  const auto p = parse_simd_path(name);
  if (!p) error_stop("--simd: unknown path " + name + " (baseline, avx2 or avx512)");
  if (!simd_path_supported(*p)) error_stop("--simd: this processor cannot run the " + name + " path");
  set_simd_path(*p);
}

}  // namespace

int run_coastra(const std::vector<std::string>& args, std::ostream& console) {
  auto state = make_state();
  return run_coastra_on(*state, args, console);
}

int run_coastra_on(ModelState& m, const std::vector<std::string>& args, std::ostream& console) {
  m.CON = &console;
  const CommandLine cl = parse_command_line(args);
  switch (cl.action) {
    case CommandLine::Help: console << help_text(); return console ? EXIT_NORMAL : EXIT_STOPPED;
    case CommandLine::Version: console << version_text(); return console ? EXIT_NORMAL : EXIT_STOPPED;
    case CommandLine::BadOption:
      console << "coastra: unknown option " << cl.bad << '\n' << usage_text();
      return EXIT_STOPPED;
    case CommandLine::Run: break;
  }
  m.NCFILE = cl.netcdf;
  m.TIMES.ON = cl.stage_times;
  // The progress line only on a console that is a terminal (main wraps it).
  m.PROGRESS = cl.quiet ? nullptr : dynamic_cast<TerminalConsole*>(console.rdbuf());
  if (m.PROGRESS != nullptr) m.PROGBUF.reserve(128);
  try {
    lwrite(m.con(), "Coastra Model Execution");
    if (!cl.simd.empty()) choose_simd_path(cl.simd);
    check_command_line(m, cl.operands);
    if (!m.NCFILE.empty() && !netcdf_available())
      error_stop("--netcdf: this build of coastra has no NetCDF library");
    if (start_up(m, cl.operands[0])) {
      lwrite(m.con(), "Time Simulation begins ...");
      run_time_loop(m);
    }
    end_of_run(m);
    return m.IRUNERR != 0 ? EXIT_EARLY_STOP : EXIT_NORMAL;
  } catch (const ErrorStop& e) {
    close_netcdf_file(m, false);   // what was written stays a valid file
    report_error_stop(m, e.message);
    return EXIT_STOPPED;
  } catch (const SilentStop&) {
    close_netcdf_file(m, false);
    return EXIT_STOPPED;
  }
}

}  // namespace coastra

// The run sequence of a Coastra run: command-line check, input and set-up,
// data files, the time-step loop and the end-of-run reports. The error stop
// and the silent stops unwind to here; their exit status tells a calling
// script that the run did not end normally. A run is complete only when every
// output, the console included, has been written and closed without error.

#include "driver/run.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "driver/command_line.h"
#include "driver/progress.h"
#include "driver/stability.h"
#include "driver/time_loop.h"
#include "driver/wave_events.h"
#include "inlets/inlet_setup.h"
#include "input/clock.h"
#include "input/file_checks.h"
#include "input/key_reference.h"
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
#include "output/stage_notices.h"
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

void check_command_line(RunState& run, const std::vector<std::string>& args) {
  if (args.size() != 1) {
    lwrite(*run.CON, "Please include a valid Coastra configuration ", "file on the command line.");
    silent_stop();
  }
  std::error_code ec;
  if (!std::filesystem::exists(args[0], ec)) {
    lwrite(*run.CON, " --> Cannot find the input file= ", args[0]);
    silent_stop();
  }
}

// A run without a print file (no PRFILE, or PRTOUT false) drops its
// print-file text rather than holding it for the whole run.
void settle_print_file(const Settings& cfg, RunState& run) {
  if (run.CHECKONLY) return;   // --check keeps the print-file text in memory
  if (!cfg.PRTOUT && run.PRTFILE.is_open()) {
    // PRFILE still names the data files; the print file itself stays empty.
    run.PRTFILE.close();
    run.PRTFILE.open(cfg.PRFILE, std::ios::trunc);
    run.PRTFILE.close();
  }
  if (run.PRT == &run.PRTPENDING || !cfg.PRTOUT) {
    run.PRTPENDING.str("");
    run.PRT = &run.NOPRINT;
  }
}

// The data files, the inlet files and the NetCDF file when one is asked for,
// each checked before any is truncated.
void open_outputs(ModelState& m, const std::string& cfgname) {
  check_inlet_file_names(m.cfg, m.run());
  // (--check stops after the name checks below: it writes no file.)
  // The NetCDF file is an output like the others: never an input, the print
  // file, a data file or an inlet's file, and never a FIFO.
  if (!m.NCFILE.empty()) {
    std::vector<std::string> inlet_files;
    for (int k = 1; m.cfg.INLETS && k <= std::min(m.cfg.NINL, MXINL); ++k)
      inlet_files.push_back(inlet_file_name(m.cfg, k));
    check_later_output("--netcdf", m.NCFILE, m.cfg.PRFILE, m.cfg.OUTBASE, m.INPUTNAMES,
                       inlet_files);
  }
  if (m.CHECKONLY) return;
  open_netcdf_file(m.cfg, m.input(), m.output(), cfgname);
  open_data_files(m.cfg, m.output());
  open_inlet_files(m.cfg, m.run(), m.inlets());
}

// Design note: a run whose data files would pass 2 GB (a short DTSAVE over a
// long run of many cells) is most likely a slip and can fill a disk; it is
// not refused but announced before it starts, on the console and in the
// print file. Bytes per record: slo, off, vcc, vcx (I8 + NX F14.2) and qtr
// (I8 + NX+1 F16.0), each with its line end.
void announce_data_size(const Settings& cfg, const InputState& in, const OutputState& out,
                        RunState& run) {
  const double nx = static_cast<double>(cfg.NX);
  const double records = std::floor(static_cast<double>(in.NTS) / static_cast<double>(out.NSTSAVE)) + 1.0;
  const double bytes = records * (4.0 * (9.0 + 14.0 * nx) + 9.0 + 16.0 * (nx + 1.0));
  constexpr double LIMIT = 2.0 * 1024.0 * 1024.0 * 1024.0;
  if (bytes <= LIMIT) return;
  std::string t = " WARNING. THE DATA FILES WILL HOLD ABOUT ";
  edit_f(t, bytes / 1.0E9, 0, 1);
  t += " GB: ";
  edit_i(t, static_cast<int>(records), 0);
  t += " RECORDS OF ";
  edit_i(t, cfg.NX, 0);
  t += " CELLS (DTSAVE)\n";
  *run.CON << t;
  *run.PRT << t;
}

// Start-up up to the loop. Returns false when the run goes straight to its
// stop line and end-of-run reports (run error flag set during start-up).
bool start_up(ModelState& m, const std::string& cfgname) {
  if (check_input_and_setup(m, cfgname) != 1) silent_stop();
  // DT and what counts in its steps, read-only settings from here.
  start_step_control(m.cfg, m.step());
  check_inlets(m.cfg, m.input());
  check_budget_entries(m.cfg);
  settle_print_file(m.cfg, m.run());
  if (m.cfg.DX(1) == -1.0F) read_cell_spacing(m.cfg, m.run(), m.input());
  build_cell_coordinates(m.cfg, m.input());
  read_shoreline_files(m.cfg, m.run(), m.input());
  read_water_levels(m.cfg, m.input(), m.run(), m.transport(), m.series());
  read_tidal_currents(m.cfg, m.input(), m.run(), m.series());
  setup_wave_events(m);
  write_banner_and_echo(m.cfg, m.input(), m.waves(), m.step(), m.run());
  // Design note: the data files and the inlet files are created only when no
  // check of the input can refuse the run any more (the schedule, save-interval
  // and wave-step checks below end with an error stop): a refused run leaves
  // the files of an earlier run as they were. A run that stops early during
  // start-up still gets them, for its end-of-run records.
  if (m.IRUNERR != 0) {
    open_outputs(m, cfgname);
    return false;
  }
  transmission_setup(m.cfg, m.structures());
  build_segment_table(m.cfg, m.input(), m.structures(), m.scratch());
  // A station fault sets IRUNERR.
  station_notices(m.run(), m.wave_input(), setup_wave_input(m.cfg, m.input(), m.wave_input()));
  if (m.IRUNERR != 0) {
    open_outputs(m, cfgname);
    return false;
  }
  setup_transport(m.cfg, m.step(), m.run(), m.input(), m.transport(), m.scratch());
  setup_schedules(m.cfg, m.input(), m.step(), m.run(), m.sources());
  setup_structures(m.cfg, m.input(), m.transport(), m.sources());
  setup_cross_shore(m.cfg, m.cross_shore());
  // The start-up line of the inlet cells is their initial shoreline.
  inlet_groin_notices(m.run(), setup_inlets(m.cfg, m.input(), m.transport(), m.inlets()));
  write_initial_shoreline(m.cfg, m.input(), m.run());
  check_save_interval(m.cfg, m.run(), m.output());
  announce_data_size(m.cfg, m.input(), m.output(), m.run());
  check_wave_timestep(m.step(), m.run(), m.waves());
  setup_stability(m.cfg, m.input(), m.step(), m.stability());
  open_outputs(m, cfgname);
  init_bookkeeping(m.cfg, m.input(), m.output());
  return true;
}

// The console line of a run that stopped early (exit status 3): the step and
// the reason in the words the print file has, so that a run read from its
// console alone never looks complete.
void report_early_stop(ModelState& m) {
  lwrite(m.prt(), "EXECUTION STOPPED DURING TIME STEP", m.ISTEP);
  if (m.STOPSHOWN) return;   // the stage wrote its own console line
  std::string t = m.ISTEP > 0 ? "STOPPED AT TIME STEP " : "STOPPED BEFORE THE FIRST TIME STEP";
  if (m.ISTEP > 0) edit_i(t, m.ISTEP, 0);
  t += ": ";
  t += m.STOPWHY.empty() ? "see the print file" : m.STOPWHY;
  lwrite(m.con(), t);
}

// --check: what the run would do, on the console, once every set-up check
// has passed, and every warning the print file was given.
// Design note: the print file's text is held in memory under --check (no
// file is written); its warning lines are shown here, since the console
// already has the set-up warnings and the echo of the input is not wanted.
void report_check(ModelState& m) {
  const Settings& c = m.cfg;
  std::ostream& con = m.con();
  std::string t = " CHECK: THE RUN WOULD START\n   grid: ";
  edit_i(t, c.NX, 0);
  t += " cells, walls 1-";
  edit_i(t, c.NX + 1, 0);
  if (c.DXFILE.empty() || c.DX(1) != -1.0F) {
    t += ", cell width ";
    edit_f(t, static_cast<double>(c.DX(1)), 0, 2);
    t += " m";
  } else {
    t += ", cell widths from " + c.DXFILE;
  }
  t += "\n   time: ";
  if (c.SIMDATS == c.SIMDATE) {
    t += "a run of steps";
  } else {
    edit_i(t, c.SIMDATS, 0);
    t += " to ";
    edit_i(t, c.SIMDATE, 0);
  }
  t += ", ";
  edit_i(t, m.NTS, 0);
  t += " steps of ";
  edit_f(t, static_cast<double>(c.DT), 0, 2);
  t += " hours, records every ";
  edit_i(t, m.NSTSAVE, 0);
  t += " steps\n   structures: ";
  const auto count = [&t](int n, const char* what) {
    edit_i(t, n, 0);
    t += what;
  };
  count(c.NNDG, " non-diffracting groins, ");
  count(c.NDG, " diffracting groins, ");
  count(c.NDB, " detached breakwaters, ");
  count(c.NSW, " seawalls\n   sources: ");
  count(c.NBF, " beach fills, ");
  if (c.BYPFILE.empty()) {
    count(c.NBP, " bypass operations, ");
  } else {
    t += "bypass events from " + c.BYPFILE + ", ";
  }
  count(c.INLETS ? c.NINL : 0, " inlets, ");
  count(c.DREDGING ? c.NDRED : 0, " dredging events\n   series: ");
  count(m.NSTATION, c.NWAVEV > 0 ? " dated wave stations, " : " undated wave stations, ");
  t += c.WLFILE.empty() ? "no water levels, " : "water levels from " + c.WLFILE + ", ";
  count(c.TIDES ? c.NTIDEFILES : 0, " tidal-current stations\n   files it would write:");
  std::vector<std::string> files;
  if (c.PRTOUT) files.push_back(c.PRFILE);
  for (const std::string& f : data_file_names(c.OUTBASE)) files.push_back(f);
  for (int k = 1; c.INLETS && k <= std::min(c.NINL, MXINL); ++k)
    files.push_back(inlet_file_name(m.cfg, k));
  if (!m.NCFILE.empty()) files.push_back(m.NCFILE);
  for (const std::string& f : files) t += " " + f;
  t += '\n';
  con << t;
  // The warnings the print file was given, one line each.
  std::istringstream prt(m.PRTPENDING.str());
  std::string line;
  while (std::getline(prt, line))
    if (line.find("WARNING") != std::string::npos) con << line << '\n';
}

void end_of_run(ModelState& m) {
  if (m.IRUNERR != 0) report_early_stop(m);
  end_reports_transport(m);
  // The undiffracted statistics take the values in force at the end (the last
  // step's, which the breaking sequence leaves out) before they are reported.
  BRKSTAT(m.cfg, m.input(), m.transport(), m.step(), m.waves());
  write_breaking_statistics(m.cfg, m.input(), m.waves(), m.step(), m.run());
  end_reports_shoreline(m.cfg, m.input(), m.waves(), m.transport(), m.output(), m.run());
  write_budget_report(m);
  write_total_volume_line(m.cfg, m.input(), m.output(), m.run());
  write_warning_counts(m.warnings(), m.run());
  lwrite(m.con(), "<<<Simulation finished>>>");
  // Every output is complete and on disk before the run calls itself done: a
  // failed write or last flush ends the run naming the file.
  write_netcdf_final(m.cfg, m.run(), m.input(), m.output());
  close_netcdf_file(m.output(), true);
  close_data_files(m.cfg, m.run(), m.output());
  close_inlet_files(m.inlets());
  m.PRTFILE.flush();
  check_output_streams(m.cfg, m.run(), m.output());
  lwrite(m.con(), "Model run completed");
  // Design note: the console is one of the run's outputs. One that cannot be
  // written (standard output on a full disk) fails the run too, so that a
  // calling script never reads exit 0 from a run whose log was lost; the
  // reason then goes to the print file, still open for it.
  m.con().flush();
  if (!m.con()) error_stop("Cannot write the console (standard output)");
  close_print_file(m.cfg, m.run());
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
    case CommandLine::Keys: write_key_reference(console); return console ? EXIT_NORMAL : EXIT_STOPPED;
    case CommandLine::BadOption:
      console << "coastra: unknown option " << cl.bad << '\n' << usage_text();
      return EXIT_STOPPED;
    case CommandLine::Run: break;
  }
  m.NCFILE = cl.netcdf;
  m.STRICT = cl.strict;
  m.CHECKONLY = cl.check;
  m.TIMES.ON = cl.stage_times;
  // The progress line only on a console that is a terminal (main wraps it).
  m.PROGRESS = cl.quiet ? nullptr : dynamic_cast<TerminalConsole*>(console.rdbuf());
  if (m.PROGRESS != nullptr) m.PROGBUF.reserve(128);
  try {
    lwrite(m.con(), "Coastra Model Execution");
    if (!cl.simd.empty()) choose_simd_path(cl.simd);
    check_command_line(m.run(), cl.operands);
    if (!m.NCFILE.empty() && !netcdf_available())
      error_stop("--netcdf: this build of coastra has no NetCDF library");
    if (m.CHECKONLY) {
      // The run would start only when start-up passed without a stop.
      if (!start_up(m, cl.operands[0])) {
        lwrite(m.con(), "CHECK: THE RUN WOULD STOP BEFORE ITS FIRST STEP: ", m.STOPWHY);
        return EXIT_STOPPED;
      }
      report_check(m);
      return m.con() ? EXIT_NORMAL : EXIT_STOPPED;
    }
    if (start_up(m, cl.operands[0])) {
      lwrite(m.con(), "Time Simulation begins ...");
      run_time_loop(m);
    }
    end_of_run(m);
    return m.IRUNERR != 0 ? EXIT_EARLY_STOP : EXIT_NORMAL;
  } catch (const ErrorStop& e) {
    close_netcdf_file(m.output(), false);   // what was written stays a valid file
    report_error_stop(m, e.message);
    return EXIT_STOPPED;
  } catch (const SilentStop&) {
    close_netcdf_file(m.output(), false);
    return EXIT_STOPPED;
  }
}

}  // namespace coastra

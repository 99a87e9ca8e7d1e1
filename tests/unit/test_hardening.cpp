// Refused input and failed output, end to end: each case is an otherwise valid
// run with one wrong line or one bad file. Each checks the exit status, the one
// ERROR line (console and print file), and that the files present before the
// run (inputs, and the data files of an earlier run) are unchanged.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <sstream>

#include "driver/run.h"
#include "input/clock.h"
#include "input/config_reader.h"
#include "model/error_stop.h"
#include "support/cases.h"
#include "support/run_helpers.h"
#include "support/state_rig.h"

namespace coastra {
namespace {

namespace fs = std::filesystem;

using test::last_line;
using Coast = test::RunCase;

// The run was refused with message: status 1, the ERROR line last on the
// console, no "Model run completed", and every file of `before` but those in
// `rewritten` unchanged.
void expect_refused(const test::RunResult& r, const std::string& message,
                    const std::map<std::string, std::string>& before,
                    const std::map<std::string, std::string>& after,
                    std::initializer_list<std::string> rewritten = {}) {
  EXPECT_EQ(r.status, EXIT_STOPPED) << r.console;
  EXPECT_EQ(last_line(r.console), error_line(message)) << r.console;
  EXPECT_EQ(test::count_of(r.console, "ERROR: "), 1);
  EXPECT_EQ(r.console.find("Model run completed"), std::string::npos);
  for (const auto& [name, text] : before) {
    if (std::find(rewritten.begin(), rewritten.end(), name) != rewritten.end()) continue;
    const auto it = after.find(name);
    ASSERT_NE(it, after.end()) << name << " was removed";
    EXPECT_EQ(it->second, text) << name << " was changed";
  }
}

// ---- write errors ----

TEST(WriteErrors, DataFileOnAFullDiskEndsTheRunNamingIt) {
  Coast c;
  fs::remove(c.dir.path() / "run.qtr");
  fs::create_symlink("/dev/full", c.dir.path() / "run.qtr");
  c.dir.write("run.cfg", c.cfg);
  const auto before = c.files();
  const auto r = c.run();
  // The data files are rewritten by this run; the inputs are not.
  expect_refused(
      r, "Cannot write output data file run.qtr", before, c.files(),
      {"run.out", "run.slo", "run.off", "run.mqn", "run.mqr", "run.mql", "run.vcc", "run.vcx"});
  EXPECT_EQ(last_line(c.dir.read("run.out")), error_line("Cannot write output data file run.qtr"));
}

TEST(WriteErrors, PrintFileOnAFullDiskEndsTheRunNamingIt) {
  Coast c;
  fs::create_symlink("/dev/full", c.dir.path() / "run.out");
  c.dir.write("run.cfg", c.cfg);
  const auto before = c.files();
  const auto r = c.run();
  expect_refused(
      r, "Cannot write print file run.out", before, c.files(),
      {"run.slo", "run.qtr", "run.off", "run.mqn", "run.mqr", "run.mql", "run.vcc", "run.vcx"});
}

// A console that cannot be written (a stream in error from the start, as
// standard output on a full disk) never leaves a run with exit 0.
TEST(WriteErrors, ConsoleThatCannotBeWrittenFailsTheRun) {
  auto run_with_bad_console = [](const test::ScratchDir& dir) {
    const fs::path here = fs::current_path();
    fs::current_path(dir.path());
    std::ostream bad(nullptr);  // badbit set: every write fails
    const int status = run_coastra({"run.cfg"}, bad);
    fs::current_path(here);
    return status;
  };
  Coast ok;
  ok.dir.write("run.cfg", ok.cfg);
  EXPECT_EQ(run_with_bad_console(ok.dir), EXIT_STOPPED);
  // The print file says why.
  EXPECT_EQ(last_line(ok.dir.read("run.out")),
            error_line("Cannot write the console (standard output)"));
  Coast failing;  // a run that fails anyway keeps its failure status
  failing.set("NX:", "NX: lots");
  failing.dir.write("run.cfg", failing.cfg);
  EXPECT_EQ(run_with_bad_console(failing.dir), EXIT_STOPPED);
  EXPECT_EQ(last_line(failing.dir.read("run.out")), error_line("Invalid config data: NX: lots"));
}

// ---- inputs are never overwritten ----

TEST(OutputNames, PrintOrDataFileThatIsAnInputIsRefusedNamingPrfile) {
  struct Case {
    std::string prfile;  // the PRFILE line's value
    std::string link;    // a link made before the run: "name>target" (or empty)
    std::string message;
  };
  for (const Case& k :
       {// the configuration itself, spelled another way
        Case{"./run.cfg", "", "PRFILE output ./run.cfg would overwrite input file run.cfg"},
        // an input named on a later line (INIFILE follows PRFILE)
        Case{"shore.dat", "", "PRFILE output shore.dat would overwrite input file shore.dat"},
        // a data file named from the print file that is the wave file by a link
        Case{"mine.out", "mine.off>waves.dat",
             "PRFILE output mine.off would overwrite input file waves.dat"},
        // a data file that is the configuration by a hard link
        Case{"cfg.out", "=cfg.vcx>run.cfg",
             "PRFILE output cfg.vcx would overwrite input file run.cfg"},
        // two outputs that are one file: the print file is the shoreline file
        Case{"run.slo", "", "PRFILE outputs run.slo and run.slo are one file"},
        // an earlier data file linked to another
        Case{"run.out", "run.mql>run.mqr", "PRFILE outputs run.mqr and run.mql are one file"}}) {
    Coast c;
    c.set("PRFILE:", "PRFILE: " + k.prfile);
    c.dir.write("run.cfg", c.cfg);
    if (!k.link.empty()) {
      const bool hard = k.link[0] == '=';
      const std::string spec = hard ? k.link.substr(1) : k.link;
      const std::string name = spec.substr(0, spec.find('>'));
      const std::string target = spec.substr(spec.find('>') + 1);
      fs::remove(c.dir.path() / name);
      if (hard) {
        fs::create_hard_link(c.dir.path() / target, c.dir.path() / name);
      } else {
        fs::create_symlink(target, c.dir.path() / name);
      }
    }
    const auto before = c.files();
    const auto r = c.run();
    SCOPED_TRACE(k.prfile);
    expect_refused(r, k.message, before, c.files());
    if (k.prfile == "run.out") {
      EXPECT_FALSE(c.dir.exists("run.out"));  // never created
    }
  }
}

// ---- one run's outputs ----

TEST(OneRunsOutputs, DataFileThatCannotBeCreatedLeavesTheEarlierOnesWhole) {
  Coast c;
  fs::remove(c.dir.path() / "run.vcx");
  fs::create_directory(c.dir.path() / "run.vcx");  // the last file cannot be created
  fs::remove(c.dir.path() / "run.mql");            // and one did not exist before
  c.dir.write("run.out", "print file of an earlier run\n");
  c.dir.write("run.cfg", c.cfg);
  const auto before = c.files();
  const auto r = c.run();
  expect_refused(r, "Cannot open output data file run.vcx", before, c.files(), {"run.out"});
  EXPECT_FALSE(c.dir.exists("run.mql"));  // not left behind empty
  // The print file is this attempt's and says why it ended.
  const std::string prt = c.dir.read("run.out");
  EXPECT_EQ(prt.find("earlier run"), std::string::npos);
  EXPECT_EQ(last_line(prt), error_line("Cannot open output data file run.vcx"));
}

TEST(OneRunsOutputs, ErrorStopAfterThePrintFileOpensIsWrittenThere) {
  Coast c;
  c.dir.write("run.out", "print file of an earlier run\n");
  c.cfg += "IXNDG: 5 groin\n";  // unreadable, read after PRFILE
  c.dir.write("run.cfg", c.cfg);
  const auto before = c.files();
  const auto r = c.run();
  expect_refused(r, "Invalid config data: IXNDG: 5 groin", before, c.files(), {"run.out"});
  const std::string prt = c.dir.read("run.out");
  EXPECT_EQ(prt.find("earlier run"), std::string::npos);
  EXPECT_EQ(last_line(prt), error_line("Invalid config data: IXNDG: 5 groin"));
}

// ---- runaway input ----

TEST(RunawayInput, OverLongDataLinesAreRefusedByFileAndLine) {
  // The shoreline file is read before the data files are opened; a wave record
  // is read by the first step, so that run's data files are its own.
  std::string shore = test::cell_file(std::vector<double>(20, 100.0));
  shore.insert(shore.find("\n", shore.find("line 4")) + 1, std::string(4100, ' '));  // line 5
  Coast s;
  s.dir.write("shore.dat", shore);
  s.dir.write("run.cfg", s.cfg);
  auto before = s.files();
  auto r = s.run();
  expect_refused(r, "Line over 4096 characters in initial shoreline file at line 5", before,
                 s.files(), {"run.out"});
  Coast w;
  w.dir.write("waves.dat", "1.0 7.0 10.0" + std::string(1100, ' ') + "\n");
  w.dir.write("run.cfg", w.cfg);
  before = w.files();
  r = w.run();
  const std::string msg = "Wave file line 1 over 1024 characters: waves.dat";
  expect_refused(r, msg, before, w.files(),
                 {"run.out", "run.slo", "run.qtr", "run.off", "run.mqn", "run.mqr", "run.mql",
                  "run.vcc", "run.vcx"});
  EXPECT_EQ(last_line(w.dir.read("run.out")), error_line(msg));
  // A line of exactly the bound is read.
  Coast c;
  c.dir.write("waves.dat", "1.0 7.0 10.0" + std::string(1024 - 12, ' ') + "\n");
  EXPECT_EQ(c.run().status, EXIT_NORMAL);
}

TEST(RunawayInput, InputNamesThatAreNotRegularFilesAreRefused) {
  struct Case {
    std::string key, line, message;
  };
  for (const Case& k :
       {Case{"INIFILE:", "INIFILE: fifo", "Cannot open initial shoreline file"},
        Case{"WAVEID:", "WAVEID: 1 10.0 0 /dev/zero", "Cannot open wave file"},
        Case{"DX:", "DX: -1\nDXFILE: adir", "Cannot open variable grid cell spacing file"},
        Case{"INIFILE:", "INIFILE: adir", "Cannot open initial shoreline file"}}) {
    Coast c;
    ASSERT_EQ(::mkfifo(c.dir.file("fifo").c_str(), 0600), 0);
    fs::create_directory(c.dir.path() / "adir");
    c.set(k.key, k.line);
    c.dir.write("run.cfg", c.cfg);
    const auto before = c.files();
    const auto r = c.run();
    SCOPED_TRACE(k.line);
    expect_refused(r, k.message, before, c.files(), {"run.out"});
  }
  // The configuration itself.
  Coast c;
  ASSERT_EQ(::mkfifo(c.dir.file("fifo.cfg").c_str(), 0600), 0);
  const auto before = c.files();
  const auto r = test::run_in(c.dir, {"fifo.cfg"});
  expect_refused(r, "Cannot open config file", before, c.files());
}

TEST(RunawayInput, MissingNegativeOrYearZeroDatesAreRefusedNamingTheKey) {
  struct Case {
    std::string key, line, message;
  };
  for (const Case& k :
       {Case{"SIMDATS:", "* no start date", "SIMDATS (start date) omitted in config file"},
        Case{"SIMDATE:", "SIMDATE:", "SIMDATE (end date) omitted in config file"},
        Case{"SIMDATS:", "SIMDATS: -20200101", "SIMDATS must not be negative"},
        Case{"SIMDATE:", "SIMDATS: -5\nSIMDATE: -5", "SIMDATS must not be negative"},
        // 0101 of year 0 up to 2020: two thousand years of days
        Case{"SIMDATS:", "SIMDATS: 101",
             "SIMDATS: a calendar run must start in year 1 or later"}}) {
    Coast c;
    c.set(k.key, k.line);
    c.dir.write("run.cfg", c.cfg);
    const auto before = c.files();
    const auto r = c.run();
    SCOPED_TRACE(k.line);
    expect_refused(r, k.message, before, c.files(), {"run.out"});
  }
}

TEST(RunawayInput, LongRunIsAnnouncedOnceBeforeItStarts) {
  // 201 years of daily steps: 73 416 steps (201 x 365 + 51 leap days, the
  // years 2020..2220 divisible by 4), saved every 4096 steps.
  Coast c;
  c.set("SIMDATE:", "SIMDATE: 22210101");
  c.set("DT:", "DT: 24");
  c.set("DTSAVE:", "DTSAVE: 98304");
  const auto r = c.run();
  EXPECT_EQ(r.status, EXIT_NORMAL) << r.console;
  // 73 416 x 24 h / 8766 h per year = 201.00 years.
  const std::string warn = " WARNING. LONG RUN: 73416 STEPS OF 24.00 HOURS, 201.0 YEARS";
  EXPECT_EQ(test::count_of(r.console, warn), 1);
  const auto con = test::lines_of(r.console);
  const auto at = std::find(con.begin(), con.end(), warn);
  const auto begins = std::find(con.begin(), con.end(), " Time Simulation begins ...");
  EXPECT_LT(at - con.begin(), begins - con.begin());
  EXPECT_EQ(test::count_of(c.dir.read("run.out"), warn), 1);
  // 10 million steps and one: announced by its step count (set-up only here).
  test::StateRig s;
  s.m.cfg.SIMDATS = s.m.cfg.SIMDATE = 10000001;
  s.m.cfg.DT = 0.1F;  // 1000000.1 hours: 114.08 years, under the year limit
  set_run_length(s.m);
  EXPECT_EQ(s.con.str(), " WARNING. LONG RUN: 10000001 STEPS OF 0.10 HOURS, 114.1 YEARS\n");
  test::StateRig short_run;  // 10 million steps exactly: no warning
  short_run.m.cfg.SIMDATS = short_run.m.cfg.SIMDATE = 10000000;
  short_run.m.cfg.DT = 0.1F;
  set_run_length(short_run.m);
  EXPECT_EQ(short_run.con.str(), "");
}

// ---- configuration lines are never cut ----

TEST(ConfigLines, ValuesBeyondColumn255AreReadAndOverLongLinesRefused) {
  // 54 cells, one THETADEL value each: 54 x 8 = 432 characters.
  test::ScratchDir dir;
  dir.write("shore.dat", "0\n");
  dir.write("waves.dat", "0\n");
  std::string deltas = "THETADEL:", ends = "ITHETADELEND:";
  for (int i = 1; i <= 54; ++i) {
    deltas += " " + std::to_string(i % 10) + ".250,";  // 7 characters, value i mod 10 + 0.25
    if (i < 54) ends += " " + std::to_string(i);
  }
  dir.write("run.cfg",
            "COASTRA:\nINIFILE: shore.dat\nWAVEID: 1 10.0 0 waves.dat\nPRFILE: run.prt\n"
            "CSTUNITS: (m)\nNX: 54\nDT: 1\nDTSAVE: 24\nSIMDATS: 20000101\n"
            "SIMDATE: 20010101\n" +
                deltas + "\n" + ends + "\n");
  ASSERT_GT(deltas.size(), 255U);
  test::StateRig r;
  const fs::path here = fs::current_path();
  fs::current_path(dir.path());
  const std::string stop = test::stop_message([&] { read_config(r.m, "run.cfg"); });
  fs::current_path(here);
  ASSERT_EQ(stop, "(no stop)");
  for (int i = 1; i <= 54; ++i)  // wall i takes segment i; wall 55 takes the last
    EXPECT_EQ(r.m.cfg.THETADEL(i), static_cast<float>(i % 10) + 0.25F) << i;
  EXPECT_EQ(r.m.cfg.THETADEL(55), 4.25F);

  // One line over 64 KiB (line 26 of the configuration): refused by number
  // before anything is opened, so the earlier print file is whole too.
  Coast c;
  c.dir.write("run.out", "print file of an earlier run\n");
  c.cfg += "TITLE: " + std::string(65536, 'x') + "\n";
  ASSERT_EQ(test::lines_of(c.cfg).size(), 26U);
  c.dir.write("run.cfg", c.cfg);
  const auto before = c.files();
  const auto res = c.run();
  expect_refused(res, "Configuration line 26 longer than 65536 characters", before, c.files());
  // A file name longer than its 255 characters is refused, not cut.
  Coast n;
  n.set("INIFILE:", "INIFILE: " + std::string(256, 's'));
  n.dir.write("run.cfg", n.cfg);
  const auto nbefore = n.files();
  const auto nres = n.run();
  expect_refused(nres, "INIFILE name longer than 255 characters", nbefore, n.files(), {"run.out"});
}

// ---- step-count runs ----

TEST(StepCountRuns, AnyCountUpToTheDateThresholdRuns) {
  // 99 (month 0, day 99) and 1399 (month 13, day 99) were refused with the
  // start-date message before. DT 6 h, DTSAVE 24 h: a record every 4 steps,
  // plus the final record when the count is not a multiple of 4.
  for (const int n : {99, 1399}) {
    Coast c;
    c.set("SIMDATS:", "SIMDATS: " + std::to_string(n));
    c.set("SIMDATE:", "SIMDATE: " + std::to_string(n));
    const auto r = c.run();
    ASSERT_EQ(r.status, EXIT_NORMAL) << n << r.console;
    EXPECT_EQ(test::read_records(c.dir.read("run.slo")).size(), static_cast<std::size_t>(n / 4 + 1))
        << n;
    std::ostringstream last;
    last << "OUTPUT LAST TIMESTEP NO." << std::string(n < 100 ? 6 : 4, ' ') << n;
    EXPECT_NE(c.dir.read("run.out").find(last.str()), std::string::npos) << n;
  }
  // A calendar end date with an equal start is still refused.
  Coast c;
  c.set("SIMDATS:", "SIMDATS: 20200401");
  const auto before = c.files();
  const auto r = c.run();
  expect_refused(r, " ERROR. SIMULATION ENDING DATE MUST BE LATER THAN", before, c.files(),
                 {"run.out", "run.cfg"});
}

}  // namespace
}  // namespace coastra

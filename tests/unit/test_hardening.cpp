// Refused input and failed output, end to end: each case is an otherwise valid
// run with one wrong line or one bad file. Each checks the exit status, the one
// ERROR line (console and print file), and that the files present before the
// run (inputs, and the data files of an earlier run) are unchanged.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>

#include "driver/run.h"
#include "input/clock.h"
#include "model/error_stop.h"
#include "support/cases.h"
#include "support/refusal.h"
#include "support/run_helpers.h"
#include "support/state_rig.h"

namespace coastra {
namespace {

namespace fs = std::filesystem;

using test::expect_refused;
using test::last_line;
using Coast = test::RunCase;

const std::vector<std::string> ALL_OUTPUTS = {"run.out", "run.slo", "run.qtr", "run.off", "run.mqn",
                                              "run.mqr", "run.mql", "run.vcc", "run.vcx"};

// ---- write errors ----

TEST(WriteErrors, FullDiskEndsTheRunNamingTheFile) {
  // A data file on a full disk: the data files and the print file are this
  // run's (the print file ends with the error); the inputs are untouched.
  Coast d;
  fs::remove(d.dir.path() / "run.qtr");
  fs::create_symlink("/dev/full", d.dir.path() / "run.qtr");
  expect_refused(d, "Cannot write output data file run.qtr", ALL_OUTPUTS);
  // The print file on a full disk.
  Coast p;
  fs::create_symlink("/dev/full", p.dir.path() / "run.out");
  std::vector<std::string> data(ALL_OUTPUTS.begin() + 1, ALL_OUTPUTS.end());
  expect_refused(p, "Cannot write print file run.out", data);
}

// A console that cannot be written (a stream in error from the start, as
// standard output on a full disk) never leaves a run with exit 0.
TEST(WriteErrors, ConsoleThatCannotBeWrittenFailsTheRun) {
  auto run_with_bad_console = [](Coast& c) {
    c.dir.write("run.cfg", c.cfg);
    const fs::path here = fs::current_path();
    fs::current_path(c.dir.path());
    std::ostream bad(nullptr);  // badbit set: every write fails
    const int status = run_coastra({"run.cfg"}, bad);
    fs::current_path(here);
    return status;
  };
  Coast ok;
  EXPECT_EQ(run_with_bad_console(ok), EXIT_STOPPED);
  // The print file says why.
  EXPECT_EQ(last_line(ok.dir.read("run.out")),
            error_line("Cannot write the console (standard output)"));
  Coast failing;  // a run that fails anyway keeps its failure status
  failing.set("NX:", "NX: lots");
  EXPECT_EQ(run_with_bad_console(failing), EXIT_STOPPED);
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
    SCOPED_TRACE(k.prfile);
    Coast c;
    c.set("PRFILE:", "PRFILE: " + k.prfile);
    c.dir.write("run.cfg", c.cfg);  // the target of the hard link
    if (!k.link.empty()) {
      const bool hard = k.link[0] == '=';
      const std::string link = hard ? k.link.substr(1) : k.link;
      const fs::path name = c.dir.path() / link.substr(0, link.find('>'));
      const std::string target = link.substr(link.find('>') + 1);
      fs::remove(name);
      if (hard) {
        fs::create_hard_link(c.dir.path() / target, name);
      } else {
        fs::create_symlink(target, name);
      }
    }
    expect_refused(c, k.message, {});
    if (k.prfile == "run.out") {
      EXPECT_FALSE(c.dir.exists("run.out"));  // never created
    }
  }
}

// ---- one run's outputs ----

TEST(OneRunsOutputs, StopAfterThePrintFileOpensIsWrittenInThisAttemptsPrintFile) {
  // The last data file cannot be created (and one did not exist before): the
  // earlier data files stay whole and the missing one is not left behind empty.
  Coast c;
  fs::remove(c.dir.path() / "run.vcx");
  fs::create_directory(c.dir.path() / "run.vcx");
  fs::remove(c.dir.path() / "run.mql");
  c.dir.write("run.out", "print file of an earlier run\n");
  expect_refused(c, "Cannot open output data file run.vcx");
  EXPECT_FALSE(c.dir.exists("run.mql"));
  EXPECT_EQ(c.dir.read("run.out").find("earlier run"), std::string::npos);
  // An unreadable line read after PRFILE.
  Coast g;
  g.dir.write("run.out", "print file of an earlier run\n");
  g.cfg += "IXNDG: 5 groin\n";
  expect_refused(g, "Invalid config data: IXNDG: 5 groin");
  EXPECT_EQ(g.dir.read("run.out").find("earlier run"), std::string::npos);
}

// ---- runaway input ----

TEST(RunawayInput, OverLongDataLinesAreRefusedByFileAndLine) {
  // The shoreline file is read before the data files are opened; a wave record
  // is read by the first step, so that run's data files are its own.
  std::string shore = test::cell_file(std::vector<double>(20, 100.0));
  shore.insert(shore.find("\n", shore.find("line 4")) + 1, std::string(4100, ' '));  // line 5
  Coast s;
  s.dir.write("shore.dat", shore);
  expect_refused(s, "Line over 4096 characters in initial shoreline file at line 5");
  Coast w;
  w.dir.write("waves.dat", "1.0 7.0 10.0" + std::string(1100, ' ') + "\n");
  expect_refused(w, "Wave file line 1 over 1024 characters: waves.dat", ALL_OUTPUTS);
  // A line of exactly the bound is read.
  Coast c;
  c.dir.write("waves.dat", "1.0 7.0 10.0" + std::string(1024 - 12, ' ') + "\n");
  EXPECT_EQ(c.run().status, EXIT_NORMAL);
}

TEST(RunawayInput, OneWrongLineIsRefusedNamingTheKey) {
  test::expect_line_refusals({
      // names that are not regular files (a fifo, a device, a directory)
      {"INIFILE:", "INIFILE: fifo", "Cannot open initial shoreline file"},
      {"WAVEID:", "WAVEID: 1 10.0 0 /dev/zero", "Cannot open wave file"},
      {"DX:", "DX: -1\nDXFILE: adir", "Cannot open variable grid cell spacing file"},
      {"INIFILE:", "INIFILE: adir", "Cannot open initial shoreline file"},
      // missing, negative or year-0 dates
      {"SIMDATS:", "* no start date", "SIMDATS (start date) omitted in config file"},
      {"SIMDATE:", "SIMDATE:", "SIMDATE (end date) omitted in config file"},
      {"SIMDATS:", "SIMDATS: -20200101", "SIMDATS must not be negative"},
      {"SIMDATE:", "SIMDATS: -5\nSIMDATE: -5", "SIMDATS must not be negative"},
      // 0101 of year 0 up to 2020: two thousand years of days
      {"SIMDATS:", "SIMDATS: 101", "SIMDATS must be a date of eight digits YYYYMMDD"},
      // a calendar end date equal to the start
      {"SIMDATS:", "SIMDATS: 20200401", " ERROR. SIMULATION ENDING DATE MUST BE LATER THAN"},
      // a file name longer than its 255 characters is refused, not cut
      {"INIFILE:", "INIFILE: " + std::string(256, 's'), "INIFILE name longer than 255 characters"},
  });
  // One line over 64 KiB (line 26): refused by number before anything is
  // opened, so an earlier print file is whole too.
  Coast c;
  c.dir.write("run.out", "print file of an earlier run\n");
  c.cfg += "TITLE: " + std::string(65536, 'x') + "\n";
  expect_refused(c, "Configuration line 26 longer than 65536 characters", {});
  // The configuration itself.
  Coast f;
  ASSERT_EQ(::mkfifo(f.dir.file("fifo.cfg").c_str(), 0600), 0);
  expect_refused(f, "Cannot open config file", {}, {"fifo.cfg"});
}

TEST(RunawayInput, LongRunIsAnnouncedOnceBeforeItStarts) {
  // 201 years of daily steps: 73 414 steps (201 x 365 + 49 leap days, the
  // years 2020..2220 divisible by 4 but 2100 and 2200), saved every 4096 steps.
  Coast c;
  c.set("SIMDATE:", "SIMDATE: 22210101");
  c.set("DT:", "DT: 24");
  c.set("DTSAVE:", "DTSAVE: 98304");
  const auto r = c.run();
  EXPECT_EQ(r.status, EXIT_NORMAL) << r.console;
  // 73 414 x 24 h / 8766 h per year = 200.99 years.
  const std::string warn = " WARNING. LONG RUN: 73414 STEPS OF 24.00 HOURS, 201.0 YEARS";
  EXPECT_EQ(test::count_of(r.console, warn), 1);
  const auto con = test::lines_of(r.console);
  const auto at = std::find(con.begin(), con.end(), warn);
  const auto begins = std::find(con.begin(), con.end(), " Time Simulation begins ...");
  EXPECT_LT(at - con.begin(), begins - con.begin());
  EXPECT_EQ(test::count_of(c.dir.read("run.out"), warn), 1);
  // 10 million steps and one: announced by its step count (set-up only here);
  // 10 million steps exactly: no warning.
  for (const int steps : {10000001, 10000000}) {
    test::StateRig s;
    s.m.cfg.SIMDATS = s.m.cfg.SIMDATE = steps;
    s.m.DT = s.m.cfg.DT = 0.1F;  // 1000000.1 hours: 114.08 years, under the year limit
    set_run_length(s.m.cfg, s.m.run(), s.m.input());
    EXPECT_EQ(s.con.str(), steps > 10000000
                               ? " WARNING. LONG RUN: 10000001 STEPS OF 0.10 HOURS, 114.1 YEARS\n"
                               : "");
  }
}

}  // namespace
}  // namespace coastra

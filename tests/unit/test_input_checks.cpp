// A mistake in the configuration or a bad file never becomes a quiet result,
// end to end: one wrong line or one bad file in an otherwise valid run case is
// refused (exit status, the one ERROR line on the console and in the print
// file, the inputs and an earlier run's data files unchanged) or warned (exit 0,
// the warning once on the console and in the print file); the output locks,
// names and write errors, --check, the key reference, runaway input and the
// bound on warning floods.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "driver/run.h"
#include "input/config_lint.h"
#include "input/key_reference.h"
#include "model/error_stop.h"
#include "output/netcdf_file.h"
#include "support/cases.h"
#include "support/refusal.h"
#include "support/run_helpers.h"

namespace coastra {
namespace {

namespace fs = std::filesystem;
using test::expect_refused;
using test::last_line;
using test::RunCase;

const std::vector<std::string> ALL_OUTPUTS = {"run.out", "run.slo", "run.qtr", "run.off", "run.mqn",
                                              "run.mqr", "run.mql", "run.vcc", "run.vcx"};

// One line of the run case replaced (key "" appends the line) and the outcome:
// status 1 and the ERROR message, or status 0 and the warning line.
struct LineCase {
  const char* key;
  std::string line;
  int status;
  std::string message;
  std::vector<std::string> args = {"run.cfg"};
};

void check_line_case(const LineCase& k) {
  SCOPED_TRACE(k.line);
  RunCase c;
  c.edit(k.key, k.line);
  if (k.status == EXIT_STOPPED) {
    test::expect_refused(c, k.message, {"run.out"}, k.args);
    return;
  }
  c.dir.write("run.cfg", c.cfg);
  const test::RunResult r = test::run_in(c.dir, k.args);
  EXPECT_EQ(r.status, k.status) << r.console;
  EXPECT_EQ(test::count_of(r.console, k.message + "\n"), 1) << r.console;
  EXPECT_TRUE(test::has_line(c.dir.read("run.out"), k.message));
}

// The base case's lines: COASTRA 1, ..., NX 9, DX 10, SIMDATS 11, DT 13, K1 15,
// HAMP 17, DCLOS 21, GAMMA 23, RBCTYPE 25 (an appended line is 26).
TEST(ConfigChecks, MisspeltMissingAndMalformedLinesAreNamed) {
  const std::string strict_gama = "Configuration line 23: GAMA is no key, line ignored (GAMMA?)";
  const LineCase cases[] = {
      // keys that are no keys, with the key they most resemble
      {"GAMMA:", "GAMA: 0.7", 0, " WARNING. " + strict_gama},
      {"", "NOTE: sandy coast", 0, " WARNING. Configuration line 26: NOTE is no key, line ignored"},
      {"GAMMA:", "GAMA: 0.7", 1, strict_gama, {"--strict", "run.cfg"}},
      // K1 misspelt, or without its colon: warned, then refused as missing
      {"K1:", "Kl: 0.5", 1, "K1 (transport coefficient) omitted in config file"},
      {"HAMP:", "HAMP 1.0", 1, "HAMP (wave height factor) omitted in config file"},
      {"GAMMA:", "GAMMA 0.6", 0, " WARNING. Configuration line 23: GAMMA without its colon, line ignored"},
      // required keys not given
      {"CSTUNITS:", "", 1, "CSTUNITS (model length unit) omitted in config file"},
      {"WAVUNITS:", "", 1, "WAVUNITS (wave height unit) omitted in config file"},
      {"THETAAMP:", "", 1, "THETAAMP (wave direction factor) omitted in config file"},
      {"BERMHT:", "", 1, "BERMHT (berm height) omitted in config file"},
      // alongshore lists that leave walls at 0 or drop values
      {"K1:", "K1: 0.6\nIK1END: 15", 0,
       " WARNING. K1 leaves walls 16-21 at 0: give one value more than IK1END cells"},
      {"HAMP:", "HAMP: 1 1.2 0.8\nIHAMPEND: 20", 0,
       " WARNING. HAMP values 2-3 dropped: IHAMPEND ends the coast at segment 1"},
      // a decimal comma, a scalar given two values
      {"DX:", "DX: 50,5", 0,
       " WARNING. Configuration line 10: DX 50,5 read as separate values (a comma separates values)"},
      {"K1:", "K1: 0,6 0,4", 0,
       " WARNING. Configuration line 15: K1 0,6 read as separate values (a comma separates values)"},
      {"DT:", "DT: 6 12", 0, " WARNING. Configuration line 13: DT holds 2 values; only the first is read"},
      // dates that are no eight-digit calendar dates
      {"SIMDATS:", "SIMDATS: 2020010", 1, "SIMDATS must be a date of eight digits YYYYMMDD"},
      {"SIMDATE:", "SIMDATE: 2020040100", 1, "SIMDATE must be a date of eight digits YYYYMMDD"},
      // lengths no data file can print
      {"", "BFDATS: 20200105\nBFDATE: 20200110\nIBFS: 5\nIBFE: 8\nYADD: 2E9", 1,
       "YADD of beach fill 1: magnitude above 1E6"},
      {"LBCTYPE:", "LBCTYPE: 3\nLMOVPER: 1\nLMOVY: 1E30", 1,
       "LMOVY (left boundary movement) magnitude above 1E6"},
  };
  for (const LineCase& k : cases) check_line_case(k);
  RunCase far;   // an initial shoreline 2000 km out: line 5 of the file holds cells 1-10
  std::vector<double> y(20, 100.0);
  y[3] = 2.0E9;
  far.dir.write("shore.dat", test::cell_file(y));
  test::expect_refused(far, "Value above 1E6 in initial shoreline file at line 5");
}

TEST(ConfigChecks, NearestKeyAllowsOneEditInShortWordsAndTwoInLongOnes) {
  // IXNGD: two letters swapped; NOTE and SHORELINE resemble no key.
  for (const auto& [word, key] : {std::pair{"gama", "GAMMA"}, {"IXNGD", "IXNDG"}, {"Kl", "K1"},
                                  {"THETAAMPP", "THETAAMP"}, {"DCLOSE", "DCLOS"}, {"NOTE", ""},
                                  {"SHORELINE", ""}, {"COASTR", "COASTRA"}})
    EXPECT_EQ(nearest_key(word), key) << word;
}

// Comma-separated lists with blanks and a note line run without a warning.
TEST(ConfigChecks, ValidLinesOfEveryFormRunWithoutWarning) {
  RunCase c;
  c.set("WAVEID:", "WAVEID: 1, 10.0, 0, waves.dat");
  c.set("K1:", "* the transport coefficients\nK1: 0.4, 0.6\nIK1END: 10, 20");
  const test::RunResult r = c.run();
  EXPECT_EQ(r.status, EXIT_NORMAL) << r.console;
  EXPECT_EQ(r.console.find("WARNING"), std::string::npos) << r.console;
}

// A warning that repeats every step is written for its first 100 occurrences.
TEST(WarningFloods, RepeatedWarningIsWrittenAHundredTimesThenCounted) {
  RunCase c;
  c.dir.write("waves.dat", "5.0 3.0 10.0\n");   // steepness 0.36: reduced at every step
  const test::RunResult r = c.run();
  ASSERT_EQ(r.status, EXIT_NORMAL) << r.console;
  const std::string prt = c.dir.read("run.out");
  EXPECT_EQ(test::count_of(prt, "UNPHYSICAL DEEPWATER WAVE STEEPNESS") - 1, 100);
  // 91 days of 6-hour steps, 21 walls: 7644 raised, 7544 of them only counted.
  EXPECT_TRUE(test::has_line(prt, " UNPHYSICAL DEEPWATER WAVE STEEPNESS               7644, "
                                  "7544 NOT WRITTEN AFTER THE FIRST 100"))
      << prt.substr(prt.rfind("WARNINGS RAISED"));
}

// ---- outputs ----

TEST(Outputs, SecondRunInTheFolderIsRefusedWhileTheFirstHoldsThePrintFile) {
  RunCase c;
  c.dir.write("run.out", "print file of the running run\n");
  // The first run's lock, held as an open-file-description lock: it conflicts
  // with the run's record lock although both belong to this process.
  const int fd = ::open(c.dir.file("run.out").c_str(), O_WRONLY);
  struct flock lk {};
  lk.l_type = F_WRLCK;
  lk.l_whence = SEEK_SET;
  ASSERT_EQ(::fcntl(fd, F_OFD_SETLK, &lk), 0);
  test::expect_refused(c, "PRFILE run.out is in use by another run", {});
  EXPECT_EQ(c.dir.read("run.out"), "print file of the running run\n");
  ::close(fd);
  EXPECT_EQ(c.run().status, EXIT_NORMAL);   // the lock went with the first run
}

TEST(Outputs, FifoOutputsAreRefusedBeforeAnyFileIsTouched) {
  for (const char* fifo : {"run.out", "run.qtr"}) {
    RunCase c;
    fs::remove(c.dir.path() / fifo);
    ASSERT_EQ(::mkfifo(c.dir.file(fifo).c_str(), 0600), 0);
    test::expect_refused(c, std::string("PRFILE output ") + fifo + " is not a regular file", {});
  }
}

TEST(Outputs, NetcdfTargetIsCheckedLikeEveryOutput) {
  if (!netcdf_available()) GTEST_SKIP() << "no NetCDF in this build";
  RunCase slo;   // the run's own shoreline file
  test::expect_refused(slo, "--netcdf outputs run.slo and run.slo are one file", {"run.out"},
                       {"--netcdf", "run.slo", "run.cfg"});
  RunCase fifo;
  ASSERT_EQ(::mkfifo(fifo.dir.file("run.nc").c_str(), 0600), 0);
  test::expect_refused(fifo, "--netcdf output run.nc is not a regular file", {"run.out"},
                       {"--netcdf", "run.nc", "run.cfg"});
  // An empty classic NetCDF file another program wrote: no "source" mark.
  RunCase other;
  other.dir.write("other.nc", std::string("CDF\x01", 4) + std::string(28, '\0'));
  test::expect_refused(other, "--netcdf: other.nc is a NetCDF file Coastra did not write",
                       {"run.out"}, {"--netcdf", "other.nc", "run.cfg"});
  // Coastra's own file is replaced by the next run.
  RunCase again;
  again.dir.write("run.cfg", again.cfg);
  ASSERT_EQ(test::run_in(again.dir, {"--netcdf", "run.nc", "run.cfg"}).status, EXIT_NORMAL);
  EXPECT_EQ(test::run_in(again.dir, {"--netcdf", "run.nc", "run.cfg"}).status, EXIT_NORMAL);
}

// --check: every set-up check, what the run would do, no file written.
TEST(CheckMode, SaysWhatTheRunWouldDoAndWritesNothing) {
  RunCase c;
  c.cfg += "BPDATS: 20190101\nBPDATE: 20200110\nIBPS: 5\nIBPE: 8\nQBP: 10\n";
  c.dir.write("run.cfg", c.cfg);
  const auto before = c.files();
  const test::RunResult r = test::run_in(c.dir, {"--check", "run.cfg"});
  EXPECT_EQ(r.status, EXIT_NORMAL) << r.console;
  for (const char* line : {" CHECK: THE RUN WOULD START",
                           "   time: 20200101 to 20200401, 364 steps of 6.00 hours, records every 4 steps",
                           "   sources: 0 beach fills, 1 bypass operations, 0 inlets, 0 dredging events"})
    EXPECT_TRUE(test::has_line(r.console, line)) << line << "\n" << r.console;
  EXPECT_NE(r.console.find(" WARNING. BYPASS"), std::string::npos) << r.console;  // print-file warning
  EXPECT_EQ(c.files(), before);   // no print file, no data file touched
  // Data files that would pass 2 GB are announced before the run: 18 000 000
  // records of 4 x (9 + 14 x 20) + 9 + 16 x 21 = 1501 bytes.
  RunCase big;
  big.set("SIMDATS:", "SIMDATS: 17999999");
  big.set("SIMDATE:", "SIMDATE: 17999999");
  big.set("DTSAVE:", "DTSAVE: 6");
  big.dir.write("run.cfg", big.cfg);
  const test::RunResult b = test::run_in(big.dir, {"--check", "run.cfg"});
  EXPECT_TRUE(test::has_line(
      b.console, " WARNING. THE DATA FILES WILL HOLD ABOUT 27.0 GB: 18000000 RECORDS OF 20 CELLS (DTSAVE)"))
      << b.console;
  // A run that would be refused is refused the same way, and writes nothing either.
  c.set("DCLOS:", "DCLOS: 0");   // the depth of closure must be above 0
  expect_refused(c, "DCLOS at wall 1 must be > 0 (depth of closure)", {}, {"--check", "run.cfg"});
}

// ---- the key reference ----

TEST(KeyReference, EveryKeyIsDocumentedAndDocsKeysMdIsTheOutput) {
  for (int i = 0; i < config_key_count(); ++i)
    EXPECT_NE(key_doc(config_key(i).key), nullptr) << config_key(i).key;
  std::ostringstream os;
  write_key_reference(os);
  // The committed reference pins every line of the output.
  std::ifstream f(std::string(COASTRA_SOURCE_DIR) + "/docs/keys.md");
  std::stringstream doc;
  doc << f.rdbuf();
  EXPECT_EQ(doc.str(), os.str()) << "docs/keys.md differs from `coastra --keys`: regenerate it";
}

// ---- write errors ----

TEST(WriteErrors, FullDiskEndsTheRunNamingTheFile) {
  // A data file on a full disk: the data files and the print file are this
  // run's (the print file ends with the error); the inputs are untouched.
  RunCase d;
  fs::remove(d.dir.path() / "run.qtr");
  fs::create_symlink("/dev/full", d.dir.path() / "run.qtr");
  expect_refused(d, "Cannot write output data file run.qtr", ALL_OUTPUTS);
  // The print file on a full disk.
  RunCase p;
  fs::create_symlink("/dev/full", p.dir.path() / "run.out");
  std::vector<std::string> data(ALL_OUTPUTS.begin() + 1, ALL_OUTPUTS.end());
  expect_refused(p, "Cannot write print file run.out", data);
}

// A console that cannot be written (a stream in error from the start, as
// standard output on a full disk) never leaves a run with exit 0.
TEST(WriteErrors, ConsoleThatCannotBeWrittenFailsTheRun) {
  auto run_with_bad_console = [](RunCase& c) {
    c.dir.write("run.cfg", c.cfg);
    const fs::path here = fs::current_path();
    fs::current_path(c.dir.path());
    std::ostream bad(nullptr);  // badbit set: every write fails
    const int status = run_coastra({"run.cfg"}, bad);
    fs::current_path(here);
    return status;
  };
  RunCase ok;
  EXPECT_EQ(run_with_bad_console(ok), EXIT_STOPPED);
  // The print file says why.
  EXPECT_EQ(last_line(ok.dir.read("run.out")),
            error_line("Cannot write the console (standard output)"));
  RunCase failing;  // a run that fails anyway keeps its failure status
  failing.set("NX:", "NX: lots");
  EXPECT_EQ(run_with_bad_console(failing), EXIT_STOPPED);
  EXPECT_EQ(last_line(failing.dir.read("run.out")), error_line("Invalid config data: NX: lots"));
}

// ---- inputs are never overwritten ----

TEST(OutputNames, PrintOrDataFileThatIsAnInputIsRefusedNamingPrfile) {
  // The PRFILE line's value, a link made before the run ("name>target", "="
  // first for a hard link; "" for none) and the refusal.
  struct Case { std::string prfile, link, message; };
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
    RunCase c;
    c.set("PRFILE:", "PRFILE: " + k.prfile);
    c.dir.write("run.cfg", c.cfg);  // the target of the hard link
    if (!k.link.empty()) {
      const bool hard = k.link[0] == '=';
      const std::size_t to = k.link.find('>');
      const fs::path name = c.dir.path() / k.link.substr(hard, to - hard);
      fs::remove(name);
      if (hard) {
        fs::create_hard_link(c.dir.path() / k.link.substr(to + 1), name);
      } else {
        fs::create_symlink(k.link.substr(to + 1), name);
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
  RunCase c;
  fs::remove(c.dir.path() / "run.vcx");
  fs::create_directory(c.dir.path() / "run.vcx");
  fs::remove(c.dir.path() / "run.mql");
  c.dir.write("run.out", "print file of an earlier run\n");
  expect_refused(c, "Cannot open output data file run.vcx");
  EXPECT_FALSE(c.dir.exists("run.mql"));
  EXPECT_EQ(c.dir.read("run.out").find("earlier run"), std::string::npos);
  // An unreadable line read after PRFILE.
  RunCase g;
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
  RunCase s;
  s.dir.write("shore.dat", shore);
  expect_refused(s, "Line over 4096 characters in initial shoreline file at line 5");
  RunCase w;
  w.dir.write("waves.dat", "1.0 7.0 10.0" + std::string(1100, ' ') + "\n");
  expect_refused(w, "Wave file line 1 over 1024 characters: waves.dat", ALL_OUTPUTS);
  // A line of exactly the bound is read.
  RunCase c;
  c.dir.write("waves.dat", "1.0 7.0 10.0" + std::string(1024 - 12, ' ') + "\n");
  EXPECT_EQ(c.run().status, EXIT_NORMAL);
}

TEST(RunawayInput, OneWrongLineIsRefusedNamingTheKey) {
  test::expect_line_refusals({
      // names that are not regular files (a fifo, a device)
      {"INIFILE:", "INIFILE: fifo", "Cannot open initial shoreline file"},
      {"WAVEID:", "WAVEID: 1 10.0 0 /dev/zero", "Cannot open wave file"},
      // missing, negative or year-0 dates
      {"SIMDATS:", "* no start date", "SIMDATS (start date) omitted in config file"},
      {"SIMDATE:", "SIMDATE:", "SIMDATE (end date) omitted in config file"},
      {"SIMDATS:", "SIMDATS: -20200101", "SIMDATS must not be negative"},
      {"SIMDATE:", "SIMDATS: -5\nSIMDATE: -5", "SIMDATS must not be negative"},
      // a file name longer than its 255 characters is refused, not cut
      {"INIFILE:", "INIFILE: " + std::string(256, 's'), "INIFILE name longer than 255 characters"},
  });
  // One line over 64 KiB (line 26): refused by number before anything is
  // opened, so an earlier print file is whole too.
  RunCase c;
  c.dir.write("run.out", "print file of an earlier run\n");
  c.cfg += "TITLE: " + std::string(65536, 'x') + "\n";
  expect_refused(c, "Configuration line 26 longer than 65536 characters", {});
  // The configuration itself.
  RunCase f;
  ASSERT_EQ(::mkfifo(f.dir.file("fifo.cfg").c_str(), 0600), 0);
  expect_refused(f, "Cannot open config file", {}, {"fifo.cfg"});
}

TEST(RunawayInput, LongRunIsAnnouncedOnceBeforeItStarts) {
  // 201 years of daily steps: 73 414 steps (201 x 365 + 49 leap days, the
  // years 2020..2220 divisible by 4 but 2100 and 2200), saved every 4096 steps.
  RunCase c;
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
}

}  // namespace
}  // namespace coastra

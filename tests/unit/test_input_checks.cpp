// A mistake in the configuration never becomes a quiet result: one wrong line
// in a valid run case is refused (exit status, the one ERROR line, the earlier
// run's files untouched) or warned (exit 0, the warning once on the console
// and in the print file); the output locks and names, --check, the key
// reference, and the bound on warning floods.

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

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
using test::RunCase;

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
      {"", "IXNGD: 10", 0, " WARNING. Configuration line 26: IXNGD is no key, line ignored (IXNDG?)"},
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
      {"DCLOS:", "DCLOS: 0", 1, "DCLOS at wall 1 must be > 0 (depth of closure)"},
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
      {"SIMDATE:", "SIMDATE: 20200431", 1, "SIMDATE is no calendar date (month 1-12, day of the month)"},
      // lengths no data file can print
      {"", "BFDATS: 20200105\nBFDATE: 20200110\nIBFS: 5\nIBFE: 8\nYADD: 2E9", 1,
       "YADD of beach fill 1: magnitude above 1E6"},
      {"LBCTYPE:", "LBCTYPE: 3\nLMOVPER: 1\nLMOVY: 1E30", 1,
       "LMOVY (left boundary movement) magnitude above 1E6"},
      // messages name the configuration file
      {"", "IXNDG: 30\nYNDG: 100", 1, " ERROR. NON-DIFFRACTING GROIN OUTSIDE CALCULATION GRID."},
  };
  for (const LineCase& k : cases) check_line_case(k);
  RunCase far;   // an initial shoreline 2000 km out: line 5 of the file holds cells 1-10
  std::vector<double> y(20, 100.0);
  y[3] = 2.0E9;
  far.dir.write("shore.dat", test::cell_file(y));
  test::expect_refused(far, "Value above 1E6 in initial shoreline file at line 5");
  RunCase g;
  g.cfg += "IXNDG: 30\nYNDG: 100\n";
  EXPECT_TRUE(test::has_line(g.run().console, " PLEASE CHANGE IN YOUR .cfg FILE."));
}

TEST(ConfigChecks, NearestKeyAllowsOneEditInShortWordsAndTwoInLongOnes) {
  // IXNGD: two letters swapped; NOTE and SHORELINE resemble no key.
  for (const auto& [word, key] : {std::pair{"gama", "GAMMA"}, {"IXNGD", "IXNDG"}, {"Kl", "K1"},
                                  {"THETAAMPP", "THETAAMP"}, {"DCLOSE", "DCLOS"}, {"NOTE", ""},
                                  {"SHORELINE", ""}, {"COASTR", "COASTRA"}})
    EXPECT_EQ(nearest_key(word), key) << word;
}

// Comma-separated lists with blanks, a note line and a step-count run all run
// as before, without a warning.
TEST(ConfigChecks, ValidLinesOfEveryFormRunWithoutWarning) {
  RunCase c;
  c.set("WAVEID:", "WAVEID: 1, 10.0, 0, waves.dat");
  c.set("K1:", "* the transport coefficients\nK1: 0.4, 0.6\nIK1END: 10, 20");
  const test::RunResult r = c.run();
  EXPECT_EQ(r.status, EXIT_NORMAL) << r.console;
  EXPECT_EQ(r.console.find("WARNING"), std::string::npos) << r.console;
  RunCase steps;
  steps.set("SIMDATS:", "SIMDATS: 40");
  steps.set("SIMDATE:", "SIMDATE: 40");
  EXPECT_EQ(steps.run().status, EXIT_NORMAL);
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
  int ready[2], done[2];
  ASSERT_EQ(::pipe(ready), 0);
  ASSERT_EQ(::pipe(done), 0);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {   // the "first run": holds the lock until told to end
    const int fd = ::open(c.dir.file("run.out").c_str(), O_WRONLY);
    struct flock lk {};
    lk.l_type = F_WRLCK;
    lk.l_whence = SEEK_SET;
    char b = fd >= 0 && ::fcntl(fd, F_SETLK, &lk) == 0 ? 'y' : 'n';
    (void)!::write(ready[1], &b, 1);
    (void)!::read(done[0], &b, 1);
    ::_exit(0);
  }
  char b = 0;
  ASSERT_EQ(::read(ready[0], &b, 1), 1);
  ASSERT_EQ(b, 'y');
  test::expect_refused(c, "PRFILE run.out is in use by another run", {});
  EXPECT_EQ(c.dir.read("run.out"), "print file of the running run\n");
  (void)!::write(done[1], &b, 1);
  int st = 0;
  ::waitpid(child, &st, 0);
  for (int fd : {ready[0], ready[1], done[0], done[1]}) ::close(fd);
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
  c.set("DCLOS:", "DCLOS: -8");
  c.dir.write("run.cfg", c.cfg);
  const auto before_bad = c.files();
  const test::RunResult bad = test::run_in(c.dir, {"--check", "run.cfg"});
  EXPECT_EQ(bad.status, EXIT_STOPPED);
  EXPECT_EQ(test::last_line(bad.console), error_line("DCLOS at wall 1 must be > 0 (depth of closure)"));
  EXPECT_EQ(c.files(), before_bad);
}

// ---- the key reference ----

TEST(KeyReference, EveryKeyIsDocumentedAndDocsKeysMdIsTheOutput) {
  for (int i = 0; i < config_key_count(); ++i)
    EXPECT_NE(key_doc(config_key(i).key), nullptr) << config_key(i).key;
  std::ostringstream os;
  write_key_reference(os);
  const std::string text = os.str();
  EXPECT_NE(text.find("| `K1` | reals | - | - | yes | one value per segment"), std::string::npos);
  EXPECT_NE(text.find("| `YNDG` | real | - | L | no | the k-th line belongs to the k-th IXNDG entry"),
            std::string::npos);
  std::ifstream f(std::string(COASTRA_SOURCE_DIR) + "/docs/keys.md");
  std::stringstream doc;
  doc << f.rdbuf();
  EXPECT_EQ(doc.str(), text) << "docs/keys.md differs from `coastra --keys`: regenerate it";
}

}  // namespace
}  // namespace coastra

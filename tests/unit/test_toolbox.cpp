// The command line (options, --help, --version, refused options and operands,
// the error line), the progress
// line on a pseudo-terminal and never when redirected, and the NetCDF file read
// back with the NetCDF library against the text data files of the same run.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <regex>

#include "driver/command_line.h"
#include "model/error_stop.h"
#include "model/simd_path.h"
#include "output/echo.h"
#include "support/cases.h"
#include "support/run_helpers.h"

#ifdef COASTRA_WITH_NETCDF
#include <netcdf.h>
#endif

namespace coastra {
namespace {

namespace fs = std::filesystem;

using test::shell;

const std::string exe = std::string("'") + COASTRA_EXE + "'";   // quoted for the shell

TEST(CommandLine, OptionsPrecedeTheConfigurationAndUnknownOnesAreRefused) {
  auto c = parse_command_line({"--netcdf", "a.nc", "-q", "run.cfg"});
  EXPECT_EQ(c.action, CommandLine::Run);
  EXPECT_EQ(c.netcdf, "a.nc");
  EXPECT_TRUE(c.quiet);
  ASSERT_EQ(c.operands.size(), 1U);
  EXPECT_EQ(c.operands[0], "run.cfg");
  c = parse_command_line({"--netcdf=b.nc", "run.cfg"});
  EXPECT_EQ(c.netcdf, "b.nc");
  // After the configuration file (or "--") nothing is an option any more.
  c = parse_command_line({"run.cfg", "--quiet"});
  EXPECT_FALSE(c.quiet);
  EXPECT_EQ(c.operands.size(), 2U);
  c = parse_command_line({"--", "-odd.cfg"});
  ASSERT_EQ(c.operands.size(), 1U);
  EXPECT_EQ(c.operands[0], "-odd.cfg");
  c = parse_command_line({"--netcdf"});   // the option lacks its file
  EXPECT_EQ(c.action, CommandLine::BadOption);
  c = parse_command_line({"--verbose", "run.cfg"});
  EXPECT_EQ(c.action, CommandLine::BadOption);
  EXPECT_EQ(c.bad, "--verbose");
  EXPECT_EQ(parse_command_line({"--help", "--bogus"}).action, CommandLine::Help);
}

TEST(CommandLine, HelpVersionAndUnknownOptionFromTheProgram) {
  test::ScratchDir dir;
  const std::string usage = "Usage: coastra [--netcdf FILE] [--quiet] [--strict] [--check] "
                            "[--stage-times] [--simd PATH] CONFIG\n";
  EXPECT_EQ(shell(dir, exe + " --help"), 0);
  std::string out = dir.read("out.txt");
  EXPECT_EQ(out.rfind(usage, 0), 0U) << out;
  for (const char* s : {"--netcdf FILE", "--quiet", "--version", "Exit status", "  3  "})
    EXPECT_NE(out.find(s), std::string::npos) << s;
  EXPECT_EQ(shell(dir, exe + " --version"), 0);
  out = dir.read("out.txt");
  EXPECT_EQ(out.rfind("coastra " + std::string(VERSION_LINE) + "\n", 0), 0U) << out;
  EXPECT_NE(out.find("\ncompiler: "), std::string::npos);
  EXPECT_NE(out.find(std::string("\nvector path: ") + simd_path_name(widest_simd_path()) + "\n"),
            std::string::npos)
      << out;
  // A forced path is named; an unknown one stops before any file is written.
  EXPECT_EQ(shell(dir, "COASTRA_SIMD=baseline " + exe + " --version"), 0);
  EXPECT_NE(dir.read("out.txt").find("\nvector path: baseline\n"), std::string::npos);
  EXPECT_EQ(shell(dir, exe + " --simd avx9 run.cfg"), EXIT_STOPPED);
  EXPECT_NE(dir.read("out.txt").find("ERROR: --simd: unknown path avx9"), std::string::npos);
  EXPECT_NE(out.find("\noptional features: NetCDF "), std::string::npos);
  EXPECT_EQ(shell(dir, exe + " --frobnicate run.cfg"), EXIT_STOPPED);
  EXPECT_EQ(dir.read("out.txt"), "coastra: unknown option --frobnicate\n" + usage);
  // No configuration or two: the request for one, and no file written.
  test::ScratchDir empty;
  for (const auto& args : {std::vector<std::string>{}, std::vector<std::string>{"a", "b"}}) {
    const auto r = test::run_in(empty, args);
    EXPECT_EQ(r.status, EXIT_STOPPED);
    EXPECT_EQ(r.console, " Coastra Model Execution\n Please include a valid Coastra "
                         "configuration file on the command line.\n");
  }
  EXPECT_TRUE(fs::is_empty(empty.path()));
  const auto r = test::run_in(empty, {"nosuch.cfg"});
  EXPECT_EQ(r.status, EXIT_STOPPED);
  EXPECT_TRUE(test::has_line(r.console, " --> Cannot find the input file= nosuch.cfg"));
  // The error line is 80 columns: the message cut to 73 or padded.
  EXPECT_EQ(error_line("DT must be > 0."), "ERROR: DT must be > 0." + std::string(58, ' '));
  EXPECT_EQ(error_line(std::string(100, 'x')), "ERROR: " + std::string(73, 'x'));
}

// Drops the progress line's bytes from a terminal transcript: each drawing is
// "\r" + line + ESC[K, each wiping "\r" ESC[K; the terminal also writes "\r\n".
std::string without_progress(const std::string& t) {
  const std::string lines = std::regex_replace(t, std::regex("\r\n"), "\n");
  return std::regex_replace(lines, std::regex("\r[^\x1b]*\x1b\\[K"), "");
}

TEST(Progress, DrawnOnATerminalOnlyAndLeavesTheConsoleTextAsItIs) {
  if (std::system("command -v script >/dev/null 2>&1") != 0) GTEST_SKIP() << "no script(1)";
  test::ScratchDir dir;
  test::copy_from_tree(dir, "tests/golden/groins_metric/input");
  ASSERT_EQ(shell(dir, exe + " run.cfg"), 0);
  const std::string redirected = dir.read("out.txt");
  EXPECT_EQ(redirected.find('\r'), std::string::npos);
  EXPECT_EQ(redirected.find('%'), std::string::npos);
  // Under a pseudo-terminal (script runs the command on one and copies it out).
  ASSERT_EQ(shell(dir, "script -qefc \"" + exe + " run.cfg\" /dev/null"), 0);
  const std::string tty = dir.read("out.txt");
  EXPECT_NE(tty.find("\r 100%  2021-03-01  elapsed "), std::string::npos) << tty;
  EXPECT_NE(tty.find("elapsed 0:00:0"), std::string::npos);
  EXPECT_NE(tty.find("remaining 0:00:00\x1b[K"), std::string::npos);
  EXPECT_EQ(without_progress(tty), redirected);
  // --quiet: the terminal gets exactly the redirected text.
  ASSERT_EQ(shell(dir, "script -qefc \"" + exe + " --quiet run.cfg\" /dev/null"), 0);
  EXPECT_EQ(dir.read("out.txt").find('%'), std::string::npos);
}

#ifndef COASTRA_WITH_NETCDF
TEST(NetcdfFile, RequestRefusedByABuildWithoutTheLibrary) {
  test::ScratchDir dir;
  test::copy_from_tree(dir, "tests/golden/groins_metric/input");
  const auto r = test::run_in(dir, {"--netcdf", "run.nc", "run.cfg"});
  EXPECT_EQ(r.status, EXIT_STOPPED);
  EXPECT_NE(r.console.find(error_line("--netcdf: this build of coastra has no NetCDF library")), std::string::npos);
  EXPECT_FALSE(dir.exists("run.slo"));
}
#else

struct NcFile {
  int id = -1;
  explicit NcFile(const std::string& name) { EXPECT_EQ(nc_open(name.c_str(), NC_NOWRITE, &id), NC_NOERR); }
  ~NcFile() { if (id >= 0) nc_close(id); }
  std::size_t dim(const char* name) const {
    int d = -1;
    std::size_t n = 0;
    if (nc_inq_dimid(id, name, &d) != NC_NOERR) return 0;
    nc_inq_dimlen(id, d, &n);
    return n;
  }
  std::vector<double> var(const char* name, std::size_t n) const {
    int v = -1;
    std::vector<double> x(n, NAN);
    EXPECT_EQ(nc_inq_varid(id, name, &v), NC_NOERR) << name;
    if (v >= 0 && n > 0) {
      EXPECT_EQ(nc_get_var_double(id, v, x.data()), NC_NOERR) << name;
    }
    return x;
  }
  std::string att(int var, const char* name) const {
    std::size_t n = 0;
    if (nc_inq_attlen(id, var, name, &n) != NC_NOERR) return "";
    std::string s(n, ' ');
    nc_get_att_text(id, var, name, s.data());
    return s;
  }
};

// Every record of a data file against the same rows of a NetCDF variable: the
// text holds the value rounded to its decimals, so they agree within half a unit
// of the last printed decimal.
void expect_same_records(const std::string& text, const std::vector<double>& nc, std::size_t ncol,
                         double half_unit, const char* what) {
  const auto recs = test::read_records(text);
  ASSERT_EQ(recs.size() * ncol, nc.size()) << what;
  for (std::size_t r = 0; r < recs.size(); ++r) {
    ASSERT_EQ(recs[r].values.size(), ncol) << what;
    for (std::size_t i = 0; i < ncol; ++i)
      ASSERT_NEAR(nc[r * ncol + i], recs[r].values[i], half_unit * 1.0001) << what << " record " << r << " value " << i;
  }
}

TEST(NetcdfFile, GoldenCaseReadsBackAsItsTextDataFiles) {
  // Cells of 80 m, and of 150 ft but 160 ft in cells 10-15 (DXFILE).
  const std::pair<const char*, double> cases[] = {{"groins_metric", 80.0}, {"feet_regional", 150.0}};
  for (const auto& [name, dx] : cases) {
    SCOPED_TRACE(name);
    test::ScratchDir dir;
    test::copy_from_tree(dir, std::string("tests/golden/") + name + "/input");
    const auto r = test::run_in(dir, {"--netcdf", "run.nc", "run.cfg"});
    ASSERT_EQ(r.status, EXIT_NORMAL) << r.console;
    const NcFile f(dir.file("run.nc"));
    const std::size_t nt = f.dim("time"), nx = f.dim("cell"), nw = f.dim("wall");
    ASSERT_EQ(nw, nx + 1);
    const auto slo = test::read_records(dir.read("run.slo"));
    ASSERT_EQ(nt, slo.size());
    const auto dates = f.var("date", nt);
    for (std::size_t k = 0; k < nt; ++k) EXPECT_EQ(static_cast<long long>(dates[k]), slo[k].label);
    // F14.2 records: half a unit of the second decimal; F16.0: half a unit.
    expect_same_records(dir.read("run.slo"), f.var("shoreline", nt * nx), nx, 0.005, "slo");
    expect_same_records(dir.read("run.off"), f.var("offshore_contour", nt * nx), nx, 0.005, "off");
    expect_same_records(dir.read("run.vcc"), f.var("volume_change", nt * nx), nx, 0.005, "vcc");
    expect_same_records(dir.read("run.vcx"), f.var("volume_change_per_length", nt * nx), nx, 0.005, "vcx");
    expect_same_records(dir.read("run.qtr"), f.var("transport", nt * nw), nw, 0.5, "qtr");
    // The mean-annual files end with the record of the whole run.
    const std::pair<const char*, const char*> means[] = {{"run.mqn", "mean_annual_net_transport"},
                                                         {"run.mqr", "mean_annual_transport_right"},
                                                         {"run.mql", "mean_annual_transport_left"}};
    for (const auto& [file, var] : means) {
      const std::string text = dir.read(file);
      const auto last = text.find_last_of('\n', text.size() - 2);
      expect_same_records(text.substr(0, text.find('\n') + 1) + text.substr(last + 1), f.var(var, nw), nw, 0.5, file);
    }
    // Time runs forward; every wall lies at the sum of the widths before it,
    // to the widths' printed precision, and the cells sit between their walls.
    const auto t = f.var("time", nt);
    for (std::size_t k = 1; k < nt; ++k) EXPECT_GT(t[k], t[k - 1]);
    const auto w = f.var("wall", nw), c = f.var("cell", nx);
    const bool wide = std::string(name) == "feet_regional";
    for (std::size_t i = 0; i <= nx; ++i) {
      const double k = static_cast<double>(i);
      ASSERT_NEAR(w[i], dx * k + (wide ? 10.0 * std::clamp(k - 9.0, 0.0, 6.0) : 0.0), 0.005) << i;
    }
    for (std::size_t i = 0; i < nx; ++i) EXPECT_DOUBLE_EQ(c[i], 0.5 * (w[i] + w[i + 1]));
    const std::string cfg = dir.read("run.cfg");
    const auto title = cfg.find("\nTITLE: ") + 8;
    EXPECT_EQ(f.att(NC_GLOBAL, "title"), cfg.substr(title, cfg.find('\n', title) - title));
    EXPECT_EQ(f.att(NC_GLOBAL, "Conventions"), "CF-1.8");
    EXPECT_EQ(f.att(NC_GLOBAL, "config_PRFILE"), "run.out");
    EXPECT_EQ(f.att(NC_GLOBAL, "config_PRDATE").find('\n') != std::string::npos,
              std::string(name) == "groins_metric");   // two PRDATE lines there
  }
}

TEST(NetcdfFile, RunStoppedEarlyLeavesItsRecordsAndInletVolumesInTheMapFrame) {
  // The inlet example (a record every 720 hours) with its baseline from
  // (1000, 2000) on a bearing of 30 degrees (clockwise from north): a point s
  // along it lies at x = 1000 + s / 2, y = 2000 + s cos 30. An unreadable wave record on 5 March stops the
  // run: the records of 31 January and 1 March are in a file that reads.
  test::ScratchDir dir;
  test::copy_from_tree(dir, "examples/inlet_coast", {"coast.cfg", "shoreline.dat", "waves.dat"});
  dir.write("coast.cfg", dir.read("coast.cfg") + "SIMDATE: 20200401\nX0: 1000.0\nY0: 2000.0\nAZIMUTH: 30.0\n");
  std::string waves = dir.read("waves.dat");
  dir.write("waves.dat", waves.replace(waves.find("\n20200305 0000") + 14, 7, "      x"));
  ASSERT_EQ(shell(dir, exe + " --netcdf c.nc coast.cfg"), EXIT_EARLY_STOP) << dir.read("out.txt");
  const NcFile f(dir.file("c.nc"));
  // The history names the command line and the version; source is the version.
  const std::string version = "coastra " + std::string(VERSION_LINE);
  EXPECT_NE(f.att(NC_GLOBAL, "history").find("Z: " + std::string(COASTRA_EXE) +
                                              " --netcdf c.nc coast.cfg (" + version + ")"),
            std::string::npos)
      << f.att(NC_GLOBAL, "history");
  EXPECT_EQ(f.att(NC_GLOBAL, "source"), version);
  EXPECT_EQ(f.att(NC_GLOBAL, "title"), "Example coast with a tidal inlet, a groin field and a seawall");
  const std::size_t nt = f.dim("time"), nx = f.dim("cell");
  const auto slo = test::read_records(dir.read("coast.slo"));
  EXPECT_EQ(slo.size(), 2U);
  ASSERT_EQ(nt, slo.size());
  expect_same_records(dir.read("coast.slo"), f.var("shoreline", nt * nx), nx, 0.005, "slo");
  EXPECT_EQ(f.var("time", nt)[1], 1440.0);
  int tv = -1;
  ASSERT_EQ(nc_inq_varid(f.id, "time", &tv), NC_NOERR);
  EXPECT_EQ(f.att(tv, "units"), "hours since 2020-01-01 00:00:00");
  const auto w = f.var("wall", nx + 1), wx = f.var("wall_x", nx + 1), wy = f.var("wall_y", nx + 1);
  for (std::size_t k = 0; k <= nx; ++k) {
    EXPECT_NEAR(wx[k], 1000.0 + 0.5 * w[k], 1e-6);
    EXPECT_NEAR(wy[k], 2000.0 + std::sqrt(0.75) * w[k], 1e-6);
  }
  EXPECT_NEAR(f.var("cell_y", nx)[0], 2000.0 + std::sqrt(0.75) * 0.5 * w[1], 1e-6);
  ASSERT_EQ(f.dim("inlet"), 1U);
  EXPECT_EQ(f.var("inlet", 1)[0], 1.0);
  EXPECT_EQ(f.var("inlet_first_cell", 1)[0], 60.0);
  int name = -1;
  char inlet_name[10] = {};
  ASSERT_EQ(f.dim("inlet_name_length"), 9U);
  ASSERT_EQ(nc_inq_varid(f.id, "inlet_name", &name), NC_NOERR);
  ASSERT_EQ(nc_get_var_text(f.id, name, inlet_name), NC_NOERR);
  EXPECT_STREQ(inlet_name, "Mill_Pass");
  // .irv record: I8, 1X, then 16 F14.0 columns; the volumes are columns 3, 5,
  // 7, 9, 12 and 14 (left attachment, left bypass, ebb, flood, right bypass,
  // right attachment).
  const auto irv = test::lines_of(dir.read("Mill_Pass.irv"));
  ASSERT_EQ(irv.size(), nt + 2);
  const std::pair<const char*, int> cols[] = {{"inlet_left_attachment_bar", 3}, {"inlet_left_bypass_bar", 5},
                                              {"inlet_ebb_shoal", 7},           {"inlet_flood_shoal", 9},
                                              {"inlet_right_bypass_bar", 12},  {"inlet_right_attachment_bar", 14}};
  for (const auto& [var, col] : cols) {
    const auto v = f.var(var, nt);
    for (std::size_t k = 2; k < irv.size(); ++k) {
      const double text = std::stod(irv[k].substr(9 + 14 * static_cast<std::size_t>(col - 1), 14));
      EXPECT_NEAR(v[k - 2], text, 0.5) << var << " record " << k - 1;
    }
  }
}

#endif

}  // namespace
}  // namespace coastra

// The companion programs on golden cases: coastra-plot draws each plot at the
// size asked for and not blank, from the text files and from the NetCDF file;
// coastra-ensemble runs three members locally and sums them up with their
// exit statuses. Skipped where Debian's python3 lacks the packages they need.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "support/cases.h"
#include "support/run_helpers.h"

namespace coastra {
namespace {

namespace fs = std::filesystem;

const std::string tools = std::string(COASTRA_SOURCE_DIR) + "/tools/";

int shell(const test::ScratchDir& dir, const std::string& cmd) {
  const std::string line = "cd '" + dir.path().string() + "' && " + cmd + " >out.txt 2>err.txt";
  const int raw = std::system(line.c_str());
  return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

bool python_has(const std::string& modules) {
  return std::system(("/usr/bin/python3 -c 'import " + modules + "' >/dev/null 2>&1").c_str()) == 0;
}

void copy_golden(const test::ScratchDir& dir, const std::string& name) {
  const fs::path in = fs::path(COASTRA_SOURCE_DIR) / "tests" / "golden" / name / "input";
  for (const auto& e : fs::directory_iterator(in)) fs::copy_file(e.path(), dir.path() / e.path().filename());
}

// Width and height of a PNG from its IHDR chunk (big-endian at bytes 16 and 20).
std::pair<int, int> png_size(const std::string& bytes) {
  if (bytes.size() < 24 || bytes.compare(1, 3, "PNG") != 0) return {0, 0};
  auto be = [&](std::size_t k) {
    int v = 0;
    for (std::size_t j = k; j < k + 4; ++j) v = v * 256 + static_cast<unsigned char>(bytes[j]);
    return v;
  };
  return {be(16), be(20)};
}

TEST(CoastraPlot, EveryPlotFromTextAndNetcdfFilesAtTheAskedSizeAndNotBlank) {
  if (!python_has("matplotlib, numpy")) GTEST_SKIP() << "python3-matplotlib or python3-numpy missing";
  test::ScratchDir dir;
  copy_golden(dir, "breakwaters");
  const std::string exe = std::string("'") + COASTRA_EXE + "'";
  const bool nc = dir.exists("run.cfg") && shell(dir, exe + " --version") == 0 &&
                  dir.read("out.txt").find("NetCDF yes") != std::string::npos;
  ASSERT_EQ(shell(dir, exe + (nc ? " --netcdf run.nc run.cfg" : " run.cfg")), 0);
  std::vector<std::string> sources = {"run.cfg"};
  if (nc && python_has("netCDF4")) sources.push_back("run.nc");
  for (const std::string& src : sources) {
    SCOPED_TRACE(src);
    fs::remove_all(dir.path() / "pics");
    ASSERT_EQ(shell(dir, tools + "coastra-plot " + src + " all --size 640x480 --out pics"), 0)
        << dir.read("err.txt");
    // Axes, ticks and labels are black and grey; the data are drawn in colour.
    // A plot with fewer than 500 coloured pixels has drawn no data.
    const std::string count =
        "/usr/bin/python3 -c \"import matplotlib.image as i, numpy as n\n"
        "for p in ['shoreline', 'timestack', 'transport', 'volume']:\n"
        " a = i.imread('pics/' + p + '.png')[:, :, :3]; print(int(((a.max(2) - a.min(2)) > 0.1).sum()))\"";
    ASSERT_EQ(shell(dir, count), 0) << dir.read("err.txt");
    const auto colours = test::lines_of(dir.read("out.txt"));
    ASSERT_EQ(colours.size(), 4U);
    int k = 0;
    for (const char* plot : {"shoreline", "timestack", "transport", "volume"}) {
      EXPECT_EQ(png_size(dir.read(std::string("pics/") + plot + ".png")), std::make_pair(640, 480)) << plot;
      EXPECT_GE(std::atoi(colours[static_cast<std::size_t>(k++)].c_str()), 500) << plot;
    }
  }
  // SVG on request; --help lists the plots; an unknown plot is refused.
  ASSERT_EQ(shell(dir, tools + "coastra-plot run.cfg volume --format svg --out svg"), 0);
  EXPECT_NE(dir.read("svg/volume.svg").find("<svg"), std::string::npos);
  ASSERT_EQ(shell(dir, tools + "coastra-plot --help"), 0);
  for (const char* plot : {"shoreline", "timestack", "transport", "volume"})
    EXPECT_NE(dir.read("out.txt").find(plot), std::string::npos) << plot;
  EXPECT_NE(shell(dir, tools + "coastra-plot run.cfg contour"), 0);
}

TEST(CoastraEnsemble, ThreeLocalMembersGiveThreeSummaryRowsWithTheirStatuses) {
  if (!python_has("csv")) GTEST_SKIP() << "no /usr/bin/python3";
  test::ScratchDir dir;
  copy_golden(dir, "groins_metric");
  // K1 = -5 is refused at set-up: that member stops with status 1.
  dir.write("members.csv", "K1,ISMOOTH\n0.6,5\n0.3,5\n-5,5\n");
  const std::string exe = std::string("'") + COASTRA_EXE + "'";
  EXPECT_EQ(shell(dir, tools + "coastra-ensemble run.cfg members.csv --out ens --jobs 2 --walls 5,12 "
                              "--observed shore.dat --coastra " + exe), 1);   // one member failed
  const auto rows = test::lines_of(dir.read("ens/summary.csv"));
  ASSERT_EQ(rows.size(), 4U) << dir.read("err.txt");
  EXPECT_EQ(rows[0], "member,K1,ISMOOTH,status,total_volume_change,net_transport_wall_5,"
                     "net_transport_wall_12,rmse_shoreline");
  EXPECT_EQ(rows[1].rfind("member_001,0.6,5,0,", 0), 0U) << rows[1];
  EXPECT_EQ(rows[2].rfind("member_002,0.3,5,0,", 0), 0U) << rows[2];
  EXPECT_EQ(rows[3], "member_003,-5,5,1,,,,");
  // The member's configuration carries its value once, in place of the template's line.
  const std::string cfg = dir.read("ens/member_002/run.cfg");
  EXPECT_NE(cfg.find("\nK1: 0.3\n"), std::string::npos);
  EXPECT_EQ(cfg.find("0.6 0.4"), std::string::npos);
  // The summary's transport at wall 5 is the last mqn record's fifth value of
  // that member's run, rounded to whole units.
  const auto mqn = test::read_records(dir.read("ens/member_001/run.mqn"));
  ASSERT_FALSE(mqn.empty());
  const std::string wall5 = std::to_string(static_cast<long long>(std::llround(mqn.back().values[4])));
  EXPECT_NE(rows[1].find("," + wall5 + ","), std::string::npos) << rows[1] << " " << wall5;
  // --slurm writes a job array of three tasks and runs nothing.
  ASSERT_EQ(shell(dir, tools + "coastra-ensemble run.cfg members.csv --out slurm --slurm --coastra " + exe), 0);
  const std::string job = dir.read("slurm/ensemble.slurm");
  EXPECT_NE(job.find("#SBATCH --array=1-3\n"), std::string::npos) << job;
  EXPECT_FALSE(dir.exists("slurm/member_001/status.txt"));
}

}  // namespace
}  // namespace coastra

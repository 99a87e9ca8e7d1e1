// The companion programs on golden cases: coastra-plot draws each plot at the
// size asked for and not blank, from the text files and from the NetCDF file;
// coastra-ensemble runs three members locally and sums them up with their
// exit statuses; coastra-calibrate scores a hand table, fits K1 on a tiny coast
// the same way on local cores and through a stub Slurm, warns of a ridge, and
// refuses bad requests in one line. Skipped where Debian's python3 lacks the
// packages they need.

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

// ---- coastra-calibrate ----

// Runs coastra-calibrate in dir; the exit status (console in out.txt, err.txt).
int calibrate(const test::ScratchDir& dir, const std::string& args) {
  return shell(dir, tools + "coastra-calibrate " + args);
}

TEST(CoastraCalibrate, SkillOfAHandTableAsComputedByHand) {
  if (!python_has("numpy, matplotlib")) GTEST_SKIP() << "python3-numpy or python3-matplotlib missing";
  // Two cells of 100 m (centres 50 and 150) and four daily records: series A
  // at a centre, series B at x = 75 (0.75 of cell 1 and 0.25 of cell 2).
  test::ScratchDir dir;
  dir.write("run.cfg", "COASTRA:\nPRFILE: run.out\nNX: 2\nDX: 100.0\nDT: 24.0\n"
                       "SIMDATS: 20200101\nSIMDATE: 20200106\n");
  dir.write("run.slo", "Shoreline Position Output\n20200102  10.00  20.00\n20200103  12.00  22.00\n"
                       "20200104  14.00  26.00\n20200105  16.00  30.00\n");
  // B's 20200101 takes the nearest record, 20200102 (model 12.5).
  dir.write("obs.csv", "date,x,y,series\n20200102,50,11,A\n20200103,50,12,A\n20200104,50,13,A\n"
                       "20200105,50,18,A\n20200101,75,12.5,B\n20200103,75,13.5,B\n20200105,75,21.5,B\n");
  ASSERT_EQ(calibrate(dir, "run.cfg obs.csv --skill --out all"), 0) << dir.read("err.txt");
  // A: model 10 12 14 16, errors -1 0 1 -2: RMSE sqrt(6/4); observed std
  // sqrt(29/4), model std sqrt(5), covariance 22/4: r = 5.5 / sqrt(36.25)
  // = 0.9135, STDn = sqrt(5 / 7.25) = 0.8305, loss = sqrt(1.5/7.25 +
  // (1 - r)^2 + (1 - STDn)^2) = 0.4931.
  const auto all = test::lines_of(dir.read("all/skill.csv"));
  ASSERT_EQ(all.size(), 5U) << dir.read("all/skill.csv");
  EXPECT_EQ(all[0], "period,series,n,rmse,r,stdn,loss");
  EXPECT_EQ(all[1], "fit,A,4,1.2247,0.9135,0.8305,0.4931");
  EXPECT_EQ(all[4], "outside,all,0,,,,");
  // The fit period 20200101-20200104 (both ends in it). A: model 10 12 14
  // against 11 12 13: RMSE sqrt(2/3), r 1, STDn 2, loss sqrt(1 + 0 + 1).
  // B: model 12.5 14.5 against 12.5 13.5: RMSE sqrt(1/2), RMSEn sqrt(2), r 1, STDn
  // 2, loss sqrt(3). Overall: the means over the series. Outside: one point
  // each, 2 m off; a single value has no spread (r 0, no STDn or loss).
  ASSERT_EQ(calibrate(dir, "run.cfg obs.csv --skill --period 20200101-20200104 --out part"), 0);
  EXPECT_EQ(dir.read("part/skill.csv"),
            "period,series,n,rmse,r,stdn,loss\n"
            "fit,A,3,0.8165,1.0000,2.0000,1.4142\n"
            "fit,B,2,0.7071,1.0000,2.0000,1.7321\n"
            "fit,all,5,0.7618,1.0000,2.0000,1.5731\n"
            "outside,A,1,2.0000,0.0000,,\n"
            "outside,B,1,2.0000,0.0000,,\n"
            "outside,all,2,2.0000,0.0000,,\n");
  EXPECT_TRUE(dir.exists("part/series_A.png"));
}

// A tiny coast: 20 cells of 50 m, a fill of 20 m on cells 9 to 12 spreading
// under 1.5 m waves from the shore normal, two months of 6-hour steps.
// Observed: the shoreline of K1 = 0.5 at the centres of cells 7, 9, 11, 13, every
// day, without noise.
void tiny_twin(const test::ScratchDir& dir) {
  const std::string cfg = test::base_config(20, 50.0, 20200101, 20200301, 6.0, 24.0);
  std::vector<double> shore(20, 100.0);
  for (std::size_t k = 8; k < 12; ++k) shore[k] = 120.0;
  dir.write("shore.dat", test::cell_file(shore));
  dir.write("waves.dat", "1.5 8.0 0.0\n");
  dir.write("coast.cfg", cfg);
  dir.write("truth.cfg", cfg + "PRFILE: truth.out\n");
  ASSERT_EQ(test::run_in(dir, {"truth.cfg"}).status, 0);
  std::string obs = "date,x,y\n";
  for (const auto& r : test::read_records(dir.read("truth.slo")))
    for (int cell = 7; cell <= 13; cell += 2)
      obs += std::to_string(r.label) + "," + std::to_string(50 * cell - 25) + "," +
             std::to_string(r.values[static_cast<std::size_t>(cell - 1)]) + "\n";
  dir.write("obs.csv", obs);
}

TEST(CoastraCalibrate, LocalAndSlurmFitsAgreeFailedRunsScoreWorstAndRidgesAreNamed) {
  if (!python_has("numpy, scipy, matplotlib")) GTEST_SKIP() << "python3 numpy, scipy or matplotlib missing";
  test::ScratchDir dir;
  tiny_twin(dir);
  // A coastra that stops early (status 3) whenever K1 is above 0.8; a stub
  // sbatch that runs the array's tasks one by one with SLURM_ARRAY_TASK_ID.
  dir.write("fake_coastra", "#!/bin/sh\nk=$(sed -n 's/^K1: *//p' \"$1\")\n"
                            "awk \"BEGIN{exit !($k > 0.8)}\" && exit 3\nexec " + std::string(COASTRA_EXE) +
                            " \"$@\"\n");
  dir.write("sbatch", "#!/bin/sh\nfor a; do s=$a; done\n"
                          "n=$(sed -n 's/^#SBATCH --array=1-//p' \"$s\")\n"
                          "i=1; while [ $i -le $n ]; do SLURM_ARRAY_TASK_ID=$i bash \"$s\"; i=$((i+1)); done\n");
  ASSERT_EQ(shell(dir, "chmod +x fake_coastra sbatch"), 0);
  const std::string fit = "coast.cfg obs.csv --fit K1=0.1:1 --evaluations 20 --seed 4 --coastra ./fake_coastra ";
  ASSERT_EQ(calibrate(dir, fit + "--jobs 2 --out local"), 0) << dir.read("err.txt");
  EXPECT_NE(dir.read("out.txt").find("runs 20/20  best rmse"), std::string::npos) << dir.read("out.txt");
  ASSERT_EQ(shell(dir, "PATH=\"$PWD:$PATH\" " + tools + "coastra-calibrate " + fit + "--slurm --out slurm"), 0)
      << dir.read("err.txt");
  ASSERT_TRUE(dir.exists("slurm/batches/batch_001/job.slurm"));
  EXPECT_EQ(dir.read("slurm/best.cfg"), dir.read("local/best.cfg"));
  // Every run, its value, objective, status (not the wall time) alike.
  ASSERT_EQ(shell(dir, "cut -d, -f1-4,6 slurm/evaluations.csv"), 0);
  const std::string on_slurm = dir.read("out.txt");
  ASSERT_EQ(shell(dir, "cut -d, -f1-4,6 local/evaluations.csv"), 0);
  EXPECT_EQ(on_slurm, dir.read("out.txt"));
  const auto rows = test::lines_of(on_slurm);
  ASSERT_EQ(rows.size(), 21U);
  int stopped = 0;
  for (std::size_t k = 1; k < rows.size(); ++k) {
    const double k1 = std::stod(rows[k].substr(rows[k].find(',') + 1));
    const bool early = k1 > 0.8;
    stopped += early;
    EXPECT_EQ(rows[k].find(",inf,3,") != std::string::npos, early) << rows[k];
  }
  EXPECT_GT(stopped, 0);
  // Noise-free observations: K1 comes back within 2 %, and best.cfg is the
  // template with only that line changed.
  const std::string best = dir.read("local/best.cfg");
  const auto at = best.find("\nK1: ");
  ASSERT_NE(at, std::string::npos);
  EXPECT_NEAR(std::stod(best.substr(at + 5)), 0.5, 0.01) << best;
  EXPECT_EQ(best.substr(0, at), dir.read("coast.cfg").substr(0, at));
  EXPECT_EQ(test::count_of(best, "DTSAVE: 24"), 1);
  EXPECT_TRUE(dir.exists("local/objective_K1.png"));
  // The shoreline moves by the transport's gradient over the active height
  // BERMHT + DCLOS: K1 and BERMHT act through K1 / (BERMHT + 8), a ridge.
  ASSERT_EQ(calibrate(dir, "coast.cfg obs.csv --fit K1=0.1:1 --fit BERMHT=1:4 --evaluations 8 "
                           "--coastra '" + std::string(COASTRA_EXE) + "' --out ridge"), 0) << dir.read("err.txt");
  EXPECT_NE(dir.read("out.txt").find("WARNING: K1 and BERMHT trade off along a ridge"), std::string::npos)
      << dir.read("out.txt");
}

TEST(CoastraCalibrate, BadRequestsRefusedInOneLine) {
  if (!python_has("numpy")) GTEST_SKIP() << "python3-numpy missing";
  test::ScratchDir dir;
  dir.write("coast.cfg", test::base_config(12, 50.0, 20200101, 20200301, 6.0, 24.0));
  dir.write("shore.dat", test::cell_file(std::vector<double>(12, 100.0)));
  dir.write("waves.dat", "1.0 7.0 5.0\n");
  dir.write("obs.csv", "date,x,y\n20200105,75,100.5\n20200110,75,100.9\n");
  dir.write("far.csv", "date,x,y\n20200105,75,100.5\n20200105,601,100.5\n");
  dir.write("late.csv", "date,x,y\n20200105,75,100.5\n20200302,75,100.5\n");
  dir.write("bad.csv", "date,x,y\n20200105,75,100.5\n\n20200106,7x5,100.5\n");
  const std::pair<const char*, const char*> cases[] = {
      {"obs.csv --fit FOO=0:1", "--fit FOO: not a configuration key"},
      {"obs.csv --fit TITLE=0:1", "--fit TITLE: not a numeric key"},
      {"obs.csv --fit ISMOOTH=1:9", "--fit ISMOOTH: an integer key; only real-valued keys are fitted"},
      {"obs.csv --fit K1=1:0.5", "--fit K1: bounds reversed or empty (1 is not below 0.5)"},
      {"obs.csv --fit K1=-1:1", "--fit K1: bounds -1:1 outside the key's valid range [0, 1e+10]"},
      {"far.csv --fit K1=0.1:1", "far.csv line 3: x = 601 outside the grid (0 to 600 m)"},
      {"late.csv --fit K1=0.1:1", "late.csv line 3: date 20200302 outside the run (20200101 to 20200301)"},
      {"obs.csv --fit K1=0.1:1 --period 20210101-20211231", "--period 20210101-20211231: no observation inside it"},
      {"bad.csv --fit K1=0.1:1", "bad.csv line 4: x or y is not a number"},
  };
  for (const auto& [args, message] : cases) {
    EXPECT_EQ(calibrate(dir, std::string("coast.cfg ") + args + " --out cal"), 1) << args;
    EXPECT_EQ(dir.read("err.txt"), std::string("coastra-calibrate: ") + message + "\n") << args;
    EXPECT_FALSE(dir.exists("cal")) << args;
  }
}

}  // namespace
}  // namespace coastra

// The companion programs on golden cases: coastra-plot draws each plot at the
// size asked for and not blank, from the text files and from the NetCDF file;
// coastra-ensemble runs members through GNU parallel and its own pool, N at a
// time, sums them up with their exit statuses and sets every line of a key
// the template repeats; coastra-calibrate scores a hand table, fits K1 on a tiny coast
// the same way on local cores and through a stub Slurm, warns of a ridge, and
// refuses bad requests in one line. Skipped where Debian's python3 lacks the
// packages they need.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <map>

#include "input/config_keys.h"

#include "support/cases.h"
#include "support/run_helpers.h"

namespace coastra {
namespace {

namespace fs = std::filesystem;

const std::string tools = std::string(COASTRA_SOURCE_DIR) + "/tools/";
const std::string cal = tools + "coastra-calibrate ";   // console in out.txt, err.txt

using test::shell;

bool python_has(const std::string& modules) {
  return std::system(("/usr/bin/python3 -c 'import " + modules + "' >/dev/null 2>&1").c_str()) == 0;
}

TEST(CoastraPlot, DrawsWhatIsAskedFromTextAndNetcdfFilesAndRefusesBadInputs) {
  if (!python_has("matplotlib, numpy")) GTEST_SKIP() << "python3-matplotlib or python3-numpy missing";
  // The coast in feet with variable cells (3810 ft), its print file named
  // ./res.v2.out (data files ./res.slo ...).
  test::ScratchDir dir;
  test::copy_from_tree(dir, "tests/golden/feet_regional/input");
  std::string cfg = dir.read("run.cfg");
  cfg.replace(cfg.find("PRFILE: run.out"), 15, "PRFILE: ./res.v2.out");
  dir.write("run.cfg", cfg);
  const std::string exe = std::string("'") + COASTRA_EXE + "'";
  const bool nc = shell(dir, exe + " --version") == 0 && dir.read("out.txt").find("NetCDF yes") != std::string::npos;
  ASSERT_EQ(shell(dir, exe + (nc ? " --netcdf run.nc run.cfg" : " run.cfg")), 0);
  const auto labels = test::read_records(dir.read("res.slo"));
  ASSERT_GE(labels.size(), 3U);
  const std::string first = std::to_string(labels[0].label), last = std::to_string(labels.back().label);
  std::vector<std::string> sources = {"run.cfg"};
  if (nc && python_has("netCDF4")) sources.push_back("run.nc");
  // SVG text kept as text, so that labels and ticks can be read back.
  dir.write("matplotlibrc", "svg.fonttype: none\n");
  const std::string plot = "MATPLOTLIBRC=matplotlibrc " + tools + "coastra-plot ";
  for (const std::string& src : sources) {
    SCOPED_TRACE(src);
    fs::remove_all(dir.path() / "pics");
    ASSERT_EQ(shell(dir, plot + src + " all --size 640x480 --out pics"), 0) << dir.read("err.txt");
    // Each picture's width, height and coloured pixels: axes, ticks and labels
    // are black and grey, the data in colour; fewer than 500 have drawn no data.
    const std::string count =
        "/usr/bin/python3 -c \"import matplotlib.image as i\n"
        "for p in ['shoreline', 'timestack', 'transport', 'volume', 'series']:\n"
        " a = i.imread('pics/' + p + '.png')[:, :, :3]\n"
        " print(p, a.shape[1], a.shape[0], int(((a.max(2) - a.min(2)) > 0.1).sum()) >= 500)\"";
    ASSERT_EQ(shell(dir, count), 0) << dir.read("err.txt");
    EXPECT_EQ(dir.read("out.txt"), "shoreline 640 480 True\ntimestack 640 480 True\n"
                                   "transport 640 480 True\nvolume 640 480 True\nseries 640 480 True\n");
    // A date between records, with --nearest: the record drawn is named on the
    // console and in the legend; the axis runs over the 3810 ft of the widths;
    // the title is the run's.
    ASSERT_EQ(shell(dir, plot + src + " shoreline --dates " + first + ",20000101 --nearest --format svg --out svg"), 0)
        << dir.read("err.txt");
    EXPECT_EQ(dir.read("out.txt"), "coastra-plot: no record dated 20000101: drawing the nearest, " + first +
                                       "\nsvg/shoreline.svg\n");
    const std::string svg = dir.read("svg/shoreline.svg");
    for (const std::string& text : {first + " (nearest to 20000101)", std::string("alongshore distance (ft)"),
                                    std::string(">3500<"), std::string(">Golden case: feet, regional contour")})
      EXPECT_NE(svg.find(text), std::string::npos) << text;
    EXPECT_EQ(svg.find(">4000<"), std::string::npos);
  }
  // Bad inputs: one line naming the file or the date, exit status 1, no picture.
  fs::create_directory(dir.path() / "b");
  for (const char* f : {"run.cfg", "dx.dat", "res.v2.out", "res.slo", "res.qtr", "res.vcc", "res.mqn"})
    fs::copy_file(dir.path() / f, dir.path() / "b" / f);
  const std::string slo = dir.read("res.slo");
  const struct {
    const char* file;      // file of b/ to write first ("" for none)
    std::string text;      // its contents
    std::string args;
    std::string says;
  } refused[] = {
      {"", "", "nothere.cfg", "nothere.cfg: no such file"},
      {"", "", "run.cfg shoreline --dates " + first + ",20991231", "no record dated 20991231 (nearest " + last + ")"},
      {"", "", "run.cfg shoreline --dates 20201341", "--dates 20201341: not a date"},
      {"", "", "run.cfg series --at 5000", "--at 5000: outside the coast (0 to 3810 ft)"},
      {"", "", "run.cfg contour", "unknown plot 'contour'"},
      {"res.slo", slo.substr(0, slo.size() - 20), "b/run.cfg", "b/./res.slo line " + std::to_string(labels.size() + 1)},
      {"res.slo", slo.substr(0, slo.find('\n') + 1), "b/run.cfg", "b/./res.slo holds no record"},
      {"res.slo", std::string("\x89PNG\r\n\x1a\n\xff\xfe", 10), "b/run.cfg", "b/./res.slo is not a Coastra data file"},
      {"res.qtr", "", "b/run.cfg", "b/./res.qtr holds no record"},
      {"dx.dat", "widths\n\n\n\n150 150\n", "b/run.cfg", "DXFILE b/dx.dat holds 2 widths for 25 cells"},
      {"run.cfg", "TITLE: x\nPRFILE: gone.out\n", "b/run.cfg", "b/gone.slo: No such file"},
      {"cut.nc", "", "b/cut.nc", "b/cut.nc: not a readable NetCDF file"},
      {"cut.nc", nc ? dir.read("run.nc").substr(0, 20000) : "", "b/cut.nc", "b/cut.nc: records missing"},
  };
  for (const auto& r : refused) {
    SCOPED_TRACE(r.says);
    if (std::string(r.file).ends_with(".nc") && !python_has("netCDF4")) continue;
    const std::string file = std::string("b/") + r.file, kept = dir.read(file);
    if (*r.file) dir.write(file, r.text);
    EXPECT_EQ(shell(dir, tools + "coastra-plot " + r.args + " --out none"), 1);
    if (*r.file) dir.write(file, kept);
    const auto err = test::lines_of(dir.read("err.txt"));
    ASSERT_EQ(err.size(), 1U) << dir.read("err.txt");
    EXPECT_EQ(err[0].rfind("coastra-plot: " + r.says, 0), 0U) << err[0];
    EXPECT_FALSE(dir.exists("none"));
  }
}

// Size and modification time of every file under dir but the folder skip: a
// write outside an ensemble's folder changes it.
std::map<std::string, std::pair<std::uintmax_t, fs::file_time_type>> snapshot(const fs::path& dir,
                                                                               const std::string& skip) {
  std::map<std::string, std::pair<std::uintmax_t, fs::file_time_type>> files;
  for (auto it = fs::recursive_directory_iterator(dir); it != fs::recursive_directory_iterator(); ++it) {
    const std::string rel = fs::relative(it->path(), dir).string();
    if (rel == skip && it->is_directory()) it.disable_recursion_pending();
    if (rel != skip && it->is_regular_file() && rel != "out.txt" && rel != "err.txt")
      files[rel] = {it->file_size(), it->last_write_time()};
  }
  return files;
}

TEST(CoastraEnsemble, RunsTheRecipeStaysInItsFolderAndRefusesBadTables) {
  if (!python_has("csv")) GTEST_SKIP() << "no /usr/bin/python3";
  test::ScratchDir dir;
  // The template two folders down, reading its waves from ../../shared, with
  // a second groin (two YNDG and PNDG lines).
  fs::create_directories(dir.path() / "a" / "tpl");
  fs::create_directories(dir.path() / "shared");
  const fs::path tpl = dir.path() / "a" / "tpl";
  for (const auto& e : fs::directory_iterator(fs::path(COASTRA_SOURCE_DIR) / "tests/golden/groins_metric/input"))
    fs::copy_file(e.path(), tpl / e.path().filename());
  fs::rename(tpl / "waves.dat", dir.path() / "shared" / "waves.dat");
  std::string cfg = dir.read("a/tpl/run.cfg");
  cfg.replace(cfg.find(" waves.dat"), 10, " ../../shared/waves.dat");
  dir.write("a/tpl/run.cfg", cfg + "IXNDG: 17\nYNDG: 120.0\nPNDG: 0.2\n");
  const std::string ens = tools + "coastra-ensemble a/tpl/run.cfg ";
  const std::string exe = fs::relative(COASTRA_EXE, dir.path()).string();   // as the README gives it
  // 1. The recipe with a relative --coastra: both members complete; the second
  // names its shoreline by an absolute path and each groin's permeability.
  // Nothing outside ens/ changes.
  dir.write("k1.csv", "K1,INIFILE,PNDG\n0.6,,0.1\n0.3," + dir.file("a/tpl/shore.dat") + ",0.15;0.25\n");
  auto before = snapshot(dir.path(), "ens");
  ASSERT_EQ(shell(dir, ens + "k1.csv --out ens --walls 5,12 --observed a/tpl/shore.dat --coastra " + exe), 0)
      << dir.read("err.txt");
  auto rows = test::lines_of(dir.read("ens/summary.csv"));
  ASSERT_EQ(rows.size(), 3U);
  EXPECT_EQ(rows[0], "member,K1,INIFILE,PNDG,status,total_volume_change,net_transport_wall_5,"
                     "net_transport_wall_12,rmse_shoreline,note");
  EXPECT_EQ(rows[1].rfind("member_001,0.6,,0.1,0,", 0), 0U) << rows[1];
  EXPECT_EQ(rows[2].rfind("member_002,0.3," + dir.file("a/tpl/shore.dat") + ",0.15;0.25,0,", 0), 0U) << rows[2];
  EXPECT_EQ(rows[1].back(), ',');   // no note
  const std::string summary = dir.read("ens/summary.csv");
  const std::string member = dir.read("ens/member_002/run.cfg");
  for (const char* line : {"\nK1: 0.3\n", "\nINIFILE: shore.dat\n", "\nWAVEID: 1 8.0 1824 waves.dat\n"})
    EXPECT_NE(member.find(line), std::string::npos) << line;
  // A repeated key: one value on each groin's line, or one value a line in
  // order, in the lines' places (the first groin before the seawall).
  EXPECT_EQ(test::count_of(dir.read("ens/member_001/run.cfg"), "\nPNDG: 0.1\n"), 2);
  EXPECT_LT(member.find("\nPNDG: 0.15\n"), member.find("\nISWBEG:"));
  EXPECT_GT(member.find("\nPNDG: 0.25\n"), member.find("\nISWBEG:"));
  EXPECT_EQ(test::count_of(member, "\nPNDG:"), 2);
  EXPECT_EQ(dir.read("ens/member_002/waves.dat"), dir.read("shared/waves.dat"));
  // The summary's transport at wall 5 is the last mqn record's fifth value.
  const auto mqn = test::read_records(dir.read("ens/member_001/run.mqn"));
  ASSERT_FALSE(mqn.empty());
  EXPECT_NE(rows[1].find("," + std::to_string(std::llround(mqn.back().values[4])) + ","), std::string::npos);
  EXPECT_TRUE(snapshot(dir.path(), "ens") == before);
  // 2. --gather with a member whose mean-annual record is asterisks: the
  // summary is written, that member marked, the others kept; exit status 1.
  std::string broken = dir.read("ens/member_002/run.mqn");
  broken.replace(broken.rfind('\n', broken.size() - 2) + 9, 16, std::string(16, '*'));
  dir.write("ens/member_002/run.mqn", broken);
  EXPECT_EQ(shell(dir, tools + "coastra-ensemble --gather ens"), 1);
  rows = test::lines_of(dir.read("ens/summary.csv"));
  ASSERT_EQ(rows.size(), 3U);
  EXPECT_EQ(rows[1].back(), ',');
  EXPECT_NE(rows[2].find(",run.mqn line "), std::string::npos) << rows[2];
  // 3. A Slurm script for an --out holding $(...): quoted, so running it runs
  // the member and nothing else; --time and --partition are its directives.
  ASSERT_EQ(shell(dir, ens + "k1.csv --out 'sl$(touch PWNED)' --slurm --time 10 --partition short --coastra " + exe), 0)
      << dir.read("err.txt");
  const std::string job = dir.read("sl$(touch PWNED)/ensemble.slurm");
  for (const char* line : {"#SBATCH --array=1-2\n", "#SBATCH --time=10\n", "#SBATCH --partition=short\n"})
    EXPECT_NE(job.find(line), std::string::npos) << job;
  EXPECT_FALSE(dir.exists("sl$(touch PWNED)/member_001/status.txt"));
  ASSERT_EQ(shell(dir, "SLURM_ARRAY_TASK_ID=1 bash 'sl$(touch PWNED)/ensemble.slurm'"), 0);
  EXPECT_EQ(dir.read("sl$(touch PWNED)/member_001/status.txt").rfind("0 ", 0), 0U);
  EXPECT_FALSE(dir.exists("PWNED"));
  EXPECT_FALSE(dir.exists("sl$(touch PWNED)/PWNED"));
  // 4. Without GNU parallel on PATH the tool's own pool runs the members, two
  // at a time, to the same summary.
  fs::create_directory(dir.path() / "nopar");
  ASSERT_EQ(shell(dir, "ln -s /bin/rm /bin/date nopar/"), 0);
  ASSERT_EQ(shell(dir, "PATH=\"$PWD/nopar\" " + ens + "k1.csv --walls 5,12 --observed a/tpl/shore.dat --coastra " +
                           exe + " --jobs 2 --out pool"), 0) << dir.read("err.txt");
  EXPECT_EQ(dir.read("out.txt"), "coastra-ensemble: GNU parallel not found, running the members 2 at a time\n"
                                 "pool/summary.csv\n");
  EXPECT_EQ(dir.read("pool/summary.csv"), summary);
  // 5. Refusals: one line naming the column, row, key or file; exit status 1;
  // no folder made and nothing written.
  const struct {
    const char* csv;
    const char* args;
    const char* says;
  } refused[] = {
      {"K_1\n0.3\n", "", "m.csv column 1: K_1 is not a configuration key"},
      {"K1,TITLE\n0.3,\"a\nPRFILE: ../evil.out\"\n", "", "m.csv row 1 (line 3), column TITLE: a line break"},
      {"K1,ISMOOTH\n0.3,5\n0.4\n", "", "m.csv line 3: 1 values, the header has 2 keys"},
      {"PRFILE\n../p.out\n", "", "PRFILE ../p.out would write outside the member's folder"},
      {"INLNAME\n../../x\n", "", "INLNAME ../../x would write outside"},
      {"INIFILE\nnothere.dat\n", "", "INIFILE names nothere.dat, which is not a readable file"},
      {"PNDG\n0.1;0.2;0.3\n", "", "column PNDG: 3 values for the template's 2 PNDG lines"},
      {"K1\n0.3\n", "--coastra nothere", "--coastra nothere: no such program"},
      {"K1\n0.3\n", "--slurm --time 1h", "--time 1h: not a Slurm time"},
      {"K1\n0.3\n", "--walls 5,x", "--walls: invalid"},
  };
  before = snapshot(dir.path(), "");
  for (const auto& r : refused) {
    SCOPED_TRACE(r.says);
    dir.write("m.csv", r.csv);
    before["m.csv"] = snapshot(dir.path(), "")["m.csv"];
    EXPECT_EQ(shell(dir, ens + "m.csv --out bad --coastra " + exe + " " + r.args), 1);
    const auto err = test::lines_of(dir.read("err.txt"));
    ASSERT_EQ(err.size(), 1U) << dir.read("err.txt");
    EXPECT_NE(err[0].find(r.says), std::string::npos) << err[0];
    EXPECT_FALSE(dir.exists("bad"));
    EXPECT_TRUE(snapshot(dir.path(), "") == before);
  }
  // The keys a column may name are the program's key table.
  ASSERT_EQ(shell(dir, tools + "coastra-ensemble --list-keys"), 0);
  std::vector<std::string> table = {"COASTRA"};
  for (int k = 0; k < config_key_count(); ++k) table.emplace_back(config_key(k).key);
  std::sort(table.begin(), table.end());
  EXPECT_EQ(test::lines_of(dir.read("out.txt")), table);
}

// ---- coastra-calibrate ----

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
  ASSERT_EQ(shell(dir, cal + "run.cfg obs.csv --skill --out all"), 0) << dir.read("err.txt");
  // A: model 10 12 14 16, errors -1 0 1 -2: RMSE sqrt(6/4); observed std
  // sqrt(29/4), model std sqrt(5), covariance 22/4: r = 5.5 / sqrt(36.25)
  // = 0.9135, STDn = sqrt(5 / 7.25) = 0.8305, loss = sqrt(1.5/7.25 +
  // (1 - r)^2 + (1 - STDn)^2) = 0.4931.
  const auto all = test::lines_of(dir.read("all/skill.csv"));
  ASSERT_EQ(all.size(), 5U) << dir.read("all/skill.csv");
  EXPECT_EQ(all[1], "fit,A,4,1.2247,0.9135,0.8305,0.4931");
  EXPECT_EQ(all[4], "outside,all,0,,,,");
  // The fit period 20200101-20200104 (both ends in it). A: model 10 12 14
  // against 11 12 13: RMSE sqrt(2/3), r 1, STDn 2, loss sqrt(1 + 0 + 1).
  // B: model 12.5 14.5 against 12.5 13.5: RMSE sqrt(1/2), RMSEn sqrt(2), r 1, STDn
  // 2, loss sqrt(3). Overall: the means over the series. Outside: one point
  // each, 2 m off; a single value has no spread (r 0, no STDn or loss).
  ASSERT_EQ(shell(dir, cal + "run.cfg obs.csv --skill --period 20200101-20200104 --out part"), 0);
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

TEST(CoastraCalibrate, LocalAndSlurmFitsAgreeFailedRunsScoreWorstAndRidgesAreNamed) {
  if (!python_has("numpy, scipy, matplotlib")) GTEST_SKIP() << "python3 numpy, scipy or matplotlib missing";
  // A tiny coast: 20 cells of 50 m, a fill of 20 m on cells 9 to 12 spreading
  // under 1.5 m waves from the shore normal, two months of 6-hour steps.
  // Observed: the shoreline of K1 = 0.5 at the centres of cells 7, 9, 11, 13,
  // every day, without noise.
  test::ScratchDir dir;
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
  ASSERT_EQ(shell(dir, cal + fit + "--jobs 2 --out local"), 0) << dir.read("err.txt");
  EXPECT_NE(dir.read("out.txt").find("runs 20/20  best rmse"), std::string::npos) << dir.read("out.txt");
  ASSERT_EQ(shell(dir, "PATH=\"$PWD:$PATH\" " + cal + fit + "--slurm --out slurm"), 0)
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
  ASSERT_EQ(shell(dir, cal + "coast.cfg obs.csv --fit K1=0.1:1 --fit BERMHT=1:4 --evaluations 8 "
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
    EXPECT_EQ(shell(dir, cal + std::string("coast.cfg ") + args + " --out cal"), 1) << args;
    EXPECT_EQ(dir.read("err.txt"), std::string("coastra-calibrate: ") + message + "\n") << args;
    EXPECT_FALSE(dir.exists("cal")) << args;
  }
}

}  // namespace
}  // namespace coastra

// The configuration reader: the field readers it is built on (free-format items,
// the 8-character integer field, the logical field, file names and bounded text
// records), keyword rules, value kinds, entry lists, the files it opens and the
// end-of-file steps with their messages.

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <utility>

#include "input/config_reader.h"
#include "input/field_reader.h"
#include "support/run_helpers.h"
#include "support/state_rig.h"

namespace coastra {
namespace {

using Cases = std::initializer_list<std::pair<std::string, std::string>>;

// A scratch directory with the data files a minimal configuration names.
struct CfgDir {
  test::ScratchDir dir;
  CfgDir() {
    dir.write("shore.dat", "0\n");
    dir.write("wave.dat", "0\n");
  }
  std::string f(const std::string& name) const { return dir.file(name); }
  // The lines every valid configuration needs, without the header line.
  std::string body() const {
    return "INIFILE: " + f("shore.dat") + "\nWAVEID: 1 10.0 0 " + f("wave.dat") + "\nPRFILE: " +
           f("run.prt") + "\nCSTUNITS: (m)\nNX: 30\nDT: 1\nDTSAVE: 24\nSIMDATS: 20000101\n" +
           "SIMDATE: 20010101\nWAVUNITS: (m)\nK1: 0.5\nHAMP: 1\nTHETAAMP: 1\nBERMHT: 2\nDCLOS: 8\n";
  }
  std::string valid() const { return "COASTRA:\n" + body(); }
  // Reads text as the configuration file into the rig's state.
  bool read(test::StateRig& r, const std::string& text) const {
    dir.write("run.cfg", text);
    return read_config(r.m.cfg, r.m.run(), f("run.cfg"));
  }
  // A rig that has read the valid configuration and extra (which must go through).
  std::unique_ptr<test::StateRig> ok(const std::string& extra) const {
    auto r = std::make_unique<test::StateRig>();
    EXPECT_TRUE(read(*r, valid() + extra)) << extra;
    return r;
  }
  // The error-stop message of reading text, or "(no stop)".
  std::string stop(const std::string& text) const {
    test::StateRig r;
    return test::stop_message([&] { read(r, text); });
  }
};

TEST(FreeFormat, RealsIntegersAndQuotedItems) {
  float v[6] = {9.0F, 9.0F, 9.0F, 9.0F, 9.0F, 9.0F};
  bool bad = false;
  EXPECT_EQ(read_reals("1.5, 2 3.25D1,,-4e-1\t+.5", v, 5, bad), 5);
  const float want[6] = {1.5F, 2.0F, 32.5F, -0.4F, 0.5F, 9.0F};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(v[i], want[i]) << i;
  EXPECT_EQ(read_reals("7 8", v, 4, bad), 2);  // the rest keep their values
  EXPECT_EQ(v[2], 32.5F);
  EXPECT_EQ(read_reals("1 2 words", v, 2, bad), 2);  // items after the n-th are not read
  EXPECT_EQ(read_reals("1e-60", v, 1, bad), 1);      // too small for a float: zero
  EXPECT_EQ(v[0], 0.0F);
  double d = 0.0;
  EXPECT_EQ(read_doubles("0.1", &d, 1, bad), 1);
  EXPECT_EQ(d, 0.1);  // read in double precision, not widened from a float
  EXPECT_FALSE(bad);
  EXPECT_EQ(read_reals("1.5 abc 3", v, 3, bad), 1);  // reading ends at a bad item
  EXPECT_TRUE(bad);
  EXPECT_EQ(v[1], 2.0F);  // unchanged
  for (const char* text : {"inf", "nan", "1.5E", "E3", "1.2.3", "'5'", "1e39", "--1", "."}) {
    bad = false;
    EXPECT_EQ(read_reals(text, v, 1, bad), 0) << text;
    EXPECT_TRUE(bad) << text;
  }
  // Integers reject points and exponents.
  int n[3] = {0, 0, 0};
  bad = false;
  EXPECT_EQ(read_ints("+7, -12 30", n, 3, bad), 3);
  EXPECT_EQ((std::array{n[0], n[1], n[2]}), (std::array{7, -12, 30}));
  EXPECT_FALSE(bad);
  for (const char* text : {"5.", "1e3", "2147483648", "+-3", "0x10", "12a"}) {
    bad = false;
    EXPECT_EQ(read_ints(text, n, 1, bad), 0) << text;
    EXPECT_TRUE(bad) << text;
  }
  // Items are unquoted names.
  const std::string_view text = " 3, 'my wave.dat' \"a,b\" plain 'open";
  std::size_t pos = 0;
  std::string_view item;
  for (const char* name : {"3", "my wave.dat", "a,b", "plain", "open"}) {
    ASSERT_TRUE(next_item(text, pos, item));
    EXPECT_EQ(item, name);
  }
  EXPECT_FALSE(next_item(text, pos, item));
}

TEST(FixedFields, Int8LogicalFileNameAndRecords) {
  int v = -1;
  for (const auto& [text, want] : {std::pair<const char*, int>{"2001010112", 20010101},
                                   {"5       comment", 5}, {" - 1 2", -12}, {"        ", 0}}) {
    EXPECT_TRUE(read_int8(text, v)) << text;
    EXPECT_EQ(v, want) << text;
  }
  for (const char* text : {"5 groin", "5.", "-", "12-3", "x"}) EXPECT_FALSE(read_int8(text, v));
  EXPECT_EQ(v, 0);  // unchanged by a rejected field

  bool b = false;
  for (const char* text : {"T", ".TRUE.", "  .t", "      T"}) {
    EXPECT_TRUE(read_logical(text, b) && b) << text;
    b = false;
  }
  for (const char* text : {"F", ".false.", "f junk"}) {
    b = true;
    EXPECT_TRUE(read_logical(text, b) && !b) << text;
  }
  for (const char* text : {"yes", "1", "       T", "..T"}) EXPECT_FALSE(read_logical(text, b));

  EXPECT_EQ(file_name("my shore.dat   "), "my shore.dat");
  EXPECT_EQ(file_name("\"my shore.dat\" comment"), "my shore.dat");
  EXPECT_EQ(file_name("\"unclosed name.dat"), "unclosed name.dat");
  EXPECT_EQ(file_name("'single.dat'"), "'single.dat'");  // only a double quote is special
  // Records of 301 characters: cut at 255 and reported; 255 + CR: whole, not reported.
  std::istringstream in(std::string(300, 'a') + "b\r\n" + std::string(255, 'c') +
                        "\r\nshort\r\n\nlast");
  std::string line;
  bool cut = false;
  const std::pair<std::string, bool> want[] = {{std::string(255, 'a'), true},
                                               {std::string(255, 'c'), false},
                                               {"short", false},
                                               {"", false},
                                               {"last", false}};
  for (const auto& [text, was_cut] : want) {
    ASSERT_TRUE(read_record(in, line, 255, cut));
    EXPECT_EQ(line, text);
    EXPECT_EQ(cut, was_cut) << text.substr(0, 5);
  }
  EXPECT_FALSE(read_record(in, line, 255, cut));
}

TEST(ConfigLines, KeywordRulesAndValueKinds) {
  CfgDir d;
  const auto r = d.ok("nx   : 40\n  NX: 50\nNX             X: 60\nNX 70\n"
                      "* comment: NX\nUNKNOWN: 3\nSIMDATS: 20000101 12\n"
                      "AZIMUTH: 135\nPRWARN: .false.\nDTMIN: 0.1\nTITLE:   My run  \n"
                      "DX: 12.5,40" + std::string(250, ' ') + "7.25\n");
  const Settings& c = r->m.cfg;
  EXPECT_EQ(c.NX, 40);  // indented, over-long and colon-less keywords match nothing
  EXPECT_EQ(c.SIMDATS, 20000101);
  EXPECT_EQ(c.AZIMUTH90, 45.0F);
  EXPECT_EQ(c.IPRWARN, 0);
  EXPECT_EQ(c.DTMIN, 0.1);
  EXPECT_EQ(c.DX(1), 12.5F);
  EXPECT_EQ(c.DX(2), 40.0F);
  EXPECT_EQ(c.DX(3), 7.25F);  // begins in column 262: the line is read whole
  EXPECT_EQ(c.TITLE, "My run" + std::string(58, ' '));
  EXPECT_TRUE(test::has_line(r->con.str(), " Simulation Title: My run"));

  std::string no_dt = d.valid();  // a blank value is skipped: DT stays 0
  no_dt.replace(no_dt.find("DT: 1\n"), 6, "DT:   \n");
  const std::string long_line = "GAMMA: " + std::string(60, 'x');
  for (const auto& [text, msg] : Cases{
           {no_dt, "DT must be > 0."},
           {"COASTRA\n" + d.body(), "Configuration file not targeted for Coastra"},
           {d.valid() + "IXNDG: 5 groin\n", "Invalid config data: IXNDG: 5 groin"},
           {d.valid() + "IXNDG: 5       groin\nNX: 30 cells\n", "(no stop)"},
           {d.valid() + "NUMWAVES: two\n", "Invalid config data: NUMWAVES: two"},
           {d.valid() + "PRTOUT: yes\n", "Invalid config data: PRTOUT: yes"},
           {d.valid() + long_line + "\n", "Invalid config data: " + long_line.substr(0, 52)},
           {d.valid() + "KTIDE: \x01\x02z\n", "Invalid config data: KTIDE: ??z"}}) {
    EXPECT_EQ(d.stop(text), msg);
  }
}

TEST(ConfigEntries, SequencesFollowTheirGroinsThroughTheSort) {
  CfgDir d;
  const auto r = d.ok("IXNDG: 20\nYNDG: 200\nIXNDG: 5\nPNDG: 0.1\nYNDG: 50\n"
                      "PNDG: 0.2\nIXNDG: 5\nYNDG: 60\nIXDG: 9\nDDG: 0\nIXDG: 3\n"
                      "DDG: 4\n");
  const Settings& c = r->m.cfg;
  ASSERT_EQ(c.NNDG, 3);
  // Equal walls keep the first one found first; ...ORD is the line order.
  const int wall[] = {5, 5, 20}, ord[] = {2, 3, 1};
  const float y[] = {50.0F, 60.0F, 200.0F}, p[] = {0.2F, 0.0F, 0.1F};
  for (int k = 1; k <= 3; ++k) {
    EXPECT_EQ(c.IXNDG(k), wall[k - 1]) << k;
    EXPECT_EQ(c.INDGORD(k), ord[k - 1]) << k;
    EXPECT_EQ(c.YNDG(k), y[k - 1]) << k;
    EXPECT_EQ(c.PNDG(k), p[k - 1]) << k;
  }
  EXPECT_EQ(c.IXDG(1), 3);
  EXPECT_EQ(c.DDG(1), 4.0F);
  EXPECT_EQ(c.IDGORD(1), 2);
}

TEST(ConfigEntries, CurKeysStoreIntoTheLatestEntryOnly) {
  CfgDir d;
  for (const auto& [lines, msg] : Cases{
           {"ISWEND: 5\nISWBEG: 2\n", "ISWEND given before ISWBEG"},
           {"INLNAME: Pass\n", "INLNAME given before IINLS"},
           {"IINLS: 5\nJBCL: 1\nIQMAPV2: 3\n", "IQMAPV2 given before IQMAPV1"},
           {"DBI1: 4\nPDB: 0.5\n", "PDB given before KTMETDB"},
           {"IMOR: 1\n", "IMOR given before IINLS"},
           {"IINLS: 5\nIDREDS: 20000101\n", "IDREDS given before IMOR"},
           {"IINLS: 5\nIMOR: 1\nIINLS: 9\nIDREDE: 1\n", "IDREDE given before IMOR"}}) {
    EXPECT_EQ(d.stop(d.valid() + lines), msg);
  }
  const auto r = d.ok("ISWBEG: 2\nSWY1: 10\nISWBEG: 8\nISWEND: 12\nDBI1: 4\n"
                      "DBI1: 9\nDBI1: 15\nKTMETDB: 2\nD50DB: 0.3\nKTMETDB: 0\n"
                      "PDB: 0.4\nKTMETDB: 1\n");
  const Settings& c = r->m.cfg;
  EXPECT_EQ(c.ISWEND(1), 0);
  EXPECT_EQ(c.ISWEND(2), 12);
  EXPECT_EQ(c.SWY1(1), 10.0F);
  // D50DB and PDB follow the KTMETDB lines, not the breakwater count.
  EXPECT_EQ(c.D50DB(1), 0.3F);
  EXPECT_EQ(c.PDB(2), 0.4F);
  EXPECT_EQ(c.PDB(3), 1.0F);  // method 1 sets it
  EXPECT_EQ(c.TRANMODE, 1);
  const auto r2 = d.ok("DBI1: 4\nKTMETDB: 1\nTRANDB: 0.5\n");
  EXPECT_EQ(r2->m.cfg.TRANMODE, 0);  // the later of TRANDB and KTMETDB decides
  // The QQ keys store into bypass operation 1 (NBP, BPDATS, BPDATE, IBPS, IBPE)
  // without counting it; a later BPDATS line opens it and replaces the values.
  const auto bypass = [](const Settings& b) {
    return std::array{b.NBP, b.BPDATS(1), b.BPDATE(1), b.IBPS(1), b.IBPE(1)};
  };
  EXPECT_EQ(bypass(d.ok("QQDATS: 20000105\nQQDATE: 20000110\nIQQS: 4\nIQQE: 6\n")->m.cfg),
            (std::array{0, 20000105, 20000110, 4, 6}));
  EXPECT_EQ(bypass(d.ok("QQDATS: 20000105\nBPDATS: 20000301\nIQQS: 8\n")->m.cfg),
            (std::array{1, 20000301, 0, 8, 0}));
}

// Lists whose count set-up reports keep counting past their capacity without
// storing; the others stop at their first entry beyond it. Nothing is ever
// written past a list (its slot cap + 1 exists and stays 0).
TEST(ConfigEntries, CapacitiesAreNeverExceeded) {
  CfgDir d;
  auto lines = [](const std::string& key, int n) {
    std::string s;
    for (int k = 1; k <= n; ++k) s += key + ": " + std::to_string(1000 - k) + "\n";
    return s;
  };
  struct Counted { const char* key; int cap; int Settings::*count; Vec1<int> Settings::*list; };
  for (const Counted& k : {Counted{"PRDATE", MXOUT, &Settings::NOUT, &Settings::PRDATE},
                           Counted{"IXNDG", MXNDG, &Settings::NNDG, &Settings::IXNDG},
                           Counted{"IXDG", MXDG, &Settings::NDG, &Settings::IXDG},
                           Counted{"DBI1", MXDB, &Settings::NDB, &Settings::DBI1},
                           Counted{"BPDATS", MXBP, &Settings::NBP, &Settings::BPDATS}}) {
    // (the diffracting groins get a tip depth so the reading ends)
    const auto r = d.ok(lines(k.key, k.cap + 1) + "DDG: 2\n");
    EXPECT_EQ(r->m.cfg.*k.count, k.cap + 1) << k.key;
    EXPECT_EQ((r->m.cfg.*k.list)(k.cap + 1), 0) << k.key;
  }
  test::StateRig g;  // the 250 stored groins are sorted, their tips with them
  std::string groins;
  for (int k = 1; k <= 251; ++k) groins += "IXNDG: " + std::to_string(1000 - k) + "\nYNDG: 7\n";
  ASSERT_TRUE(d.read(g, d.valid() + groins));
  EXPECT_EQ(g.m.cfg.IXNDG(1), 750);
  EXPECT_EQ(g.m.cfg.IXNDG(250), 999);
  EXPECT_EQ(g.m.cfg.YNDG(251), 0.0F);

  std::string waves;
  for (int k = 1; k <= 51; ++k) waves += "WAVEID: 1 10 0 " + d.f("wave.dat") + "\n";
  for (const auto& [text, msg] : Cases{
           {lines("ISWBEG", 251), "Too many ISWBEG entries; maximum is 250"},
           {lines("YADD", 251), "Too many YADD entries; maximum is 250"},
           {"IINLS: 5\n" + lines("IMOR", 251), "Too many IMOR entries; maximum is 250"},
           {lines("IQMAPV1", 501), "Too many IQMAPV1 entries; maximum is 500"},
           {waves, "Too many WAVEID entries; maximum is 50"}}) {
    EXPECT_EQ(d.stop(d.valid() + text), msg);
  }
}

TEST(ConfigInlets, ZeroVolumesAndDredgingRates) {
  CfgDir d;
  test::StateRig r;
  r.m.PRT = &r.m.PRTPENDING;  // as at program start: held until PRFILE is read
  // The zero-volume message comes before PRFILE and still reaches the print file.
  ASSERT_TRUE(d.read(r, "COASTRA:\nIINLS: 10\nINLNAME: \"Big Pass\" ebb\nVVSEQ: 0.0\n"
                        "VVSFQ: 5\nVVSBQL: 1\nVVSBQR: 1\nVVSAQL: 1\nVVSAQR: 1\n"
                        "DRDAY: 2\nIMOR: 3\nIDREDS: 20000201\nIDREDE: 20000210\nDREDV: 100\nDT: 3\n"
                        "IMOR: 1\nDREDV: 100\n" + d.body()));
  const Settings& c = r.m.cfg;
  EXPECT_TRUE(c.INLETS && c.DREDGING);
  EXPECT_EQ(c.INLNAME[1], "Big Pass");
  EXPECT_EQ(c.VVSEQ(1), 0.00001F);
  EXPECT_EQ(c.VVSFQ(1), 5.0F);
  const std::string msg = " VVSEQ cannot = 0; resetting to 0.00001";
  EXPECT_TRUE(test::has_line(r.con.str(), msg));
  r.m.PRTFILE.close();
  EXPECT_TRUE(test::has_line(d.dir.read("run.prt"), msg));
  ASSERT_EQ(c.NDRED, 2);
  EXPECT_EQ(c.IMOR(1), 3);
  EXPECT_EQ(c.IDREDS(1), 20000201);
  EXPECT_FLOAT_EQ(c.DREDV(1), 100.0F / 48.0F);  // 100 / 2 days / 24 h, per hour: DT not needed
  EXPECT_FLOAT_EQ(c.DREDV(2), 100.0F / 48.0F);
  EXPECT_EQ(c.DREDINL(2), 1);
  EXPECT_EQ(c.NDREDLAST(1), 2);
  EXPECT_EQ(d.stop(d.valid() + "IINLS: 5\nIMOR: 1\nDREDV: 10\n"),
            "DRDAY must be > 0 before DREDV");
}

TEST(ConfigFiles, NamesQuotesAndOpenFailures) {
  CfgDir d;
  d.dir.write("my shore.dat", "0\n");
  d.dir.write("my wave.dat", "0\n");
  const auto r = d.ok("INIFILE: \"" + d.f("my shore.dat") +
                      "\"\nWAVEID: 7, 12.5, 3, '" + d.f("my wave.dat") +
                      "'\nDXFILE: dx.dat\nTIDEFILE: 4, 2, \"" +
                      d.f("wave.dat") + "\"\nWLFILE: 6 " + d.f("shore.dat") + "\n");
  const Settings& c = r->m.cfg;
  EXPECT_TRUE(r->m.FINI.is_open());
  EXPECT_EQ(c.NWAVEFILES, 2);
  EXPECT_EQ(c.IWAVEID(2), 7);
  EXPECT_EQ(c.WMDEP(2), 12.5F);
  EXPECT_EQ(c.NWAVEV, 3);
  EXPECT_EQ(c.WAVEFILE[2], d.f("my wave.dat"));
  EXPECT_TRUE(r->m.FWAVE[2].is_open());
  EXPECT_EQ(c.ITIDEWALL(1), 4);
  EXPECT_EQ(c.ITIDE2, 2);
  EXPECT_TRUE(c.TIDES && r->m.FTIDE[1].is_open());
  EXPECT_EQ(c.IWLFILE, 6);
  EXPECT_TRUE(r->m.FWL.is_open());
  EXPECT_EQ(c.OUTBASE, d.f("run."));
  EXPECT_EQ(c.IDOT, static_cast<int>(d.f("run.").size()));
  const auto p = d.ok("PRFILE: " + d.f("noperiod") + "\n");
  EXPECT_EQ(p->m.cfg.IDOT, 256);
  EXPECT_EQ(p->m.cfg.OUTBASE, "");
  std::filesystem::create_directory(d.f("out.d"));  // the period is the file's own
  const auto q = d.ok("PRFILE: " + d.f("out.d/run.v2.prt") + "\n");
  EXPECT_EQ(q->m.cfg.OUTBASE, d.f("out.d/run."));

  const std::string dir = d.dir.path().string();
  const std::string nul = d.f("shore.dat") + std::string(1, '\0') + "x";  // names another file
  for (const auto& [line, msg] : Cases{
           {"INIFILE: " + d.f("none.dat"), "Cannot open initial shoreline file"},
           {"INIFILE: " + nul, "Cannot open initial shoreline file"},
           {"REGFILE: " + dir, "Cannot open regional shoreline file"},
           {"WAVEID: 1 10 0", "Cannot open wave file"},
           {"WLFILE: 2 none.dat", "Cannot open water level file"},
           {"TIDEFILE: 4 1 none.dat", "Cannot open tidal current file"},
           {"BYPFILE: none.dat", "Cannot open bypass event file"},
           {"PRFILE: " + dir, "Cannot open prtfil file"}}) {
    EXPECT_EQ(d.stop(d.valid() + line + "\n"), msg);
  }
  for (const auto& [name, msg] : Cases{{"  ", "Specify a config file"},
                                       {d.f("none.cfg"), "Cannot open config file"},
                                       {dir, "Cannot open config file"}}) {
    test::StateRig n;
    EXPECT_EQ(test::stop_message([&] { read_config(n.m.cfg, n.m.run(), name); }), msg) << name;
  }
}

TEST(ConfigEndOfFile, StepsRunInOrderWithTheirMessages) {
  CfgDir d;
  test::StateRig r;  // every file is opened before the missing header is noticed
  EXPECT_EQ(test::stop_message([&] { d.read(r, d.body()); }),
            "Configuration file not targeted for Coastra");
  EXPECT_TRUE(test::has_line(r.con.str(), " Reading Initial Shoreline: " + d.f("shore.dat")));
  std::string no_prfile = d.valid();
  const std::size_t at = no_prfile.find("PRFILE");
  no_prfile.erase(at, no_prfile.find("CSTUNITS") - at);
  for (const auto& [text, msg] : Cases{
           {"", "Configuration file not targeted for Coastra"},
           {std::string("\x7f" "ELF\x02\x01\0\0:\xff\xfe\n\0\0", 14),
            "Configuration file not targeted for Coastra"},
           {"COASTRA:\nDT: 0\n", "Initial Shoreline filename omitted in config file"},
           {"COASTRA:\nINIFILE: " + d.f("shore.dat"),
            "WAVEINFILE filename omitted in config file"},
           {no_prfile, "PRTFILE filename omitted in config file"},
           {no_prfile + "PRTOUT: F\n", "(no stop)"},
           {d.valid() + "CSTUNITS: ft\n", "CSTUNITS must be (ft) or (m)"},
           {d.valid() + "WAVUNITS: metres\n", "WAVUNITS must be (ft) or (m)"},
           {d.valid() + "SIMDATE: 19991231\nDT: 0\n", "SIMDATE must be >= SIMDATS"},
           {d.valid() + "DTSAVE: -1\n", "DTSAVE must be > 0."}}) {
    EXPECT_EQ(d.stop(text), msg);
  }
  test::StateRig g;  // step 5 reports and returns before steps 6-10
  EXPECT_FALSE(d.read(g, d.valid() + "IXDG: 5\nDDG: 3\nIXDG: 9\nDDG: 0\nCSTUNITS: bad\n"));
  EXPECT_TRUE(test::has_line(g.con.str(), " Diffracting groin depth file DDG omitted or set to "
                                          "            zero in config file"));
  EXPECT_EQ(g.con.str().find(" No IK1END"), std::string::npos);
}

TEST(ConfigEndOfFile, UnitsAndAlongshoreParameters) {
  CfgDir d;
  const auto r = d.ok("CSTUNITS:  (M)\nWAVUNITS: (FT)\nK1: 0.5 0.7\nIK1END: 10\n"
                      "K2: 0.3\nHAMP: 1 2\nIHAMPEND: 4 30\nTHETAAMP: 1 2\n"
                      "ITHETAAMPEND: 12\nBERMHT: 1 2 3\nIBERMHTEND: 5 -3\n"
                      "DCLOS: 4 5\nIDCLOSEND: 2147483647\n");
  const Settings& c = r->m.cfg;
  EXPECT_EQ(c.CSTUNITS, "(m)   ");
  EXPECT_EQ(c.UNITSYS, 1);
  EXPECT_FALSE(c.ENGLISH);
  EXPECT_EQ(c.VOLLABEL, "M3");
  EXPECT_EQ(c.WAVEFAC, 0.3048F);
  for (int i = 1; i <= 31; ++i) {
    EXPECT_EQ(c.K1(i), i <= 10 ? 0.5F : 0.7F) << i;
    EXPECT_EQ(c.K2(i), 0.3F) << i;
    EXPECT_EQ(c.HAMP(i), i <= 4 ? 1.0F : 2.0F) << i;  // end cell NX runs to wall NX+1
    EXPECT_EQ(c.THETAAMP(i), i <= 12 ? 1.0F : 2.0F) << i;
    EXPECT_EQ(c.BERMHT(i), 3.0F) << i;  // out-of-order end cells never reach below wall 1
    EXPECT_EQ(c.DCLOS(i), 4.0F) << i;   // an end cell beyond the grid stops at wall NX+1
  }
  EXPECT_EQ(c.K1(32), 0.0F);
  EXPECT_EQ(c.DCLOS(32), 0.0F);
  EXPECT_EQ(r->con.str().find("No IK1END"), std::string::npos);

  // As many values as end cells, none at NX: the last segment gets 0.
  const auto f = d.ok("K1: 0.5\nIK1END: 10\n");
  EXPECT_EQ(f->m.cfg.K1(10), 0.5F);
  EXPECT_EQ(f->m.cfg.K1(11), 0.0F);
  // NX beyond capacity (set-up reports it): nothing written past the walls.
  const auto big = d.ok("NX: 2147483647\nK1: 0.5\nK2: 0.1 0.2\nIK2END: 9\n");
  EXPECT_EQ(big->m.cfg.K1(MXWALL), 0.5F);
  EXPECT_EQ(big->m.cfg.K1(MXWALL + 1), 0.0F);
  EXPECT_EQ(big->m.cfg.K2(MXWALL), 0.2F);
  EXPECT_EQ(big->m.cfg.K2(MXWALL + 1), 0.0F);
}

}  // namespace
}  // namespace coastra

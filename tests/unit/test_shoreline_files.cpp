// The shoreline and grid files: layout (four header lines, ten values a line),
// the regional contour switch, unit conversion, the too-few-values and
// invalid-value stops, the variable cell spacing and the cell coordinates.

#include <gtest/gtest.h>

#include <string>

#include "input/shoreline_files.h"
#include "support/run_helpers.h"
#include "support/state_rig.h"

namespace coastra {
namespace {

const std::string HEADER = "header 1\nheader 2\nheader 3\nheader 4\n";

std::string values(int first, int n) {  // one line: first, first+1, ...
  std::string s;
  for (int k = 0; k < n; ++k) s += " " + std::to_string(first + k);
  return s + "\n";
}

// The initial shoreline, regional contour and spacing files of a coast of nx
// cells, the first two opened as the configuration reader leaves them.
struct Files : test::StateRig {
  test::ScratchDir dir;
  Files(int nx, int ireg, const std::string& ini, const std::string& reg = "") {
    m.cfg.NX = nx;
    m.cfg.IREG = ireg;
    dir.write("ini.txt", ini);
    dir.write("reg.txt", reg);
    dir.write("dx.txt", ini);  // the spacing file, when DX(1) is -1
    m.FINI.open(dir.file("ini.txt"));
    m.FREG.open(dir.file("reg.txt"));
    m.cfg.DXFILE = dir.file("dx.txt");
  }
  template <class F>
  std::string stop(F f) {
    return test::stop_message([&] { f(m.cfg, m.run(), m.input()); });
  }
};

TEST(ShorelineFiles, TenValuesPerLineAfterFourHeaderLinesAndTheContourByIreg) {
  // Files of whole lines of ten, in feet, with the contour converted (IREG 1)
  // are read by the golden case feet_regional. Values 11 and 12 of a line are
  // lost; a short line is continued; commas, CRLF; a line after the last value
  // is not read.
  Files g(15, 0, HEADER + "1 2 3 4 5 6 7 8 9 10 99 98\n" + values(11, 3) + "14,15\r\nnot read\n");
  ASSERT_EQ(g.stop(read_shoreline_files), "(no stop)");
  for (int i = 1; i <= 15; ++i) EXPECT_EQ(g.m.YINIT(i), i) << i;
  // The regional contour: opened but not read (IREG 0), read as it is (3).
  Files off(3, 0, HEADER + values(1, 3), HEADER + values(7, 3));
  ASSERT_EQ(off.stop(read_shoreline_files), "(no stop)");
  EXPECT_EQ(off.m.YREG(2), 0.0F);
  std::string first;
  std::getline(off.m.FREG, first);
  EXPECT_EQ(first, "header 1");

  Files kept(3, 3, HEADER + values(1, 3), HEADER + values(7, 3));
  kept.m.LENFAC = 0.3048F;
  ASSERT_EQ(kept.stop(read_shoreline_files), "(no stop)");
  EXPECT_EQ(kept.m.YREGFILE(3), 9.0F);  // as read, not converted
  EXPECT_EQ(kept.m.YREG(3), 0.0F);
}

TEST(ShorelineFiles, TooFewOrInvalidValuesStopTheRunNamingTheFile) {
  struct Case {
    int nx, ireg;
    std::string ini, reg;
    bool spacing;          // the variable spacing file is read (DX(1) = -1)
    std::string message;   // the error stop
    std::string text;      // print-file text naming routine and file, "" to skip
  };
  const std::string ten = HEADER + values(1, 10);
  const Case cases[] = {
      {12, 0, ten + "11\n", "", false, "INITIAL SHORELINE FILE CONTAINS TOO FEW VALUES",
       "\"SHOIN\".\n FILE \"SHORL\" CONTAINS TOO FEW VALUES\n"},
      {12, 3, ten + values(11, 2), ten, false, "REGIONAL CONTOUR FILE CONTAINS TOO FEW VALUES",
       "\"SHOIN\".\n FILE \"SHORM\" CONTAINS TOO FEW VALUES\n"},
      {1, 0, "only\nthree\nlines\n", "", false, "INITIAL SHORELINE FILE CONTAINS TOO FEW VALUES", ""},
      {20, 0, ten + " 11 12 1x.0 14\n", "", false, "Invalid value in initial shoreline file at line 6", ""},
      {3, 1, HEADER + values(1, 3), HEADER + "\n 1 abc 3\n", false,
       "Invalid value in regional contour file at line 6", ""},
      {3, 0, HEADER + "10 20\n", "", true, "VARIABLE DX FILE CONTAINS TOO FEW VALUES",
       "\"DXIN\".\n FILE \"DXDAT\" CONTAINS TOO FEW VALUES\n"},
      {12, 0, ten + "5 0\n", "", true, "Cell width not positive in variable grid cell spacing file at cell 12", ""},
      {3, 0, HEADER + "10 twenty 30\n", "", true, "Invalid value in variable grid cell spacing file at line 5", ""},
  };
  for (const Case& k : cases) {
    Files f(k.nx, k.ireg, k.ini, k.reg);
    if (k.spacing) f.m.cfg.DX(1) = -1.0F;
    EXPECT_EQ(k.spacing ? f.stop(read_cell_spacing) : f.stop(read_shoreline_files), k.message);
    if (!k.text.empty()) {
      EXPECT_NE(f.prt.str().find(k.text), std::string::npos) << k.message;
    }
  }
  // The whole explanation, on the console with an empty line after it.
  Files ini(12, 0, ten + "11\n");
  ini.stop(read_shoreline_files);
  EXPECT_EQ(ini.con.str(), " ERROR FOUND IN \"SHOIN\".\n FILE \"SHORL\" CONTAINS TOO FEW VALUES\n"
                           " PLEASE CHANGE IN DATA FILE(S)\n\n");
  Files noreg(3, 3, HEADER + values(1, 3));  // IREG asks for a contour no REGFILE gave
  noreg.m.FREG.close();
  EXPECT_EQ(noreg.stop(read_shoreline_files), "Regional shoreline filename omitted in config file");
  // A name holding a NUL would open the file named by the part before it.
  const std::string nul = "dx.txt" + std::string(1, '\0') + "x";
  for (const std::string& name : {std::string("missing.txt"), std::string("."), nul}) {
    Files f(3, 0, HEADER + "10 20 30\n");
    f.m.cfg.DX(1) = -1.0F;
    f.m.cfg.DXFILE = f.dir.file(name);
    EXPECT_EQ(f.stop(read_cell_spacing), "Cannot open variable grid cell spacing file") << name;
  }
}

TEST(CellSpacing, VariableSpacingFileAndCellCoordinates) {
  Files f(3, 0, HEADER + "10 20 30\n");
  f.m.cfg.DX(1) = -1.0F;
  ASSERT_EQ(f.stop(read_cell_spacing), "(no stop)");
  EXPECT_EQ(f.m.cfg.DX(3), 30.0F);
  EXPECT_EQ(f.m.cfg.DX(4), 30.0F);
  build_cell_coordinates(f.m.cfg, f.m.input());
  EXPECT_EQ(f.m.XCELL(1), 10.0F);
  EXPECT_EQ(f.m.XCELL(2), 30.0F);
  EXPECT_EQ(f.m.XCELL(3), 60.0F);

  Files ft(2, 0, HEADER + "10 20\n");  // feet: widths and the origin to metres
  ft.m.LENFAC = 0.3048F;
  ft.m.cfg.X0 = 100.0F;
  ft.m.cfg.DX(1) = -1.0F;
  ASSERT_EQ(ft.stop(read_cell_spacing), "(no stop)");
  build_cell_coordinates(ft.m.cfg, ft.m.input());
  EXPECT_FLOAT_EQ(ft.m.XCELL(1), 33.528F);
  EXPECT_FLOAT_EQ(ft.m.XCELL(2), 39.624F);
}

}  // namespace
}  // namespace coastra

// Shoreline and grid files: the variable cell spacing DX (DXFILE), the initial
// shoreline YINIT (INIFILE), the regional contour YREG / YREGFILE (REGFILE), and
// the alongshore cell coordinates XCELL. The three files share one layout: four
// header lines, then the cell values in free format, ten per line. Defines
// read_cell_spacing, build_cell_coordinates and read_shoreline_files.

#include "input/shoreline_files.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <string>

#include "input/field_reader.h"
#include "input/file_checks.h"
#include "model/error_stop.h"

namespace coastra {

namespace {

inline constexpr int HEADER_LINES = 4;    // header lines of every cell-value file
inline constexpr int VALUES_PER_LINE = 10;
// Longest line of a cell-value file (characters). Design note: ten values and
// a header title fit many times over; the bound keeps a corrupt or binary file
// from holding the reader's memory, and a longer line is refused by number
// rather than read shortened.
inline constexpr std::size_t CELL_LINE_MAX = 4096;

// A cell-value file being read, with the texts of its error messages.
struct value_file {
  std::istream& in;
  const char* what;       // name in the invalid-value message
  const char* routine;    // reading routine named in the too-few-values lines
  const char* tag;        // file tag named in the too-few-values lines
  const char* too_few;    // error-stop message for too few values
  int line = 0;           // lines read so far (the current line's number)
  std::string text;       // the current line
};

int parse(std::string_view text, float* out, int n, bool& bad) {
  return read_reals(text, out, n, bad);
}
int parse(std::string_view text, double* out, int n, bool& bad) {
  return read_doubles(text, out, n, bad);
}

// The file ended before all cells had their values: the explanation goes to
// the console (with an empty line after it) and to the print file.
[[noreturn]] void too_few_values(RunState& run, const value_file& f) {
  const std::string lines = std::string(" ERROR FOUND IN \"") + f.routine + "\".\n FILE \"" +
                            f.tag + "\" CONTAINS TOO FEW VALUES\n PLEASE CHANGE IN DATA FILE(S)\n";
  *run.CON << lines << '\n';
  *run.PRT << lines;
  error_stop(f.too_few);
}

bool next_line(value_file& f) {
  bool cut = false;
  if (!read_record(f.in, f.text, CELL_LINE_MAX, cut)) return false;  // CRLF handled
  ++f.line;
  if (cut) {
    error_stop("Line over " + std::to_string(CELL_LINE_MAX) + " characters in " + f.what +
               " at line " + std::to_string(f.line));
  }
  return true;
}

void skip_header(RunState& run, value_file& f) {
  for (int k = 0; k < HEADER_LINES; ++k) {
    if (!next_line(f)) too_few_values(run, f);
  }
}

// The values of the next group of n cells (n <= 10) from the next line. Values
// after the n-th on a line are ignored; a line with fewer is continued on the
// next one.
// Design note: a value that cannot be read as a number stops the run naming
// the file and the line, rather than being skipped and shifting every later
// cell's value.
template <class T>
void read_group(RunState& run, value_file& f, T* out, int n) {
  int got = 0;
  while (got < n) {
    if (!next_line(f)) too_few_values(run, f);
    bool bad = false;
    const int first = got;
    got += parse(f.text, out + got, n - got, bad);
    if (bad) {
      error_stop(std::string("Invalid value in ") + f.what + " at line " + std::to_string(f.line));
    }
    // A position or width of 1000 km is no coast, and the data files' F14.2
    // fields could not print the shoreline it starts.
    for (int k = first; k < got; ++k) {
      if (!(std::fabs(static_cast<double>(out[k])) <= 1.0E6))
        error_stop(std::string("Value above 1E6 in ") + f.what + " at line " + std::to_string(f.line));
    }
  }
}

}  // namespace

void read_cell_spacing(Settings& cfg, RunState& run, InputState& in) {
  Settings& c = cfg;
  if (c.DX(1) != -1.0F) return;  // uniform grid: set up from the first DX value
  in.VARDX = true;
  // 1. Open the spacing file: a regular file only (a directory opens on some
  // systems but cannot be read, a FIFO or a device may never end; a name
  // holding a NUL would be cut there and name another file).
  std::ifstream dxfile;
  if (is_regular_input(c.DXFILE)) dxfile.open(c.DXFILE);
  if (!dxfile.is_open()) error_stop("Cannot open variable grid cell spacing file");
  value_file f{dxfile, "variable grid cell spacing file", "DXIN", "DXDAT",
               "VARIABLE DX FILE CONTAINS TOO FEW VALUES", 0, {}};
  // 2. Header, then NX values ten to a line.
  const int nx = std::clamp(c.NX, 0, MXCELL);
  skip_header(run, f);
  float group[VALUES_PER_LINE];
  for (int i0 = 1; i0 <= nx; i0 += VALUES_PER_LINE) {
    const int n = std::min(VALUES_PER_LINE, nx - i0 + 1);
    read_group(run, f, group, n);
    for (int k = 0; k < n; ++k) c.DX(i0 + k) = group[k];
  }
  // Design note: a cell of zero or negative width has no volume and would
  // divide by zero in every slope; the cell is named and the run stopped.
  for (int i = 1; i <= nx; ++i) {
    if (!(c.DX(i) > 0.0F)) {
      error_stop("Cell width not positive in variable grid cell spacing file at cell " +
                 std::to_string(i));
    }
  }
  // 4-5. Widths to metres; the last wall takes the last cell's width.
  for (int i = 1; i <= nx; ++i) c.DX(i) *= in.LENFAC;
  if (nx > 0) c.DX(nx + 1) = c.DX(nx);
}

void build_cell_coordinates(const Settings& cfg, InputState& in) {
  const int nx = std::clamp(cfg.NX, 0, MXCELL);
  // Each cell's right wall: the baseline origin plus the widths so far.
  // Design note: X0 is given in the model length unit while the widths are
  // already metres; the origin is converted too, so that a coast in feet does
  // not add feet to metres.
  float x = cfg.X0 * in.LENFAC;
  for (int i = 1; i <= nx; ++i) {
    x += cfg.DX(i);
    in.XCELL(i) = x;
  }
}

void read_shoreline_files(const Settings& cfg, RunState& run, InputState& in) {
  const int nx = std::clamp(cfg.NX, 0, MXCELL);
  // The regional contour is read for IREG 1 and 3 only (3 keeps it aside).
  const bool regional = cfg.IREG == 1 || cfg.IREG == 3;
  value_file fini{run.FINI, "initial shoreline file", "SHOIN", "SHORL",
                  "INITIAL SHORELINE FILE CONTAINS TOO FEW VALUES", 0, {}};
  value_file freg{run.FREG, "regional contour file", "SHOIN", "SHORM",
                  "REGIONAL CONTOUR FILE CONTAINS TOO FEW VALUES", 0, {}};
  for (int i = 1; i <= nx; ++i) in.YREG(i) = 0.0F;
  // Design note: a regional contour asked for by IREG with no REGFILE given
  // is named as such, rather than reported as a file with too few values.
  if (regional && !run.FREG.is_open()) {
    error_stop("Regional shoreline filename omitted in config file");
  }
  // 1. Headers.
  skip_header(run, fini);
  if (regional) skip_header(run, freg);
  // 2. Groups of ten cells, a line of each file in turn.
  double yini[VALUES_PER_LINE];
  float yreg[VALUES_PER_LINE];
  for (int i0 = 1; i0 <= nx; i0 += VALUES_PER_LINE) {
    const int n = std::min(VALUES_PER_LINE, nx - i0 + 1);
    read_group(run, fini, yini, n);
    for (int k = 0; k < n; ++k) in.YINIT(i0 + k) = yini[k];
    if (regional) {
      read_group(run, freg, yreg, n);
      for (int k = 0; k < n; ++k) in.YREG(i0 + k) = yreg[k];
    }
  }
  // 4. IREG 3: the contour as read is kept aside and the model runs on a zero
  // regional contour.
  if (cfg.IREG == 3) {
    for (int i = 1; i <= nx; ++i) {
      in.YREGFILE(i) = in.YREG(i);
      in.YREG(i) = 0.0F;
    }
  }
  // 5. Positions to metres (LENFAC is 1 for metres).
  for (int i = 1; i <= nx; ++i) {
    in.YINIT(i) *= static_cast<double>(in.LENFAC);
    in.YREG(i) *= in.LENFAC;
  }
}

}  // namespace coastra

// The inlet reservoir files: one per inlet, named after the inlet with the
// extension .irv and written beside the print file; two header lines, then one
// record every DTSAVE interval with the rates (volume per year) and volumes
// (volume unit) of the reservoir model.
// Routines: inlet_file_name, check_inlet_file_names, open_inlet_files, write_inlet_records, close_inlet_files.

#include "output/inlet_files.h"

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "inlets/inlet_setup.h"
#include "input/file_checks.h"
#include "model/error_stop.h"
#include "output/bookkeeping.h"
#include "output/format.h"

namespace coastra {

namespace {

constexpr double SECONDS_PER_YEAR = 31557600.0;  // 365.25 days x 86400 s
constexpr const char* IRV_HEADER =
    "      DT        L_Qout         L_Qie      L_Attach         L_Qba      L_Bypass         L_Qeb  "
    "         Ebb           Qfe         Flood           Qce         R_Qeb      R_Bypass         "
    "R_Qba      R_Attach         R_Qie        R_Qout       DATE";
// Record layout (I8, 1X, 16F14.0, 4X, I8): step, the sixteen columns, date.
constexpr int STEP_WIDTH = 8, VALUE_WIDTH = 14, DATE_GAP = 4, DATE_WIDTH = 8;

}  // namespace

std::string inlet_file_name(const Settings& cfg, int k) {
  const std::filesystem::path dir = std::filesystem::path(cfg.PRFILE).parent_path();
  return (dir / (inlet_name(cfg, k) + ".irv")).string();
}

void check_inlet_file_names(const Settings& cfg, const RunState& run) {
  if (!cfg.INLETS) return;
  // An inlet named like an input file, the print file, a data file or another
  // inlet's file would otherwise overwrite it.
  std::vector<std::string> names;
  for (int k = 1; k <= std::min(cfg.NINL, MXINL); ++k) {
    const std::string name = inlet_file_name(cfg, k);
    check_later_output("INLNAME", name, cfg.PRFILE, cfg.OUTBASE, run.INPUTNAMES, names);
    names.push_back(name);
  }
}

void open_inlet_files(const Settings& cfg, const RunState& run, InletState& inl) {
  if (!cfg.INLETS) return;
  const int ninl = std::min(cfg.NINL, MXINL);
  check_inlet_file_names(cfg, run);
  inl.IRV.resize(static_cast<std::size_t>(ninl) + 1);
  inl.IRVNAME.resize(static_cast<std::size_t>(ninl) + 1);
  for (int k = 1; k <= ninl; ++k) {
    std::ofstream& f = inl.IRV[static_cast<std::size_t>(k)];
    inl.IRVNAME[static_cast<std::size_t>(k)] = inlet_file_name(cfg, k);
    f.open(inl.IRVNAME[static_cast<std::size_t>(k)], std::ios::trunc);
    if (!f.is_open())
      error_stop("Cannot open inlet file " + inl.IRVNAME[static_cast<std::size_t>(k)]);
    f << "Inlet Shoal Volumes for " << inlet_name(cfg, k) << '\n' << IRV_HEADER << '\n';
  }
}

void write_inlet_records(const RunState& run, const InputState& in, OutputState& out,
                         InletState& inl) {
  if (inl.IRV.empty()) return;   // sized only for a run with inlets
  const double vdiv = volume_divisor(in);
  const double rate = SECONDS_PER_YEAR / vdiv;  // (m3/s) to volume unit per year
  std::string& b = out.RECBUF;
  for (int k = 1; k < static_cast<int>(inl.IRV.size()); ++k) {
    const double values[16] = {
        inl.QOUTL(k) * rate, inl.QIEL(k) * rate,  inl.VVSAL(k) / vdiv, inl.QBAL(k) * rate,
        inl.VVSBL(k) / vdiv, inl.QEBL(k) * rate,  inl.VVSE(k) / vdiv,  inl.QFE(k) * rate,
        inl.VVSF(k) / vdiv,  inl.QCE(k) * rate,   inl.QEBR(k) * rate,  inl.VVSBR(k) / vdiv,
        inl.QBAR(k) * rate,  inl.VVSAR(k) / vdiv, inl.QIER(k) * rate,  inl.QOUTR(k) * rate};
    b.clear();
    edit_i(b, run.ISTEP, STEP_WIDTH);
    b += ' ';
    edit_f_fields(b, values, 16, VALUE_WIDTH, 0);
    b.append(DATE_GAP, ' ');
    edit_i(b, in.CURDATE, DATE_WIDTH);
    b += '\n';
    std::ofstream& f = inl.IRV[static_cast<std::size_t>(k)];
    f.write(b.data(), static_cast<std::streamsize>(b.size()));
    if (f.fail()) error_stop("Cannot write inlet file " + inl.IRVNAME[static_cast<std::size_t>(k)]);
  }
}

void close_inlet_files(InletState& inl) {
  // A run stopped before the files were opened has none to close.
  for (int k = 1; k < static_cast<int>(inl.IRV.size()); ++k) {
    std::ofstream& f = inl.IRV[static_cast<std::size_t>(k)];
    if (!f.is_open()) continue;
    f.close();  // the last flush: a full disk may show only here
    if (f.fail()) error_stop("Cannot write inlet file " + inl.IRVNAME[static_cast<std::size_t>(k)]);
  }
}

}  // namespace coastra

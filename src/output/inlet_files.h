// The inlet reservoir files (.irv): one per inlet beside the print file, with
// its header and a record of rates and volumes every DTSAVE interval.
#pragma once

#include <string>

#include "model/state.h"

namespace coastra {

// Ends the run, naming INLNAME, when an inlet's file would be an input file,
// the print file, a data file or another inlet's file (compared as files;
// the input files are those of INPUTNAMES).
void check_inlet_file_names(const Settings& cfg, const RunState& run);
// Path of inlet k's file: the print file's directory, the inlet's name, ".irv".
std::string inlet_file_name(const Settings& cfg, int k);
// Creates every inlet's file (replacing an old one) and writes its two header lines.
void open_inlet_files(const Settings& cfg, const RunState& run, InletState& inl);
// One record per inlet: step, the sixteen rate and volume columns, date
// (composed in RECBUF).
void write_inlet_records(const RunState& run, const InputState& in, OutputState& out,
                         InletState& inl);
// Closes the inlet files; a failed write or last flush ends the run naming the file.
void close_inlet_files(InletState& inl);

}  // namespace coastra

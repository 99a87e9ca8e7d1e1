// The eight output data files: names from the print file, headers, record
// layouts, periodic and final records and the mean-annual records.
#pragma once

#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "model/state.h"

namespace coastra {

// Checks that the eight files can be written, then creates them (replacing old
// ones), writes their headers and builds the record layouts.
void open_data_files(const Settings& cfg, OutputState& out);
void write_periodic_records(ModelState& m);   // slo, qtr, off, vcc, vcx
// RECVAL(1..NX): the shoreline record (from the baseline, user's length unit;
// inlet cells carry the line between their neighbours).
void fill_shoreline_record(const Settings& cfg, const InputState& in, const TransportState& tr,
                           OutputState& out);
// End of run: the mean-annual records of mqn, mqr, mql and, when the run reached
// NTS between two save intervals, a final record to each periodic file.
void write_final_records(ModelState& m);
// Closes the eight data files (all records are complete at the end of the run);
// a file whose writing or last flush failed ends the run naming it.
void close_data_files(const Settings& cfg, const RunState& run, OutputState& out);
// Closes the print file; a failed write or last flush ends the run naming it.
void close_print_file(const Settings& cfg, RunState& run);
// Ends the run naming the first output (print file, then the data files) on
// which a write has failed. Called after every save interval and at the end.
void check_output_streams(const Settings& cfg, const RunState& run, const OutputState& out);

// Name of a data file: OUTBASE (the print-file name up to and including its first
// period) followed by the extension; a blank OUTBASE gives the extension alone.
std::string data_file_name(std::string_view outbase, std::string_view ext);
// The names of the eight data files, in the order slo, qtr, off, mqn, mqr, mql,
// vcc, vcx.
std::vector<std::string> data_file_names(std::string_view outbase);
// One record of a transport file (mqn, mqr, mql) in the volume layout: the label
// and vol(i) x factor for walls 1..NX+1. file is one of out's streams.
void write_volume_record(const Settings& cfg, OutputState& out, std::ofstream& file, int label,
                         const Vec1<double>& vol, double factor);

}  // namespace coastra

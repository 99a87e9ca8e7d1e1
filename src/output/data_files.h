// The eight output data files: names from the print file, headers, record
// layouts, periodic and final records and the mean-annual records.
#pragma once

#include <fstream>
#include <string>
#include <string_view>

#include "model/state.h"

namespace coastra {

void open_data_files(ModelState& m);          // create the files, write headers, build layouts
void write_periodic_records(ModelState& m);   // slo, qtr, off, vcc, vcx
// End of run: the mean-annual records of mqn, mqr, mql and, when the run reached
// NTS between two save intervals, a final record to each periodic file.
void write_final_records(ModelState& m);
// Closes the eight data files (all records are complete at the end of the run).
void close_data_files(ModelState& m);

// Name of a data file: OUTBASE (the print-file name up to and including its first
// period) followed by the extension; a blank OUTBASE gives the extension alone.
std::string data_file_name(std::string_view outbase, std::string_view ext);
// One record of a transport file (mqn, mqr, mql) in the volume layout: the label
// and vol(i) x factor for walls 1..NX+1.
void write_volume_record(ModelState& m, std::ofstream& file, int label, const Vec1<double>& vol,
                         double factor);

}  // namespace coastra

// The eight output data files: names from the print file, headers, record
// layouts, periodic and final records and the mean-annual records.
#pragma once

#include "model/state.h"

namespace coastra {

void open_data_files(ModelState& m);          // create the files, write headers, build layouts
void write_periodic_records(ModelState& m);   // slo, qtr, off, vcc, vcx
void write_final_records(ModelState& m);      // end-of-run mqn, mqr, mql (and the final periodic)

}  // namespace coastra

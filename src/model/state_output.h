// Model-state section of the reports and data files: accumulated transport
// volumes, extreme shoreline positions, volume changes and the data files.
#pragma once

#include <array>
#include <fstream>
#include <memory>
#include <string>

#include "model/constants.h"
#include "model/file_writer.h"
#include "model/vec1.h"

namespace coastra {

struct OutputState {
  // transport volumes per wall (m3), accumulated every transport step
  Vec1<double> VGROSSP{MXWALL};   // gross volume since the last yearly report
  Vec1<double> VNETP{MXWALL};     // net volume since the last yearly report
  Vec1<double> VLEFTP{MXWALL};    // volume to the left (negative) since the last yearly report
  Vec1<double> VRIGHTP{MXWALL};   // volume to the right since the last yearly report
  Vec1<double> VNET{MXWALL};      // net volume over the run
  Vec1<double> VLEFT{MXWALL};     // volume to the left over the run
  Vec1<double> VRIGHT{MXWALL};    // volume to the right over the run
  Vec1<float> QNET{MXWALL};       // net rate of the last transport step (m3/s)
  int IREPDATE = 0;               // date of the previous yearly report (start date before)
  bool THOUSANDS = false;         // last yearly report used the thousands form
  int NYEARS = 0;                 // completed years at the last yearly report
  int NYEARREP = 0;               // yearly reports written so far

  Vec1<double> YMAX{MXCELL};      // seawardmost shoreline per cell (m)
  Vec1<double> YMIN{MXCELL};      // landwardmost shoreline per cell (m)
  Vec1<double> VOLCELL{MXCELL};   // volume change per cell (m3)
  Vec1<double> VOLLEN{MXCELL};    // volume change per unit length (m3/m)
  double VOLTOT = 0.0;            // total volume change (m3)
  bool VOLDUE = false;            // the shoreline of an accumulated step has no volume change yet

  // transmission coefficient statistics per detached breakwater (computed KT only)
  Vec1<double> KTSUM{MXDB};       // sum of the KT values recorded
  Vec1<float> KTMAX{MXDB};        // largest KT recorded
  Vec1<float> KTMIN{MXDB};        // smallest KT recorded
  Vec1<int> NKT{MXDB};            // number of KT values recorded

  // the NetCDF file of the run (--netcdf), mirror of the data files
  std::string NCFILE;             // its name, blank for none
  int NCID = -1;                  // NetCDF id of the open file, -1 when none is open
  int NCREC = 0;                  // records written along the time dimension
  std::array<int, 26> NCVAR{};    // variable ids, in the writer's own order

  int NSTSAVE = 1;                // time steps per DTSAVE interval
  std::ofstream SLO, QTR, OFF, MQN, MQR, MQL, VCC, VCX;  // the eight data files
  std::string POSFMT;             // record layout of positions, e.g. (I8,101F14.2)
  std::string VOLFMT;             // record layout of volumes, e.g. (I8,101F16.0)
  Vec1<double> RECVAL{MXWALL};    // values of the data record being written (file unit)
  std::string RECBUF;             // text of the data record being written, reserved once
  // The thread that writes the periodic and end-of-run records of the eight
  // files while the run goes on, from open_data_files to close_data_files
  // (none: the records are written directly). Declared after the streams, so
  // that it has written what it holds before they close.
  std::unique_ptr<FileWriter> WRITER;
};

}  // namespace coastra

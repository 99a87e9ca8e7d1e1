// Model-state section of the water-level and tidal-current series: the records
// read at start-up, their interval and step count, the record in force and the
// per-wall interpolation of the tide stations. Storage grows with the records
// actually read; station values are kept per record, never per wall and record.
#pragma once

#include <vector>

#include "model/constants.h"
#include "model/vec1.h"

namespace coastra {

struct SeriesState {
  // --- water level (read only when breakwater transmission is computed) ---
  bool WLUSED = false;            // a water-level series is read and drives WLCUR
  int NWL = 0;                    // records read
  std::vector<int> WLDATE;        // date of each record (YYYYMMDD)
  std::vector<int> WLTIME;        // time of day of each record (HHMM)
  std::vector<float> WL;          // water level of each record (m)
  float DTWL = 0.0F;              // record interval of the series (hours)
  int NSTWL = 1;                  // model steps per record (at least 1)
  int WLPTR = 0;                  // record in force (0 before the first step)
  bool WLCYCLED = false;          // the "starts again" note has been written

  // --- tidal currents (one file per station, NTIDEFILES stations) ---
  bool TCUSED = false;            // a tidal-current series is read and drives UTIDE
  int NTC = 0;                    // records read per station
  std::vector<int> TCDATE;        // date of each record (YYYYMMDD)
  std::vector<int> TCTIME;        // time of day of each record (HHMM)
  std::vector<float> TCVAL;       // station currents (m/s), record-major:
                                  //   record k, station j at (k - 1) NTIDEFILES + j - 1
  float DTTC = 0.0F;              // record interval of the series (hours)
  int NSTTC = 1;                  // model steps per record (at least 1)
  int TCPTR = 0;                  // record whose currents are in UTIDE (0: none yet)
  bool TCCYCLED = false;          // the "starts again" note has been written
  Vec1<int> TCA{MXWALL};          // lower station of the pair bracketing each wall
  Vec1<int> TCB{MXWALL};          // upper station of that pair
  Vec1<float> TCW{MXWALL};        // weight of the upper station at the wall (0..1)
};

}  // namespace coastra

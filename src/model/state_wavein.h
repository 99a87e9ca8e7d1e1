// Model-state section of the wave input and the wave events: the current record
// of every wave station, the per-wall interpolation fixed at start-up, the
// regional contour orientation and the reused text buffers of the readers.
#pragma once

#include <string>

#include "model/constants.h"
#include "model/vec1.h"

namespace coastra {

struct WaveInputState {
  int NSTATION = 0;               // wave stations used by WAVINP (files 1..NSTATION)
  // current record of every station, after screening
  Vec1<float> HST{MXWAVEF};       // wave height (wave-file unit)
  Vec1<float> TST{MXWAVEF};       // wave period (s)
  Vec1<float> ZST{MXWAVEF};       // wave direction to the baseline's shore normal (deg)
  Vec1<int> DATEST{MXWAVEF};      // record date YYYYMMDD (dated form)
  Vec1<int> HOURST{MXWAVEF};      // record hour HHMM (dated form)
  // interpolation per wall 1..NX+1, fixed for the run
  Vec1<int> JSLO{MXWALL};         // station below (or at) the wall
  Vec1<int> JSHI{MXWALL};         // station above the wall (JSLO outside the stations)
  Vec1<float> WSTA{MXWALL};       // weight of JSHI, 0..1 (alongshore distance ratio)
  Vec1<float> RREG{MXWALL};       // regional contour orientation per wall (rad)
  // reused buffers: reading and warning lines allocate nothing once grown
  std::string WLINE;              // the wave-file line being read
  std::string WTEXT;              // the print-file line being composed
};

}  // namespace coastra

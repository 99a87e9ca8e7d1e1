// Model-state section filled by input checking and set-up, the clock and the
// shoreline and grid files.
#pragma once

#include "model/constants.h"
#include "model/vec1.h"

namespace coastra {

struct InputState {
  float LENFAC = 1.0F;            // metres per model length unit (0.3048 for feet)
  float YDFAC = 1.0F;             // metres per yard for feet, else 1; volumes scale by its cube
  int ISTART = 1;                 // first cell read from the shoreline files

  // run length and clock
  float NSPERDAY = 0.0F;          // time steps per day, 24 / DT
  float DAYINC = 0.0F;            // days per time step, 1 / NSPERDAY
  int NDAYS = 0;                  // days from SIMDATS to SIMDATE
  int NTS = 0;                    // number of time steps of the run
  int CLKYEAR = 0, CLKMONTH = 0;  // clock year and month
  float CLKDAY = 0.0F;            // clock day of month (real, >= 1)
  float CLKANCHOR = 0.0F;         // day value the clock counts steps from (start or 1.0)
  int CLKN = 0;                   // steps of the current DT since CLKANCHOR + CLKHOFF
  double CLKHOFF = 0.0;           // hours from CLKANCHOR to the last change of DT after it, or 0
  int STEPDATE = 0;               // date at the start of the current step, YYYYMMDD
  int CURDATE = 0;                // date of the current step (at its end), YYYYMMDD
  int NEXTDATE = 0;               // date one step further, YYYYMMDD
  bool IYRFLAG = false;           // year-rollover flag of the clock
  int NYEARSIM = 0;               // simulated years counted by the clock
  // the clock as it stood at the start of the current step, so a change of DT
  // within the step can date the step again (retime_clock)
  struct ClockStart {
    int year = 0, month = 0, n = 0, nyears = 0;
    float day = 0.0F, anchor = 0.0F;  // day value, anchor day value
    double hoff = 0.0;                // hours (CLKHOFF)
    bool yrflag = false;
  } CLKSTART;

  // merged groin list, ascending by wall
  int NGRO = 0;
  Vec1<int> IXG{MXGRO};           // groin wall
  Vec1<float> YG{MXGRO};          // groin tip distance from the baseline (m)
  Vec1<float> PG{MXGRO};          // groin permeability
  Vec1<int> IGKIND{MXGRO};        // 1 non-diffracting, 2 diffracting

  // breakwater tip list with its boundary entries (cell -1 left, 9998 right)
  int NTIP = 0;
  Vec1<int> ITIP{2 * MXDB + 2};   // tip cell
  Vec1<float> YTIP{2 * MXDB + 2}; // tip distance from the baseline (m)
  Vec1<float> DTIP{2 * MXDB + 2}; // depth at the tip (m)

  // diffracting-structure list (wall -1 left boundary, -2 right boundary)
  int NDIFF = 0;
  Vec1<int> IDIFF{MXDIFF};        // wall
  Vec1<float> YDIFF{MXDIFF};      // tip distance from the baseline (m)
  Vec1<float> DDIFF{MXDIFF};      // depth at the tip (m)

  // boundary movements (m per time step) and movement flags
  double DYL = 0.0, DYR = 0.0;    // per-step boundary shoreline displacement (m)
  bool LMOVE = false, RMOVE = false;  // no groin at the boundary wall: QLS set by the rule

  // shoreline and grid files
  // DATUM: YINIT is read from the baseline; setup_transport subtracts YREG, so
  // from then on it is measured seaward of the regional contour, like YSHORE.
  Vec1<double> YINIT{MXCELL};     // initial shoreline per cell (m, from the regional contour)
  Vec1<float> YREG{MXCELL};       // regional contour per cell, from the baseline (m; 0 without one)
  Vec1<float> YREGFILE{MXCELL};   // regional contour as read (file unit), kept for IREG = 3
  Vec1<float> XCELL{MXCELL};      // alongshore coordinate of each cell's right wall (m)
  bool VARDX = false;             // cell spacing read from DXFILE
};

}  // namespace coastra

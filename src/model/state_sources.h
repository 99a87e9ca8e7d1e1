// Model-state section of the scheduled sources and sinks (beach fills, bypass
// operations, bypass events), the detached-breakwater lines and shadow ranges,
// and the per-cell books of what fills, excavations and bypassing placed and
// removed (read by the sediment-budget report).
#pragma once

#include "model/constants.h"
#include "model/vec1.h"

namespace coastra {

inline constexpr int MXBPEV = 2000;      // bypass events of the event file
inline constexpr int MXBPRATE = 200000;  // per-cell rates of all bypass events together

struct SourceState {
  // Beach fills (set-up; the advance is set again when DT changes). A fill acts
  // in every step whose start, in hours since the run start, lies in [FILLH0, FILLH1).
  Vec1<double> FILLH0{MXBF};      // start of fill k (hours since the run start)
  Vec1<double> FILLH1{MXBF};      // end of fill k (hours since the run start)
  Vec1<double> FILLADV{MXBF};     // shoreline advance per step (m); < 0 an excavation
  // Bypass operations (set-up), active in [BPH0, BPH1) hours since the run start.
  Vec1<double> BPH0{MXBP};        // start of operation k (hours)
  Vec1<double> BPH1{MXBP};        // end of operation k (hours); at or before BPH0: never acts
  Vec1<double> QBPM{MXBP};        // rate per metre of beach (m3/h per m); < 0 a removal
  // Bypass events of the event file (set-up), in date order, not overlapping.
  int NBPEV = 0;                  // events read
  int IBPEV = 1;                  // first event not yet over (the list is not cycled)
  Vec1<double> EVH0{MXBPEV};      // start of event n (hours since the run start)
  Vec1<double> EVH1{MXBPEV};      // end of event n (hours)
  Vec1<int> EVC1{MXBPEV};         // first cell of event n
  Vec1<int> EVC2{MXBPEV};         // last cell of event n
  Vec1<int> EVOFF{MXBPEV};        // rates of event n start after this many entries of QEV
  Vec1<int> EVNR{MXBPEV};         // rates of event n: 1 (all cells) or one per cell
  Vec1<double> QEV{MXBPRATE};     // event rates per metre of beach (m3/h per m)

  // Detached breakwaters (set-up): line, shadow range and connection code.
  Vec1<double> YDB{MXCELL};       // breakwater line of a shadow cell, from YREG (m)
  Vec1<int> DBS{MXDB};            // first cell of the shadow range of breakwater k
  Vec1<int> DBE{MXDB};            // last cell of the shadow range
  Vec1<int> DBCON{MXDB};          // 1 groin joined at the first end, 2 at the last, 0 none
  Vec1<double> YSWALL0{MXCELL};   // configured seawall line (m, from YREG), kept under tombolos
  Vec1<int> GCON{MXGRO};          // groin k's tip joined to a breakwater: 1 one starting
                                  // there, 2 one ending there, 3 both, 0 none

  // Per step: what the step's fills and sources actually moved (m).
  Vec1<double> DYFILL{MXCELL};    // shoreline change by the step's fills (m)
  Vec1<double> DYSRC{MXCELL};     // shoreline change by QSRC (m), after the seawall hold

  // Books for the budget report, per cell, since the run start (m3).
  Vec1<double> VFILL{MXCELL};     // placed by beach fills
  Vec1<double> VEXCAV{MXCELL};    // removed by excavations (negative fills), > 0
  Vec1<double> VBPSRC{MXCELL};    // placed by bypass operations and events
  Vec1<double> VBPSINK{MXCELL};   // removed by bypass operations and events, > 0
};

}  // namespace coastra

// Model-state section of the detached breakwaters and the diffracting
// structures: the kind of each entry of the diffracting-structure list, the
// diffraction segment table built from it, the transmission coefficients in
// force.
#pragma once

#include "model/constants.h"
#include "model/vec1.h"

namespace coastra {

// Kind of an entry of the diffracting-structure list and of the segment list.
inline constexpr int KIND_END = 0;         // grid end (wall -1 left, -2 right)
inline constexpr int KIND_GROIN = 1;       // diffracting groin
inline constexpr int KIND_BREAKWATER = 2;  // tip of a detached breakwater

inline constexpr int MXSEGENT = MXDIFF + 2;  // segment-list entries (a boundary groin is doubled)

struct StructureState {
  // kind of each entry of the diffracting-structure list IDIFF (set-up)
  Vec1<int> IDKIND{MXDIFF};        // KIND_END, KIND_GROIN or KIND_BREAKWATER
  Vec1<int> IDBW{MXDIFF};          // breakwater number of a tip entry, else 0

  // diffraction segment table (built once at start-up)
  int NSEGENT = 0;                 // entries of the segment list (doubled groins, joins removed)
  Vec1<int> ISEGW{MXSEGENT};       // wall of entry e (-1 left grid end, -2 right grid end)
  Vec1<float> YSEGT{MXSEGENT};     // tip distance of entry e from the baseline (m)
  Vec1<float> DSEGT{MXSEGENT};     // depth at the tip of entry e (m)
  Vec1<int> KSEGT{MXSEGENT};       // kind of entry e
  int NSEG = 0;                    // segments: segment j runs from entry j to entry j+1
  int NSEGACT = 0;                 // segments with SEGFAC above 0.01 (merge components)
  Vec1<float> SEGFAC{MXSEGENT};    // +1 open gap, -1 diffracting groin, KT behind a breakwater
  Vec1<int> SEGBW{MXSEGENT};       // breakwater number of a breakwater segment, else 0
  Vec1<int> SEGORD{MXSEGENT};      // processing order of the segments
  Vec1<int> JOINFLAG{MXCELL};      // 1 at a cell where two structures meet

  // transmission through detached breakwaters, by breakwater number
  Vec1<float> ATDB{MXDB};          // gross cross-section area (m2)
  Vec1<float> KTDB{MXDB};          // transmission coefficient in force (method's value;
                                   // its statistics are KTSUM, KTMAX, KTMIN, NKT of the reports)
  bool KTDUE = true;               // KTDB to be computed at the next step with waves
  unsigned KTWARNED = 0U;          // transmission warnings already written in the run (bits)
};

}  // namespace coastra

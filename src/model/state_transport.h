// Model-state section of the transport step, the shoreline solver and the
// structures acting on them.
#pragma once

#include "model/constants.h"
#include "model/vec1.h"

namespace coastra {

struct TransportState {
  // DATUM: YSHORE, YSTART, YSWALL and YDBW are measured seaward of the regional
  // contour YREG (m); the position from the baseline is YSHORE + YREG. Groin tip
  // lines (YG) are measured from the baseline.
  Vec1<double> YSHORE{MXCELL};    // shoreline position seaward of the regional contour (m)
  Vec1<double> YSTART{MXCELL};    // YSHORE where the step found it, before the shoreline moved (m)
  Vec1<float> QLS{MXWALL};        // longshore transport per wall (m3/s), + towards higher cells;
                                  // transport_step, cut at seawalls by update_shoreline
  Vec1<double> QSRC{MXCELL};      // source rate per cell (m3/s per m of beach)
  Vec1<float> DTFAC{MXCELL};      // 3600 DT / (berm height + closure depth) (s/m)
  Vec1<float> SFAC{MXWALL};       // sqrt(HBD GAMMA g / (4 HS_OVER_HRMS)) (m/s)
  Vec1<float> A1W{MXWALL};        // K1 / K1_DIVISOR (transport/transport_constants.h), set-up
  Vec1<float> K2C{MXWALL};        // K2 / (K2_DIVISOR TANB), once per wave record
  Vec1<float> UTIDE{MXWALL};      // KTIDE x tidal current at the wall (m/s), + towards higher
                                  // cells; tidal_current_step, 0 without tidal currents
  float APROF = 0.0F;             // equilibrium-profile shape parameter (m^1/3)
  float TANB = 0.0F;              // average nearshore slope
  Vec1<float> QDBX{MXWALL};       // transport diverted into a shadow zone (m3/s)
  Vec1<float> THETAREL{MXWALL};   // breaking angle to the shoreline normal (rad), + sand goes right
  Vec1<float> FBEHIND{MXWALL};    // factor on a neighbour's QLS for waves from behind the shoreline
  Vec1<float> wall_dx{MXWALL};    // cell spacing at each wall, DX of cell NX at wall NX+1 (m)
  Vec1<float> QNEG{MXWALL};       // negative part of the step's QLS (m3/s)
  Vec1<float> QPOS{MXWALL};       // positive part (m3/s)
  Vec1<float> QGROSS{MXWALL};     // absolute value (m3/s)
  Vec1<int> WALLTYPE{MXWALL};     // structure code of the wall (model/wall_codes.h)
  Vec1<int> DBMARK{MXCELL};       // breakwater shadow mark of the cell
  Vec1<double> YDBW{MXCELL};      // seaward limit (breakwater line) of the cell (m)
  Vec1<double> YSWALL{MXCELL};    // seawall line of the cell (m)
  Vec1<int> INLCELL{MXCELL};      // 1 for inlet cells
  Vec1<float> GROINF{MXGRO};      // transport factor of each groin
  Vec1<float> BYPG{MXGRO};        // bypassing fraction of each groin
  Vec1<float> QGPOT{MXGRO};       // potential transport at each groin (m3/s)
  Vec1<float> DGL{MXGRO};         // groin tip distance from the shoreline, left side (m)
  Vec1<float> DGR{MXGRO};         // right side (m)
  float WLCUR = 0.0F;             // water level in force above the depth datum (m);
                                  // water_level_step, 0 without a water-level series
};

}  // namespace coastra

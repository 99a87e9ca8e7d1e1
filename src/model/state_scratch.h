// The working arrays of the stages: formed and used within one step (or one
// stage), never part of the coast's state between steps, never reported.
// Allocated once per run with the state and reused every step, so that the
// loop allocates nothing.
#pragma once

#include "model/constants.h"
#include "model/vec1.h"

namespace coastra {

struct ScratchState {
  // working arrays of the nearshore sequence
  Vec1<float> ycontour_work{MXCELL};  // shoreline copy with inlets bridged (m)
  Vec1<float> ycontour_pass{MXCELL};  // contour after the first smoothing pass (m)
  Vec1<float> wavsum_h2{MXWALL};      // merge accumulator: sum of H^2 (m2)
  Vec1<float> wavsum_s2{MXWALL};      // merge accumulator: sum of H^2 sin(2 theta) (m2)
  Vec1<float> hbd_work{MXWALL};       // final height while it is smoothed (m)
  Vec1<float> thetabd_work{MXWALL};   // final direction while it is smoothed (rad)
  Vec1<float> brk_depth{MXWALL};      // breaking depth of the wave-number pass (m)
  Vec1<float> brk_period{MXWALL};     // period of the wave-number pass (s)
  Vec1<float> brk_ratio{MXWALL};      // group to phase celerity ratio of that pass
  // working array of the transport step
  Vec1<int> grad_rule{MXWALL};    // height-gradient rule of each wall in the step (transport.cpp)
  // working array of the shoreline update
  Vec1<double> YNEW{MXCELL};      // the step's explicit update of each cell before any hold (m)

  // working arrays of the diffraction stage
  Vec1<double> dif_xwall{MXWALL};  // alongshore distance of wall i from wall 1 (m)
  Vec1<float> dif_ywall{MXWALL};   // shoreline position at wall i (m)
  Vec1<float> dif_kd1{MXWALL};     // diffraction coefficient of side 1 at wall i
  Vec1<float> dif_kd2{MXWALL};     // of side 2
  Vec1<float> dif_ang1{MXWALL};    // side 1: angle from the tip's shadow line to the ray (rad),
                                   // negative in the shadow
  Vec1<float> dif_ang2{MXWALL};    // side 2
  Vec1<float> dif_ray1{MXWALL};    // side 1: direction of the ray from the tip to the breaker (rad)
  Vec1<float> dif_ray2{MXWALL};    // side 2
  Vec1<float> dif_dy1{MXWALL};     // side 1: cross-shore distance tip to breaker line (m)
  Vec1<float> dif_dy2{MXWALL};     // side 2
  Vec1<int> dif_done{MXWALL};      // 1 where the first pass of KD's iteration converged
  Vec1<float> dif_hc{MXWALL};      // height carried to wall i, none inside an inlet (m)
  Vec1<float> dif_h{MXWALL};       // height of the current merge component (m)
  Vec1<float> dif_theta{MXWALL};   // direction of the current merge component (rad)
};

}  // namespace coastra

// Step control: the time step in force and what counts in its steps. Written
// only by the start-up (from the settings, start_step_control), the clock and
// the adaptive time step (driver/stability.cpp), which halves or doubles DT;
// every stage reads DT here, so the settings stay as configured.
#pragma once

#include "model/constants.h"
#include "model/vec1.h"

namespace coastra {

struct StepState {
  float DT = 0.0F;            // time step in force (hours)
  float NSTABDTMIN = 0.0F;    // quiet steps of DT before the adaptive step tries a longer one
  Vec1<int> PRDATE{MXOUT};    // print-out entries: dates YYYYMMDD, or step numbers of DT
};

}  // namespace coastra

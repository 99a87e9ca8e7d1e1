// Model-state section of the stability check and the adaptive time step: the
// counter and flags that live from step to step, and the step-independent
// amounts (run length, boundary movement rates) from which every count is
// formed again when DT changes.
#pragma once

#include <string>

#include "model/constants.h"
#include "model/vec1.h"

namespace coastra {

struct StabilityState {
  float STAB = 0.0F;              // stability parameter S = S1 + S2 of the step (-)
  int NSTABLE = 0;                // stable-step counter: quiet steps in a row
  bool FIRSTWARN = true;          // the first detailed instability report is still to come
  bool DTMINNOTE = false;         // the notice of DT held at DTMIN has been written
  double RUNHOURS = 0.0;          // run length (hours): NTS x DT at set-up
  double DYLHOUR = 0.0;           // left boundary displacement per hour (m/h)
  double DYRHOUR = 0.0;           // right boundary displacement per hour (m/h)
  std::string STABTEXT;           // the notice being composed (reused, reserved once)
  // time factor F = dt / (DX^2 (BERMHT + DCLOS)) of each cell's wall (s/m3) for
  // the DT in force, formed at set-up and when DT changes
  Vec1<float> STABF{MXWALL};
  float STABFDT = 0.0F;           // the DT (hours) STABF was formed for
};

}  // namespace coastra

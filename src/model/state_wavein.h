// Model-state section of the wave input and the wave events (station records,
// interpolation set-up).
#pragma once

#include "model/constants.h"
#include "model/vec1.h"

namespace coastra {

struct WaveInputState {
  int NWAVEDUMMY_ = 0;  // placeholder member so the section is never empty
};

}  // namespace coastra

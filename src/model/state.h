// The run-wide model state: the settings record and one section per subsystem,
// composed into one flat record so every stage reads m.YSHORE, m.QLS, m.cfg.NX.
// Allocated once per run (it is several MB), zero-filled, passed by reference.
#pragma once

#include <memory>

#include "model/settings.h"
#include "model/state_cross_shore.h"
#include "model/state_inlets.h"
#include "model/state_input.h"
#include "model/state_output.h"
#include "model/state_run.h"
#include "model/state_scratch.h"
#include "model/state_series.h"
#include "model/state_sources.h"
#include "model/state_stability.h"
#include "model/state_step.h"
#include "model/state_structures.h"
#include "model/state_transport.h"
#include "model/state_warnings.h"
#include "model/state_wavein.h"
#include "model/state_waves.h"

namespace coastra {

struct ModelState : RunState, InputState, WaveState, WaveInputState, TransportState,
                    OutputState, StructureState, WarningState,
                    StabilityState, SeriesState, SourceState, InletState, StepState,
                    ScratchState, CrossShoreState {
  Settings cfg;  // configuration keys under their key names

  ModelState() = default;
  ModelState(const ModelState&) = delete;
  ModelState& operator=(const ModelState&) = delete;

  std::ostream& con() { return *CON; }   // console
  std::ostream& prt() { return *PRT; }   // print file (held back until PRFILE is read)
};

inline std::unique_ptr<ModelState> make_state() { return std::make_unique<ModelState>(); }

}  // namespace coastra

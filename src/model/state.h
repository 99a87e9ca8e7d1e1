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

  // The sections by owner. A stage takes the sections it reads (const) and
  // writes, and the time loop hands them over by name:
  //   transport_step(m.cfg, m.waves(), m.transport());
  RunState& run() { return *this; }
  const RunState& run() const { return *this; }
  InputState& input() { return *this; }
  const InputState& input() const { return *this; }
  WaveState& waves() { return *this; }
  const WaveState& waves() const { return *this; }
  WaveInputState& wave_input() { return *this; }
  const WaveInputState& wave_input() const { return *this; }
  TransportState& transport() { return *this; }
  const TransportState& transport() const { return *this; }
  OutputState& output() { return *this; }
  const OutputState& output() const { return *this; }
  StructureState& structures() { return *this; }
  const StructureState& structures() const { return *this; }
  WarningState& warnings() { return *this; }
  const WarningState& warnings() const { return *this; }
  StabilityState& stability() { return *this; }
  const StabilityState& stability() const { return *this; }
  SeriesState& series() { return *this; }
  const SeriesState& series() const { return *this; }
  SourceState& sources() { return *this; }
  const SourceState& sources() const { return *this; }
  InletState& inlets() { return *this; }
  const InletState& inlets() const { return *this; }
  StepState& step() { return *this; }
  const StepState& step() const { return *this; }
  ScratchState& scratch() { return *this; }
  const ScratchState& scratch() const { return *this; }
  CrossShoreState& cross_shore() { return *this; }
  const CrossShoreState& cross_shore() const { return *this; }
};

inline std::unique_ptr<ModelState> make_state() { return std::make_unique<ModelState>(); }

}  // namespace coastra

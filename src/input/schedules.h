// The schedules of beach fills, bypass operations and bypass events: checked
// against the grid and the run's dates at set-up, turned into windows of hours
// since the run start and amounts per time step or per hour; the bypass event
// file read into the event table.
//   setup_schedules, fill_advance, set_fill_advances, date_hours
#pragma once

#include "model/state.h"

namespace coastra {

// Checks and converts every fill, bypass operation and the bypass event file
// (error stops name the key and the fill, operation or file line; warnings go
// to the print file; the event file is read from FBYP). Needs DX, NX, the
// unit factors and the run length.
void setup_schedules(const Settings& cfg, const InputState& in, const StepState& step,
                     RunState& run, SourceState& src);

// Hours from the start of the run (SIMDATS, 0 h) to the start of a date YYYYMMDD.
double date_hours(const Settings& cfg, int date);

// Shoreline advance per step (m) of a fill placing yadd (m) over the window
// [h0, h1) hours: yadd divided by the number of steps of length dt (hours),
// counted from the run start, whose start lies in the window.
double fill_advance(double yadd, double h0, double h1, double dt);

// FILLADV of every fill for the DT in force (set-up, and after DT changes).
void set_fill_advances(const Settings& cfg, const StepState& step, SourceState& src);

}  // namespace coastra

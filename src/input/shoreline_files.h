// Shoreline and grid files: the variable cell spacing, the initial shoreline
// and the regional contour, and the alongshore cell coordinates.
#pragma once

#include "model/state.h"

namespace coastra {

// Reads DXFILE into DX(1..NX) (first DX value -1), sets DX(NX+1) = DX(NX), in
// metres (LENFAC); sets VARDX. Part of the set-up, so it still writes the settings.
void read_cell_spacing(Settings& cfg, RunState& run, InputState& in);
// XCELL(i) = X0 + DX(1) + ... + DX(i), in metres.
void build_cell_coordinates(const Settings& cfg, InputState& in);
// Reads YINIT and, for IREG 1 or 3, YREG (YREGFILE for IREG 3) from the files
// the reader opened (FINI, FREG); converts feet.
void read_shoreline_files(const Settings& cfg, RunState& run, InputState& in);

}  // namespace coastra

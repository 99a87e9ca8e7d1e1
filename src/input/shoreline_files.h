// Shoreline and grid files: the variable cell spacing, the initial shoreline
// and the regional contour, and the alongshore cell coordinates.
#pragma once

#include "model/state.h"

namespace coastra {

// Reads DXFILE into DX(1..NX) (first DX value -1), sets DX(NX+1) = DX(NX).
void read_cell_spacing(ModelState& m);
// XCELL(i) = X0 + DX(1) + ... + DX(i), in metres.
void build_cell_coordinates(ModelState& m);
// Reads YINIT and, for IREG 1 or 3, YREG (YREGFILE for IREG 3); converts feet.
void read_shoreline_files(ModelState& m);

}  // namespace coastra

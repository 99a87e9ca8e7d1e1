// The diffraction segment table: the stretches of coast between consecutive
// entries of the diffracting-structure list (open gaps, zero-width groin
// segments, stretches behind detached breakwaters), one transmission factor
// each, the number of merge components and the order in which the diffraction
// stage visits them. Defines build_segment_table and derive_segment_order;
// the factor of a breakwater segment is breakwater_factor (transmission.h).
#pragma once

#include "model/state.h"

namespace coastra {

// Builds the segment list (ISEGW, YSEGT, DSEGT, KSEGT, NSEGENT), the factors
// SEGFAC with their breakwater numbers SEGBW, NSEG, JOINFLAG, and then NSEGACT
// and SEGORD, from the diffracting-structure list IDIFF/YDIFF/DDIFF/IDKIND/IDBW.
// Also the walls' alongshore positions dif_xwall that the diffraction reads.
// Called once at start-up, after set-up.
void build_segment_table(const Settings& cfg, const InputState& in, StructureState& st,
                         ScratchState& scr);

// Takes the factors of the breakwater segments afresh from the transmission
// coefficients in force and derives NSEGACT (segments with SEGFAC > 0.01) and
// SEGORD (alongshore order, partly transmitting breakwaters last). Called by
// build_segment_table and after every recomputation of the coefficients.
void derive_segment_order(const Settings& cfg, StructureState& st);

}  // namespace coastra

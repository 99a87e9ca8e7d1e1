// Test support: a straight metric coast with every per-wall input of the wave
// and transport stages filled with a documented default, set-up quantities
// (APROF, A1W, DTFAC, TANB, K2C, wall codes, seawall lines) derived by the
// program's own set-up, and setters for groins, seawalls, inlets and stations.
// A stage that starts reading a new array should get its default here.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "support/run_helpers.h"
#include "support/state_rig.h"

namespace coastra::test {

// Defaults (SI units, angles in radians):
//   grid       NX cells of width dx (m), XCELL(i) = dx i, DT = 1 h, SIMDATS 20200101
//   shoreline  YINIT = YSHORE = 0 m (or the given positions), YREG = 0, no seawall
//   sediment   D50 = 0.3 mm, GAMMA = 0.78 (settings default), BERMHT = 2 m, DCLOS = 8 m,
//              DLTZ = 6 m in every cell (the slope TANB is taken from DLTZ(1))
//   transport  K1 = 0.5, K2 = 0.25 at every wall, no tide (UTIDE = 0), pinned ends
//              (LMOVE = RMOVE with DYL = DYR = 0), HAMP = THETAAMP = 1, THETADEL = 0
//   offshore   HRF = 1 m, TRF = 8 s, DRF = 10 m, THETARF = ZRF = 0 at every wall, and
//              the event values HZ, TZ, ZZDEG, ZZDEGNR of the same wave; KRF, NRF formed
//   breaking   HBD = HB = 1 m, THETABD = THETAB = 0, CGB = 3.5 m/s (about sqrt(g HB/GAMMA)),
//              KB = 2 pi / (TZ CGB) (shallow water)
//   steps      ISTEP = 1 of NTS = 1000 (not the last step)
struct Coast : StateRig {
  explicit Coast(int nx, float dx = 50.0F);
  // A coast of as many cells as y has, YINIT = YSHORE = y (m).
  Coast(const std::vector<double>& y, float dx);

  // Uniform breaking waves at every wall: HBD = HB (m), THETABD = THETAB (rad).
  Coast& breaking(float hb, float theta);
  // Uniform offshore waves at every wall and as the event: height (m), period
  // (s), direction (rad, to the shore normal) at depth (m).
  Coast& offshore(float h, float t, float theta, float depth = 10.0F);
  // A groin at wall with its tip at y (m) and permeability p (wall code set at once).
  Coast& groin(int wall, float y, float p);
  // A seawall over cells first..last from y1 to y2 (model length units); start() lays it out.
  Coast& seawall(int first, int last, float y1, float y2);
  // An inlet channel over cells first..last (INLCELL set at once).
  Coast& inlet(int first, int last);
  // A wave station at cell with its depth (m) and the records of its wave file
  // (written to a scratch directory as w1.dat, w2.dat, ... and opened).
  Coast& station(int cell, float depth, const std::string& records);
  // The set-up of the transport and slope: APROF, A1W, DTFAC, YSHORE from YINIT
  // and YREG, seawall lines, inlet cells, wall codes, TANB and K2C. Run by the
  // constructors; run again after changing any of their inputs.
  Coast& start();
  // One wave step of the transport as the time-step loop runs it: groin
  // factors, then the transport step (transport at every wall, boundaries,
  // shoreline update, the step's splits).
  Coast& transport();

  std::unique_ptr<ScratchDir> dir;   // wave files of the stations (made by station())
};

}  // namespace coastra::test

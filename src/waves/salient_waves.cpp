// Breaking waves behind detached breakwaters with a touching salient (shadow
// mark -1): which walls are blocked (no wave) and which carry the wave
// transmitted through the breakwater, by the breakwater's connection code.
// Routine: touching_salient_waves.

#include "waves/salient_waves.h"

#include <algorithm>

#include "model/wall_codes.h"

namespace coastra {
namespace {

struct Shadow {
  const Settings& cfg;
  const TransportState& tr;
  WaveState& wv;
  ScratchState& scr;
  float kt;   // transmission coefficient as configured, at least 0.1

  // A blocked wall has no wave; a transmitted one the undiffracted breaking
  // height times kt. Both break shore-normal and drop the gradient term.
  void set(int j, bool blocked) {
    if (j < 2 || j > cfg.NX) return;   // the end walls are not smoothed
    scr.hbd_work(j) = blocked ? 0.0F : kt * wv.HB(j);
    scr.thetabd_work(j) = 0.0F;
    wv.IGRADOFF(j) = 1;
  }
  bool touching(int cell) const {
    return cell >= 1 && cell <= cfg.NX && tr.DBMARK(cell) == -1;
  }
  bool groin(int j) const { return tr.WALLTYPE(j) == WALL_GROIN; }
};

}  // namespace

void touching_salient_waves(const Settings& cfg, const TransportState& tr, const SourceState& src,
                            WaveState& wv, ScratchState& scr) {
  for (int k = 1; k <= std::min(cfg.NDB, MXDB); ++k) {
    Shadow sh{cfg, tr, wv, scr, std::max(cfg.TRANDB(k), 0.1F)};
    const int s = src.DBS(k), e = src.DBE(k);
    switch (src.DBCON(k)) {
      case 2: {   // groin at the last end: from the first touching cell rightwards
        bool started = false;
        for (int j = s; j <= e + 1; ++j) {
          started = started || sh.touching(j - 1);
          if (!started) continue;
          if (sh.touching(j - 1)) {
            sh.set(j, sh.touching(j) || sh.groin(j));
          } else if (!sh.groin(j)) {
            sh.set(j, false);
          }
        }
        break;
      }
      case 1:     // groin at the first end: leftwards
        for (int j = e + 1; j >= s; --j)
          if (sh.touching(j)) sh.set(j, sh.touching(j - 1) || sh.groin(j));
        break;
      default: {  // free breakwater: between the first and last touching cells
        int f = 0, l = 0;
        for (int j = s; j <= e; ++j) {
          if (!sh.touching(j)) continue;
          if (f == 0) f = j;
          l = j;
        }
        if (l > f)
          for (int j = f + 1; j <= l; ++j) sh.set(j, sh.touching(j - 1) && sh.touching(j));
        break;
      }
    }
  }
}

}  // namespace coastra

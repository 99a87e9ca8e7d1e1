// Dredging of inlet reservoirs (dredge_inlets), with the IMOR codes of the
// reservoirs (dredged_reservoir): 1 left attachment bar, 2 left bypassing bar,
// 3 ebb shoal, 4 flood shoal, 5 right bypassing bar, 6 right attachment bar.

#include "inlets/dredging.h"

#include <algorithm>

#include "input/clock.h"

namespace coastra {

namespace {

// The reservoir volume of inlet k that IMOR code imor (1..6) names.
double& dredged_reservoir(InletState& inl, int k, int imor) {
  switch (imor) {
    case 1:
      return inl.VVSAL(k);
    case 2:
      return inl.VVSBL(k);
    case 3:
      return inl.VVSE(k);
    case 4:
      return inl.VVSF(k);
    case 5:
      return inl.VVSBR(k);
    default:
      return inl.VVSAR(k);  // 6; set-up refuses any other code
  }
}

}  // namespace

// Design notes: an event acts on the steps that start on its days, IDREDS
// through IDREDE, the instant the fills and bypass operations are tested at:
// a window opening on the run's first day acts from step 1, and one of N days
// acts on N days of steps (the date at the end of a step would take one step
// of the day before and, at the run's start, miss the first). DREDV is held
// per hour and taken times the DT in force, so an adaptive change of DT keeps
// the dredged volume per day. A removal takes at
// most what the reservoir holds (an empty shoal cannot be dug below zero) and
// books what it took, so the inlet's volume change stays entering - placed -
// removed + placed by dredging. A placement is booked as a positive volume.
void dredge_inlets(const Settings& cfg, const RunState& run, const InputState& in,
                   const StepState& step, InletState& inl) {
  if (!cfg.DREDGING) return;
  for (int n = 1; n <= std::min(cfg.NDRED, MXDRED); ++n) {
    // A window in step numbers (both ends at most a step count) tests the step.
    const int now = cfg.IDREDS(n) > DATE_THRESHOLD ? in.STEPDATE : run.ISTEP;
    if (cfg.IDREDS(n) == 0 || now < cfg.IDREDS(n) || now > cfg.IDREDE(n)) continue;
    const int k = cfg.DREDINL(n);
    if (k < 1 || k > std::min(cfg.NINL, MXINL)) continue;
    double& vol = dredged_reservoir(inl, k, cfg.IMOR(n));
    const double v = static_cast<double>(cfg.DREDV(n)) * static_cast<double>(step.DT);  // (m3)
    if (v > 0.0) {
      const double taken = std::min(v, std::max(vol, 0.0));
      vol -= taken;
      inl.VDREDRM(k) -= taken;
    } else {
      vol -= v;
      inl.VDREDPL(k) -= v;
    }
  }
}

}  // namespace coastra

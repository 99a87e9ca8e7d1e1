// The inlet reservoir model: RESERV routes the sand entering an inlet through
// the ebb shoal, flood shoal, bypassing bar and attachment bar, each passing on
// a share that grows with its fullness; BYPWTS gives the triangular placement
// weights; mouth_walls sets the mouth transports before the shoreline update;
// inlet_step runs dredging, the reservoirs, the placement of what leaves the
// attachment bar on the downdrift beach and the inlet wall copies.

#include "inlets/reservoirs.h"

#include <algorithm>
#include <cmath>

#include "inlets/dredging.h"
#include "model/wall_codes.h"

namespace coastra {

namespace {

// Bar and attachment volumes below this (m3) are taken as this in the pass-on
// formulas, so an emptied bar passes almost nothing until it refills.
constexpr double VFLOOR = 0.00001;
// Share of the placed volume spread over the attachment range; the rest goes
// to the cell beside the inlet.
constexpr double RANGE_SHARE = 0.9;

// Design note: fullness ratios are clamped to [0, 1] inside the formulas only
// (the volumes are untouched), so a shoal given fuller than its equilibrium
// neither passes on more than arrives nor divides by zero in the ebb share.
double fullness(double v, double eq) { return std::clamp(v / eq, 0.0, 1.0); }

double profile_height(const Settings& cfg, int i) {
  return static_cast<double>(cfg.BERMHT(i) + cfg.DCLOS(i));  // (m)
}

// Places qout (m3/s) over one step on cells first..last and the cell beside
// the inlet. Design note: the placement is normalised by the weighted length
// of the range, so the beach receives exactly what left the attachment bar:
// cell j gains 0.9 qout dt w(j) / sum(w DX), the cell beside the inlet
// 0.1 qout dt of its own; the shoreline moves by volume / (DX x profile
// height). A range without weight (never after set-up) puts it all beside.
void place_on_beach(const Settings& cfg, TransportState& tr, InletState& inl, int first, int last,
                    int beside, double qout, double dt) {
  if (qout <= 0.0) return;
  double wlen = 0.0;  // sum of w DX (m)
  if (first <= last) {
    BYPWTS(first, last, inl.BYPWT);
    for (int j = first; j <= last; ++j) wlen += inl.BYPWT(j) * static_cast<double>(cfg.DX(j));
  }
  const double vol = qout * dt;  // (m3)
  double on_range = 0.0;
  if (wlen > 0.0) {
    on_range = RANGE_SHARE * vol;
    for (int j = first; j <= last; ++j)
      tr.YSHORE(j) += on_range * inl.BYPWT(j) / wlen / profile_height(cfg, j);
  }
  const double dxb = static_cast<double>(cfg.DX(beside));
  tr.YSHORE(beside) += (vol - on_range) / dxb / profile_height(cfg, beside);
}

// Sand arriving at inlet k from one side at q (m3/s, >= 0): d = +1 from the
// left (downdrift reservoirs on the right, side R), d = -1 from the right.
void enter_inlet(const Settings& cfg, TransportState& tr, InletState& inl, int k, int d, double q,
                 double dt) {
  const bool right = d > 0;
  double& bar = right ? inl.VVSBR(k) : inl.VVSBL(k);
  double& att = right ? inl.VVSAR(k) : inl.VVSAL(k);
  const ReservoirVolumes eq{static_cast<double>(cfg.VVSEQ(k)), static_cast<double>(cfg.VVSFQ(k)),
                            static_cast<double>(right ? cfg.VVSBQR(k) : cfg.VVSBQL(k)),
                            static_cast<double>(right ? cfg.VVSAQR(k) : cfg.VVSAQL(k))};
  const ReservoirStep r = RESERV(q, dt, {inl.VVSE(k), inl.VVSF(k), bar, att}, eq);
  inl.VVSE(k) = r.v.E;
  inl.VVSF(k) = r.v.F;
  bar = r.v.B;
  att = r.v.A;
  // Rates of the step: the flood and channel rates of both sides add up.
  inl.QFE(k) += r.QFE;
  inl.QCE(k) += r.QCE;
  (right ? inl.QIER : inl.QIEL)(k) = r.QIE;
  (right ? inl.QEBR : inl.QEBL)(k) = r.QEB;
  (right ? inl.QBAR : inl.QBAL)(k) = r.QBA;
  (right ? inl.QOUTR : inl.QOUTL)(k) = r.QOUT;
  // Running volumes.
  inl.VINLIN(k) += q * dt;
  inl.VINLOUT(k) += r.QOUT * dt;
  (right ? inl.VINR : inl.VINL)(k) += q * dt;
  (right ? inl.VQIER : inl.VQIEL)(k) += r.QIE * dt;
  (right ? inl.VRETR : inl.VRETL)(k) += r.RET * dt;
  (right ? inl.VOUTR : inl.VOUTL)(k) += r.QOUT * dt;
  // Placement on the downdrift beach.
  if (right) {
    place_on_beach(cfg, tr, inl, cfg.IBYPR1(k), cfg.IBYPR2(k), cfg.IINLE(k) + 1, r.QOUT, dt);
  } else {
    place_on_beach(cfg, tr, inl, cfg.IBYPL1(k), cfg.IBYPL2(k), cfg.IINLS(k) - 1, r.QOUT, dt);
  }
}

void clear_rates(InletState& inl, int k) {
  for (Vec1<double>* v :
       {&inl.QIEL, &inl.QIER, &inl.QEBL, &inl.QEBR, &inl.QBAL, &inl.QBAR, &inl.QOUTL, &inl.QOUTR,
        &inl.QFE, &inl.QCE})
    (*v)(k) = 0.0;
}

}  // namespace

ReservoirStep RESERV(double q, double dt, ReservoirVolumes v, const ReservoirVolumes& eq) {
  ReservoirStep r;
  // 1. Fullness of the shoals before the call; ebb share of the retained sand.
  const double e = fullness(v.E, eq.E);
  const double f = fullness(v.F, eq.F);
  const double c = fullness(v.E + v.F, eq.E + eq.F);
  //    a = (1 - e) / ((2 - f) - e), the denominator summed from its two
  //    non-negative parts: formed as 2 - f - e it rounds to 0 for a full ebb
  //    shoal and a flood shoal one rounding step short of full (0/0).
  const double room = (1.0 - f) + (1.0 - e);
  const double a = room > 0.0 ? (1.0 - e) / room : 1.0;
  // 2. The full shoals' share goes on at once; the rest is retained.
  r.QIE = c * q;
  r.RET = (1.0 - c) * q;
  r.QCE = a * r.RET;
  // 3. Flood shoal; its overflow goes to the ebb shoal in the same step.
  v.F += (1.0 - a) * r.RET * dt;
  if (v.F > eq.F) {
    r.QFE = (v.F - eq.F) / dt;
    v.F = eq.F;
  }
  // 4. Ebb shoal.
  const double inflow = r.QFE + r.QIE + r.QCE;
  r.QEB = e * inflow;
  v.E += (inflow - r.QEB) * dt;
  if (v.E > eq.E) {
    r.QEB += (v.E - eq.E) / dt;
    v.E = eq.E;
  }
  // 5. Bypassing bar.
  r.QBA = fullness(std::max(v.B, VFLOOR), eq.B) * r.QEB;
  v.B += (r.QEB - r.QBA) * dt;
  if (v.B > eq.B) {
    r.QBA += (v.B - eq.B) / dt;
    v.B = eq.B;
  }
  // 6. Attachment bar.
  r.QOUT = fullness(std::max(v.A, VFLOOR), eq.A) * r.QBA;
  v.A += (r.QBA - r.QOUT) * dt;
  if (v.A > eq.A) {
    r.QOUT += (v.A - eq.A) / dt;
    v.A = eq.A;
  }
  r.v = v;
  return r;
}

void BYPWTS(int first, int last, Vec1<double>& w) {
  const int n = last - first + 1;
  const double half = 0.5 * static_cast<double>(n);               // h (cells)
  const double centre = 0.5 * static_cast<double>(first + last);  // centre line
  for (int j = first; j <= last; ++j) {
    const double k = std::abs(static_cast<double>(j) - centre);  // distance (cells)
    w(j) = 1.0 - k / half;
  }
}

// Design note: a jetty at a mouth wall keeps its own (groin-factored)
// transport, but never a negative one: the mouth wall carries sand into the
// inlet only, so the inlet cells stay outside the beach's bookkeeping.
void mouth_walls(const Settings& cfg, TransportState& tr) {
  for (int k = 1; k <= std::min(cfg.NINL, MXINL); ++k) {
    const int s = cfg.IINLS(k), e = cfg.IINLE(k);
    // From the left, at wall s.
    if (tr.QLS(s - 1) <= 0.0F) {
      tr.QLS(s) = 0.0F;
    } else if (tr.WALLTYPE(s) == WALL_OPEN || tr.WALLTYPE(s) == WALL_TOMBOLO) {
      tr.QLS(s) = tr.QLS(s - 1);
    } else {
      tr.QLS(s) = std::max(tr.QLS(s), 0.0F);
    }
    // From the right, at wall e + 1.
    if (tr.QLS(e + 2) >= 0.0F) {
      tr.QLS(e + 1) = 0.0F;
    } else if (tr.WALLTYPE(e + 1) == WALL_OPEN || tr.WALLTYPE(e + 1) == WALL_TOMBOLO) {
      tr.QLS(e + 1) = tr.QLS(e + 2);
    } else {
      tr.QLS(e + 1) = std::min(tr.QLS(e + 1), 0.0F);
    }
  }
}

// Design notes: the reservoirs run after the shoreline update (and the salient
// update) with the mouth fluxes that update left standing, so sand a seawall
// held back at the cell beside the inlet never reaches it. The wall copies
// that follow serve the transport reports only.
void inlet_step(const Settings& cfg, const RunState& run, const InputState& in,
                const StepState& step, TransportState& tr, InletState& inl) {
  if (!cfg.INLETS) return;
  const int ninl = std::min(cfg.NINL, MXINL);
  for (int k = 1; k <= ninl; ++k) clear_rates(inl, k);
  // 1. Dredging, calm or not.
  dredge_inlets(cfg, run, in, step, inl);
  if (run.CALM) return;
  const double dt = 3600.0 * static_cast<double>(step.DT);  // (s)
  for (int k = 1; k <= ninl; ++k) {
    const int s = cfg.IINLS(k), e = cfg.IINLE(k);
    // 2. Sand entering from the left, then from the right.
    if (tr.QLS(s) > 0.0F) enter_inlet(cfg, tr, inl, k, +1, static_cast<double>(tr.QLS(s)), dt);
    if (tr.QLS(e + 1) < 0.0F)
      enter_inlet(cfg, tr, inl, k, -1, -static_cast<double>(tr.QLS(e + 1)), dt);
  }
  // 3. Inlet walls: no transport through the mouths; the walls beside them
  //    show the transport of the beach beyond.
  for (int k = 1; k <= ninl; ++k) {
    const int s = cfg.IINLS(k), e = cfg.IINLE(k);
    tr.QLS(s) = 0.0F;
    tr.QLS(e + 1) = 0.0F;
    tr.QLS(s - 1) = tr.QLS(s - 2);
    tr.QLS(e + 2) = tr.QLS(e + 3);
  }
}

}  // namespace coastra

// Sources and sinks of the step: QSRC from the bypass operations and events in
// force, the beach fills on the shoreline, and the books of what was actually
// placed and removed in every cell.
// Routines: window_active, bypass_sources, apply_fills, book_sources.

#include "transport/sources.h"

#include <algorithm>

namespace coastra {
namespace {

// Active profile height of cell i, berm height plus closure depth (m).
double profile_height(const ModelState& m, int i) {
  return static_cast<double>(m.cfg.BERMHT(i)) + static_cast<double>(m.cfg.DCLOS(i));
}

}  // namespace

bool window_active(double elapsed, double h0, double h1, double dt) {
  const double eps = 1.0e-6 * dt;
  return elapsed >= h0 - eps && elapsed < h1 - eps;
}

// Design note: every rate is held per hour after set-up and divided by 3600
// here, once, into m3/s per metre of beach. Events are in date order and do
// not overlap, so one pointer walks the list; events that ended are passed
// over (also after a change of DT), and the list is not cycled.
void bypass_sources(ModelState& m) {
  const Settings& c = m.cfg;
  const double t = m.ELAPSED;
  const double dt = static_cast<double>(c.DT);
  for (int i = 1; i <= c.NX; ++i) m.DYSRC(i) = 0.0;   // set again by the shoreline update
  for (int k = 1; k <= std::min(c.NBP, MXBP); ++k) {
    if (!window_active(t, m.BPH0(k), m.BPH1(k), dt)) continue;
    const double q = m.QBPM(k) / 3600.0;
    for (int i = c.IBPS(k); i <= c.IBPE(k); ++i) m.QSRC(i) += q;
  }
  while (m.IBPEV <= m.NBPEV && !(t < m.EVH1(m.IBPEV) - 1.0e-6 * dt)) ++m.IBPEV;
  const int n = m.IBPEV;
  if (n > m.NBPEV || !window_active(t, m.EVH0(n), m.EVH1(n), dt)) return;
  for (int i = m.EVC1(n); i <= m.EVC2(n); ++i) {
    const int r = m.EVNR(n) == 1 ? 1 : i - m.EVC1(n) + 1;
    m.QSRC(i) += m.QEV(m.EVOFF(n) + r) / 3600.0;
  }
}

// Design note: a fill lifts its cells whatever lies there; an excavation (or
// the sum of the step's fills on a cell, when negative) stops at the seawall
// line as the transport does, and a cell already landward of its line is not
// dug further. The change applied, not the one requested, is kept.
void apply_fills(ModelState& m) {
  const Settings& c = m.cfg;
  const int nbf = std::min(c.NBF, MXBF);
  if (nbf <= 0) return;
  for (int i = 1; i <= c.NX; ++i) m.DYFILL(i) = 0.0;
  const double dt = static_cast<double>(c.DT);
  for (int k = 1; k <= nbf; ++k) {
    if (!window_active(m.ELAPSED, m.FILLH0(k), m.FILLH1(k), dt)) continue;
    for (int i = c.IBFS(k); i <= c.IBFE(k); ++i) m.DYFILL(i) += m.FILLADV(k);
  }
  for (int i = 1; i <= c.NX; ++i) {
    if (m.DYFILL(i) == 0.0) continue;
    const double y0 = m.YSHORE(i);
    const double y = std::max(y0 + m.DYFILL(i), std::min(m.YSWALL(i), y0));
    m.DYFILL(i) = y - y0;
    m.YSHORE(i) = y;
  }
}

// Design note: a cell with sources of both signs in one step books their net
// change, as placement when the net rate is positive, as removal otherwise.
void book_sources(ModelState& m) {
  const Settings& c = m.cfg;
  const bool fills = std::min(c.NBF, MXBF) > 0;
  for (int i = 1; i <= c.NX; ++i) {
    const double vol = static_cast<double>(c.DX(i)) * profile_height(m, i);   // (m3 per m)
    if (fills && m.DYFILL(i) != 0.0) {
      if (m.DYFILL(i) > 0.0) {
        m.VFILL(i) += m.DYFILL(i) * vol;
      } else {
        m.VEXCAV(i) -= m.DYFILL(i) * vol;
      }
      m.DYFILL(i) = 0.0;
    }
    if (m.QSRC(i) > 0.0) m.VBPSRC(i) += m.DYSRC(i) * vol;
    if (m.QSRC(i) < 0.0) m.VBPSINK(i) -= m.DYSRC(i) * vol;
  }
}

}  // namespace coastra

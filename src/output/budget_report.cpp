// The sediment-budget report: the budget-cell blocks (volume change, fills,
// excavations, bypass placements and removals, inlet budgets and the warnings
// of inlets cut by a budget cell), the flux-arrow blocks (volumes to the right
// and left at two walls, inlet transfers at a mouth wall) and the closing
// lines. Routines: check_budget_entries, simulated_hours, write_budget_report.

#include "output/budget_report.h"

#include <algorithm>
#include <string>

#include "inlets/inlet_setup.h"
#include "model/error_stop.h"
#include "output/bookkeeping.h"
#include "output/format.h"

namespace coastra {

namespace {

const std::string STARS(63, '*');
constexpr double HOURS_PER_DAY = 24.0;
constexpr double CELL_YEAR_DAYS = 365.0;   // year of the budget-cell rates (days)
constexpr double FLUX_YEAR_DAYS = 365.25;  // year of the flux-arrow rates (days)

struct Units {
  std::string lab;        // "CY" or "M3"
  double vdiv = 1.0;      // m3 per volume unit
  double cell_years = 0;  // run length for the budget-cell and inlet rates (years)
  double flux_years = 0;  // run length for the flux-arrow rates (years)
  double vol(double v) const { return v / vdiv; }
  // Design note: a run of no step reports rates of 0, never a division by 0.
  static double per_year(double v, double years) { return years > 0.0 ? v / years : 0.0; }
  double cell_rate(double v) const { return per_year(v / vdiv, cell_years); }
  double flux_rate(double v) const { return per_year(v / vdiv, flux_years); }
};

// 2c. The inlet blocks of budget cell k (cells c1..c2).
void inlet_blocks(ModelState& m, const Units& u, int k, int c1, int c2) {
  std::ostream& p = m.prt();
  const std::string& lab = u.lab;
  for (int i = 1; i <= std::min(m.cfg.NINL, MXINL); ++i) {
    const int s = m.cfg.IINLS(i), e = m.cfg.IINLE(i);
    const std::string name = inlet_name(m.cfg, i);
    // The inlet's own change: what entered less what was placed on the
    // beaches, less what dredging removed (VDREDRM <= 0) plus what it placed.
    const double change = m.VINLIN(i) - m.VINLOUT(i) + m.VDREDRM(i) + m.VDREDPL(i);
    if (c1 <= s && c2 >= e) {
      lwrite(p, "    QMAP CELL INCLUDES INLET:           ", name);
      lwrite(p, "    VOLUME TRANSPORTED INTO INLET ", "(", lab, "):  ", u.vol(m.VINLIN(i)));
      lwrite(p, "    VOLUME TRANSPORTED FROM INLET ", "(", lab, "):  ", u.vol(m.VINLOUT(i)));
      lwrite(p, "    DREDGED VOLUME PLACEMENT (", lab, ")", ":       ", u.vol(m.VDREDPL(i)));
      lwrite(p, "    DREDGED VOLUME REMOVAL (", lab, "): ", u.vol(m.VDREDRM(i)));
      lwrite(p, "    INLET VOLUME CHANGE (", lab, "):    ", u.vol(change));
      lwrite(p, "    AVG. DREDGED PLACEMENT RATE (", lab, "/YR): ", u.cell_rate(m.VDREDPL(i)));
      lwrite(p, "    AVG. DREDGED REMOVAL RATE (", lab, "/YR):   ", u.cell_rate(m.VDREDRM(i)));
      lwrite(p, "    AVG. INLET VOL. CHANGE RATE (", lab, "/YR): ", u.cell_rate(change));
      lwrite(p);
    } else if (c2 == s - 1 || c1 == e + 1) {
      lwrite(p, "    WARNING: QMAP CELL ", k);
      lwrite(p, "    IS ADJACENT TO BOUNDARY OF INLET: ", name);
      lwrite(p, "    INLET VOLUME CONTRIBUTION ", "NOT INCLUDED IN CALCULATION");
      lwrite(p);
    } else if (c1 <= e && c2 >= s && c1 <= c2) {
      // Design note: every overlap that does not hold the inlet whole gets the
      // warning, a budget cell ending on the inlet's first or last cell and a
      // one-cell inlet included.
      lwrite(p, "    WARNING: QMAP CELL ", k, " ONLY ", "CONTAINS PART OF INLET: ", name);
      lwrite(p, "    INLET VOLUME CONTRIBUTION ", "NOT INCLUDED IN CALCULATION");
      lwrite(p);
    }
  }
}

// The sand the cross-shore response brought onto cell c from the profile
// inside the closure depth (m3; < 0 taken off it): the excursion it applied
// over the cell's active height and width.
double exchange_volume(const ModelState& m, int c) {
  return m.YC(c) * static_cast<double>((m.cfg.BERMHT(c) + m.cfg.DCLOS(c)) * m.cfg.DX(c));
}

// 1-2. The budget cells.
void cell_report(ModelState& m, const Units& u) {
  std::ostream& p = m.prt();
  const std::string& lab = u.lab;
  lwrite(p);
  // Design note: the title box is one statement of four items (46 blanks and
  // three 63-character texts); it is broken after each text, so the box stands
  // as three lines of the same indent.
  const std::string indent(46, ' ');
  lwrite(p, indent, STARS);
  lwrite(p, indent, "*                         QMAP OUTPUT                         *");
  lwrite(p, indent, STARS);
  lwrite(p);
  for (int k = 1; k <= std::min(m.cfg.NQMAPV, MXQMAP); ++k) {
    const int c1 = m.cfg.IQMAPV1(k), c2 = m.cfg.IQMAPV2(k);
    double dv = 0.0, fill = 0.0, excav = 0.0, src = 0.0, snk = 0.0;  // (m3)
    for (int c = c1; c <= c2; ++c) {
      dv += m.VOLCELL(c);
      fill += m.VFILL(c);
      excav -= m.VEXCAV(c);  // the books hold removed volumes as positive
      src += m.VBPSRC(c);
      snk -= m.VBPSINK(c);
    }
    lwrite(p, " QMAP CELL ", k);
    lwrite(p, "    COASTRA GRID CELL RANGE: ");
    lwrite(p, "        STARTING GRID CELL:        ", c1);
    lwrite(p, "        ENDING   GRID CELL:        ", c2);
    lwrite(p, "    VOLUME CHANGE (", lab, "):             ", u.vol(dv));
    lwrite(p, "    AVG. VOLUME CHANGE RATE (", lab, "/YR):", u.cell_rate(dv));
    lwrite(p);
    // Each source and sink: its volume and its mean rate, then an empty line.
    struct Term {
      const char* volume;  // label up to the unit
      const char* vgap;    // blanks after the unit
      const char* rate;
      const char* rgap;
      double v;            // (m3)
    };
    const Term terms[] = {
        {"    BEACH FILL VOLUME PLACEMENT ", "):    ", "    AVG. BEACH FILL RATE (", "/YR):", fill},
        {"    BEACH EXCAVATION VOLUME REMOVAL ", "):", "    AVG. BEACH EXCAVATION RATE (",
         "/YR):  ", excav},
        {"    BYPASS SOURCE VOLUME PLACEMENT ", "): ", "    AVG. BYPASS SOURCE RATE (",
         "/YR):     ", src},
        {"    BYPASS SINK VOLUME REMOVAL ", "):     ", "    AVG. BYPASS SINK RATE (", "/YR):",
         snk}};
    auto write_term = [&p, &lab, &u](const Term& t) {
      lwrite(p, t.volume, "(", lab, t.vgap, u.vol(t.v));
      lwrite(p, t.rate, lab, t.rgap, u.cell_rate(t.v));
      lwrite(p);
    };
    for (const Term& t : terms) write_term(t);
    // The sand the cross-shore response traded with the profile, only where
    // the response is on (a run without it keeps the report as it was).
    if (m.cfg.XSHORE == 1) {
      double xs = 0.0;  // (m3)
      for (int c = c1; c <= c2; ++c) xs += exchange_volume(m, c);
      write_term({"    CROSS-SHORE EXCHANGE VOLUME ", "):     ",
                  "    AVG. CROSS-SHORE EXCHANGE RATE (", "/YR):", xs});
    }
    inlet_blocks(m, u, k, c1, c2);
  }
}

// The whole grid with the cross-shore response on: the volume change of all
// cells against what entered and left them (transport at the two boundary
// walls, fills and excavations, bypassing, the inlets, the cross-shore
// exchange); the residual closes the budget (a shoreline change below 0.0001
// counts as none in the volume change).
void grid_report(ModelState& m, const Units& u) {
  std::ostream& p = m.prt();
  const std::string& lab = u.lab;
  const int nx = m.cfg.NX;
  double dv = 0.0, sources = 0.0, xs = 0.0;  // (m3)
  for (int c = 1; c <= nx; ++c) {
    dv += m.VOLCELL(c);
    sources += m.VFILL(c) - m.VEXCAV(c) + m.VBPSRC(c) - m.VBPSINK(c);
    xs += exchange_volume(m, c);
  }
  const double inflow = m.VRIGHT(1) + m.VLEFT(1) - m.VRIGHT(nx + 1) - m.VLEFT(nx + 1);
  double inlets = 0.0;  // stored in the inlets from the beach, less what dredging placed
  for (int i = 1; i <= std::min(m.cfg.NINL, MXINL); ++i)
    inlets += m.VINLIN(i) - m.VINLOUT(i) - m.VDREDPL(i);
  lwrite(p, " QMAP WHOLE GRID, CELLS 1 TO ", nx);
  lwrite(p, "    VOLUME CHANGE (", lab, "):             ", u.vol(dv));
  lwrite(p, "    NET TRANSPORT INTO THE GRID (", lab, "):", u.vol(inflow));
  lwrite(p, "    FILLS, EXCAVATIONS, BYPASSING (", lab, "):", u.vol(sources));
  if (m.cfg.INLETS) lwrite(p, "    STORED IN INLETS (", lab, "):         ", u.vol(inlets));
  lwrite(p, "    CROSS-SHORE EXCHANGE VOLUME (", lab, "):     ", u.vol(xs));
  lwrite(p, "    BUDGET RESIDUAL (", lab, "):            ",
         u.vol(dv - inflow - sources + inlets - xs));
  lwrite(p);
}

// 3b-c. The transport at one wall of a flux arrow.
void wall_block(ModelState& m, const Units& u, int w, const char* left_label,
                const char* left_tail) {
  std::ostream& p = m.prt();
  lwrite(p, "    TRANSPORT AT GRID CELL-WALL:   ", w);
  lwrite(p, "        VOLUME TO RIGHT (", u.lab, "):     ", u.vol(m.VRIGHT(w)));
  lwrite(p, left_label, u.lab, left_tail, u.vol(m.VLEFT(w)));
  lwrite(p, "        AVG. RATE TO RIGHT (", u.lab, "/YR):", u.flux_rate(m.VRIGHT(w)));
  lwrite(p, "        AVG. RATE TO LEFT  (", u.lab, "/YR):", u.flux_rate(m.VLEFT(w)));
  lwrite(p);
}

// 3d. The inlet transfers at wall w when it is an inlet mouth.
void mouth_block(ModelState& m, const Units& u, int w) {
  std::ostream& p = m.prt();
  const std::string& lab = u.lab;
  for (int i = 1; i <= std::min(m.cfg.NINL, MXINL); ++i) {
    const bool left = w == m.cfg.IINLS(i);
    if (!left && w != m.cfg.IINLE(i) + 1) continue;
    // Design note: "into the inlet" is all the sand that entered from that
    // side, the part sent on at once and the part stored alike, the same
    // quantity as the budget cell's volume transported into the inlet.
    const double in = left ? m.VINR(i) : m.VINL(i);     // entering from the left: side R
    const double out = left ? m.VOUTL(i) : m.VOUTR(i);  // placed on this side's beach
    lwrite(p, "    QMAP FLUX ARROW ADJACENT TO INLET:  ", inlet_name(m.cfg, i));
    lwrite(p, "    TRANSPORT INTO OR OUT OF INLET AT ", "CELL-WALL:", w);
    lwrite(
        p,
        left ? "        VOL. INTO INLET LEFT TO RIGHT " : "        VOL. INTO INLET RIGHT TO LEFT ",
        "(", lab, "):", u.vol(in));
    lwrite(
        p,
        left ? "        VOL. FROM INLET RIGHT TO LEFT " : "        VOL. FROM INLET LEFT TO RIGHT ",
        "(", lab, "):", u.vol(out));
    lwrite(p, left ? "        AVG. RATE INTO INLET L TO R" : "        AVG. RATE INTO INLET R TO L",
           "(", lab, "/YR):", u.flux_rate(in));
    lwrite(p, left ? "        AVG. RATE FROM INLET R TO L" : "        AVG. RATE FROM INLET L TO R",
           "(", lab, "/YR):", u.flux_rate(out));
    lwrite(p);
  }
}

// 3. The flux arrows.
void flux_report(ModelState& m, const Units& u) {
  std::ostream& p = m.prt();
  for (int k = 1; k <= std::min(m.cfg.NQMAPQ, MXQMAP); ++k) {
    const int w1 = m.cfg.IQMAPQ1(k), w2 = m.cfg.IQMAPQ2(k);
    lwrite(p, " QMAP FLUX ARROW ", k);
    lwrite(p, "    COASTRA GRID CELL RANGE: ");
    lwrite(p, "        STARTING GRID CELL-WALL:   ", w1);
    lwrite(p, "        ENDING   GRID CELL-WALL:   ", w2);
    lwrite(p);
    wall_block(m, u, w1, "        VOLUME TO LEFT  (", "):     ");
    wall_block(m, u, w2, "        VOLUME TO LEFT (", "):      ");
    mouth_block(m, u, w1);
    mouth_block(m, u, w2);
  }
}

// Simulated time of the run (hours): the steps completed, whatever the way the
// run was given or ended; 0 when no step was completed.
// Design note: the hours of the steps completed, from the elapsed time the
// loop keeps (exact with an adaptive DT too). The step that set the run error
// flag did not complete; a run that never entered the loop simulated nothing.
double simulated_hours(const RunState& run, const StepState& step) {
  if (run.ISTEP < 1) return 0.0;
  return run.ELAPSED + (run.IRUNERR != 0 ? 0.0 : static_cast<double>(step.DT));
}

}  // namespace

void check_budget_entries(const Settings& cfg) {
  auto refuse = [](const char* key, int k, const char* range) {
    error_stop(std::string(key) + " of budget entry " + std::to_string(k) + " outside " + range);
  };
  for (int k = 1; k <= std::min(cfg.NQMAPV, MXQMAP); ++k) {
    if (cfg.IQMAPV1(k) < 1 || cfg.IQMAPV1(k) > cfg.NX) refuse("IQMAPV1", k, "cells 1..NX");
    if (cfg.IQMAPV2(k) < 1 || cfg.IQMAPV2(k) > cfg.NX) refuse("IQMAPV2", k, "cells 1..NX");
  }
  for (int k = 1; k <= std::min(cfg.NQMAPQ, MXQMAP); ++k) {
    if (cfg.IQMAPQ1(k) < 1 || cfg.IQMAPQ1(k) > cfg.NX + 1) refuse("IQMAPQ1", k, "walls 1..NX+1");
    if (cfg.IQMAPQ2(k) < 1 || cfg.IQMAPQ2(k) > cfg.NX + 1) refuse("IQMAPQ2", k, "walls 1..NX+1");
  }
}

void write_budget_report(ModelState& m) {
  Units u;
  u.lab = m.cfg.UNITSYS == 2 ? "CY" : "M3";  // VOLLABEL
  u.vdiv = volume_divisor(m.input());
  // Design note: the years of every rate follow from the simulated hours, so a
  // run given as a step count or stopped early reports true rates; the cell
  // rates use a year of 365 days, the flux rates one of 365.25 days.
  const double days = simulated_hours(m.run(), m.step()) / HOURS_PER_DAY;
  u.cell_years = days / CELL_YEAR_DAYS;
  u.flux_years = days / FLUX_YEAR_DAYS;
  if (m.cfg.NQMAPV > 0) cell_report(m, u);
  if (m.cfg.NQMAPQ > 0) flux_report(m, u);
  if (m.cfg.XSHORE == 1) grid_report(m, u);
  std::ostream& p = m.prt();
  lwrite(p, " SIGN CONVENTION:  EROSION (-), ACCRETION (+)");
  lwrite(p, std::string(45, ' '), STARS);
  lwrite(p);
}

}  // namespace coastra

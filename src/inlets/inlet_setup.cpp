// Set-up of the tidal inlets: check_inlets refuses inlet input that cannot be
// simulated (each message names the key and the inlet); setup_inlets lays the
// straight start-up shoreline across each inlet from its two edge positions
// (derived from the neighbouring beach or the jetty tip when given as 0) and
// starts the reservoirs at their configured volumes.

#include "inlets/inlet_setup.h"

#include <algorithm>
#include <cstdlib>
#include <string>

#include "model/error_stop.h"
#include "model/wall_codes.h"

namespace coastra {

namespace {

inline constexpr int MIN_BEACH_BETWEEN = 4;  // beach cells required between two inlets

std::string inlet_no(int k) { return " of inlet " + std::to_string(k); }

// The inlet that holds cell c (0 when none).
int inlet_of_cell(const Settings& c, int cell) {
  for (int k = 1; k <= std::min(c.NINL, MXINL); ++k)
    if (c.IINLS(k) <= cell && cell <= c.IINLE(k)) return k;
  return 0;
}

// The first cell of first..last that lies in an inlet (0 when none).
int inlet_cell_in(const Settings& c, int first, int last) {
  for (int i = first; i <= last; ++i)
    if (inlet_of_cell(c, i) != 0) return i;
  return 0;
}

void check_range_of_inlet(const Settings& c, int k) {
  const int s = c.IINLS(k), e = c.IINLE(k);
  if (s < 3)
    error_stop("IINLS" + inlet_no(k) + " must be at least 3 (cell " + std::to_string(s) + ")");
  if (e < s) error_stop("IINLE" + inlet_no(k) + " must not be less than IINLS");
  if (e > c.NX - 2)
    error_stop("IINLE" + inlet_no(k) + " must be at most NX-2 (cell " + std::to_string(e) + ")");
}

// An attachment range: given, inside the grid, in order, on beach cells.
void check_attachment(const Settings& c, int k, const char* k1, const char* k2, int first,
                      int last) {
  const std::string keys = std::string(k1) + "/" + k2 + inlet_no(k);
  if (first == 0 || last == 0) error_stop(keys + " not given");
  if (first < 1 || last > c.NX) error_stop(keys + " outside cells 1..NX");
  if (first > last) error_stop(keys + ": first cell after last cell");
  if (const int cell = inlet_cell_in(c, first, last); cell != 0)
    error_stop(keys + " covers inlet cell " + std::to_string(cell));
}

void check_spacing(const Settings& c, int k) {
  for (int j = 1; j <= std::min(c.NINL, MXINL); ++j) {
    if (j == k) continue;
    // Beach cells between inlet j (left) and inlet k (right); overlapping
    // inlets give a negative count.
    const int gap = c.IINLS(k) - c.IINLE(j) - 1;
    if (c.IINLS(j) <= c.IINLS(k) && gap < MIN_BEACH_BETWEEN)
      error_stop("IINLS" + inlet_no(k) + ": fewer than 4 beach cells after inlet " +
                 std::to_string(j));
  }
}

void check_structures_and_sources(const Settings& cfg, const InputState& in) {
  // A groin at wall w stands between cells w-1 and w: inside an inlet when
  // both are its cells.
  for (int g = 1; g <= in.NGRO; ++g) {
    const int w = in.IXG(g);
    const int k = inlet_of_cell(cfg, w);
    if (k != 0 && w > cfg.IINLS(k))
      error_stop("groin at wall " + std::to_string(w) + " stands inside inlet " +
                 std::to_string(k));
  }
  for (int n = 1; n <= std::min(cfg.NBF, MXBF); ++n)
    if (const int cell = inlet_cell_in(cfg, cfg.IBFS(n), cfg.IBFE(n)); cell != 0)
      error_stop("IBFS/IBFE of fill " + std::to_string(n) + " covers inlet cell " +
                 std::to_string(cell));
  for (int n = 1; n <= std::min(cfg.NBP, MXBP); ++n)
    if (const int cell = inlet_cell_in(cfg, cfg.IBPS(n), cfg.IBPE(n)); cell != 0)
      error_stop("IBPS/IBPE of bypass " + std::to_string(n) + " covers inlet cell " +
                 std::to_string(cell));
  for (int n = 1; n <= std::min(cfg.NDRED, MXDRED); ++n)
    if (cfg.IMOR(n) < 1 || cfg.IMOR(n) > 6)
      error_stop("IMOR of dredging event " + std::to_string(n) + inlet_no(cfg.DREDINL(n)) +
                 " must be 1..6");
}

// The groin standing at wall w (0 when none).
int groin_at(const InputState& in, int w) {
  for (int g = 1; g <= in.NGRO; ++g)
    if (in.IXG(g) == w) return g;
  return 0;
}

// Position of one inlet edge, seaward of the regional contour (m). given: the
// configured distance from the baseline (model unit, 0 = derive it); wall: the
// wall at that edge; out: the beach cell just outside it; edge: the edge cell;
// jbc: the edge's jetty factor (set to 1 when there is no structure);
// unstructured counts an edge beside a groin wall that has no groin to measure
// from (the caller has the warning written).
double edge_position(const InputState& in, const TransportState& tr, float given, int wall,
                     int out, int edge, float& jbc, int& unstructured) {
  if (given != 0.0F)
    return static_cast<double>(given * in.LENFAC) - static_cast<double>(in.YREG(edge));
  const double beach = tr.YSHORE(out);
  const int code = tr.WALLTYPE(wall);
  if (code == WALL_OPEN) {
    jbc = 1.0F;
    return beach;
  }
  const int g = groin_at(in, wall);
  if (code == WALL_GROIN && g != 0) {
    // The jetty tip, measured like the shoreline; the factor places the edge
    // between the tip (0) and the neighbouring beach (1).
    const double tip = static_cast<double>(in.YG(g)) - static_cast<double>(in.YREG(out));
    return tip - (tip - beach) * static_cast<double>(jbc);
  }
  ++unstructured;
  // Design note: with no jetty tip to measure from, the edge takes the beach.
  return beach;
}

}  // namespace

// Design note: an inlet number has as many digits as it needs (Inlet7, Inlet12,
// Inlet250), so no two unnamed inlets share a name.
std::string inlet_name(const Settings& c, int k) {
  const std::string& n = c.INLNAME[k];
  return n.empty() ? "Inlet" + std::to_string(k) : n;
}

void check_inlets(const Settings& cfg, const InputState& in) {
  if (!cfg.INLETS) return;
  const int ninl = std::min(cfg.NINL, MXINL);
  for (int k = 1; k <= ninl; ++k) check_range_of_inlet(cfg, k);
  for (int k = 1; k <= ninl; ++k) check_spacing(cfg, k);
  for (int k = 1; k <= ninl; ++k) {
    check_attachment(cfg, k, "IBYPL1", "IBYPL2", cfg.IBYPL1(k), cfg.IBYPL2(k));
    check_attachment(cfg, k, "IBYPR1", "IBYPR2", cfg.IBYPR1(k), cfg.IBYPR2(k));
    for (int j = 1; j < k; ++j)
      if (inlet_name(cfg, j) == inlet_name(cfg, k))
        error_stop("INLNAME" + inlet_no(k) + " repeats the name of inlet " + std::to_string(j));
  }
  check_structures_and_sources(cfg, in);
}

int setup_inlets(const Settings& cfg, InputState& in, TransportState& tr, InletState& inl) {
  int unstructured = 0;
  for (int k = 1; k <= std::min(cfg.NINL, MXINL); ++k) {
    const int s = cfg.IINLS(k), e = cfg.IINLE(k);
    // 1. Reservoirs at their configured volumes; running sums from zero.
    inl.VVSE(k) = static_cast<double>(cfg.VVSE(k));
    inl.VVSF(k) = static_cast<double>(cfg.VVSF(k));
    inl.VVSBL(k) = static_cast<double>(cfg.VVSBL(k));
    inl.VVSBR(k) = static_cast<double>(cfg.VVSBR(k));
    inl.VVSAL(k) = static_cast<double>(cfg.VVSAL(k));
    inl.VVSAR(k) = static_cast<double>(cfg.VVSAR(k));
    for (Vec1<double>* v : {&inl.VINLIN, &inl.VINLOUT, &inl.VINL, &inl.VINR, &inl.VQIEL,
                            &inl.VQIER, &inl.VRETL, &inl.VRETR, &inl.VOUTL, &inl.VOUTR,
                            &inl.VDREDRM, &inl.VDREDPL})
      (*v)(k) = 0.0;
    // 2. Edge positions and jetty factors.
    inl.JBCL(k) = cfg.JBCL(k);
    inl.JBCR(k) = cfg.JBCR(k);
    inl.YINLL(k) = edge_position(in, tr, cfg.YINLL(k), s, s - 1, s, inl.JBCL(k), unstructured);
    inl.YINLR(k) = edge_position(in, tr, cfg.YINLR(k), e + 1, e + 1, e, inl.JBCR(k), unstructured);
    // 3. The start-up line: straight from the left edge to the right edge; a
    //    one-cell inlet takes the mean of the two. It is also the initial
    //    shoreline of these cells, so they show no volume change.
    for (int i = s; i <= e; ++i) {
      const double y = s == e
                           ? 0.5 * (inl.YINLL(k) + inl.YINLR(k))
                           : inl.YINLL(k) + (inl.YINLR(k) - inl.YINLL(k)) * static_cast<double>(i - s) /
                                              static_cast<double>(e - s);
      tr.YSHORE(i) = y;
      in.YINIT(i) = y;
    }
  }
  return unstructured;
}

}  // namespace coastra

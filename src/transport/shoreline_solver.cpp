// The shoreline-change solver: the explicit update of YSHORE from the
// transport difference across each cell and its source, swept upstream first
// so that an outflow cut at a seawall is the inflow the next cell sees; and the
// calm-step update by sources and boundary displacements alone.
// Routines: update_shoreline, calm_update.

#include "transport/shoreline_solver.h"

#include <algorithm>

#include "model/array_kernels.h"
#include "model/simd_path.h"

namespace coastra {
namespace {

// Which transports carry sand out of the cell, and so are cut at a seawall.
enum class Outflow {
  right,   // to the right only: QLS(i+1) is cut
  left,    // to the left: QLS(i) is cut
  both,    // on both sides: both scaled by one factor, keeping their ratio
};

// The explicit update of a cell: y = Y0 - (DTFAC/DX)(QR - QL) + DTFAC QSRC,
// the transport difference formed in single precision, the sum in double; and
// the line the cell is held at (see update_cell). The one form of the update,
// for the whole-coast loop and the sweep alike.
struct CellUpdate {
  float loss;    // by transport (m)
  double gain;   // by the source (m)
  double ynew;   // the explicit position (m)
  double line;   // the hold line (m)
};
[[gnu::always_inline]] inline CellUpdate explicit_update(float dx, float dtfac, float ql, float qr,
                                                         double y0, double qsrc, double yswall) {
  const float loss = (dtfac / dx) * (qr - ql);
  const double gain = static_cast<double>(dtfac) * qsrc;
  const double ynew = y0 - static_cast<double>(loss) + gain;
  const double line = y0 < yswall ? y0 : yswall;   // std::min(yswall, y0)
  return {loss, gain, ynew, line};
}

// Explicit update of cell i (explicit_update).
// A cell that would end landward of its seawall is held at the line and its
// outflow is cut so that it loses only the beach in front of the wall.
// Design notes (the seawall hold):
// - The line a cell is held at is its seawall line, or its own position when it
//   already lies landward of the line (a wall given seaward of the beach):
//   the hold only stops erosion, it never lifts a beach to a wall.
// - The transport may carry off the beach in front of the line plus what the
//   cell's source adds in the step (a placement is passed on, not lost) less
//   what a sink takes, never less than nothing: a sink that alone would dig
//   behind the wall is cut short instead, taking only the beach the transport
//   leaves in front of the line.
// - Transports are only ever cut: a cell whose transport does not erode it is
//   held at the line without touching its walls, so a wall already used by a
//   cell updated before it is never changed.
void update_cell(const Settings& cfg, TransportState& tr, SourceState& src, int i, Outflow rule) {
  const float dx = cfg.DX(i);
  const float dtfac = tr.DTFAC(i);
  float& ql = tr.QLS(i);
  float& qr = tr.QLS(i + 1);
  const double y0 = tr.YSHORE(i);
  const CellUpdate u = explicit_update(dx, dtfac, ql, qr, y0, tr.QSRC(i), tr.YSWALL(i));
  const float loss = u.loss;
  const double gain = u.gain;
  const double ynew = u.ynew;
  const double line = u.line;
  if (ynew >= line) {
    tr.YSHORE(i) = ynew;
    src.DYSRC(i) = gain;
    return;
  }
  tr.YSHORE(i) = line;
  // Beach in front of the line, with Y0 rounded to single precision.
  const double front = line < y0 ? static_cast<double>(static_cast<float>(y0)) - line : 0.0;
  const float allowed = static_cast<float>(std::max(0.0, front + gain));
  // What the source moved: the change of the cell less what the transport, as
  // it finally stands, moved (for the books of placed and removed sand).
  const auto applied_source = [&] {
    src.DYSRC(i) = (line - y0) + static_cast<double>((dtfac / dx) * (qr - ql));
  };
  if (!(loss > allowed)) {
    applied_source();
    return;
  }
  switch (rule) {
    case Outflow::right:
      qr = ql + dx * allowed / dtfac;
      break;
    case Outflow::left:
      ql = qr - dx * allowed / dtfac;
      break;
    case Outflow::both: {
      const float f = dx * allowed / (dtfac * (qr - ql));
      ql = f * ql;
      qr = f * qr;
      break;
    }
  }
  applied_source();
}

// The explicit update of every cell at once (explicit_update) into ynew; *held: whether some cell outside the inlets would end landward of its
// hold line (or is not a number), so that the sweep must run.
[[gnu::always_inline]] inline void free_update_body(int lo, int hi, const float* __restrict dx,
                                                    const float* __restrict dtfac,
                                                    const float* __restrict qls,
                                                    const double* __restrict y,
                                                    const double* __restrict qsrc,
                                                    const double* __restrict yswall,
                                                    const int* __restrict inlcell,
                                                    double* __restrict ynew, int* held) {
  int any = 0;
#pragma omp simd reduction(| : any)
  for (int i = lo; i <= hi; ++i) {
    const CellUpdate u =
        explicit_update(dx[i], dtfac[i], qls[i], qls[i + 1], y[i], qsrc[i], yswall[i]);
    ynew[i] = u.ynew;
    any |= static_cast<int>(!(u.ynew >= u.line)) & static_cast<int>(inlcell[i] == 0);
  }
  *held = any;
}

// The update of every cell outside the inlets taken as it stands: the
// shoreline and the source's share of the move (none at an inlet cell, which
// the update leaves where it is).
[[gnu::always_inline]] inline void take_update_body(int lo, int hi, const int* __restrict inlcell,
                                                    const double* __restrict ynew,
                                                    const float* __restrict dtfac,
                                                    const double* __restrict qsrc,
                                                    double* __restrict y,
                                                    double* __restrict dysrc) {
#pragma omp simd
  for (int i = lo; i <= hi; ++i) {
    const bool open = inlcell[i] == 0;
    y[i] = open ? ynew[i] : y[i];
    dysrc[i] = open ? static_cast<double>(dtfac[i]) * qsrc[i] : 0.0;
  }
}

}  // namespace

// Sweep: walk right updating cells that pass sand to the right. Where sand goes
// left (a negative left wall, or a cell receiving from both sides), scan right
// to the cell that loses sand on both sides (or the grid end), update it first,
// then the run's cells in descending order down to where the run began, so
// each cell sees the cut outflow of its upstream neighbour. Inlet cells are
// never updated; their walls keep the inlet's values.
// Design notes: a scan stops before an inlet cell as at the grid end (the inlet
// takes what flows into it). A cell receiving from both sides at NX is updated
// with the same hold as every cell: it cannot erode by transport, so the hold
// can only keep a sink from digging behind a seawall there.
void update_shoreline(const Settings& cfg, TransportState& tr, SourceState& src,
                      ScratchState& scr) {
  const int nx = cfg.NX;
  // Where no cell reaches its hold line (no seawall, or none eroded to it),
  // no transport is cut, every cell sees its walls as they stand and the sweep
  // gives each cell its explicit update: all cells are updated at once.
  const int held = run_any<free_update_body>(1, nx, cfg.DX.data(), tr.DTFAC.data(), tr.QLS.data(),
                                             tr.YSHORE.data(), tr.QSRC.data(), tr.YSWALL.data(),
                                             tr.INLCELL.data(), scr.YNEW.data());
  if (held == 0) {
    run_kernel<take_update_body>(1, nx, tr.INLCELL.data(), scr.YNEW.data(), tr.DTFAC.data(),
                                 tr.QSRC.data(), tr.YSHORE.data(), src.DYSRC.data());
    return;
  }
  int i = 1;
  while (i <= nx) {
    if (tr.INLCELL(i) == 1) {
      src.DYSRC(i) = 0.0;   // an inlet cell is not moved by its source
      ++i;
      continue;
    }
    const float ql = tr.QLS(i);
    const float qr = tr.QLS(i + 1);
    if (ql >= 0.0F && qr >= 0.0F) {
      update_cell(cfg, tr, src, i, Outflow::right);
      ++i;
      continue;
    }
    // A leftward run beginning at i; j is its first cell with a negative left wall.
    int j = ql < 0.0F ? i : i + 1;
    if (j > nx || tr.INLCELL(j) == 1) {
      // Sand from both sides at the grid end or beside an inlet: nothing to scan.
      update_cell(cfg, tr, src, i, Outflow::left);
      i = j;
      continue;
    }
    while (j < nx && tr.QLS(j + 1) < 0.0F && tr.INLCELL(j + 1) == 0) ++j;
    const bool loses_right = j < nx ? tr.QLS(j + 1) >= 0.0F : tr.QLS(nx + 1) > 0.0F;
    update_cell(cfg, tr, src, j, loses_right ? Outflow::both : Outflow::left);
    for (int c = j - 1; c >= i; --c) update_cell(cfg, tr, src, c, Outflow::left);
    i = j + 1;
  }
}

// Calm step: every cell moves by its source over the step (DT in hours, so
// 3600 DT seconds), the end cells by the boundary displacements.
// Design note: the seawall hold of the transport steps applies here too. A
// sink (a bypass removal) or a retreating boundary that would take a cell
// landward of its seawall line leaves it on the line (or where it is, when it
// already lies landward of the line), as the same sink does on a step with
// waves; without it a calm spell would dig the beach out from behind the wall.
void calm_update(const Settings& cfg, const InputState& in, const StepState& step,
                 TransportState& tr, SourceState& src) {
  const int nx = cfg.NX;
  for (int i = 1; i <= nx; ++i) {
    const double y0 = tr.YSHORE(i);
    tr.YSTART(i) = y0;  // where the step found the cell, as a wave step keeps it
    const double height =
        static_cast<double>(cfg.BERMHT(i)) + static_cast<double>(cfg.DCLOS(i));
    double y = y0 + tr.QSRC(i) * 3600.0 * static_cast<double>(step.DT) / height;
    if (i == 1) y += in.DYL;
    if (i == nx) y += in.DYR;
    tr.YSHORE(i) = std::max(y, std::min(tr.YSWALL(i), y0));
    // The source's share of the change: a hold is charged to the source first.
    const double boundary = (i == 1 ? in.DYL : 0.0) + (i == nx ? in.DYR : 0.0);
    src.DYSRC(i) = tr.YSHORE(i) - y0 - boundary;
  }
}

}  // namespace coastra

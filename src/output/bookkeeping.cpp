// Per-step bookkeeping read by the reports and the data files: accumulation of
// the step's transport volumes per wall (net, to the left, to the right, gross;
// period and run totals), the volume change per cell against the initial
// shoreline, the running seaward and landward extremes of the shoreline, and
// the transmission-coefficient statistics of the detached breakwaters.
// Routines: init_bookkeeping, accumulate_transport, volume_change,
// update_extremes, annual_factor, volume_divisor.

#include "output/bookkeeping.h"

#include <algorithm>
#include <cmath>

#include "model/simd_path.h"
#include "transport/transport.h"

namespace coastra {

namespace {

// Shoreline moves smaller than this (m) count as no change: they are round-off
// of the explicit update, not sand that moved.
constexpr double YCHANGE_FLOOR = 0.0001;

constexpr double DAYS_PER_YEAR = 365.25;

}  // namespace

void init_bookkeeping(const Settings& cfg, const InputState& in, OutputState& out) {
  const int nx = cfg.NX;
  // 1. The extremes start at the initial shoreline, so a beach that only
  //    erodes reports its initial position as the seawardmost one.
  for (int i = 1; i <= nx; ++i) {
    out.YMAX(i) = in.YINIT(i);
    out.YMIN(i) = in.YINIT(i);
  }
  // 2. The first report period runs from the start date.
  out.IREPDATE = cfg.SIMDATS;
  out.NYEARS = 0;
  out.NYEARREP = 0;
  out.THOUSANDS = false;
  // 3. No transmission coefficient recorded yet.
  for (int j = 1; j <= MXDB; ++j) {
    out.KTSUM(j) = 0.0;
    out.KTMAX(j) = 0.0F;
    out.KTMIN(j) = 0.0F;
    out.NKT(j) = 0;
  }
}

namespace {
// Volumes of one step at walls lo..hi: rate (m3/s) x step length dts (s);
// QNEG, QPOS, QGROSS formed from QLS on the way.
[[gnu::always_inline]] inline void accumulate_body(
    int lo, int hi, double dts, const float* __restrict qls, float* __restrict qneg,
    float* __restrict qpos, float* __restrict qgross, float* __restrict qnet,
    double* __restrict vnetp, double* __restrict vleftp, double* __restrict vrightp,
    double* __restrict vgrossp, double* __restrict vnet, double* __restrict vleft,
    double* __restrict vright) {
#pragma omp simd
  for (int i = lo; i <= hi; ++i) {
    const float q = qls[i];
    const TransportSplit s = split_of(q);
    qnet[i] = q;
    qneg[i] = s.neg;
    qpos[i] = s.pos;
    qgross[i] = s.gross;
    const double n = static_cast<double>(q) * dts;
    const double l = static_cast<double>(s.neg) * dts;   // <= 0
    const double r = static_cast<double>(s.pos) * dts;   // >= 0
    vnetp[i] += n;
    vleftp[i] += l;
    vrightp[i] += r;
    vgrossp[i] += static_cast<double>(s.gross) * dts;
    vnet[i] += n;
    vleft[i] += l;
    vright[i] += r;
  }
}

// The running extremes of cells lo..hi (as std::max and std::min keep them).
[[gnu::always_inline]] inline void extremes_body(int lo, int hi, const double* __restrict y,
                                                 double* __restrict ymax,
                                                 double* __restrict ymin) {
#pragma omp simd
  for (int i = lo; i <= hi; ++i) {
    ymax[i] = ymax[i] < y[i] ? y[i] : ymax[i];
    ymin[i] = y[i] < ymin[i] ? y[i] : ymin[i];
  }
}
}  // namespace

void accumulate_transport(const Settings& cfg, const StepState& step, TransportState& tr,
                          OutputState& out) {
  const int lo = 1;
  const int hi = cfg.NX + 1;
  // Volume of one step = rate (m3/s) x step length; DT is in hours.
  const double dts = 3600.0 * static_cast<double>(step.DT);  // (s)
  run_kernel<accumulate_body>(lo, hi, dts, tr.QLS.data(), tr.QNEG.data(), tr.QPOS.data(),
                              tr.QGROSS.data(), out.QNET.data(), out.VNETP.data(),
                              out.VLEFTP.data(), out.VRIGHTP.data(), out.VGROSSP.data(),
                              out.VNET.data(), out.VLEFT.data(), out.VRIGHT.data());
}

// Design note: on a calm step a moving boundary still moves its end cell; that
// sand crossed the boundary wall, so it is booked as the wall's transport
// volume (what the end cell gained beyond its source), and a whole-grid budget
// closes with moving boundaries too.
void book_calm_boundaries(const Settings& cfg, const InputState& in, const TransportState& tr,
                          const StepState& step, OutputState& out, double yleft, double yright) {
  const int nx = cfg.NX;
  const double dts = 3600.0 * static_cast<double>(step.DT);  // (s)
  auto crossed = [&](int i, double y0) {                        // (m3) into the cell
    const double h = static_cast<double>(cfg.BERMHT(i) + cfg.DCLOS(i));
    const double dx = static_cast<double>(cfg.DX(i));
    return (tr.YSHORE(i) - y0) * dx * h - tr.QSRC(i) * dts * dx;
  };
  auto book = [&](int wall, double vright) {                    // + towards higher cells
    if (vright == 0.0) return;
    out.VNETP(wall) += vright;
    out.VNET(wall) += vright;
    if (vright > 0.0) {
      out.VRIGHTP(wall) += vright;
      out.VRIGHT(wall) += vright;
    } else {
      out.VLEFTP(wall) += vright;
      out.VLEFT(wall) += vright;
    }
    out.VGROSSP(wall) += std::fabs(vright);
  };
  if (nx < 2) return;   // one cell: its two boundaries cannot be told apart
  if (in.DYL != 0.0) book(1, crossed(1, yleft));
  if (in.DYR != 0.0) book(nx + 1, -crossed(nx, yright));
}

void volume_change(const Settings& cfg, const InputState& in, const TransportState& tr,
                   OutputState& out) {
  const int nx = cfg.NX;
  double total = 0.0;
  for (int i = 1; i <= nx; ++i) {
    double d = tr.YSHORE(i) - in.YINIT(i);  // shoreline change (m), double precision
    if (std::fabs(d) < YCHANGE_FLOOR) d = 0.0;
    // The active profile of a cell is the berm height plus the closure depth.
    const float h = cfg.BERMHT(i) + cfg.DCLOS(i);                           // (m)
    const double dx = static_cast<double>(cfg.DX(i));                         // (m)
    out.VOLCELL(i) = d * dx * static_cast<double>(h);                         // (m3)
    // Per unit length of beach; a cell without width (never in a checked grid)
    // would divide by zero, so its value is taken from the profile directly.
    out.VOLLEN(i) = dx != 0.0 ? out.VOLCELL(i) / dx : d * static_cast<double>(h);  // (m3/m)
    total += out.VOLCELL(i);
  }
  out.VOLTOT = total;
}

void update_extremes(const Settings& cfg, const TransportState& tr, OutputState& out) {
  run_kernel<extremes_body>(1, cfg.NX, tr.YSHORE.data(), out.YMAX.data(), out.YMIN.data());
}

// Design note: the mean annual value divides by the steps actually simulated,
// not by the planned NTS. For a complete run the two are equal; a run that
// stopped early would otherwise report its volumes diluted over time that was
// never simulated. A step that set the run error flag stopped before its
// transport was accumulated, so it is not counted. With the adaptive time step
// ISTEP counts steps of the current DT (the loop derives it from the elapsed
// time), so steps / NSPERDAY stays the simulated time in days. A run stopped
// before its first complete step has simulated nothing and gets 0.
double annual_factor(const RunState& run, const InputState& in) {
  const int steps = run.IRUNERR != 0 ? run.ISTEP - 1 : run.ISTEP;
  if (steps <= 0) return 0.0;
  return DAYS_PER_YEAR * static_cast<double>(in.NSPERDAY) / static_cast<double>(steps);
}

double volume_divisor(const InputState& in) {
  const double y = static_cast<double>(in.YDFAC);
  return y * y * y;
}

}  // namespace coastra

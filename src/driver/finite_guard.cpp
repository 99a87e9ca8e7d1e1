// Non-finite guards of the time step. The check is one branch-free pass per
// group of arrays (x - x is 0 for every finite x and NaN for NaN and for both
// infinities), so it costs a few vector operations per wall; only when the
// pass finds something are the arrays searched for the first culprit, the
// message written and the state made finite again.

#include "driver/finite_guard.h"

#include <array>
#include <string>
#include <string_view>

#include "model/error_stop.h"
#include "model/simd_path.h"
#include "output/format.h"

namespace coastra {

namespace {

struct Quantity {
  std::string_view name;   // array name, as the print file names it
  std::string_view what;   // its meaning
};

}  // namespace

void report_nonfinite(RunState& run, std::string_view name, std::string_view what,
                      std::string_view where, int i) {
  std::string t = " ERROR. TIME STEP ";
  edit_i(t, run.ISTEP, 0);
  t += ": ";
  t += what;
  t += ' ';
  t += name;
  if (i > 0) {
    t += " AT ";
    t += where;
    t += ' ';
    edit_i(t, i, 0);
  }
  t += " IS NOT A FINITE NUMBER.\n";
  *run.PRT << t;
  *run.CON << t;
  stop_run(run, t, true);
}

namespace {

void report(RunState& run, const Quantity& q, std::string_view where, int i) {
  report_nonfinite(run, q.name, q.what, where, i);
}

// First index 1..n whose value is not finite, 0 when none.
template <class T>
int first_nonfinite(const T* a, int n) {
  for (int i = 1; i <= n; ++i)
    if (a[i] - a[i] != T(0)) return i;
  return 0;
}

template <class T>
void zero_nonfinite(T* a, int n) {
  for (int i = 1; i <= n; ++i)
    if (a[i] - a[i] != T(0)) a[i] = T(0);
}

}  // namespace

namespace {

// Design note: the guards' passes OR one flag per value into *bad. An integer
// OR gives the same result in any order, so unlike a floating-point sum it may
// be a vector reduction and still give the same answer on every path.
template <class T>
[[gnu::always_inline]] inline void nonfinite_body(int lo, int hi, const T* __restrict a,
                                                  int* __restrict bad) {
  int b = 0;
#pragma omp simd reduction(| : b)
  for (int i = lo; i <= hi; ++i) b |= static_cast<int>(a[i] - a[i] != T(0));
  *bad = b;
}

// The six breaking arrays at once.
[[gnu::always_inline]] inline void breaking_nonfinite_body(
    int lo, int hi, const float* __restrict hb, const float* __restrict thb,
    const float* __restrict cgu, const float* __restrict hbd, const float* __restrict thd,
    const float* __restrict cgb, int* __restrict bad) {
  int b = 0;
#pragma omp simd reduction(| : b)
  for (int i = lo; i <= hi; ++i) {
    b |= static_cast<int>(hb[i] - hb[i] != 0.0F) | static_cast<int>(thb[i] - thb[i] != 0.0F) |
         static_cast<int>(cgu[i] - cgu[i] != 0.0F) | static_cast<int>(hbd[i] - hbd[i] != 0.0F) |
         static_cast<int>(thd[i] - thd[i] != 0.0F) | static_cast<int>(cgb[i] - cgb[i] != 0.0F);
  }
  *bad = b;
}

}  // namespace

int any_nonfinite(const float* __restrict a, int n) {
  return run_any<nonfinite_body<float>>(1, n, a);
}

int any_nonfinite(const double* __restrict a, int n) {
  return run_any<nonfinite_body<double>>(1, n, a);
}

void guard_breaking(const Settings& cfg, RunState& run, WaveState& wv) {
  const int nw = cfg.NX + 1;
  if (run_any<breaking_nonfinite_body>(1, nw, wv.HB.data(), wv.THETAB.data(), wv.CGBU.data(),
                                       wv.HBD.data(), wv.THETABD.data(), wv.CGB.data()) == 0)
    return;
  // In the order the sequence forms them, so that the first named is the cause.
  const std::array<float*, 6> arrays = {wv.HB.data(),  wv.THETAB.data(),  wv.CGBU.data(),
                                        wv.HBD.data(), wv.THETABD.data(), wv.CGB.data()};
  static constexpr std::array<Quantity, 6> NAMES = {{
      {"HB", "UNDIFFRACTED BREAKING WAVE HEIGHT"},
      {"THETAB", "UNDIFFRACTED BREAKING WAVE ANGLE"},
      {"CGBU", "UNDIFFRACTED GROUP CELERITY AT BREAKING"},
      {"HBD", "BREAKING WAVE HEIGHT"},
      {"THETABD", "BREAKING WAVE ANGLE"},
      {"CGB", "GROUP CELERITY AT BREAKING"},
  }};
  // The first culprit, the message, and no non-finite value left behind.
  for (std::size_t k = 0; k < arrays.size(); ++k) {
    if (const int i = first_nonfinite(arrays[k], nw); i != 0) {
      report(run, NAMES[k], "WALL", i);
      break;
    }
  }
  for (float* a : arrays) zero_nonfinite(a, nw);
}

void guard_shoreline(const Settings& cfg, RunState& run, TransportState& tr) {
  const int nx = cfg.NX;
  static constexpr Quantity TRANSPORT = {"QLS", "LONGSHORE TRANSPORT RATE"};
  static constexpr Quantity SHORELINE = {"YSHORE", "SHORELINE POSITION"};
  // 1. One pass over the walls and one over the cells.
  const int bad_q = any_nonfinite(tr.QLS.data(), nx + 1);
  const int bad_y = any_nonfinite(tr.YSHORE.data(), nx);
  if ((bad_q | bad_y) == 0) return;
  // 2. The culprit: the transport first, as it moves the shoreline.
  if (bad_q != 0) {
    report(run, TRANSPORT, "WALL", first_nonfinite(tr.QLS.data(), nx + 1));
  } else {
    report(run, SHORELINE, "CELL", first_nonfinite(tr.YSHORE.data(), nx));
  }
  // 3. Design note: the stopped step is not accumulated nor recorded, so its
  //    shoreline move is undone too: the final shoreline of the reports is the
  //    one the last complete step left, the one the volumes and extremes
  //    describe. Its transports stay, the non-finite ones as 0, for the
  //    last-step transport list.
  for (int i = 1; i <= nx; ++i) tr.YSHORE(i) = tr.YSTART(i);
  zero_nonfinite(tr.QLS.data(), nx + 1);
}

}  // namespace coastra

// The stability check and the adaptive time step. stability_parameter forms
// S = S1 + S2 from the breaking waves and the grid; stability_check warns when
// S exceeds 0.5 and, with DTADAPT = 1, halves DT until S is acceptable or
// doubles it after a run of quiet steps; change_time_step forms every
// step-dependent count again for the new DT. Also setup_stability and
// step_number_after_change.

#include "driver/stability.h"

#include <algorithm>
#include <climits>
#include <limits>
#include <cmath>
#include <string>
#include <string_view>
#include <vector>

#include "driver/finite_guard.h"
#include "input/clock.h"
#include "input/schedules.h"
#include "model/simd_path.h"
#include "model/vector_math.h"
#include "output/format.h"
#include "transport/transport.h"

namespace coastra {
namespace {

constexpr float WARN_LIMIT = 0.5F;  // S above this always draws a warning

constexpr std::string_view STARS =
    "***************************************************************";  // 63
constexpr std::string_view HYPHENS =
    "---------------------------------------------------------------";  // 63
constexpr std::size_t INDENT = 10;  // blanks before the value lines of a notice

// F = dt / (DX^2 (berm height + closure depth)) with dt in seconds (s/m3),
// formed in double precision and rounded to single precision.
[[gnu::always_inline]] inline float time_factor(double dts, float dx, float berm, float dclos) {
  const double d = static_cast<double>(dx);
  const double h = static_cast<double>(berm) + static_cast<double>(dclos);
  return static_cast<float>(dts / (d * d * h));
}

// True when hours is a whole multiple (0 included) of dt. The hours are sums of
// single-precision steps held in double precision, so only round-off of the
// division is allowed for.
bool multiple_of(double hours, float dt) {
  const double q = hours / static_cast<double>(dt);
  return std::fabs(q - std::round(q)) <= 1.0e-6 * std::max(1.0, q);
}

// True when dt divides an interval of hours into whole steps (at least one).
bool divides(double hours, float dt) {
  return hours >= static_cast<double>(dt) && multiple_of(hours, dt);
}

// Number of steps of dt in an interval of hours: the nearest whole number, at
// least 1 (a count of 0 would stop every periodic test), at most INT_MAX.
int count_of(double hours, float dt) {
  const double q = std::round(hours / static_cast<double>(dt));
  if (!(q >= 1.0)) return 1;
  return q < static_cast<double>(INT_MAX) ? static_cast<int>(q) : INT_MAX;
}

float total(const StabilityTerms& t) { return t.S1 + t.S2; }

float parameter_at(const ModelState& m, float dt) {
  return total(stability_parameter(m.cfg.NX, dt, stability_walls(m)));
}

// The wave event whose record is in force: the counter already names the next
// event, and it was set back to 1 when the last event had just been read.
// 0 for the undated form, which has no event table.
int event_in_force(const std::vector<int>& table, int counter) {
  const int n = static_cast<int>(table.size());
  int k = counter - 1;
  if (k < 1) k = n;
  return k >= 1 && k <= n ? table[static_cast<std::size_t>(k - 1)] : 0;
}

// Event height in the wave file's unit, as the reports show it.
float event_height(const ModelState& m) {
  return m.cfg.WAVEFAC > 0.0F ? m.HZ / m.cfg.WAVEFAC : m.HZ;
}

// Lines of a notice, appended to the reused buffer.
void text_line(std::string& s, std::string_view text) {
  s += text;
  s += '\n';
}
void real_line(std::string& s, std::string_view text, double v) {
  s.append(INDENT, ' ');
  s += text;
  edit_f(s, v, 14, 6);
  s += '\n';
}
void int_line(std::string& s, std::string_view text, long long v) {
  s.append(INDENT, ' ');
  s += text;
  edit_i(s, v, 9);
  s += '\n';
}

// The notice goes to the console and, identically, to the print file.
void write_both(ModelState& m) {
  m.con() << m.STABTEXT;
  m.prt() << m.STABTEXT;
}

// Console warning of an unstable step; the detailed print-file block the
// first time in the run, then only with PRWARN. Every unstable step is
// counted, but the warning is written at most once per wave record (console
// line and block alike), so hourly steps cannot flood the files.
void instability_warning(ModelState& m, float s) {
  count_warning(m, WarnKind::UNSTABLE);
  if (!first_in_record(m, WarnKind::UNSTABLE)) return;
  m.con() << " WARNING!  Solution is unstable.\n Check printable output file for details.\n";
  if (!m.cfg.PRWARN && !m.FIRSTWARN) return;
  std::string& t = m.STABTEXT;
  t.clear();
  text_line(t, " WARNING!  CALCULATION SCHEME UNSTABLE.");
  t += " STABILITY PARAMETER =";
  edit_f(t, static_cast<double>(s), 14, 6);
  t += '\n';
  text_line(t, " PLEASE CONSULT YOUR MANUAL.");
  t += " date is";
  edit_i(t, m.CURDATE, 9);
  t += " wave date is";
  edit_i(t, event_in_force(m.EVDATE, m.IWEVENT), 9);
  t += " hours is";
  edit_i(t, event_in_force(m.EVHOUR, m.IWEVENT), 5);
  t += '\n';
  t += " hz is";
  edit_f(t, static_cast<double>(event_height(m)), 10, 3);
  t += " zzdeg is";
  edit_f(t, static_cast<double>(m.ZZDEG), 10, 3);
  t += " t is";
  edit_f(t, static_cast<double>(m.TZ), 10, 3);
  t += '\n';
  m.prt() << t;
  m.FIRSTWARN = false;
}

// The reduction notice, before the halving.
void reduction_notice(ModelState& m, float s) {
  std::string& t = m.STABTEXT;
  t.assign("\n");
  text_line(t, STARS);
  text_line(t, "WARNING: Solution is unstable.......................");
  real_line(t, "Current simulation STABILITY PARAMETER is:", static_cast<double>(s));
  int_line(t, "Current simulation date is:", m.CURDATE);
  int_line(t, "Current wave event date is:", event_in_force(m.EVDATE, m.IWEVENT));
  int_line(t, "Current wave event hour is:", event_in_force(m.EVHOUR, m.IWEVENT));
  real_line(t, "Current wave Height (HZ)is:", static_cast<double>(event_height(m)));
  real_line(t, "Current wave Period (T)is:", static_cast<double>(m.TZ));
  real_line(t, "Current wave Direction(zzdeg) is:", static_cast<double>(m.ZZDEG));
  text_line(t, "ACTION:  Commence adaptive time-step (DT) reduction!!!");
  text_line(t, HYPHENS);
  write_both(m);
}

// The new DT and its stability parameter, closing a reduction or an increase.
void append_new_dt(std::string& t, float dt, float s) {
  real_line(t, "..................................NEW DT =", static_cast<double>(dt));
  real_line(t, ".................NEW STABILITY PARAMETER =", static_cast<double>(s));
  text_line(t, STARS);
}

// DT cannot be halved again (half of it would be below DTMIN) while S is still
// above STABMIN: the run goes on with this DT. Written the first time, then
// only with PRWARN and at most once per wave record; counted every time.
void held_at_dtmin(ModelState& m, float s) {
  count_warning(m, WarnKind::DTMIN_HELD);
  if (m.DTMINNOTE && !m.cfg.PRWARN) return;
  if (!first_in_record(m, WarnKind::DTMIN_HELD)) return;
  m.DTMINNOTE = true;
  std::string& t = m.STABTEXT;
  t.assign("\n");
  text_line(t, STARS);
  text_line(t, "NOTICE: Time step (DT) is held at its smallest value (DTMIN).");
  real_line(t, "Current simulation STABILITY PARAMETER is:", static_cast<double>(s));
  int_line(t, "Current simulation date is:", m.CURDATE);
  real_line(t, "DTMIN =", m.cfg.DTMIN);
  real_line(t, "ACTION:  Simulation continues with DT =", static_cast<double>(m.cfg.DT));
  text_line(t, STARS);
  write_both(m);
}

// S above STABMIN: halve DT until S is at most STABMIN or half of DT would be
// below DTMIN. Design note: DT is only ever halved, never cut to DTMIN itself,
// so every DT of the run divides the configured one's intervals (wave-record
// step, DTSAVE, run length) and the counts stay whole numbers. A DT whose half
// is below DTMIN is kept, with the notice, and nothing is rescaled.
void reduce_time_step(ModelState& m, float s) {
  const double dtmin = m.cfg.DTMIN;
  float dt = m.cfg.DT;
  if (static_cast<double>(0.5F * dt) < dtmin) {
    held_at_dtmin(m, s);
    return;
  }
  reduction_notice(m, s);
  do {
    dt = 0.5F * dt;
    s = parameter_at(m, dt);
  } while (s > m.cfg.STABMIN && static_cast<double>(0.5F * dt) >= dtmin);
  m.STABTEXT.clear();
  append_new_dt(m.STABTEXT, dt, s);
  write_both(m);
  change_time_step(m, dt);
  m.STAB = s;
  if (s > m.cfg.STABMIN) held_at_dtmin(m, s);
}

// A trial DT is taken only where every step-dependent interval stays a whole
// number of steps and the steps stay on the same grid of times: it divides the
// wave-record step, DTSAVE and the run length, and the current step starts at
// a multiple of it. The water-level and tidal-current record steps, when those
// series are read, are divided the same way.
// Design note: with the undated wave form (or a single event) the record never
// changes at a set time, so its step imposes nothing.
bool trial_fits(const ModelState& m, float trial) {
  const bool timed_records = m.cfg.NWAVEV > 1;
  if (timed_records && !divides(static_cast<double>(m.DTWAVE), trial)) return false;
  if (!divides(static_cast<double>(m.cfg.DTSAVE), trial)) return false;
  if (m.WLUSED && !divides(static_cast<double>(m.DTWL), trial)) return false;
  if (m.TCUSED && !divides(static_cast<double>(m.DTTC), trial)) return false;
  if (!divides(m.RUNHOURS, trial)) return false;
  return multiple_of(m.ELAPSED, trial);
}

// S at most STABMIN: count the quiet steps and, after enough of them, try
// twice the step (at most DTMAX).
void increase_time_step(ModelState& m, float s) {
  const Settings& c = m.cfg;
  // 1. Stable-step counter.
  m.NSTABLE = s <= c.STABMAX ? m.NSTABLE + 1 : 0;
  // 2. Trial step.
  const float dt = c.DT;
  if (!(c.DTMAX > dt) || !(static_cast<float>(m.NSTABLE) > c.NSTABDTMIN)) return;
  const float trial = std::min(c.DTMAX, 2.0F * dt);
  // Design note: a trial that does not fit the intervals is not made at this
  // step; the counter keeps its value, so a later step that fits tries it.
  if (!trial_fits(m, trial)) return;
  const float st = parameter_at(m, trial);
  if (st > c.STABMIN) {
    // Rejected: DT stays as it was (also when the trial was capped at DTMAX).
    m.NSTABLE = 0;
    return;
  }
  std::string& t = m.STABTEXT;
  t.clear();
  text_line(t, STARS);
  text_line(t, "NOTICE: Computational efficiency can be improved...");
  text_line(t, HYPHENS);
  text_line(t, "ACTION:  Commence adaptive time-step (DT) increase!!!");
  int_line(t, "Current simulation date is:", m.CURDATE);
  append_new_dt(t, trial, st);
  write_both(m);
  change_time_step(m, trial);
  m.STAB = st;
}

}  // namespace

namespace {

// Walls per block of the stability parameter's passes: the per-wall terms of a
// block are formed in one straight-line pass into a buffer on the stack with
// the block's largest values; only a block whose largest value exceeds the
// running one is scanned in wall order. The largest values and their walls
// are then those of a scan of every wall (the first wall on ties), on every
// path: a NaN term never counts (it is taken as -inf for the block's
// largest value, and a comparison with it is false in the scan), and a block
// largest value of either signed zero changes nothing, since the running
// values start at 0 or at the first wall's term and only grow.
constexpr int STAB_BLOCK = 256;
constexpr float MINUS_INF = -std::numeric_limits<float>::infinity();

// Largest values of a block (max of non-NaN values; -inf when none).
struct BlockMax {
  float t;   // of the oblique-wave terms, or of the height rises
  float e;   // of HBD^2 CGB
};

// F of walls lo..hi at f[i - lo].
[[gnu::always_inline]] inline void time_factor_body(int lo, int hi, double dts,
                                                    const float* __restrict dx,
                                                    const float* __restrict berm,
                                                    const float* __restrict dclos,
                                                    float* __restrict f) {
#pragma omp simd
  for (int i = lo; i <= hi; ++i) f[i - lo] = time_factor(dts, dx[i], berm[i], dclos[i]);
}

// Oblique-wave terms of walls lo..hi: t = 2 HBD^2 A1W CGB F and e = HBD^2 CGB,
// each at [i - lo], and their largest values; wall i's F at f[i - from].
[[gnu::always_inline]] inline void oblique_terms_body(
    int lo, int hi, int from, const float* __restrict f, const float* __restrict hbd,
    const float* __restrict cgb, const float* __restrict a1w, float* __restrict t,
    float* __restrict e, BlockMax* __restrict big) {
  float mt = MINUS_INF;
  float me = MINUS_INF;
#pragma omp simd reduction(max : mt, me)
  for (int i = lo; i <= hi; ++i) {
    const float fi = f[i - from];
    const float hb = hbd[i];
    const float ei = hb * hb * cgb[i];
    const float ti = 2.0F * hb * hb * a1w[i] * cgb[i] * fi;
    e[i - lo] = ei;
    t[i - lo] = ti;
    const float ec = ei == ei ? ei : MINUS_INF;
    const float tc = ti == ti ? ti : MINUS_INF;
    me = ec > me ? ec : me;
    mt = tc > mt ? tc : mt;
  }
  *big = BlockMax{mt, me};
}

// Alongshore rise of the height in the wave direction at walls lo..hi:
// v = sin(THETABD) (HBD(i+1) - HBD(i-1)) at [i - lo], and the largest.
[[gnu::always_inline]] inline void height_rise_body(int lo, int hi,
                                                    const float* __restrict theta,
                                                    const float* __restrict hbd,
                                                    float* __restrict v,
                                                    BlockMax* __restrict big) {
  float mv = MINUS_INF;
#pragma omp simd reduction(max : mv)
  for (int i = lo; i <= hi; ++i) {
    const float vi = vmath::sin(theta[i]) * (hbd[i + 1] - hbd[i - 1]);
    v[i - lo] = vi;
    const float vc = vi == vi ? vi : MINUS_INF;
    mv = vc > mv ? vc : mv;
  }
  *big = BlockMax{mv, MINUS_INF};
}

}  // namespace

namespace {

// The largest value of a scan of walls in order, and its wall (the first on
// ties; a NaN never counts).
struct Largest {
  float v;
  int wall;
};

// The first wall a..b whose value v[i - a] equals the block's largest value
// big (which the block holds): where a scan of the block, taking each value
// above the largest so far, stops moving. (Only at the sign of a zero could
// the block's value differ from big; the wall is the same.)
int first_equal(const float* v, int a, int b, float big) {
  int i = a;
  while (i < b && !(v[i - a] == big)) ++i;
  return i;
}

// S1 terms over walls lo..hi, block by block: the largest term (from s1, NaN
// never counts) and the largest HBD^2 CGB with its wall (from `e`).
struct ObliquePart {
  float s1;
  Largest e;
};
ObliquePart oblique_part(int lo, int hi, double dts, const StabilityWalls& w, bool cached,
                         ObliquePart r) {
  float t[STAB_BLOCK];
  float e[STAB_BLOCK];
  float f[STAB_BLOCK];
  BlockMax big{};
  for (int a = lo; a <= hi; a += STAB_BLOCK) {
    const int b = std::min(hi, a + STAB_BLOCK - 1);
    if (cached) {
      run_kernel<oblique_terms_body>(a, b, 0, w.F->data(), w.HBD.data(), w.CGB.data(),
                                             w.A1W.data(), t, e, &big);
    } else {
      run_kernel<time_factor_body>(a, b, dts, w.DX.data(), w.BERMHT.data(),
                                           w.DCLOS.data(), f);
      run_kernel<oblique_terms_body>(a, b, a, f, w.HBD.data(), w.CGB.data(),
                                             w.A1W.data(), t, e, &big);
    }
    r.s1 = std::max(r.s1, big.t);
    if (big.e > r.e.v) r.e = {big.e, first_equal(e, a, b, big.e)};
  }
  return r;
}

// The steepest rise of the height over walls lo..hi, block by block (from r).
Largest rise_part(int lo, int hi, const StabilityWalls& w, Largest r) {
  float t[STAB_BLOCK];
  BlockMax big{};
  for (int a = lo; a <= hi; a += STAB_BLOCK) {
    const int b = std::min(hi, a + STAB_BLOCK - 1);
    run_kernel<height_rise_body>(a, b, w.THETABD.data(), w.HBD.data(), t, &big);
    if (big.t > r.v) r = {big.t, first_equal(t, a, b, big.t)};
  }
  return r;
}

}  // namespace

StabilityTerms stability_parameter(int nx, float dt, const StabilityWalls& w) {
  const double dts = 3600.0 * static_cast<double>(dt);  // step (s)
  // 1-2. S1: the largest 2 HBD^2 A1W CGB F over walls 1..N-1. Design note: the
  // largest of the whole term rather than the term at the wall of largest
  // HBD^2 CGB; on a uniform grid they agree, on a variable grid a narrow cell
  // (large F) is not missed. Wall j of the largest HBD^2 CGB (the first on
  // ties) still selects whether the gradient term counts.
  // F formed for this step (set-up and each change of DT), or formed here.
  const bool cached = w.F != nullptr && dt == w.F_DT;
  const ObliquePart oblique = oblique_part(1, nx - 1, dts, w, cached,
                                           {0.0F, {w.HBD(1) * w.HBD(1) * w.CGB(1), 1}});
  const float s1 = oblique.s1;
  const int j = oblique.e.wall;
  // 3. No gradient term where the K2 coefficient is negligible.
  if (w.K2C(j) < 0.001F) return {s1, 0.0F};
  // 4. The wall of the steepest alongshore rise of the height in the wave
  // direction over walls 2..NX; nothing when every value is 0 or negative.
  const Largest r = nx >= 2 ? rise_part(2, nx, w, {0.0F, 1}) : Largest{0.0F, 1};
  const int k = r.wall;
  const float big_m = r.v;
  // 5. S2 at that wall.
  const float h = w.HBD(k);
  const float s2 =
      h * h * w.K2C(k) * w.CGB(k) * time_factor(dts, w.DX(k), w.BERMHT(k), w.DCLOS(k)) * big_m /
      (2.0F * w.DX(k));
  return {s1, s2};
}

StabilityWalls stability_walls(const ModelState& m) {
  return {m.HBD, m.THETABD, m.CGB, m.A1W, m.K2C, m.cfg.DX, m.cfg.BERMHT, m.cfg.DCLOS,
          &m.STABF, m.STABFDT};
}

void form_stability_factors(const Vec1<float>& dx, const Vec1<float>& bermht,
                            const Vec1<float>& dclos, int n, float dt, Vec1<float>& f) {
  const double dts = 3600.0 * static_cast<double>(dt);  // step (s)
  for (int i = 1; i <= n; ++i) f(i) = time_factor(dts, dx(i), bermht(i), dclos(i));
}

namespace {
// F of every cell's wall for the DT in force.
void stability_factors(ModelState& m) {
  form_stability_factors(m.cfg.DX, m.cfg.BERMHT, m.cfg.DCLOS, m.cfg.NX, m.cfg.DT, m.STABF);
  m.STABFDT = m.cfg.DT;
}
}  // namespace

int step_number_after_change(double elapsed, float dt) {
  return static_cast<int>(std::lround(elapsed / static_cast<double>(dt))) + 1;
}

void setup_stability(ModelState& m) {
  m.STAB = 0.0F;
  m.NSTABLE = 0;
  m.FIRSTWARN = true;
  m.DTMINNOTE = false;
  const double dt = static_cast<double>(m.cfg.DT);
  // Design note: the run length in hours is the configured run, NTS steps of
  // the configured DT (24 x NDAYS for a calendar run whose DT divides a day, a
  // step count times DT otherwise). A changed DT runs the same hours.
  m.RUNHOURS = static_cast<double>(m.NTS) * dt;
  // The boundaries move at a rate per hour, whatever the step.
  m.DYLHOUR = m.DYL / dt;
  m.DYRHOUR = m.DYR / dt;
  m.STABTEXT.reserve(2048);
  stability_factors(m);
}

void stability_check(ModelState& m) {
  // 1. Stability parameter of the step. It is infinite only where a cell's
  //    width or profile height is so near 0 that the time factor overflows:
  //    no step could be stable, and the value must not reach a report.
  const float s = parameter_at(m, m.cfg.DT);
  if (!std::isfinite(s)) {
    report_nonfinite(m, "S", "STABILITY PARAMETER", "", 0);
    return;
  }
  m.STAB = s;
  // 2. Warning.
  if (s > WARN_LIMIT) instability_warning(m, s);
  // 3. Adaptation, when enabled.
  if (m.cfg.DTADAPT != 1) return;
  m.ADAPTED = false;
  if (s > m.cfg.STABMIN) {
    reduce_time_step(m, s);
  } else {
    increase_time_step(m, s);
  }
}

void change_time_step(ModelState& m, float dt_new) {
  Settings& c = m.cfg;
  const float dt_old = c.DT;
  const double ratio = static_cast<double>(dt_new) / static_cast<double>(dt_old);
  c.DT = dt_new;
  // 1. Beach-fill advances per step: each fill's amount over the steps of the
  //    new DT in its window, so the advance per day stays the same.
  set_fill_advances(m);
  // 2. The quiet period before an increase keeps standing for the same time.
  c.NSTABDTMIN = static_cast<float>(static_cast<double>(c.NSTABDTMIN) / ratio);
  // 3. Steps per day, days per step, and the step dated again with the new DT.
  m.NSPERDAY = 24.0F / dt_new;
  m.DAYINC = 1.0F / m.NSPERDAY;
  retime_clock(m, dt_old);
  // 4. Run length: the same hours.
  m.NTS = count_of(m.RUNHOURS, dt_new);
  // 5. Steps per interval. The undated wave form reads a record every step.
  m.NSTSAVE = count_of(static_cast<double>(c.DTSAVE), dt_new);
  if (c.NWAVEV <= 1) m.DTWAVE = dt_new;
  m.NWS = count_of(static_cast<double>(m.DTWAVE), dt_new);
  //    Steps per water-level and tidal-current record (1 without a series).
  if (m.WLUSED) m.NSTWL = count_of(static_cast<double>(m.DTWL), dt_new);
  if (m.TCUSED) m.NSTTC = count_of(static_cast<double>(m.DTTC), dt_new);
  //    Boundary movements per step from their rates per hour.
  m.DYL = m.DYLHOUR * static_cast<double>(dt_new);
  m.DYR = m.DYRHOUR * static_cast<double>(dt_new);
  //    (Dredged volumes are held per hour and taken times the DT in force, so
  //    they need no rescale.)
  //    Time factor of every cell, for the transport and the stability check.
  time_factors(m);
  stability_factors(m);
  //    Print-out entries given as step numbers and not yet reached: the step
  //    that ends at (or first after) the same hour. Design note: a step
  //    number counts steps of the DT in force, and rounding up keeps an entry
  //    that falls inside a longer step from never being met.
  for (int k = m.IPROUT; k <= std::min(c.NOUT, MXOUT); ++k) {
    int& e = c.PRDATE(k);
    if (e <= 0 || e > DATE_THRESHOLD) continue;
    const double steps = std::ceil(static_cast<double>(e) / ratio - 1.0e-9);
    e = steps < static_cast<double>(DATE_THRESHOLD) ? static_cast<int>(steps) : DATE_THRESHOLD;
  }
  // 6. The current step is numbered in the new DT too, so that the periodic
  //    records, the print-outs and the end test of this step count in the same
  //    steps as NSTSAVE and NTS; the next step follows from the elapsed time.
  m.ISTEP = step_number_after_change(m.ELAPSED, dt_new);
  m.ADAPTED = true;
}

}  // namespace coastra

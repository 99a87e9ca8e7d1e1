// The stability check and the adaptive time step: stability_check takes the
// parameter (transport/stability_parameter.h), has its warning written when S
// exceeds 0.5 and, with DTADAPT = 1, halves DT until S is acceptable or
// doubles it after a run of quiet steps, the notices written by
// output/stability_notices.h; change_time_step forms every step-dependent
// count again for the new DT. Also setup_stability and
// step_number_after_change.

#include "driver/stability.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "driver/finite_guard.h"
#include "input/clock.h"
#include "input/schedules.h"
#include "transport/stability_parameter.h"
#include "output/stability_notices.h"
#include "transport/transport.h"

namespace coastra {
namespace {

constexpr float WARN_LIMIT = 0.5F;  // S above this always draws a warning


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
  return total(stability_parameter(
      m.cfg.NX, dt, stability_walls(m.cfg, m.waves(), m.transport(), m.stability())));
}

// S above STABMIN: halve DT until S is at most STABMIN or half of DT would be
// below DTMIN. Design note: DT is only ever halved, never cut to DTMIN itself,
// so every DT of the run divides the configured one's intervals (wave-record
// step, DTSAVE, run length) and the counts stay whole numbers. A DT whose half
// is below DTMIN is kept, with the notice, and nothing is rescaled.
void reduce_time_step(ModelState& m, float s) {
  const double dtmin = m.cfg.DTMIN;
  float dt = m.DT;
  if (static_cast<double>(0.5F * dt) < dtmin) {
    held_at_dtmin(m.cfg, m.input(), m.step(), m.run(), m.warnings(), m.stability(), s);
    return;
  }
  reduction_notice(m.cfg, m.input(), m.waves(), m.run(), m.stability(), s);
  do {
    dt = 0.5F * dt;
    s = parameter_at(m, dt);
  } while (s > m.cfg.STABMIN && static_cast<double>(0.5F * dt) >= dtmin);
  reduced_notice(m.run(), m.stability(), dt, s);
  change_time_step(m, dt);
  m.STAB = s;
  if (s > m.cfg.STABMIN)
    held_at_dtmin(m.cfg, m.input(), m.step(), m.run(), m.warnings(), m.stability(), s);
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
  const float dt = m.DT;
  if (!(c.DTMAX > dt) || !(static_cast<float>(m.NSTABLE) > m.NSTABDTMIN)) return;
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
  increase_notice(m.input(), m.run(), m.stability(), trial, st);
  change_time_step(m, trial);
  m.STAB = st;
}

}  // namespace

namespace {
// F of every cell's wall for the DT in force.
void stability_factors(const Settings& cfg, const StepState& step, StabilityState& stab) {
  form_stability_factors(cfg.DX, cfg.BERMHT, cfg.DCLOS, cfg.NX, step.DT, stab.STABF);
  stab.STABFDT = step.DT;
}
}  // namespace

void start_step_control(const Settings& cfg, StepState& step) {
  step.DT = cfg.DT;
  step.NSTABDTMIN = cfg.NSTABDTMIN;
  for (int k = 1; k <= MXOUT; ++k) step.PRDATE(k) = cfg.PRDATE(k);
}

int step_number_after_change(double elapsed, float dt) {
  return static_cast<int>(std::lround(elapsed / static_cast<double>(dt))) + 1;
}

void setup_stability(const Settings& cfg, const InputState& in, const StepState& step,
                     StabilityState& stab) {
  stab.STAB = 0.0F;
  stab.NSTABLE = 0;
  stab.FIRSTWARN = true;
  stab.DTMINNOTE = false;
  const double dt = static_cast<double>(step.DT);
  // Design note: the run length in hours is the configured run, NTS steps of
  // the configured DT (24 x NDAYS for a calendar run whose DT divides a day, a
  // step count times DT otherwise). A changed DT runs the same hours.
  stab.RUNHOURS = static_cast<double>(in.NTS) * dt;
  // The boundaries move at a rate per hour, whatever the step.
  stab.DYLHOUR = in.DYL / dt;
  stab.DYRHOUR = in.DYR / dt;
  stab.STABTEXT.reserve(2048);
  stability_factors(cfg, step, stab);
}

void stability_check(ModelState& m) {
  // 1. Stability parameter of the step. It is infinite only where a cell's
  //    width or profile height is so near 0 that the time factor overflows:
  //    no step could be stable, and the value must not reach a report.
  const float s = parameter_at(m, m.DT);
  if (!std::isfinite(s)) {
    report_nonfinite(m.run(), "S", "STABILITY PARAMETER", "", 0);
    return;
  }
  m.STAB = s;
  // 2. Warning.
  if (s > WARN_LIMIT)
    instability_warning(m.cfg, m.input(), m.waves(), m.run(), m.warnings(), m.stability(), s);
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
  const Settings& c = m.cfg;
  const float dt_old = m.DT;
  const double ratio = static_cast<double>(dt_new) / static_cast<double>(dt_old);
  m.DT = dt_new;
  // 1. Beach-fill advances per step: each fill's amount over the steps of the
  //    new DT in its window, so the advance per day stays the same.
  set_fill_advances(m.cfg, m.step(), m.sources());
  // 2. The quiet period before an increase keeps standing for the same time.
  m.NSTABDTMIN = static_cast<float>(static_cast<double>(m.NSTABDTMIN) / ratio);
  // 3. Steps per day, days per step, and the step dated again with the new DT.
  m.NSPERDAY = 24.0F / dt_new;
  m.DAYINC = 1.0F / m.NSPERDAY;
  retime_clock(m.step(), m.input(), dt_old);
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
  time_factors(m.cfg, m.step(), m.transport());
  stability_factors(m.cfg, m.step(), m.stability());
  //    Print-out entries given as step numbers and not yet reached: the step
  //    that ends at (or first after) the same hour. Design note: a step
  //    number counts steps of the DT in force, and rounding up keeps an entry
  //    that falls inside a longer step from never being met.
  for (int k = m.IPROUT; k <= std::min(c.NOUT, MXOUT); ++k) {
    int& e = m.PRDATE(k);
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

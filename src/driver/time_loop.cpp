// The time-step loop. One step: step number, clock, sources, wave input,
// offshore contour, then either the calm path or breaking waves and the
// transport step; bookkeeping, periodic records and the reports that fall on
// the step. Nothing here allocates or opens a file.

#include "driver/time_loop.h"

#include <algorithm>
#include <cmath>

#include "driver/stability.h"
#include "driver/wave_events.h"
#include "input/clock.h"
#include "output/bookkeeping.h"
#include "output/data_files.h"
#include "output/reports.h"
#include "transport/shoreline_solver.h"
#include "transport/transport.h"
#include "waves/nearshore.h"
#include "waves/wave_input.h"

namespace coastra {

namespace {

// The step number: after a change of DT it follows from the elapsed time, so
// the steps keep counting hours of simulation: (step - 1) x DT = elapsed hours.
void next_step_number(ModelState& m) {
  if (m.ADAPTED) {
    m.ISTEP = step_number_after_change(m.ELAPSED, m.cfg.DT);
    m.ADAPTED = false;
  } else {
    m.ISTEP += 1;
  }
}

// The start-day mark: the yearly report is not written while the clock is
// still on the whole day the run started on. Once the clock has left that day
// the step never belongs to the start day again (a later month has the same
// day number).
void mark_start_day(ModelState& m, float start_day) {
  if (m.ISTEP == 1) m.ISTARTDAY = static_cast<int>(std::lround(start_day));
  m.STARTDAY = m.STARTDAY && static_cast<int>(m.CLKDAY) == m.ISTARTDAY;
}

void clear_sources(ModelState& m) {
  for (int i = 1; i <= m.cfg.NX; ++i) m.QSRC(i) = 0.0;
}

// Waves, transport and shoreline of the step.
void waves_and_transport(ModelState& m) {
  // New wave record every NWS steps; otherwise the last record stays in force.
  if ((m.ISTEP - 1) % m.NWS == 0) {
    wave_step(m);
    if (m.IRUNERR != 0) return;
    // What depends on the record alone is formed once per record: whether it is
    // calm, and for waves the closure depth (which stops a record whose height
    // and period cannot balance) and the nearshore slope drawn from it.
    m.CALM = calm_step(m);
    if (!m.CALM) {
      closure_depth(m);
      update_slope(m);
    }
  } else {
    restore_wave_input(m);
  }
  // Representative offshore contour from the current shoreline.
  if (m.cfg.IREG != 3) offshore_contour(m);

  if (m.CALM) {
    // No transformation and no transport: sources and boundary movements only.
    calm_update(m);
    return;
  }
  breaking_waves(m);
  if (m.IRUNERR != 0) return;  // the step stops right after the stage that failed
  // Stability of the step's waves; with the adaptive step DT may change here,
  // before the groin factors and the transport use it.
  stability_check(m);
  groin_factors(m);
  transport_step(m);
  if (m.IRUNERR != 0) return;
  accumulate_transport(m);
}

bool print_out_due(const ModelState& m) {
  const int nout = std::min(m.cfg.NOUT, MXOUT);
  if (m.IPROUT > nout || m.ISTEP == m.NTS) return false;
  const int entry = m.cfg.PRDATE(m.IPROUT);
  return entry == m.ISTEP || entry == m.CURDATE;
}

}  // namespace

void run_time_step(ModelState& m) {
  const float start_day = m.CLKDAY;
  next_step_number(m);
  advance_clock(m);
  mark_start_day(m, start_day);
  clear_sources(m);

  waves_and_transport(m);
  if (m.IRUNERR != 0) return;

  // Volume change and the records and reports that fall on this step.
  volume_change(m);
  update_extremes(m);
  if (m.ISTEP % m.NSTSAVE == 0) write_periodic_records(m);
  if (print_out_due(m)) {
    intermediate_report(m);
    m.IPROUT += 1;
  }
  if (yearly_report_due(m)) yearly_report(m);
}

void run_time_loop(ModelState& m) {
  m.ISTEP = 0;
  m.ELAPSED = 0.0;
  m.IPROUT = 1;
  m.STARTDAY = true;
  // A run of no whole step (a very long DT over a short period) simulates nothing.
  if (m.NTS < 1) return;
  for (;;) {
    run_time_step(m);
    // End test: the step number reached or passed NTS (a step number recomputed
    // after a change of DT may jump past it), or the run error flag.
    if (m.ISTEP >= m.NTS || m.IRUNERR != 0) break;
    m.ELAPSED += static_cast<double>(m.cfg.DT);
  }
}

}  // namespace coastra

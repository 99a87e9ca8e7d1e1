// The time-step loop and the one explicit pipeline of a time step: clock,
// sources, water level and tidal current, wave record, offshore contour, then
// either the calm path or the wave transformation (transmission, breaking,
// diffraction and merge, final waves), its guard, the stability check, groin
// factors and transport; the shoreline update of either path; the single
// "after the shoreline moved" point and its guard; accumulation; records and
// reports. Each stage is called once over the whole coast, in the order of
// the physics. Nothing here allocates or opens a file.

#include "driver/time_loop.h"

#include <algorithm>
#include <cassert>
#include <cmath>

#include "driver/finite_guard.h"
#include "driver/progress.h"
#include "driver/stability.h"
#include "driver/wave_events.h"
#include "inlets/reservoirs.h"
#include "input/clock.h"
#include "input/tidal_currents.h"
#include "input/water_levels.h"
#include "output/bookkeeping.h"
#include "output/data_files.h"
#include "output/inlet_files.h"
#include "output/reports.h"
#include "output/stage_notices.h"
#include "output/stage_report.h"
#include "output/wave_reports.h"
#include "transport/cross_shore.h"
#include "transport/groins.h"
#include "transport/shoreline_solver.h"
#include "transport/sources.h"
#include "transport/structures.h"
#include "transport/transport.h"
#include "waves/breaking_statistics.h"
#include "waves/diffraction.h"
#include "waves/final_waves.h"
#include "waves/nearshore.h"
#include "waves/segment_table.h"
#include "waves/transmission.h"

namespace coastra {

// THE RULE OF THE RUN ERROR FLAG. A stage may end the run in two ways:
// - error_stop (an input that cannot be simulated): the run unwinds at once,
//   without end-of-run reports;
// - the run error flag IRUNERR: the step ends right after that stage, the loop
//   stops, the end-of-run reports are still written. A stage that may set the
//   flag therefore runs in physics_of_step, and nothing of the step may have
//   been accumulated (accumulate_transport, volume_change, update_extremes) or
//   recorded (data files, reports) before it. Every such stage is followed by
//   `if (stopped(m)) return false;`, and run_time_step enters the
//   accumulation and the records only when physics_of_step returned true.
//   Accumulation and records never set the flag (checked at the end of a step).
// One report is written inside physics_of_step: the last step's wave list,
// right after the breaking sequence, because it shows THETABD before the groin
// stage clips it at the groin walls; a stage placed after it that sets the
// flag leaves that list in the print file.

namespace {

bool stopped(const ModelState& m) { return m.IRUNERR != 0; }

// The step number: after a change of DT it follows from the elapsed time, so
// the steps keep counting hours of simulation: (step - 1) x DT = elapsed hours.
void next_step_number(const StepState& step, RunState& run) {
  if (run.ADAPTED) {
    run.ISTEP = step_number_after_change(run.ELAPSED, step.DT);
    run.ADAPTED = false;
  } else {
    run.ISTEP += 1;
  }
}

// The start-day mark: the yearly report is not written while the clock is
// still on the whole day the run started on. Once the clock has left that day
// the step never belongs to the start day again (a later month has the same
// day number).
void mark_start_day(const InputState& in, RunState& run, float start_day) {
  if (run.ISTEP == 1) run.ISTARTDAY = static_cast<int>(std::lround(start_day));
  run.STARTDAY = run.STARTDAY && static_cast<int>(in.CLKDAY) == run.ISTARTDAY;
}

// The volume change is a function of the shoreline alone and is read only by
// records and reports, so it is formed when one of them is due (and once at
// the end of the run) rather than on every step: VOLDUE marks an accumulated
// shoreline whose volume change has not been formed yet.
void settle_volume_change(ModelState& m) {
  if (!m.VOLDUE) return;
  volume_change(m.cfg, m.input(), m.transport(), m.output());   // r: YSHORE, YINIT | w: VOLCELL, VOLLEN, VOLTOT
  m.VOLDUE = false;
}

// What depends on the wave record alone, once per record: the record itself,
// whether it is calm, and for waves the closure depth (a record whose height
// and period cannot balance stops the run) and the nearshore slope drawn from
// it. Between records the last one stays in force (no stage changes it).
bool wave_record(ModelState& m) {
  if ((m.ISTEP - 1) % m.NWS != 0) return true;
  const RecordChecks checks = wave_step(m);   // r: wave files | w: HRF..NRF, DLTZ, events
                                              //   | may set IRUNERR
  if (stopped(m)) return false;
  request_transmission(m.structures());   // w: KTDUE (computed KT follows the new record) | no stop
  request_cross_shore(m.cross_shore());   // w: XSDUE (the response follows the new record) | no stop
  m.CALM = calm_step(m.waves(), checks.no_wave);   // r: ZZDEGNR | w: CALM | no stop
  if (m.CALM) return true;
  if (const int cell = closure_depth(m.cfg, m.waves(), checks.bad_depth); cell != 0)   // r: DLTZ | no stop
    stop_on_closure_depth(m.cfg, m.waves(), m.run(), cell);     // report, then error stop
  update_slope(m.cfg, m.waves(), m.transport());   // r: DLTZ(1), APROF, K2 | w: TANB, K2C | no stop
  return true;
}

// The physics of a step, up to and including "the shoreline moved". Returns
// false when a stage set the run error flag (the step ends there). Each stage
// call says what it reads (r:), what it writes (w:) and whether it may stop.
bool physics_of_step(ModelState& m) {
  // 1. Clock.
  const float start_day = m.CLKDAY;
  next_step_number(m.step(), m.run());  // r: ADAPTED, ELAPSED, DT | w: ISTEP | no stop
  advance_clock(m.step(), m.input());  // r: clock, DT | w: CLKDAY, CURDATE, NEXTDATE | no stop
  mark_start_day(m.input(), m.run(), start_day);   // r: ISTEP, CLKDAY
                                       //   | w: ISTARTDAY, STARTDAY | no stop
  // 2. Sources of the step: bypass operations and the bypass event add to
  //    QSRC here, before the calm/wave split, so that both paths move the
  //    beach by them. QSRC is 0 here: the previous step's accumulation
  //    cleared the sources it booked (and a run starts with none).
  bypass_sources(m.cfg, m.run(), m.step(), m.transport(), m.sources());
                                       // r: schedules, ELAPSED, DT | w: QSRC, IBPEV | no stop
  // 2b. Water level and tidal current of the record in force. A new level
  //     changes the breakwater depths: their transmission is computed again.
  if (water_level_step(m.input(), m.run(), m.wave_input(), m.transport(), m.series()))
                                       // r: ISTEP, NSTWL, WL | w: WLPTR, WLCUR | no stop
    request_transmission(m.structures());   // w: KTDUE | no stop
  tidal_current_step(m.cfg, m.input(), m.run(), m.wave_input(), m.transport(), m.series());
                                       // r: ISTEP, NSTTC, TCVAL, KTIDE | w: TCPTR, UTIDE | no stop
  stage_mark(m.TIMES, Stage::BOOKKEEPING);
  // 3. Wave record, once every NWS steps.
  const bool recorded = wave_record(m);   // w: wave record, CALM, DLTZ, TANB | may set IRUNERR
  stage_mark(m.TIMES, Stage::WAVE_INPUT);
  if (!recorded) return false;
  // 4. Representative offshore contour from the current shoreline.
  if (m.cfg.IREG != 3)                 // r: YSHORE, XCELL | w: YSMOOTH, ALPHAW | no stop
    offshore_contour(m.cfg, m.input(), m.transport(), m.waves(), m.scratch());
  // 4f. Beach fills, then the breakwater marks from the filled shoreline
  //     (every step, calm or not). A fill moves the shoreline before a stage
  //     may still stop the step; the end-of-run reports then show the volume
  //     change of the last completed step, so it is formed before the fill.
  if (m.cfg.NBF > 0) settle_volume_change(m);
  apply_fills(m.cfg, m.run(), m.step(), m.transport(), m.sources());
                                       // r: fills, ELAPSED, DT, YSWALL | w: YSHORE, DYFILL | no stop
  structure_marks(m.cfg, m.sources(), m.transport());
                                       // r: YSHORE, YDB | w: DBMARK, YDBW, YSWALL, WALLTYPE | no stop
  stage_mark(m.TIMES, Stage::BREAKING);   // the contour belongs to the wave transformation

  if (m.CALM) {
    // 5c. Calm: no transformation and no transport.
    calm_update(m.cfg, m.input(), m.step(), m.transport(), m.sources());
                                       // r: QSRC, DYL, DYR, YSWALL | w: YSTART, YSHORE, DYSRC | no stop
  } else {
    // 5w. Waves: the transformation from the record's waves to the final
    //     breaking waves.
    wave_constants(m.waves());         // r: TZ, ZZDEGNR | w: OMEGA, K0, ZZRAD | no stop
    if (transmission_due(m.cfg, m.structures())) {   // once per record and water level
      // r: HRF, TRF, DRF, ALPHAW, WLCUR | w: KTDB, KT statistics | no stop
      const unsigned fired = breakwater_transmission(m.cfg, m.input(), m.waves(), m.transport(),
                                                     m.structures(), m.output());
      // Warnings; an emerged breakwater sets IRUNERR.
      transmission_notices(m.cfg, m.run(), m.structures(), m.warnings(), fired);
      if (stopped(m)) return false;
      derive_segment_order(m.cfg, m.structures());   // r: KTDB | w: SEGFAC, SEGORD | no stop
    }
    // r: C02RF, CHIRF, THETARF, ALPHAW, YSHORE, WALLTYPE, IXG
    //   | w: ALPHAS, ALPHASCODE, IWAVOFF, HB, THETAB, KB, CGBU | no stop
    breaking_waves(m.cfg, m.input(), m.transport(), m.waves(), m.scratch());
    stage_mark(m.TIMES, Stage::BREAKING);
    // r: HB, THETAB, KB, segments | w: HBD, THETABD merged
    if (!diffraction(m.cfg, m.transport(), m.structures(), m.waves(), m.scratch())) {
      stop_on_kd_failure(m.run());     // the coefficient did not converge: IRUNERR
      return false;
    }
    stage_mark(m.TIMES, Stage::DIFFRACTION);
    // r: HBD, THETABD, WALLTYPE, DBMARK, INLCELL, DBS..DBCON
    //   | w: HBD, THETABD smoothed, IGRADOFF, CGB, KB | no stop
    final_waves(m.cfg, m.transport(), m.sources(), m.waves(), m.scratch());
    guard_breaking(m.cfg, m.run(), m.waves());   // r: HB..CGB | w: them made finite | may set IRUNERR
    stage_mark(m.TIMES, Stage::BREAKING);
    if (stopped(m)) return false;
    stability_check(m);                // r: HBD, CGB, A1W, K2C, DX | w: DT and the step counts
                                       //   with DTADAPT = 1 | may set IRUNERR (S not finite)
    if (stopped(m)) return false;
    stage_mark(m.TIMES, Stage::SOLVER);
    if (m.ISTEP >= m.NTS)   // r: HBD, THETABD | print file | no stop
      write_last_step_waves(m.cfg, m.input(), m.waves(), m.run());
    stage_mark(m.TIMES, Stage::OUTPUT);
    // The transport of the final waves, and the shoreline it moves.
    groin_factors(m.cfg, m.input(), m.waves(), m.transport());
                                       // r: HBD, ALPHAS, YSHORE | w: GROINF.., THETABD | no stop
    joined_groins(m.cfg, m.input(), m.sources(), m.transport());
                                       // r: WALLTYPE, GCON | w: GROINF, QGPOT | no stop
    transport_step(m.cfg, m.input(), m.waves(), m.transport(), m.scratch());
                                       // r: HBD, THETABD, CGB, GROINF | w: YSTART, QLS | no stop
    if (m.cfg.INLETS) mouth_walls(m.cfg, m.transport());   // r: QLS, WALLTYPE
                                       //   | w: QLS at the inlet mouths | no stop
    stage_mark(m.TIMES, Stage::TRANSPORT);
    update_shoreline(m.cfg, m.transport(), m.sources(), m.scratch());
                                       // r: QLS, QSRC, DTFAC, YSWALL | w: YSHORE, QLS cut, DYSRC
                                       //   | no stop
    salient_update(m.cfg, m.sources(), m.transport());
                                       // r: DBS, DBE, YDBW | w: YSHORE, QLS in shadow groups | no stop
  }
  // 5i. Inlets, both paths: dredging; on wave steps the reservoirs with the
  //     final mouth fluxes, the placement downdrift and the inlet wall copies.
  if (m.cfg.INLETS)
    inlet_step(m.cfg, m.run(), m.input(), m.step(), m.transport(), m.inlets());
                                       // r: QLS, STEPDATE, DT | w: VVS*, Q*, YSHORE, QLS | no stop
  // 6. After the shoreline moved: calm and wave steps meet here. Nothing of
  //    the step has been accumulated yet, so a non-finite value stops it here.
  // 5x. The cross-shore response of the profile, both paths.
  cross_shore_response(m.cfg, m.run(), m.waves(), m.step(), m.transport(), m.cross_shore());
                                       // r: HRF, HB, HBD, YSWALL, YDBW | w: YSHORE, YC | no stop
  guard_shoreline(m.cfg, m.run(), m.transport());
                                       // r: QLS, YSHORE | w: YSHORE = YSTART on a stop | may set IRUNERR
  stage_mark(m.TIMES, Stage::SOLVER);
  return !stopped(m);
}

// Accumulation of the step: never sets the run error flag.
void accumulate_step(ModelState& m) {
  if (m.CALM) {
    // A calm step moves a moving boundary all the same: its volume is booked
    // at the boundary wall (from where calm_update found the end cells).
    book_calm_boundaries(m.cfg, m.input(), m.transport(), m.step(), m.output(), m.YSTART(1),
                         m.YSTART(m.cfg.NX));   // w: V* of walls 1, NX+1
  }
  if (!m.CALM) {
    // The undiffracted statistics of every step but the last (the run's end
    // adds the values in force then).
    if (m.ISTEP < m.NTS)               // r: HB, THETAB, ALPHAS, CGBU, A1W, DT | w: SUM*
      BRKSTAT(m.cfg, m.input(), m.transport(), m.step(), m.waves());
    accumulate_transport(m.cfg, m.step(), m.transport(), m.output());   // r: QLS | w: QNEG..QNET, V*P, V*
  }
  book_sources(m.cfg, m.transport(), m.sources());   // r: DYFILL, DYSRC, QSRC | w: VFILL.., QSRC = 0
  update_extremes(m.cfg, m.transport(), m.output());   // r: YSHORE | w: YMAX, YMIN
  m.VOLDUE = true;                     // volume change formed when a record needs it
}

bool print_out_due(const ModelState& m) {
  const int nout = std::min(m.cfg.NOUT, MXOUT);
  if (m.IPROUT > nout || m.ISTEP == m.NTS) return false;
  const int entry = m.PRDATE(m.IPROUT);
  return entry == m.ISTEP || entry == m.CURDATE;
}

// The records and reports that fall on the step: never set the run error flag.
void record_step(ModelState& m) {
  const bool records = m.ISTEP % m.NSTSAVE == 0;
  const bool print_out = print_out_due(m);
  const bool yearly = yearly_report_due(m.cfg, m.run(), m.input(), m.output());
  if (records || print_out || yearly) settle_volume_change(m);
  if (records) {
    write_periodic_records(m);         // data files
    write_inlet_records(m.run(), m.input(), m.output(), m.inlets());   // inlet reservoir files
  }
  if (print_out) {
    intermediate_report(m.cfg, m.input(), m.transport(), m.run(), m.output());   // print file
    m.IPROUT += 1;
  }
  if (yearly)   // print file, console
    yearly_report(m.cfg, m.input(), m.waves(), m.transport(), m.run(), m.output());
}

}  // namespace

void run_time_step(ModelState& m) {
  if (!physics_of_step(m)) return;     // the only place a step ends early
  accumulate_step(m);
  stage_mark(m.TIMES, Stage::BOOKKEEPING);
  record_step(m);
  stage_mark(m.TIMES, Stage::OUTPUT);
  assert(!stopped(m) && "accumulation and records never set the run error flag");
}

void run_time_loop(ModelState& m) {
  m.ISTEP = 0;
  m.ELAPSED = 0.0;
  m.IPROUT = 1;
  m.STARTDAY = true;
  // A run of no whole step (a very long DT over a short period) simulates nothing.
  if (m.NTS < 1) return;
  stage_start(m.TIMES);                // stage timing when the run asked for it (--stage-times)
  for (;;) {
    run_time_step(m);
    show_progress(m.input(), m.run());  // the terminal's progress line, when one is shown
    // End test: the step number reached or passed NTS (a step number recomputed
    // after a change of DT may jump past it), or the run error flag.
    if (m.ISTEP >= m.NTS || m.IRUNERR != 0) break;
    m.ELAPSED += static_cast<double>(m.DT);
  }
  end_progress(m.run());
  // The end-of-run reports read the volume change of the last completed step.
  settle_volume_change(m);
  if (m.TIMES.ON) write_stage_times(m.run());
}

}  // namespace coastra

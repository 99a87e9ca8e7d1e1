// The notices of the stability check and the adaptive time step: the
// instability warning (console line, print-file block), the reduction and
// increase notices of DT and the notice of DT held at DTMIN. Written to the
// console and the print file alike; repeated ones at most once per wave
// record, every one counted.

#include "output/stability_notices.h"

#include <string>
#include <string_view>
#include <vector>

#include "output/format.h"

namespace coastra {
namespace {

constexpr std::string_view STARS =
    "***************************************************************";  // 63
constexpr std::string_view HYPHENS =
    "---------------------------------------------------------------";  // 63
constexpr std::size_t INDENT = 10;  // blanks before the value lines of a notice

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
float event_height(const Settings& cfg, const WaveState& wv) {
  return cfg.WAVEFAC > 0.0F ? wv.HZ / cfg.WAVEFAC : wv.HZ;
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
void write_both(RunState& run, const StabilityState& stab) {
  *run.CON << stab.STABTEXT;
  *run.PRT << stab.STABTEXT;
}

// The new DT and its stability parameter, closing a reduction or an increase.
void append_new_dt(std::string& t, float dt, float s) {
  real_line(t, "..................................NEW DT =", static_cast<double>(dt));
  real_line(t, ".................NEW STABILITY PARAMETER =", static_cast<double>(s));
  text_line(t, STARS);
}

}  // namespace

// Console warning of an unstable step; the detailed print-file block the
// first time in the run, then only with PRWARN. Every unstable step is
// counted, but the warning is written at most once per wave record (console
// line and block alike), so hourly steps cannot flood the files.
void instability_warning(const Settings& cfg, const InputState& in, const WaveState& wv,
                         RunState& run, WarningState& warn, StabilityState& stab, float s) {
  count_warning(warn, WarnKind::UNSTABLE);
  if (!first_in_record(warn, WarnKind::UNSTABLE)) return;
  *run.CON << " WARNING!  Solution is unstable.\n Check printable output file for details.\n";
  if (!cfg.PRWARN && !stab.FIRSTWARN) return;
  std::string& t = stab.STABTEXT;
  t.clear();
  text_line(t, " WARNING!  CALCULATION SCHEME UNSTABLE.");
  t += " STABILITY PARAMETER =";
  edit_f(t, static_cast<double>(s), 14, 6);
  t += '\n';
  text_line(t, " PLEASE CONSULT YOUR MANUAL.");
  t += " date is";
  edit_i(t, in.CURDATE, 9);
  t += " wave date is";
  edit_i(t, event_in_force(wv.EVDATE, wv.IWEVENT), 9);
  t += " hours is";
  edit_i(t, event_in_force(wv.EVHOUR, wv.IWEVENT), 5);
  t += '\n';
  t += " hz is";
  edit_f(t, static_cast<double>(event_height(cfg, wv)), 10, 3);
  t += " zzdeg is";
  edit_f(t, static_cast<double>(wv.ZZDEG), 10, 3);
  t += " t is";
  edit_f(t, static_cast<double>(wv.TZ), 10, 3);
  t += '\n';
  *run.PRT << t;
  stab.FIRSTWARN = false;
}

// The reduction notice, before the halving.
void reduction_notice(const Settings& cfg, const InputState& in, const WaveState& wv,
                      RunState& run, StabilityState& stab, float s) {
  std::string& t = stab.STABTEXT;
  t.assign("\n");
  text_line(t, STARS);
  text_line(t, "WARNING: Solution is unstable.......................");
  real_line(t, "Current simulation STABILITY PARAMETER is:", static_cast<double>(s));
  int_line(t, "Current simulation date is:", in.CURDATE);
  int_line(t, "Current wave event date is:", event_in_force(wv.EVDATE, wv.IWEVENT));
  int_line(t, "Current wave event hour is:", event_in_force(wv.EVHOUR, wv.IWEVENT));
  real_line(t, "Current wave Height (HZ)is:", static_cast<double>(event_height(cfg, wv)));
  real_line(t, "Current wave Period (T)is:", static_cast<double>(wv.TZ));
  real_line(t, "Current wave Direction(zzdeg) is:", static_cast<double>(wv.ZZDEG));
  text_line(t, "ACTION:  Commence adaptive time-step (DT) reduction!!!");
  text_line(t, HYPHENS);
  write_both(run, stab);
}

// DT cannot be halved again (half of it would be below DTMIN) while S is still
// above STABMIN: the run goes on with this DT. Written the first time, then
// only with PRWARN and at most once per wave record; counted every time.
void held_at_dtmin(const Settings& cfg, const InputState& in, const StepState& step, RunState& run,
                   WarningState& warn, StabilityState& stab, float s) {
  count_warning(warn, WarnKind::DTMIN_HELD);
  if (stab.DTMINNOTE && !cfg.PRWARN) return;
  if (!first_in_record(warn, WarnKind::DTMIN_HELD)) return;
  stab.DTMINNOTE = true;
  std::string& t = stab.STABTEXT;
  t.assign("\n");
  text_line(t, STARS);
  text_line(t, "NOTICE: Time step (DT) is held at its smallest value (DTMIN).");
  real_line(t, "Current simulation STABILITY PARAMETER is:", static_cast<double>(s));
  int_line(t, "Current simulation date is:", in.CURDATE);
  real_line(t, "DTMIN =", cfg.DTMIN);
  real_line(t, "ACTION:  Simulation continues with DT =", static_cast<double>(step.DT));
  text_line(t, STARS);
  write_both(run, stab);
}

// The closing lines of a reduction: the new DT and its parameter.
void reduced_notice(RunState& run, StabilityState& stab, float dt, float s) {
  stab.STABTEXT.clear();
  append_new_dt(stab.STABTEXT, dt, s);
  write_both(run, stab);
}

// The increase notice, with the new DT and its parameter.
void increase_notice(const InputState& in, RunState& run, StabilityState& stab, float dt,
                     float s) {
  std::string& t = stab.STABTEXT;
  t.clear();
  text_line(t, STARS);
  text_line(t, "NOTICE: Computational efficiency can be improved...");
  text_line(t, HYPHENS);
  text_line(t, "ACTION:  Commence adaptive time-step (DT) increase!!!");
  int_line(t, "Current simulation date is:", in.CURDATE);
  append_new_dt(t, dt, s);
  write_both(run, stab);
}
}  // namespace coastra

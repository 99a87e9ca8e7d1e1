// Print-file text of the warnings a per-wall loop recorded: write_step_warnings
// goes through the state's warning list in the order found, writes each by its
// kind (at most one of a kind per wave record) and empties the list; composes
// in the reused WTEXT buffer, so a step allocates nothing. write_warning_counts
// gives the run's count of every kind at the end.

#include "output/warnings.h"

#include <array>
#include <string_view>

#include "output/format.h"

namespace coastra {
namespace {

// Deep-water steepness: the reduced height in the model length unit.
void write_steepness(const Settings& cfg, const InputState& in, RunState& run, WaveState& wv,
                     WaveInputState& wi, WarningState& warn, const StepWarning& w) {
  if (!cfg.PRWARN && wv.ISTEEP != 0) return;
  if (!first_in_record(warn, WarnKind::STEEPNESS)) return;
  std::string& s = wi.WTEXT;
  s.assign("WARNING. UNPHYSICAL DEEPWATER WAVE STEEPNESS.\n");
  s += " WAVE HEIGHT REDUCED TO MATCH HZ/LZ = 0.142\n";
  s += " GIVING HZ = ";
  edit_f(s, static_cast<double>(w.value / in.LENFAC), 8, 3);  // model length unit
  s += "\n\n";
  *run.PRT << s;
  if (wv.ISTEEP == 0) {
    wv.ISTEEP = 1;
  } else if (wv.ISTEEP == -1) {
    wv.ISTEEP = 2;
  }
}

}  // namespace

void write_step_warnings(const Settings& cfg, const InputState& in, RunState& run, WaveState& wv,
                         WaveInputState& wi, WarningState& warn) {
  for (int k = 0; k < warn.NWARN; ++k) {
    const StepWarning& w = warn.WARNLIST[static_cast<std::size_t>(k)];
    switch (w.kind) {
      case WarnKind::STEEPNESS: write_steepness(cfg, in, run, wv, wi, warn, w); break;
      default: break;  // the other kinds are written by their stages, not listed
    }
  }
  warn.NWARN = 0;
}

// The texts of the count lines, in the order of WarnKind.
constexpr std::array<std::string_view, NWARNKIND> COUNT_TEXTS = {
    "UNPHYSICAL DEEPWATER WAVE STEEPNESS",
    "CALCULATION SCHEME UNSTABLE",
    "TIME STEP HELD AT DTMIN",
    "KT OUTSIDE STATED LIMIT OF 0.8",
    "KT OUTSIDE STATED LIMIT OF 0.075",
    "COMPUTED KT GREATER THAN 1.5, SET TO 1.5",
    "COMPUTED KT LESS THAN 0, SET TO 0",
    "INPUT VALUES OUTSIDE VARIABLE RANGE",
};
constexpr std::size_t COUNT_TEXT_WIDTH = 44;  // columns of the text before the count

void write_warning_counts(const WarningState& warn, RunState& run) {
  bool any = false;
  for (const int n : warn.NWARNRUN) any = any || n > 0;
  if (!any) return;
  std::string t = "\n WARNINGS RAISED IN THE RUN (WRITTEN AT MOST ONCE PER WAVE RECORD):\n";
  for (std::size_t k = 0; k < COUNT_TEXTS.size(); ++k) {
    if (warn.NWARNRUN[k] == 0) continue;
    t += ' ';
    t += COUNT_TEXTS[k];
    t.append(COUNT_TEXT_WIDTH - COUNT_TEXTS[k].size(), ' ');
    edit_i(t, warn.NWARNRUN[k], 10);
    // A kind written WARN_WRITE_MAX times was only counted after that.
    if (warn.NWARNWRITTEN[k] >= WARN_WRITE_MAX) {
      t += ", ";
      edit_i(t, warn.NWARNRUN[k] - warn.NWARNWRITTEN[k], 0);
      t += " NOT WRITTEN AFTER THE FIRST ";
      edit_i(t, WARN_WRITE_MAX, 0);
    }
    t += '\n';
  }
  *run.PRT << t;
  *run.CON << t;
}

}  // namespace coastra

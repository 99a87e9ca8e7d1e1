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
void write_steepness(ModelState& m, const StepWarning& w) {
  if (!m.cfg.PRWARN && m.ISTEEP != 0) return;
  if (!first_in_record(m, WarnKind::STEEPNESS)) return;
  std::string& s = m.WTEXT;
  s.assign("WARNING. UNPHYSICAL DEEPWATER WAVE STEEPNESS.\n");
  s += " WAVE HEIGHT REDUCED TO MATCH HZ/LZ = 0.142\n";
  s += " GIVING HZ = ";
  edit_f(s, static_cast<double>(w.value / m.LENFAC), 8, 3);  // model length unit
  s += "\n\n";
  m.prt() << s;
  if (m.ISTEEP == 0) {
    m.ISTEEP = 1;
  } else if (m.ISTEEP == -1) {
    m.ISTEEP = 2;
  }
}

}  // namespace

void write_step_warnings(ModelState& m) {
  for (int k = 0; k < m.NWARN; ++k) {
    const StepWarning& w = m.WARNLIST[static_cast<std::size_t>(k)];
    switch (w.kind) {
      case WarnKind::STEEPNESS: write_steepness(m, w); break;
      default: break;  // the other kinds are written by their stages, not listed
    }
  }
  m.NWARN = 0;
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

void write_warning_counts(ModelState& m) {
  bool any = false;
  for (const int n : m.NWARNRUN) any = any || n > 0;
  if (!any) return;
  std::string t = "\n WARNINGS RAISED IN THE RUN (WRITTEN AT MOST ONCE PER WAVE RECORD):\n";
  for (std::size_t k = 0; k < COUNT_TEXTS.size(); ++k) {
    if (m.NWARNRUN[k] == 0) continue;
    t += ' ';
    t += COUNT_TEXTS[k];
    t.append(COUNT_TEXT_WIDTH - COUNT_TEXTS[k].size(), ' ');
    edit_i(t, m.NWARNRUN[k], 10);
    // A kind written WARN_WRITE_MAX times was only counted after that.
    if (m.NWARNWRITTEN[k] >= WARN_WRITE_MAX) {
      t += ", ";
      edit_i(t, m.NWARNRUN[k] - m.NWARNWRITTEN[k], 0);
      t += " NOT WRITTEN AFTER THE FIRST ";
      edit_i(t, WARN_WRITE_MAX, 0);
    }
    t += '\n';
  }
  m.prt() << t;
  m.con() << t;
}

}  // namespace coastra

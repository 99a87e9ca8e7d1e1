// Print-file text of the warnings a per-wall loop recorded: write_step_warnings
// goes through the state's warning list in the order found, writes each by its
// kind and empties the list. Composes in the reused WTEXT buffer, so a step
// allocates nothing.

#include "output/warnings.h"

#include "output/format.h"

namespace coastra {
namespace {

// Deep-water steepness: the reduced height in the model length unit.
void write_steepness(ModelState& m, const StepWarning& w) {
  if (!m.cfg.PRWARN && m.ISTEEP != 0) return;
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
      case WarnKind::COUNT: break;
    }
  }
  m.NWARN = 0;
}

}  // namespace coastra

// The water-level series: reading, unit conversion and interval checks at
// start-up (read_water_levels), and the level of the record in force at each
// step (water_level_step). Levels are relative to the datum of the breakwater
// and profile depths, positive upwards (m after conversion).

#include "input/water_levels.h"

#include "input/series_records.h"
#include "output/format.h"

namespace coastra {

void read_water_levels(ModelState& m) {
  const Settings& c = m.cfg;
  m.WLUSED = false;
  m.WLCUR = 0.0F;
  m.NSTWL = 1;
  m.WLPTR = 0;
  if (c.WLFILE.empty()) return;
  // Design note: the level acts on the run only through the breakwater
  // transmission and the groin tips; the series is read with the computed
  // transmission alone, and a file given without it is named as unused.
  if (c.TRANMODE != 1) {
    lwrite(m.con(), "Water level file not used (no breakwater transmission computed): ", c.WLFILE);
    lwrite(m.prt(), "WATER LEVEL FILE NOT USED (NO BREAKWATER TRANSMISSION COMPUTED): ", c.WLFILE);
    return;
  }
  // 1. Records, grown as they are read (a mistyped count claims no memory).
  lwrite(m.con(), "Reading WTRELFILE");
  check_record_count(m, c.IWLFILE, c.WLFILE, WATER_LEVEL_NAMES);
  m.WLDATE.clear();
  m.WLTIME.clear();
  m.WL.clear();
  std::string line;
  for (int k = 1; k <= c.IWLFILE; ++k) {
    const StampedValue r = read_stamped_record(m, m.FWL, line, c.WLFILE, k, WATER_LEVEL_NAMES);
    m.WLDATE.push_back(r.DATE);
    m.WLTIME.push_back(r.TIME);
    // 2. Model length unit to metres.
    m.WL.push_back(r.VALUE * m.LENFAC);
  }
  m.FWL.close();
  m.NWL = c.IWLFILE;
  // 3. Interval, its checks, and the steps per record.
  m.DTWL = series_interval(m, m.WLDATE, m.WLTIME, c.WLFILE, WATER_LEVEL_NAMES);
  m.NSTWL = steps_per_record(m.DTWL, c.DT);
  warn_late_start(m, m.WLDATE[0], m.WLTIME[0], c.WLFILE, WATER_LEVEL_NAMES);
  m.WLUSED = true;
}

bool water_level_step(ModelState& m) {
  if (!m.WLUSED) return false;
  const int k = record_in_force(m.ISTEP, m.NSTWL, m.NWL);
  if (k == m.WLPTR) return false;
  if (k < m.WLPTR) note_restart(m, m.WLCYCLED, WATER_LEVEL_NAMES);
  m.WLPTR = k;
  const float level = m.WL[static_cast<std::size_t>(k - 1)];
  const bool changed = level != m.WLCUR;
  m.WLCUR = level;
  return changed;
}

}  // namespace coastra

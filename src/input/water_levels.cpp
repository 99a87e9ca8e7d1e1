// The water-level series: reading, unit conversion and interval checks at
// start-up (read_water_levels), and the level of the record in force at each
// step (water_level_step). Levels are relative to the datum of the breakwater
// and profile depths, positive upwards (m after conversion).

#include "input/water_levels.h"

#include "input/series_records.h"
#include "output/format.h"

namespace coastra {

void read_water_levels(const Settings& cfg, const InputState& in, RunState& run,
                       TransportState& tr, SeriesState& ser) {
  ser.WLUSED = false;
  tr.WLCUR = 0.0F;
  ser.NSTWL = 1;
  ser.WLPTR = 0;
  if (cfg.WLFILE.empty()) return;
  // Design note: the level acts on the run only through the breakwater
  // transmission and the groin tips; the series is read with the computed
  // transmission alone, and a file given without it is named as unused.
  if (cfg.TRANMODE != 1) {
    lwrite(*run.CON, "Water level file not used (no breakwater transmission computed): ", cfg.WLFILE);
    lwrite(*run.PRT, "WATER LEVEL FILE NOT USED (NO BREAKWATER TRANSMISSION COMPUTED): ", cfg.WLFILE);
    return;
  }
  // 1. Records, grown as they are read (a mistyped count claims no memory).
  lwrite(*run.CON, "Reading WTRELFILE");
  check_record_count(run, cfg.IWLFILE, cfg.WLFILE, WATER_LEVEL_NAMES);
  ser.WLDATE.clear();
  ser.WLTIME.clear();
  ser.WL.clear();
  std::string line;
  for (int k = 1; k <= cfg.IWLFILE; ++k) {
    const StampedValue r = read_stamped_record(run, run.FWL, line, cfg.WLFILE, k, WATER_LEVEL_NAMES);
    ser.WLDATE.push_back(r.DATE);
    ser.WLTIME.push_back(r.TIME);
    // 2. Model length unit to metres.
    ser.WL.push_back(r.VALUE * in.LENFAC);
  }
  run.FWL.close();
  ser.NWL = cfg.IWLFILE;
  // 3. Interval, its checks, and the steps per record.
  ser.DTWL = series_interval(cfg, run, ser.WLDATE, ser.WLTIME, cfg.WLFILE, WATER_LEVEL_NAMES);
  ser.NSTWL = steps_per_record(ser.DTWL, cfg.DT);
  warn_late_start(cfg, run, ser.WLDATE[0], ser.WLTIME[0], cfg.WLFILE, WATER_LEVEL_NAMES);
  ser.WLUSED = true;
}

bool water_level_step(const InputState& in, RunState& run, WaveInputState& wi,
                      TransportState& tr, SeriesState& ser) {
  if (!ser.WLUSED) return false;
  const int k = record_in_force(run.ISTEP, ser.NSTWL, ser.NWL);
  if (k == ser.WLPTR) return false;
  if (k < ser.WLPTR) note_restart(in, run, wi, ser.WLCYCLED, WATER_LEVEL_NAMES);
  ser.WLPTR = k;
  const float level = ser.WL[static_cast<std::size_t>(k - 1)];
  const bool changed = level != tr.WLCUR;
  tr.WLCUR = level;
  return changed;
}

}  // namespace coastra

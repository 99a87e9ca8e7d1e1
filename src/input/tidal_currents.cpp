// Tidal currents: station checks, reading of the station series and the
// per-wall interpolation weights at start-up (read_tidal_currents,
// tidal_weights), and the currents of the record in force at each step
// (tidal_current_step). Currents are in the model length unit per second in
// the files, positive towards higher cell numbers, and m/s once read.

#include "input/tidal_currents.h"

#include <algorithm>
#include <vector>

#include "input/series_records.h"
#include "model/error_stop.h"
#include "output/format.h"

namespace coastra {

namespace {

int station_count(const Settings& cfg) { return std::min(cfg.NTIDEFILES, MXTIDEF); }

const std::string& station_file(const Settings& cfg, int j) {
  return cfg.TIDEFILE[static_cast<std::size_t>(j)];
}

// Stations lie on walls 1..NX+1 in increasing order: the interpolation
// brackets each wall between two of them.
void check_stations(const Settings& cfg, RunState& run) {
  int before = 0;
  for (int j = 1; j <= station_count(cfg); ++j) {
    const int w = cfg.ITIDEWALL(j);
    if (w >= 1 && w <= cfg.NX + 1 && w > before) {
      before = w;
      continue;
    }
    std::string line(" ERROR. TIDAL CURRENT STATION ");
    edit_i(line, j, 0);
    line += " (FILE ";
    line += station_file(cfg, j);
    line += ") AT WALL ";
    edit_i(line, w, 0);
    line += ": STATIONS MUST LIE ON WALLS 1 TO ";
    edit_i(line, cfg.NX + 1, 0);
    line += " IN INCREASING ORDER.";
    *run.PRT << line << '\n';
    std::string msg("TIDEFILE station ");
    edit_i(msg, j, 0);
    msg += " at wall ";
    edit_i(msg, w, 0);
    msg += " off the grid or out of order: ";
    msg += station_file(cfg, j);
    error_stop(msg);
  }
}

// Record k of station j must carry the date and time of station 1's record k.
void check_same_stamp(const Settings& cfg, RunState& run, const SeriesState& ser, int j, int k,
                      const StampedValue& r) {
  const std::size_t at = static_cast<std::size_t>(k - 1);
  if (r.DATE == ser.TCDATE[at] && r.TIME == ser.TCTIME[at]) return;
  std::string line(" ERROR. RECORD ");
  edit_i(line, k, 0);
  line += " OF TIDAL CURRENT FILE ";
  line += station_file(cfg, j);
  line += " IS NOT DATED AS RECORD ";
  edit_i(line, k, 0);
  line += " OF ";
  line += station_file(cfg, 1);
  *run.PRT << line << '\n';
  std::string msg("Tidal current record ");
  edit_i(msg, k, 0);
  msg += " dated unlike station 1: ";
  msg += station_file(cfg, j);
  error_stop(msg);
}

}  // namespace

void tidal_weights(const Settings& cfg, SeriesState& ser) {
  const int nx = cfg.NX;
  const int ns = station_count(cfg);
  // 1. Alongshore coordinate of every wall from wall 1 (m): the widths of the
  //    cells before it. The baseline origin X0 cancels in every ratio below.
  std::vector<double> xw(static_cast<std::size_t>(nx) + 2, 0.0);
  for (int i = 2; i <= nx + 1; ++i)
    xw[static_cast<std::size_t>(i)] =
        xw[static_cast<std::size_t>(i - 1)] + static_cast<double>(cfg.DX(i - 1));
  // 2. The stations bracketing each wall and the weight of the upper one.
  const int first = cfg.ITIDEWALL(1);
  const int last = cfg.ITIDEWALL(ns);
  int b = 1;   // first station beyond the wall
  for (int i = 1; i <= nx + 1; ++i) {
    if (i <= first || i >= last) {
      const int s = i <= first ? 1 : ns;
      ser.TCA(i) = s;
      ser.TCB(i) = s;
      ser.TCW(i) = 0.0F;
      continue;
    }
    while (cfg.ITIDEWALL(b) <= i) ++b;
    const double xa = xw[static_cast<std::size_t>(cfg.ITIDEWALL(b - 1))];
    const double xb = xw[static_cast<std::size_t>(cfg.ITIDEWALL(b))];
    ser.TCA(i) = b - 1;
    ser.TCB(i) = b;
    ser.TCW(i) = static_cast<float>((xw[static_cast<std::size_t>(i)] - xa) / (xb - xa));
  }
}

void read_tidal_currents(const Settings& cfg, const InputState& in, RunState& run,
                         SeriesState& ser) {
  ser.TCUSED = false;
  ser.NSTTC = 1;
  ser.TCPTR = 0;
  if (!cfg.TIDES || station_count(cfg) < 1) return;
  lwrite(*run.CON, "Reading TCRNTFILE: ");
  // 1. Stations on the grid, in order; at least two records announced.
  check_stations(cfg, run);
  check_record_count(run, cfg.ITIDE2, station_file(cfg, 1), TIDAL_CURRENT_NAMES);
  // 2. Records k = 1..NTC of every station, grown as they are read.
  const int ns = station_count(cfg);
  // A station whose file was never opened has a stream all the same: its read fails.
  if (run.FTIDE.size() < static_cast<std::size_t>(ns) + 1) run.FTIDE.resize(static_cast<std::size_t>(ns) + 1);
  ser.TCDATE.clear();
  ser.TCTIME.clear();
  ser.TCVAL.clear();
  std::string line;
  for (int k = 1; k <= cfg.ITIDE2; ++k) {
    for (int j = 1; j <= ns; ++j) {
      std::ifstream& f = run.FTIDE[static_cast<std::size_t>(j)];
      const StampedValue r =
          read_stamped_record(run, f, line, station_file(cfg, j), k, TIDAL_CURRENT_NAMES);
      if (j == 1) {
        ser.TCDATE.push_back(r.DATE);
        ser.TCTIME.push_back(r.TIME);
      } else {
        check_same_stamp(cfg, run, ser, j, k, r);
      }
      ser.TCVAL.push_back(r.VALUE * in.LENFAC);   // model length unit per second to m/s
    }
  }
  for (int j = 1; j <= ns; ++j) run.FTIDE[static_cast<std::size_t>(j)].close();
  ser.NTC = cfg.ITIDE2;
  // 3. Interval, its checks, the steps per record, the interpolation weights.
  // Design note: the transport needs a current at every wall 1..NX+1, and the
  // interpolation gives every wall one from any number of stations (one
  // station makes the current uniform), so a run never lacks tidal points and
  // no count of points against NX is asked of the stations.
  ser.DTTC = series_interval(cfg, run, ser.TCDATE, ser.TCTIME, station_file(cfg, 1),
                             TIDAL_CURRENT_NAMES);
  ser.NSTTC = steps_per_record(ser.DTTC, cfg.DT);
  warn_late_start(cfg, run, ser.TCDATE[0], ser.TCTIME[0], station_file(cfg, 1),
                  TIDAL_CURRENT_NAMES);
  tidal_weights(cfg, ser);
  ser.TCUSED = true;
}

void tidal_current_step(const Settings& cfg, const InputState& in, RunState& run,
                        WaveInputState& wi, TransportState& tr, SeriesState& ser) {
  if (!ser.TCUSED) return;
  const int k = record_in_force(run.ISTEP, ser.NSTTC, ser.NTC);
  if (k == ser.TCPTR) return;
  if (k < ser.TCPTR) note_restart(in, run, wi, ser.TCCYCLED, TIDAL_CURRENT_NAMES);
  ser.TCPTR = k;
  const int ns = station_count(cfg);
  // Station j of record k is TCVAL[(k - 1) ns + j - 1].
  const std::size_t base = static_cast<std::size_t>(k - 1) * static_cast<std::size_t>(ns) - 1U;
  const float ktide = cfg.KTIDE;
  for (int i = 1; i <= cfg.NX + 1; ++i) {
    const float va = ser.TCVAL[base + static_cast<std::size_t>(ser.TCA(i))];
    const float vb = ser.TCVAL[base + static_cast<std::size_t>(ser.TCB(i))];
    tr.UTIDE(i) = ktide * (va + ser.TCW(i) * (vb - va));
  }
}

}  // namespace coastra

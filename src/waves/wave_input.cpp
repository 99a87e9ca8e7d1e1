// Wave input along the coast. setup_wave_input checks the stations and fixes
// the per-wall interpolation; WAVINP reads one record per station, screens it,
// distributes it to the walls and limits the steepness (a reduction is recorded
// in the step's warning list, written by output/warnings.h after the loop).
// Also the shared wave-file helpers.

#include "waves/wave_input.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <string>
#include <string_view>

#include "input/field_reader.h"
#include "model/error_stop.h"
#include "model/simd_path.h"
#include "model/vector_math.h"
#include "waves/nearshore.h"

namespace coastra {
namespace {

// Steepness limit of a deep-water wave: H / L0 with L0 = g T^2 / (2 pi).
constexpr float DEEP_LENGTH_FAC = 1.56F;  // g / (2 pi) (m/s2)
constexpr float MAX_STEEPNESS = 0.142F;   // breaking limit of deep-water steepness

// An integer with no padding (I0), through the formatting layer.


// Alongshore coordinate of wall i (m) as the interpolation uses it: XCELL(i),
// the same index rule as for the station cells, so a station at cell c sits at
// XCELL(c). Design note: wall NX+1 has no cell of its own; it is placed one cell
// spacing beyond XCELL(NX), which keeps the walls equally spaced on a uniform
// grid and lets a station be given at NX+1.
float wall_coordinate(const Settings& cfg, const InputState& in, int i) {
  const int nx = cfg.NX;
  if (i <= nx) return in.XCELL(i);
  return in.XCELL(nx) + cfg.DX(nx);
}

// Number of stations WAVINP uses. Design note: NUMWAVES larger than the number
// of WAVEID lines cannot be honoured (those files were never opened), so the
// WAVEID lines are used (the caller has the warning written); NUMWAVES not
// given (0 or less) means every WAVEID line is a station.
int station_count(const Settings& cfg, StationSetup& r) {
  const int nfiles = std::min(cfg.NWAVEFILES, MXWAVEF);
  const int nst = cfg.NUMWAVES;
  if (nst < 1) return nfiles;
  if (nst > nfiles) {
    r.numwaves = nst;
    r.files = nfiles;
    return nfiles;
  }
  return nst;
}

// Station cells must lie on the walls 1..NX+1 and increase strictly, since the
// interpolation divides by the distance between neighbouring stations.
// Design note: a bad station is an input error found after the input echo, so
// it is reported in the print file and ends the run through the run error flag
// (the end-of-run reports still follow), as every set-up fault of the wave input.
StationFault station_fault(const Settings& cfg, const WaveInputState& wi) {
  const int nw = cfg.NX + 1;
  if (wi.NSTATION < 1) return {StationFault::NO_STATION, 0, 0, 0};
  for (int j = 1; j <= wi.NSTATION; ++j) {
    const int cell = cfg.IWAVEID(j);
    if (cell < 1 || cell > nw) return {StationFault::OUTSIDE, j, cell, nw};
    if (j > 1 && cell <= cfg.IWAVEID(j - 1))
      return {StationFault::NOT_ASCENDING, j, cell, cfg.IWAVEID(j - 1)};
  }
  return {};
}

// Station pair and weight of every wall: the lower station is the last one at
// or before the wall; outside the stations the nearest station alone.
void build_interpolation(const Settings& cfg, const InputState& in, WaveInputState& wi) {
  const int nw = cfg.NX + 1;
  const int nst = wi.NSTATION;
  int j = 1;
  for (int i = 1; i <= nw; ++i) {
    while (j < nst && cfg.IWAVEID(j + 1) <= i) ++j;
    if (i <= cfg.IWAVEID(1) || j == nst) {
      const int js = i <= cfg.IWAVEID(1) ? 1 : nst;
      wi.JSLO(i) = js;
      wi.JSHI(i) = js;
      wi.WSTA(i) = 0.0F;
      continue;
    }
    const float xlo = wall_coordinate(cfg, in, cfg.IWAVEID(j));
    const float xhi = wall_coordinate(cfg, in, cfg.IWAVEID(j + 1));
    wi.JSLO(i) = j;
    wi.JSHI(i) = j + 1;
    // Cell spacings are positive (set-up), so xhi > xlo; a degenerate grid keeps the lower station.
    wi.WSTA(i) = xhi > xlo ? (wall_coordinate(cfg, in, i) - xlo) / (xhi - xlo) : 0.0F;
  }
}

// Orientation of the regional contour at every wall (rad), formed like the
// shoreline orientation: arctan of the YREG difference over the mean spacing of
// the two cells beside wall i. Design note: wall 1 takes the forward pair of
// cells 1-2 and wall NX+1 repeats wall NX (no cell beyond the grid); a grid of
// one cell has no difference to form and gets 0.
void regional_orientation(const Settings& cfg, const InputState& in, WaveInputState& wi) {
  const int nx = cfg.NX;
  wi.RREG.fill(0.0F);
  if (nx < 2) return;
  auto angle = [&cfg, &in](int a, int b) {
    const double dy = static_cast<double>(in.YREG(b)) - static_cast<double>(in.YREG(a));
    const double dx = 0.5 * (static_cast<double>(cfg.DX(a)) + static_cast<double>(cfg.DX(b)));
    return static_cast<float>(std::atan(dy / dx));
  };
  wi.RREG(1) = angle(1, 2);
  for (int i = 2; i <= nx; ++i) wi.RREG(i) = angle(i - 1, i);
  wi.RREG(nx + 1) = wi.RREG(nx);
}

// One line of wave file k into WLINE; false at the end of the file. The
// record counter IWREC(k) counts the lines taken, so it names the record.
bool next_line(const Settings& cfg, RunState& run, WaveInputState& wi, WaveState& wv, int k) {
  if (!read_wave_line(cfg, run, wi, k, wv.IWREC(k) + 1)) return false;
  wv.IWREC(k) += 1;
  return true;
}

// Reads the next record of station j into HST, TST, ZST (and DATEST, HOURST in
// the dated form, where records dated before SIMDATS are passed over). False,
// with the fault named, when the file ends or a record is not numbers.
bool read_station_record(const Settings& cfg, RunState& run, WaveInputState& wi, WaveState& wv,
                         int j, bool dated, WaveFileFault& fault) {
  for (;;) {
    if (!next_line(cfg, run, wi, wv, j)) {
      fault = {j, wv.IWREC(j) + 1, true};
      return false;
    }
    // Dated "YYYYMMDD HHMM H T theta": the date exceeds float precision, so the
    // two integers are read as integers and the reals from the same line.
    const std::string_view text(wi.WLINE);
    float v[5] = {0.0F, 0.0F, 0.0F, 0.0F, 0.0F};
    const int nreal = dated ? 5 : 3;
    bool bad = false;
    bool ok = read_reals(text, v, nreal, bad) == nreal && !bad;
    if (ok && dated) {
      int iv[2] = {0, 0};
      ok = read_ints(text, iv, 2, bad) == 2 && !bad;
      wi.DATEST(j) = iv[0];
      wi.HOURST(j) = iv[1];
    }
    if (!ok) {
      fault = {j, wv.IWREC(j), false};
      return false;
    }
    const int first = dated ? 2 : 0;
    wi.HST(j) = v[first];
    wi.TST(j) = v[first + 1];
    wi.ZST(j) = v[first + 2];
    if (!dated || wi.DATEST(j) >= cfg.SIMDATS) return true;
  }
}

// Screens the record of station j: out-of-range heights and periods and waves
// travelling offshore become calm (H 0, T 0.1 s, direction 0).
void screen_station_record(WaveInputState& wi, WaveState& wv, int j) {
  float& h = wi.HST(j);
  float& t = wi.TST(j);
  float& z = wi.ZST(j);
  bool calm = h < 0.1F || t < 0.1F || h > 98.0F || t > 98.0F;
  if (!calm && (z > 90.0F || z < -90.0F)) {
    wv.NOFFSHORE += 1;
    calm = true;
  }
  if (calm) {
    h = 0.0F;
    t = 0.1F;
    z = 0.0F;
  }
}

// Direction (deg) of a station's wave relative to the regional contour of
// orientation r (rad): an offshore-directed record is turned by 180 degrees
// first, and the result is brought into (-180, 180]. The two pairs of selects
// are the two if/else chains: a value turned by the first of a pair never
// meets the second.
[[gnu::always_inline]] inline float regional_direction(float z, float r) {
  float zz = vmath::select(z > 90.0F, z - 180.0F, z);
  zz = vmath::select(zz < -90.0F, zz + 180.0F, zz);
  const float zp0 = zz - r * 180.0F / PI;
  const float zp = vmath::select(zp0 > 180.0F, zp0 - 360.0F, zp0);
  return vmath::select(zp < -180.0F, zp + 360.0F, zp);
}

// Deep-water steepness limit H / L0 <= 0.142 with L0 = 1.56 T^2 (m): whether
// a height h (m) of period t (s) exceeds it (or is not a number), and the
// height at the limit (m).
[[gnu::always_inline]] inline bool steep_wave(float h, float t) {
  return !(h / (DEEP_LENGTH_FAC * (t * t)) <= MAX_STEEPNESS);
}
[[gnu::always_inline]] inline float limited_height(float t) {
  return MAX_STEEPNESS * (DEEP_LENGTH_FAC * (t * t));
}

[[gnu::always_inline]] inline float lerp(float a, float b, float w) { return a + w * (b - a); }

// Station values (by station number) and per-wall factors of the distribution.
struct StationValues {
  const float* Z;      // direction (deg)
  const float* T;      // period (s)
  const float* H;      // height (m)
  const float* DEPTH;  // depth of the station (m)
};
struct WallFactors {
  const float* HAMP;      // height factor
  const float* RREG;      // regional contour orientation (rad)
  const float* THETAAMP;  // direction factor
  const float* THETADEL;  // direction offset (deg)
};

// The height of wall i before the steepness limit (m).
[[gnu::always_inline]] inline float wall_height(const StationValues& st, const WallFactors& f,
                                                float wavefac, int lo, int hi, float w, int i) {
  return lerp(st.H[lo], st.H[hi], w) * f.HAMP[i] * wavefac;
}

// 3. Linear interpolation between the stations around each wall; 4. direction
// relative to the regional contour (IREG = 1); 5. direction adjustments;
// 6. steepness limit (*steep: whether any wall was limited; an OR gives the
// same answer in any order). ONE: a single station, whose values are then
// read once rather than gathered at every wall (the same values).
template <bool ONE>
[[gnu::always_inline]] inline void distribute_body(
    int lo, int hi, bool regional, float wavefac, const int* __restrict jslo,
    const int* __restrict jshi, const float* __restrict wsta, StationValues st, WallFactors f,
    float* __restrict drf, float* __restrict thetarf, float* __restrict trf,
    float* __restrict zrf, float* __restrict hrf, int* steep) {
  int any = 0;
#pragma omp simd reduction(| : any)
  for (int i = lo; i <= hi; ++i) {
    const int a = ONE ? 1 : jslo[i];
    const int b = ONE ? 1 : jshi[i];
    const float w = wsta[i];
    const float z = lerp(st.Z[a], st.Z[b], w);
    const float t = lerp(st.T[a], st.T[b], w);
    drf[i] = lerp(st.DEPTH[a], st.DEPTH[b], w);
    const float h = wall_height(st, f, wavefac, a, b, w, i);
    const float zp = vmath::select(regional, regional_direction(z, f.RREG[i]), z);
    thetarf[i] = zp * f.THETAAMP[i] * PI / 180.0F + f.THETADEL[i] * PI / 180.0F;
    trf[i] = t;
    zrf[i] = z;
    const bool limited = steep_wave(h, t);
    hrf[i] = vmath::select(limited, limited_height(t), h);
    any |= static_cast<int>(limited);
  }
  *steep = any;
}

// The steepness warnings of the walls whose height was limited, in wall order.
void record_steepness_warnings(const Settings& cfg, const RunState& run,
                               const WaveInputState& wi, const WaveState& wv, WarningState& warn) {
  const StationValues st{wi.ZST.data(), wi.TST.data(), wi.HST.data(), cfg.WMDEP.data()};
  const WallFactors f{cfg.HAMP.data(), wi.RREG.data(), cfg.THETAAMP.data(),
                      cfg.THETADEL.data()};
  for (int i = 1; i <= cfg.NX + 1; ++i) {
    const float h = wall_height(st, f, cfg.WAVEFAC, wi.JSLO(i), wi.JSHI(i), wi.WSTA(i), i);
    if (steep_wave(h, wv.TRF(i)))
      record_warning(warn, WarnKind::STEEPNESS, i, run.ISTEP, wv.HRF(i));
  }
}

}  // namespace

bool read_wave_line(const Settings& cfg, RunState& run, WaveInputState& wi, int k, int line) {
  bool cut = false;
  if (!read_record(run.FWAVE[static_cast<std::size_t>(k)], wi.WLINE, WAVE_LINE_MAX, cut))
    return false;
  if (cut) {
    std::string msg = "Wave file line ";
    msg += std::to_string(line);
    msg += " over ";
    msg += std::to_string(WAVE_LINE_MAX);
    msg += " characters: ";
    msg += cfg.WAVEFILE[static_cast<std::size_t>(k)];
    error_stop(msg);
  }
  return true;
}

void rewind_wave_file(RunState& run, WaveState& wv, int k) {
  std::ifstream& f = run.FWAVE[static_cast<std::size_t>(k)];
  f.clear();
  f.seekg(0);
  wv.IWREC(k) = 0;
}

StationSetup setup_wave_input(const Settings& cfg, const InputState& in, WaveInputState& wi) {
  // 0. The line buffers take their full size once, so that reading a record or
  // composing a warning in the time-step loop allocates nothing.
  wi.WLINE.reserve(WAVE_LINE_MAX);
  wi.WTEXT.reserve(WAVE_LINE_MAX);
  // 1. Stations used and their checks.
  StationSetup r;
  wi.NSTATION = station_count(cfg, r);
  r.fault = station_fault(cfg, wi);
  if (r.fault.kind != StationFault::NONE) return r;
  // 2. Station pair and weight of every wall, fixed for the run.
  build_interpolation(cfg, in, wi);
  // 3. Regional contour orientation for the regional transformation.
  regional_orientation(cfg, in, wi);
  return r;
}

RecordChecks WAVINP(const Settings& cfg, RunState& run, WaveInputState& wi, WaveState& wv,
                    WarningState& warn) {
  assert(wi.NSTATION >= 1);
  const bool dated = cfg.NWAVEV > 0;
  const int nw = cfg.NX + 1;
  // 1-2. Next record of every station (the undated form always its first), screened.
  for (int j = 1; j <= wi.NSTATION; ++j) {
    if (!dated) rewind_wave_file(run, wv, j);
    RecordChecks failed;
    if (!read_station_record(cfg, run, wi, wv, j, dated, failed.file)) return failed;
    screen_station_record(wi, wv, j);
  }
  // 3-6. Interpolation, direction and steepness limit at every wall; a limited
  // height is recorded as a warning afterwards (rare: only then are the walls
  // scanned one by one). Then what depends on the record alone: the wave
  // numbers and breaking constants at the input depth (the steps until the
  // next record reuse them) and the checks of the record (calm, closure depth).
  const auto distribute = [&]<bool ONE>() {
    return run_any<distribute_body<ONE>>(
        1, nw, cfg.IREG == 1, cfg.WAVEFAC, static_cast<const int*>(wi.JSLO.data()),
        static_cast<const int*>(wi.JSHI.data()), static_cast<const float*>(wi.WSTA.data()),
        StationValues{wi.ZST.data(), wi.TST.data(), wi.HST.data(), cfg.WMDEP.data()},
        WallFactors{cfg.HAMP.data(), wi.RREG.data(), cfg.THETAAMP.data(),
                    cfg.THETADEL.data()},
        wv.DRF.data(), wv.THETARF.data(), wv.TRF.data(), wv.ZRF.data(), wv.HRF.data());
  };
  const int steep = wi.NSTATION == 1 ? distribute.template operator()<true>()
                                    : distribute.template operator()<false>();
  input_wave_numbers(cfg, wv);
  const RecordChecks checks = record_checks(cfg, wv);
  if (steep != 0) record_steepness_warnings(cfg, run, wi, wv, warn);
  // 7. Event values: those of the last wall.
  wv.HZ = wv.HRF(nw);
  wv.TZ = wv.TRF(nw);
  wv.ZZDEG = wv.THETARF(nw) * 180.0F / PI;
  wv.ZZDEGNR = (cfg.THETADEL(nw) * PI / 180.0F + wv.ZRF(nw) * cfg.THETAAMP(nw) * PI / 180.0F) *
              180.0F / PI;
  return checks;
}

}  // namespace coastra

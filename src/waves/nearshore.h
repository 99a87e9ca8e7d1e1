// The nearshore sequence of a time step: the representative offshore contour,
// the calm-step test, the closure depth, the shoreline orientation, and the
// breaking sequence (breaking at every wall, then the final waves of
// final_waves.h). Writes no report and changes none of its inputs.
#pragma once

#include "model/state.h"

namespace coastra {

// Moving average of window n (made odd) over in(1..nx) into out(1..nx), with the
// straight-line end rule; n < 3 copies.
void moving_average(const Vec1<float>& in, Vec1<float>& out, int nx, int n);
// YSMOOTH (twice smoothed, + 300 m) and ALPHAW from the current shoreline.
void offshore_contour(const Settings& cfg, const InputState& in, const TransportState& tr,
                      WaveState& wv, ScratchState& scr);
// KRF, NRF: wave number and celerity ratio at the input depth DRF of every
// wall, from TRF; C02RF, CHIRF: the breaking constants of the input wave
// (HRF). They change only with the wave record, so the wave input computes
// them once per record and the steps until the next record reuse them. One
// solution of the dispersion relation when the walls all share wall 1's
// period and depth, else one per run of walls with the same pair.
void input_wave_numbers(const Settings& cfg, WaveState& wv);
// What a wave record's checks find over cells 1..NX, with DLTZ, the
// closure-depth quantity, written at each of them: whether a cell has no wave
// (TRF <= 0 or HRF = 0) and whether a cell's DLTZ is not positive (or not a
// number).
// A wave file that ended before a record or whose record is not numbers.
struct WaveFileFault {
  int file = 0;        // the station's file (WAVEID line), 0 for none
  int record = 0;      // the record that could not be read
  bool ended = false;  // the file ended before it
};
struct RecordChecks {
  int no_wave = 0;
  int bad_depth = 0;
  WaveFileFault file;   // the record could not be read (WAVINP)
};
RecordChecks record_checks(const Settings& cfg, WaveState& wv);
// True when the step is calm: no_wave (a cell without a wave, from
// record_checks), or the event direction at or beyond +-90 degrees.
bool calm_step(const WaveState& wv, int no_wave);
// 0 when bad_depth (from record_checks) is 0, else the first cell whose DLTZ
// is not positive (the caller reports it and stops the run).
int closure_depth(const Settings& cfg, const WaveState& wv, int bad_depth);
// Wave constants of the event in force: OMEGA, K0 (deep-water wave number),
// ZZRAD (shared by the transmission, breaking and diffraction).
void wave_constants(WaveState& wv);
// Breaking at every wall: the shoreline orientation ALPHAS with ALPHASCODE,
// the offshore-directed flag IWAVOFF, the undiffracted breaking HB, THETAB,
// and at the breaking depth KB and the undiffracted celerity CGBU. Reads the
// breaking constants C02RF, CHIRF of the wave record, THETARF, TRF, ALPHAW,
// YSHORE, WALLTYPE and the groin walls IXG. The merge of the components
// (diffraction.h) and the final waves (final_waves.h) follow it.
void breaking_waves(const Settings& cfg, const InputState& in, const TransportState& tr,
                    WaveState& wv, ScratchState& scr);

// Shoreline orientation ALPHAS per wall from YSHORE, with the three-point mean at
// groin walls (ALPHAS(i+1) still from the previous step there); ALPHASCODE of
// every wall set to ORIENT_PLAIN. Reads IXG, WALLTYPE and YSHORE.
void shoreline_orientation(const Settings& cfg, const InputState& in, const TransportState& tr,
                           WaveState& wv);

}  // namespace coastra

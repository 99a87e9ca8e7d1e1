// Model-state section of the wave transformation: wave input per wall, event
// values, breaking waves and the undiffracted statistics.
#pragma once

#include <vector>

#include "model/constants.h"
#include "model/vec1.h"

namespace coastra {

// Orientation codes of ALPHASCODE. The shoreline-orientation stage sets every
// wall to ORIENT_PLAIN before any stage reads the array; a structure stage that
// fixes a wall's orientation itself (detached breakwaters) marks it
// ORIENT_MARKED right after. ALPHAS holds the orientation in both cases, so a
// reader that only needs the angle ignores the code.
inline constexpr int ORIENT_PLAIN = 0;
inline constexpr int ORIENT_MARKED = 1;

struct WaveState {
  // wave input per wall 1..NX+1 (WAVINP, once per wave record; no stage changes them)
  Vec1<float> HRF{MXWALL};        // wave height (m)
  Vec1<float> TRF{MXWALL};        // wave period (s)
  Vec1<float> THETARF{MXWALL};    // wave direction to the shore normal (rad), per record
  Vec1<float> DRF{MXWALL};        // depth of the wave input (m)
  Vec1<float> ZRF{MXWALL};        // interpolated direction before adjustment (deg)
  Vec1<float> KRF{MXWALL};        // wave number at the input depth DRF (1/m), per record
  Vec1<float> NRF{MXWALL};        // group to phase celerity ratio at DRF, per record
  Vec1<float> C02RF{MXWALL};      // squared phase celerity at DRF (m2/s2), per record
  Vec1<float> CHIRF{MXWALL};      // breaking constant c0^4 gamma^2/(g^2 H^2 n) (m2/s2), per record
  float HZ = 0.0F;                // event height (m)
  float TZ = 0.0F;                // event period (s)
  float ZZDEG = 0.0F;             // event direction with the regional transformation (deg)
  float ZZDEGNR = 0.0F;           // event direction without it (deg), used by the gates
  int NOFFSHORE = 0;              // records rejected as directed offshore
  int ISTEEP = 0;                 // steepness report: 0 none, 1 first, 2 later, -1 acknowledged

  // wave events
  std::vector<int> EVDATE;        // event table: dates of the first N records
  std::vector<int> EVHOUR;        // event table: hours HHMM
  float DTWAVE = 0.0F;            // wave-record time step (hours)
  int NWS = 1;                    // time steps per wave record
  int IWEVENT = 1;                // current wave event
  int NWAVES = 1;                 // wave components per step (always 1)
  Vec1<int> IWREC{MXWAVEF};       // records read so far from each wave file

  // constants of the current wave event
  float OMEGA = 0.0F;             // angular frequency (rad/s)
  float K0 = 0.0F;                // deep-water wave number (1/m)
  float ZZRAD = 0.0F;             // event direction (rad)

  // transformation and breaking
  Vec1<float> YSMOOTH{MXCELL};    // representative offshore contour (m, with its 300 m offset)
  Vec1<float> ALPHAW{MXWALL};     // smoothed-contour orientation (rad)
  Vec1<float> ALPHAS{MXWALL};     // shoreline orientation (rad); never carries an offset
  Vec1<int> ALPHASCODE{MXWALL};   // orientation code of the wall: ORIENT_PLAIN or ORIENT_MARKED,
                                  // set with ALPHAS by shoreline_orientation every wave step
  Vec1<int> IWAVOFF{MXWALL};      // 1: wave directed offshore of the local contour this step;
                                  // the wall breaks a shore-normal wave (breaking_waves)
  Vec1<float> HB{MXWALL};         // undiffracted breaking height (m)
  Vec1<float> THETAB{MXWALL};     // undiffracted breaking direction (rad)
  Vec1<float> KB{MXWALL};         // wave number at breaking (1/m)
  Vec1<float> CGB{MXWALL};        // group celerity at breaking (m/s)
  Vec1<float> CGBU{MXWALL};       // undiffracted group celerity at breaking (m/s), for the statistics
  Vec1<float> HBD{MXWALL};        // final breaking height (m)
  Vec1<float> THETABD{MXWALL};    // final breaking direction (rad)
  Vec1<float> DLTZ{MXCELL};       // closure-depth quantity (m)
  Vec1<int> IGRADOFF{MXWALL};     // gradient-suppression flag
  // undiffracted breaking statistics
  Vec1<double> SUMHB{MXWALL};     // sum of breaking heights x DT (model unit x hours)
  Vec1<double> SUMANG{MXWALL};    // sum of breaking angles to the shoreline x DT (rad x hours)
  Vec1<double> SUMQ{MXWALL};      // sum of undiffracted transport rates x DT (m3/s x hours)
};

}  // namespace coastra

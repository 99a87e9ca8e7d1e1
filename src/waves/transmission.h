// Wave transmission through and over detached breakwaters: the kernel KTCALC
// (three empirical methods with their limits), the gross cross-section area,
// and the stage that computes the coefficient KTDB of every breakwater from the
// waves of the step, with the factor the diffraction segment table uses.
//   KTCALC, cross_section_area, transmission_reference, transmission_lower_limit,
//   breakwater_depth, breakwater_reference_wall,
//   transmission_setup, transmission_due, request_transmission,
//   breakwater_transmission, breakwater_factor
#pragma once

#include "model/state.h"

namespace coastra {

// Outcome bits of KTCALC: which limit or warning fired, and the one failure.
inline constexpr unsigned KT_ABOVE_08 = 1U;       // method 2 above 0.8, set to 0.8
inline constexpr unsigned KT_BELOW_0075 = 2U;     // method 2 below 0.075, set to 0.075
inline constexpr unsigned KT_ABOVE_15 = 4U;       // methods 1 and 3 above 1.5, set to 1.5
inline constexpr unsigned KT_BELOW_0 = 8U;        // methods 1 and 3 below 0, set to 0
inline constexpr unsigned KT_OUT_OF_RANGE = 16U;  // method 1 outside its fitted variable range
inline constexpr unsigned KT_NO_WAVE = 32U;       // no wave reaches the breakwater: lower limit
inline constexpr unsigned KT_EMERGED = 64U;       // method 1 on a crest at or above the water:
                                                  // not applicable (run error), KT = 0

struct Transmission {
  float KT;        // transmission coefficient, the method's own value (0 .. 1.5)
  float HI;        // incident wave height at the breakwater (m), 0 when no wave reaches it
  float KI;        // incident wave number at the breakwater (1/m), 0 when no wave reaches it
  unsigned FLAGS;  // KT_... bits
};

// Transmission coefficient of one breakwater.
//   d      depth at the breakwater including the water level (m)
//   T      event period (s); OMEGA, K0 the event's constants (rad/s, 1/m)
//   method 1 submerged (Seabrook and Hall), 2 low-crested (d'Angremond / van der
//          Meer), any other value rubble-mound reef (through and over the structure)
//   HDB crest height above the bed (m), D50DB armour stone size (m), AT gross
//   cross-section area (m2), BDB crest width (m), SSDB seaward slope (rise/run)
//   KR, HR, THETAR, CGR reference wave number (1/m), height (m), direction (rad)
//   and group celerity (m/s); ALPHAW contour orientation at the reference wall (rad).
// Preconditions (set-up refuses the rest): the properties the method divides
// by are positive (method 1: BDB, D50DB; 2: BDB; other: HDB, D50DB, AT).
Transmission KTCALC(float d, float T, float OMEGA, float K0, int method, float HDB, float D50DB,
                    float AT, float BDB, float SSDB, float KR, float HR, float THETAR, float CGR,
                    float ALPHAW);

// The lowest value a method can give: 0.075 for method 2, else 0.
float transmission_lower_limit(int method);

// Gross cross-section area of a trapezoidal breakwater (m2) from crest height
// HDB (m), crest width BDB (m) and the seaward and shoreward slopes (rise/run).
float cross_section_area(float HDB, float BDB, float SSDB, float SHSDB);

struct ReferenceWave {
  float K;   // wave number (1/m)
  float CG;  // group celerity (m/s)
};
// Wave number and group celerity at the wave-input depth DRF (m), from the
// same dispersion relation as the refraction to the breakwater.
ReferenceWave transmission_reference(float OMEGA, float K0, float DRF);

// Depth at breakwater k (m): mean of its two tip depths plus the water level.
float breakwater_depth(const Settings& cfg, const TransportState& tr, int k);
// The wall whose waves breakwater k receives: the middle of its span.
int breakwater_reference_wall(const Settings& cfg, const InputState& in, int k);

// Start-up, after set-up: cross-section areas ATDB, the coefficients in force
// before the first computation (KTDB = TRANDB), and the first computation due.
void transmission_setup(const Settings& cfg, StructureState& st);

// True when breakwater_transmission must run in this step's wave transformation:
// transmission is computed (TRANMODE 1, breakwaters present) and no coefficient
// has been computed since start-up or since the last request_transmission.
// The time-step loop asks it in every step with waves, after the wave constants
// OMEGA and K0 and the contour orientation ALPHAW of the step are set and before
// the breaking-wave gate may zero THETARF and ALPHAW. A calm step leaves it
// pending, so the first non-calm step computes.
bool transmission_due(const Settings& cfg, const StructureState& st);
// Marks the coefficients for recomputation: the loop calls it whenever a new
// wave record is read and whenever the water level changes.
void request_transmission(StructureState& st);

// Computes KTDB of every breakwater from the waves of the step (method's value)
// and records it in the KT statistics; returns the KT_... bits its methods
// raised over all breakwaters (the warnings, and KT_EMERGED for method 1 on an
// emerged breakwater, which ends the run: output/stage_notices.h). Does
// nothing with fixed coefficients (TRANMODE 0). Reads the waves of the
// reference walls (HRF, THETARF, DRF, ALPHAW, TZ, OMEGA, K0) and WLCUR; writes
// KTDB, KTDUE and the KT statistics.
unsigned breakwater_transmission(const Settings& cfg, const InputState& in, const WaveState& wv,
                                 const TransportState& tr, StructureState& st, OutputState& out);
// One computed transmission coefficient of detached breakwater j into the
// running sum, maximum and minimum reported at the end of the run; a value
// that is not finite is left out (the step guard stops the run on it).
void record_kt(OutputState& out, int j, float kt);

// Factor of breakwater k for the diffraction segment table: the coefficient in
// force (KTDB when computed, TRANDB when fixed), at most 0.99, so a breakwater
// never amplifies waves.
float breakwater_factor(const Settings& cfg, const StructureState& st, int k);

}  // namespace coastra

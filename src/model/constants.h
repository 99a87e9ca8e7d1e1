// Capacities of the run-wide model state and the physical constants of the model.
#pragma once

namespace coastra {

inline constexpr int MXCELL = 4000;   // shoreline cells
inline constexpr int MXWALL = 4001;   // cell walls (MXCELL + 1)
inline constexpr int MXNDG = 250;     // non-diffracting groins
inline constexpr int MXDG = 250;      // diffracting groins
inline constexpr int MXGRO = MXNDG + MXDG;  // all groins together
inline constexpr int MXDB = 125;      // detached breakwaters
inline constexpr int MXBP = 250;      // bypass operations
inline constexpr int MXINL = 250;     // tidal inlets
inline constexpr int MXOUT = 500;     // intermediate print-out dates
inline constexpr int MXQMAP = 500;    // budget entries of each kind
inline constexpr int MXSW = 250;      // seawalls
inline constexpr int MXBF = 250;      // beach fills
inline constexpr int MXDRED = 250;    // dredging events over all inlets
inline constexpr int MXWAVEF = 50;    // wave files (stations)
inline constexpr int MXTIDEF = 250;   // tidal-current files (stations)
inline constexpr int MXDIFF = 2 * MXDG + 2 * MXDB + 4;  // diffracting-structure list entries

// Acceleration of gravity (m/s2) of every formula but the wave-number
// relation, which keeps its own 9.81 with its own 2 pi (GRAV_W in
// waves/wave_relations.h): the wave numbers and the rest were always formed
// with these two values and the results carry both, so both stay, each named.
inline constexpr float GRAV = 9.806F;
inline constexpr float PI = 3.141593F;    // the model's value of pi
// Coefficients d1..d9 of the ninth-order dispersion approximation.
inline constexpr float HUNTD[9] = {0.66667F, 0.35555F, 0.16084F, 0.06320F, 0.02174F,
                                   0.00654F, 0.00171F, 0.00039F, 0.00011F};

}  // namespace coastra

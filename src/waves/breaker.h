// Breaking: the direct solution for the wave at incipient breaking, from the
// constants of the input wave (breaker_constants, once per wave record) to the
// breaking height, direction and depth of a range of walls in one vectorised
// pass (breaker_lines).
#pragma once

namespace coastra {

// What depends on the wave at the input point alone, once per wave record:
// the constants at elements lo..hi of the arrays (vectorised): wave number
// K0W (1/m), height H0 (m), period T (s), ratio N0 at the input point in;
// C02 (m2/s2), CHI (m2/s2) out; breaker index GAMMA.
void breaker_constants(int lo, int hi, float GAMMA, const float* __restrict K0W,
                       const float* __restrict H0, const float* __restrict T,
                       const float* __restrict N0, float* __restrict C02, float* __restrict CHI);
// Height, direction and depth of breaking at walls lo..hi of the arrays in one
// vectorised pass, with the offshore-directed gate: where the event direction
// ZZDEG (deg) lies at or beyond +-90 degrees of the contour normal PHI, off = 1 and the wall breaks a
// shore-normal wave over a contour parallel to the baseline (THETA0 and PHI
// taken as 0). In: C02 (m2/s2), CHI (m2/s2), THETA0 (rad), PHI (rad). Out: HB (m),
// THETAB (rad), DB (m), off (0 or 1). The same bits on every instruction-set path.
void breaker_lines(int lo, int hi, float ZZDEG, float GAMMA, const float* __restrict C02,
                   const float* __restrict CHI, const float* __restrict THETA0,
                   const float* __restrict PHI, float* __restrict HB, float* __restrict THETAB,
                   float* __restrict DB, int* __restrict off);

}  // namespace coastra

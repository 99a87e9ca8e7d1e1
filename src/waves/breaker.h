// Breaking: the direct solution for the wave at incipient breaking (BREAKER),
// its breaker-line part for one wall (breaker_line, the scalar reference) and
// for a range of walls in one vectorised pass (breaker_lines).
#pragma once

namespace coastra {

struct Breaking {
  float HB;      // breaking height (m)
  float THETAB;  // breaking direction (rad)
  float KB;      // wave number at breaking (1/m)
  float CGB;     // group celerity at breaking (m/s)
};
// Wave number K0W, height H0, period T, direction THETA0 and ratio N0 at the
// input point; shoreline orientation PHI; breaker index GAMMA.
struct BreakerLine {
  float HB;      // breaking height (m)
  float THETAB;  // breaking direction (rad)
  float DB;      // breaking depth (m)
};
// What depends on the wave at the input point alone (once per wave record).
struct DeepWave {
  float C02;  // squared phase celerity at the input point (m2/s2)
  float CHI;  // c0^4 gamma^2 / (g^2 H0^2 n0) (m2/s2)
};
DeepWave breaker_constants(float K0W, float H0, float T, float N0, float GAMMA);
// breaker_constants at elements lo..hi of the arrays (vectorised, the same
// bits): wave number K0W (1/m), height H0 (m), period T (s), ratio N0 in;
// C02 (m2/s2), CHI (m2/s2) out.
void breaker_constants(int lo, int hi, float GAMMA, const float* __restrict K0W,
                       const float* __restrict H0, const float* __restrict T,
                       const float* __restrict N0, float* __restrict C02, float* __restrict CHI);
// Steps 2-7 of BREAKER: height, direction and depth of breaking.
BreakerLine breaker_line(DeepWave D, float THETA0, float PHI, float GAMMA);
// breaker_line at walls lo..hi of the arrays in one vectorised pass, with the
// offshore-directed gate: where the event direction ZZDEG (deg) lies at or beyond
// +-90 degrees of the contour normal PHI, off = 1 and the wall breaks a
// shore-normal wave over a contour parallel to the baseline (THETA0 and PHI
// taken as 0). In: C02 (m2/s2), CHI (m2/s2), THETA0 (rad), PHI (rad). Out: HB (m),
// THETAB (rad), DB (m), off (0 or 1). Equal to breaker_line within float rounding
// (see the tests), and the same bits on every instruction-set path.
void breaker_lines(int lo, int hi, float ZZDEG, float GAMMA, const float* __restrict C02,
                   const float* __restrict CHI, const float* __restrict THETA0,
                   const float* __restrict PHI, float* __restrict HB, float* __restrict THETAB,
                   float* __restrict DB, int* __restrict off);
Breaking BREAKER(float K0W, float H0, float T, float THETA0, float N0, float PHI, float GAMMA);

}  // namespace coastra

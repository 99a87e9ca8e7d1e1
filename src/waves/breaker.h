// Breaking: the direct solution for the wave at incipient breaking (BREAKER).
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
// Steps 2-7 of BREAKER: height, direction and depth of breaking.
BreakerLine breaker_line(DeepWave D, float THETA0, float PHI, float GAMMA);
Breaking BREAKER(float K0W, float H0, float T, float THETA0, float N0, float PHI, float GAMMA);

}  // namespace coastra

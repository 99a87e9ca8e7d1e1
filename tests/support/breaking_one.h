// The breaking kernels of the run on one element: the constants of the input
// wave, the breaking height, direction and depth (breaker_lines, the gate
// open: the event direction on the contour normal) and the wave number and
// group celerity at the breaking depth (wave_numbers), on the path in force.
#pragma once

#include "model/constants.h"
#include "waves/breaker.h"
#include "waves/wave_relations.h"

namespace coastra::test {

struct Breaking {
  float HB;      // breaking height (m)
  float THETAB;  // breaking direction (rad)
  float KB;      // wave number at breaking (1/m)
  float CGB;     // group celerity at breaking (m/s)
  float DB;      // breaking depth (m)
};

// Input wave of number K0W (1/m), height H0 (m), period T (s), direction
// THETA0 (rad) and celerity ratio N0; contour normal PHI (rad); index GAMMA.
inline Breaking break_wave(float K0W, float H0, float T, float THETA0, float N0, float PHI,
                           float GAMMA) {
  float k0[2] = {0, K0W}, h0[2] = {0, H0}, t[2] = {0, T}, n0[2] = {0, N0};
  float c02[2], chi[2], th[2] = {0, THETA0}, phi[2] = {0, PHI};
  float hb[2], thb[2], db[2], cg[2], n[2], k[2];
  int off[2];
  breaker_constants(1, 1, GAMMA, k0, h0, t, n0, c02, chi);
  breaker_lines(1, 1, PHI * 180.0F / PI, GAMMA, c02, chi, th, phi, hb, thb, db, off);
  wave_numbers(t, db, 1, 1, cg, n, k);
  return {hb[1], thb[1], k[1], cg[1], db[1]};
}

}  // namespace coastra::test

// The stability parameter of the explicit shoreline update, a pure kernel of
// the breaking waves and the grid: S = S1 + S2, the oblique-wave (diffusion)
// term and the alongshore height-gradient term, for a step of any length.
#pragma once

#include "model/state.h"

namespace coastra {

// Per-wall inputs of the stability parameter, walls 1..NX+1.
struct StabilityWalls {
  const Vec1<float>& HBD;      // final breaking height (m)
  const Vec1<float>& THETABD;  // final breaking direction (rad)
  const Vec1<float>& CGB;      // group celerity at breaking (m/s)
  const Vec1<float>& A1W;      // K1 / 37.79317 (-)
  const Vec1<float>& K2C;      // K2 gradient coefficient K2 / (18.896585 TANB) (-)
  const Vec1<float>& DX;       // cell spacing (m)
  const Vec1<float>& BERMHT;   // berm height (m)
  const Vec1<float>& DCLOS;    // closure depth (m)
  // F of walls 1..NX formed for a step of F_DT hours (stability_factors), or
  // none: a parameter for that step reads it, any other forms its own.
  const Vec1<float>* F = nullptr;
  float F_DT = 0.0F;
};

// The two terms of the stability parameter S = S1 + S2 (dimensionless, >= 0).
struct StabilityTerms {
  float S1;  // oblique-wave (diffusion) term
  float S2;  // alongshore height-gradient term
};

// The stability parameter of a step of dt hours on a coast of nx cells. Reads
// only the arrays; S is proportional to dt.
StabilityTerms stability_parameter(int nx, float dt, const StabilityWalls& w);
// The state's arrays as inputs of the stability parameter.
StabilityWalls stability_walls(const Settings& cfg, const WaveState& wv, const TransportState& tr,
                               const StabilityState& stab);
// f(1..n) = dt / (DX^2 (BERMHT + DCLOS)) (s/m3) for a step of dt hours, formed
// in double precision and rounded to single, as the parameter forms it.
void form_stability_factors(const Vec1<float>& dx, const Vec1<float>& bermht,
                            const Vec1<float>& dclos, int n, float dt, Vec1<float>& f);

}  // namespace coastra

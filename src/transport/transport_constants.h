// Named constants of the longshore transport relation. The relation is written
// in breaking rms heights, so significant heights are divided by 1.416, and the
// transport coefficients K1 and K2 are scaled by the immersed weight of the
// sand in place: (rho_s / rho - 1)(1 - porosity) = (2.65 - 1)(1 - 0.4) = 0.99.
#pragma once

namespace coastra {

// Significant over rms breaking wave height, H_s / H_rms.
inline constexpr float HS_OVER_HRMS = 1.416F;
// Divisor of K1: 16 x 0.99 x 1.416^(5/2) = 37.79317; A1W = K1 / K1_DIVISOR.
inline constexpr float K1_DIVISOR = 37.79317F;
// Divisor of K2: 8 x 0.99 x 1.416^(5/2) = 18.896585, half of K1_DIVISOR;
// K2C = K2 / (K2_DIVISOR TANB).
inline constexpr float K2_DIVISOR = 18.896585F;
static_assert(2.0F * K2_DIVISOR == K1_DIVISOR, "K2_DIVISOR is half of K1_DIVISOR");
// Weight of the tidal term of the transport: it carries A1W / 2.7 where the
// wave term carries A1W.
inline constexpr float TRANSPORT_SCALE = 2.7F;
// Surf-zone depth over breaking height times GAMMA: DLT = 1.27 HBD / GAMMA (m),
// the depth the bypassing and shadow-leakage fractions compare with.
inline constexpr float SURF_DEPTH_FAC = 1.27F;

}  // namespace coastra

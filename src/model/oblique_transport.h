// The oblique-wave term of the longshore transport, A1W HB^2 CGB sin 2theta
// (m3/s), written once for every place that forms it: the transport at the
// walls, the potential transport at a groin, the undiffracted rate summed for
// the report and (as its slope at theta = 0) the stability parameter.
// Routines: oblique_amplitude, oblique_transport.
// Design note: the term lives in model/ because the breaking statistics
// (waves/) and the transport (transport/) both form it, and neither
// subsystem includes the other; here it depends on nothing.
#pragma once

namespace coastra {

// A1W HB^2 CGB (m3/s): the transport of waves breaking at 45 degrees to the
// shoreline, from A1W = K1 / 37.79317 (-), the breaking height HB (m) and the
// group celerity at breaking CGB (m/s). Twice it is the slope of the oblique
// term in theta at theta = 0 (m3/s per rad).
[[gnu::always_inline]] inline float oblique_amplitude(float a1w, float hb, float cgb) {
  return hb * hb * a1w * cgb;
}

// A1W HB^2 CGB sin 2theta (m3/s), + towards higher cells for theta > 0, from
// the sine and cosine of the breaking angle theta to the shoreline normal
// (from vmath::sincos, branch-free, so that every instruction-set path gives
// the same bits): sin 2theta = 2 sin theta cos theta, so that one sincos also
// serves the cos theta of a caller's other terms. (Two floats rather than the
// SinCos pair: a pair passed by value inside a vector loop is kept in memory,
// and the loop is then not vectorised.)
[[gnu::always_inline]] inline float oblique_transport(float a1w, float hb, float cgb,
                                                      float sin_theta, float cos_theta) {
  return oblique_amplitude(a1w, hb, cgb) * (2.0F * sin_theta * cos_theta);
}

}  // namespace coastra

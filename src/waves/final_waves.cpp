// The final breaking waves of a time step: the energy merge of the breaking-wave
// components (WAVSUM), the alongshore smoothing with its structure and inlet
// rules (final_smoothing), and the group celerity and wave number at the final
// breaking depth (final_celerities). Writes HBD, THETABD, IGRADOFF, CGB, KB.

#include "waves/final_waves.h"

#include <algorithm>
#include <cmath>

#include "waves/salient_waves.h"
#include "waves/wave_relations.h"

namespace coastra {

void WAVSUM(ModelState& m, int icomp, int ncomp, const Vec1<float>& H, const Vec1<float>& THETA,
            int first, int last) {
  const int nx = m.cfg.NX;
  // 1. The first component starts the accumulators and the final arrays afresh.
  if (icomp == 1) {
    for (int i = 0; i <= nx + 1; ++i) {
      m.wavsum_h2(i) = 0.0F;
      m.wavsum_s2(i) = 0.0F;
      m.HBD(i) = 0.0F;
      m.THETABD(i) = 0.0F;
    }
  }
  // 2. Energy (H^2) and the longshore energy-flux direction (H^2 sin 2theta) add up.
  for (int i = std::max(first, 0); i <= std::min(last, nx + 1); ++i) {
    const float h2 = H(i) * H(i);
    m.wavsum_h2(i) += h2;
    m.wavsum_s2(i) += h2 * std::sin(2.0F * THETA(i));
  }
  // 3. The last component forms the final height and direction.
  if (icomp == ncomp) {
    for (int i = 1; i <= nx + 1; ++i) {
      const float e = m.wavsum_h2(i);
      m.HBD(i) = std::sqrt(e);
      // |sum H^2 sin 2theta| <= sum H^2 holds exactly; the clamp keeps rounding in
      // a sum of several components from producing a NaN direction.
      m.THETABD(i) =
          e > 0.0F ? 0.5F * std::asin(std::clamp(m.wavsum_s2(i) / e, -1.0F, 1.0F)) : 0.0F;
    }
  }
}

namespace {

// How a wall is smoothed with its neighbours.
enum class Smooth { Keep, WithLeft, WithRight, Centred };

// v(i) smoothed by the rule of its wall.
float smoothed(const Vec1<float>& v, int i, Smooth rule) {
  switch (rule) {
    case Smooth::Keep: return v(i);
    case Smooth::WithLeft: return (3.0F * v(i) + v(i - 1)) / 4.0F;
    case Smooth::WithRight: return (3.0F * v(i) + v(i + 1)) / 4.0F;
    case Smooth::Centred: break;
  }
  return (v(i - 1) + 2.0F * v(i) + v(i + 1)) / 4.0F;
}

// Wall i's merged values into the working arrays.
void copy_to_work(ModelState& m, int i) {
  m.hbd_work(i) = m.HBD(i);
  m.thetabd_work(i) = m.THETABD(i);
}

// Wall `from`'s working values to wall `to`: an inlet mouth takes the waves of
// the open beach beside it (steps 3 and 4 of final_smoothing).
void copy_wall(ModelState& m, int to, int from) {
  m.hbd_work(to) = m.hbd_work(from);
  m.thetabd_work(to) = m.thetabd_work(from);
}

}  // namespace

void final_smoothing(ModelState& m) {
  const int nx = m.cfg.NX;
  const Vec1<int>& wt = m.WALLTYPE;  // structure state per wall (1 = groin)
  const Vec1<int>& sm = m.DBMARK;    // shoreline state per cell (-1 = salient at a breakwater)
  const Vec1<int>& inl = m.INLCELL;  // 1 for the cells of a tidal inlet
  const bool inlets = m.cfg.INLETS;
  // The end walls are not smoothed; their merged values stand in the working
  // arrays so that the inlet rules can copy from them.
  copy_to_work(m, 1);
  copy_to_work(m, nx + 1);
  // 1. New values from the merged neighbours, all computed before any is stored.
  // A groin wall and a wall between two salient cells keep their value; next to a
  // groin or a salient the wall is averaged with its open side only, so that no
  // wave energy is smeared across the structure.
  for (int i = 2; i <= nx; ++i) {
    Smooth rule = Smooth::Centred;
    if (wt(i) == 1 || (sm(i - 1) == -1 && sm(i) == -1))
      rule = Smooth::Keep;
    else if (wt(i + 1) == 1 || sm(i) == -1)
      rule = Smooth::WithLeft;
    else if (wt(i - 1) == 1 || sm(i - 1) == -1)
      rule = Smooth::WithRight;
    m.hbd_work(i) = smoothed(m.HBD, i, rule);
    m.thetabd_work(i) = smoothed(m.THETABD, i, rule);
    // 2. The gradient-suppression flag is cleared; only the breakwater rule of
    // step 5 sets it again.
    m.IGRADOFF(i) = 0;
    // 3. Inside an inlet (both cells of the wall in the channel) no wave breaks
    // on a beach: height and direction 0. The inlet's left mouth (wall i-1 when
    // cell i-2 is open beach) takes the waves of the wall before it.
    // Design note: an inlet that begins at cell 1 has the model boundary, wall 1,
    // for its left mouth; that wall is not smoothed and keeps its merged value.
    if (inlets && inl(i - 1) == 1 && inl(i) == 1) {
      m.hbd_work(i) = 0.0F;
      m.thetabd_work(i) = 0.0F;
      if (i >= 3 && inl(i - 2) == 0) copy_wall(m, i - 1, i - 2);
    }
  }
  // 4. The right mouth of each inlet (wall i+1 after its last cell i) takes the
  // waves of the wall after it. An inlet that ends at cell NX has the boundary
  // wall NX+1 for its right mouth, which keeps its merged value.
  if (inlets) {
    for (int i = 1; i <= nx - 1; ++i)
      if (inl(i) == 1 && inl(i + 1) == 0) copy_wall(m, i + 1, i + 2);
  }
  // 5. Detached breakwaters with a touching salient: walls in the shadow are
  // blocked or carry the transmitted height, with direction 0 and the
  // gradient-suppression flag set.
  touching_salient_waves(m);
  // 6. The smoothed values of walls 2..NX become final; walls 1 and NX+1 keep the
  // merged values.
  for (int i = 2; i <= nx; ++i) {
    m.HBD(i) = m.hbd_work(i);
    m.THETABD(i) = m.thetabd_work(i);
  }
}

void final_celerities(ModelState& m) {
  const int nw = m.cfg.NX + 1;
  const float gamma = m.cfg.GAMMA;
  const float tz = m.TZ;  // (s)
  float* __restrict db = m.brk_depth.data();
  float* __restrict t = m.brk_period.data();
  // 1. Depth at which the final wave breaks (m), at the event's period.
  for (int i = 1; i <= nw; ++i) {
    db[i] = m.HBD(i) / gamma;
    t[i] = tz;
  }
  // 2. Wave number and group celerity there, all walls in one pass.
  float* __restrict cg = m.CGB.data();
  float* __restrict k = m.KB.data();
  wave_numbers(t, db, 1, nw, cg, m.brk_ratio.data(), k);
  // 3. No wave, no celerity (a depth that is not a number included).
  for (int i = 1; i <= nw; ++i) {
    const bool wave = db[i] > 0.0F;
    cg[i] = wave ? cg[i] : 0.0F;
    k[i] = wave ? k[i] : 0.0F;
  }
}

}  // namespace coastra

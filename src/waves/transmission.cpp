// Wave transmission through and over detached breakwaters. KTCALC carries the
// wave of the breakwater's reference wall to the breakwater (refraction and
// shoaling) and applies one of three empirical methods; the stage computes
// KTDB for every breakwater, keeps the KT statistics and returns what its
// methods met (the KT_... bits; output/stage_notices.h writes the words).
// Writes ATDB, KTDB, KTDUE and the KT statistics.

#include "waves/transmission.h"

#include <algorithm>
#include <cmath>

#include "waves/wave_relations.h"

namespace coastra {

namespace {

inline constexpr float TWOPI_T = 6.283186F;   // 2 pi of the transmission formulas
inline constexpr float DRY_DEPTH = 0.01F;     // (m) at or below it no wave reaches a breakwater
inline constexpr float KT_CAP = 0.99F;        // largest factor a breakwater passes on


// Methods 1 and 3 are limited to [0, 1.5].
float clamp_0_15(float kt, unsigned& flags) {
  if (kt > 1.5F) {
    flags |= KT_ABOVE_15;
    return 1.5F;
  }
  if (kt < 0.0F) {
    flags |= KT_BELOW_0;
    return 0.0F;
  }
  return kt;
}

// Method 2: low-crested breakwaters; narrow crests (B/H < 8) after d'Angremond
// et al., wide crests (B/H > 12) after van der Meer et al., blended linearly
// in between. The fits hold for 0.075 <= KT <= 0.8.
float low_crested(float rc, float hi, float l0, float b, float ss, unsigned& flags) {
  const float xi = ss / std::sqrt(hi / l0);  // surf similarity of the seaward face
  const float bh = b / hi;
  const float kta = -0.4F * rc / hi + 0.64F * std::pow(bh, -0.31F) * (1.0F - std::exp(-0.5F * xi));
  const float ktb =
      -0.35F * rc / hi + 0.51F * std::pow(bh, -0.65F) * (1.0F - std::exp(-0.41F * xi));
  float kt = kta;
  if (bh > 12.0F) {
    kt = ktb;
  } else if (bh >= 8.0F) {
    const float w = (bh - 8.0F) * 0.25F;
    kt = (1.0F - w) * kta + w * ktb;
  }
  if (kt > 0.8F) {
    flags |= KT_ABOVE_08;
    kt = 0.8F;
  } else if (kt < 0.075F) {
    flags |= KT_BELOW_0075;
    kt = 0.075F;
  }
  return kt;
}

// Method 1: submerged breakwaters after Seabrook and Hall (rc < 0 here).
float submerged(float rc, float hi, float ki, float b, float d50, unsigned& flags) {
  const float l = TWOPI_T / ki;  // local wave length (m)
  const float arc = std::fabs(rc);
  const float x1 = arc * b / (l * d50);
  const float x2 = arc * hi / (b * d50);
  float kt = 1.0F - std::exp(-0.65F * arc / hi - 1.09F * hi / b) - 0.047F * x1 + 0.067F * x2;
  kt = clamp_0_15(kt, flags);
  if (x1 > 7.08F || x2 > 2.14F) flags |= KT_OUT_OF_RANGE;
  return kt;
}

// Other codes: rubble-mound reef breakwaters, transmission through the
// structure (KT_t) and over it (KT_o) combined by energy.
float reef(float rc, float hi, float l0, float hdb, float d50, float at, unsigned& flags) {
  float ktt = 1.0F / (1.0F + std::pow(hi / d50, 0.982F) *
                                 std::exp(2.35F * at / (l0 * hdb) + 0.433F));
  float kto = 0.0F;
  if (rc >= 0.0F) {
    // Emerged crest: no overtopping once the freeboard exceeds twice the height.
    if (rc / hi <= 2.0F) {
      const float x = 0.465F - 17.4F / (at / (hdb * d50)) + 0.00118F / (hi / l0) +
                      12.7F * rc / std::sqrt(l0 * hi);
      kto = 1.0F / (1.0F + std::exp(x));
    }
  } else {
    // Submerged crest: the flow over it dominates; through-flow is a fixed 0.1.
    kto = 1.0F / (1.0F + std::exp(0.631F * rc / hi - 0.646F + 0.00137F * at / (d50 * d50)));
    ktt = 0.1F;
  }
  return clamp_0_15(std::sqrt(ktt * ktt + kto * kto), flags);
}

}  // namespace

float transmission_lower_limit(int method) { return method == 2 ? 0.075F : 0.0F; }

float cross_section_area(float HDB, float BDB, float SSDB, float SHSDB) {
  return BDB * HDB + 0.5F * HDB * HDB * (1.0F / SSDB + 1.0F / SHSDB);
}

ReferenceWave transmission_reference(float OMEGA, float K0, float DRF) {
  // Design note: every wave station gives its waves at a depth (WMDEP > 0 is
  // required at set-up), so the reference wave is the wave at the input depth
  // DRF of the wall, never the deep-water wave. Its wave number and group
  // celerity come from REFSHO's own dispersion relation (a unit wave carried
  // from deep water; direction does not enter them), so that a breakwater at
  // the input depth receives exactly the input height.
  const RefractedWave r = REFSHO(OMEGA, K0, K0, 1.0F, 0.0F, GRAV / (2.0F * OMEGA), 0.0F, DRF);
  return ReferenceWave{r.K, r.CG};
}

Transmission KTCALC(float d, float T, float OMEGA, float K0, int method, float HDB, float D50DB,
                    float AT, float BDB, float SSDB, float KR, float HR, float THETAR, float CGR,
                    float ALPHAW) {
  Transmission t{transmission_lower_limit(method), 0.0F, 0.0F, 0U};
  // 1. Depth and deep-water wave length.
  // Design note: at 0.01 m or less no wave reaches the breakwater (it stands on
  // dry ground or in a film of water): KT is the method's lower limit, with no
  // refraction to a depth of zero. This comes before the applicability test of
  // method 1, which concerns waves that do reach the structure.
  if (d <= DRY_DEPTH) {
    t.FLAGS = KT_NO_WAVE;
    return t;
  }
  const float l0 = GRAV * T * T / TWOPI_T;
  // 2. The reference wave carried to the breakwater.
  const RefractedWave w = REFSHO(OMEGA, K0, KR, HR, THETAR, CGR, ALPHAW, d);
  // Design note: a wave running exactly along the contours arrives with no
  // height; every method divides by it, so it is treated as no wave.
  if (!(w.H > 0.0F) || !std::isfinite(w.H)) {
    t.FLAGS = KT_NO_WAVE;
    return t;
  }
  t.HI = w.H;
  t.KI = w.K;
  // 3. Freeboard, positive when the crest stands above the still water level.
  const float rc = HDB - d;
  // 4. The method.
  unsigned flags = 0U;
  float kt = 0.0F;
  if (method == 2) {
    kt = low_crested(rc, w.H, l0, BDB, SSDB, flags);
  } else if (method == 1) {
    if (rc >= 0.0F) {
      t.KT = 0.0F;
      t.FLAGS = KT_EMERGED;
      return t;
    }
    kt = submerged(rc, w.H, w.K, BDB, D50DB, flags);
  } else {
    kt = reef(rc, w.H, l0, HDB, D50DB, AT, flags);
  }
  // 5. Full transmission is never stored: 1 becomes 0.99.
  if (kt == 1.0F) kt = 0.99F;
  t.KT = kt;
  t.FLAGS = flags;
  return t;
}

namespace {
// The water level above the datum of the depths (m): WLCUR, the level of the
// record in force, 0 without a water-level series. Every depth of a breakwater
// takes the level from here.
float water_level(const TransportState& tr) { return tr.WLCUR; }
}  // namespace

float breakwater_depth(const Settings& cfg, const TransportState& tr, int k) {
  return 0.5F * (cfg.DBDEP1(k) + cfg.DBDEP2(k)) + water_level(tr);
}

int breakwater_reference_wall(const Settings& cfg, const InputState& in, int k) {
  // Tips are in cells DBI1 <= DBI2 (set-up orders them), both within walls 1..NX+1.
  return (cfg.DBI1(k) + cfg.DBI2(k)) / 2 + in.ISTART - 1;
}

void transmission_setup(const Settings& cfg, StructureState& st) {
  for (int k = 1; k <= std::min(cfg.NDB, MXDB); ++k) {
    // Only the reef method uses the area; the others need no shoreward slope.
    const bool reef_method = cfg.TRANMODE == 1 && cfg.KTMETDB(k) != 1 && cfg.KTMETDB(k) != 2;
    st.ATDB(k) =
        reef_method ? cross_section_area(cfg.HDB(k), cfg.BDB(k), cfg.SSDB(k), cfg.SHSDB(k)) : 0.0F;
    // Design note: until the first computation (the first step with waves) the
    // coefficient in force is the configured TRANDB, 0 when none was given.
    st.KTDB(k) = cfg.TRANDB(k);
  }
  st.KTDUE = true;
  st.KTWARNED = 0U;
}

bool transmission_due(const Settings& cfg, const StructureState& st) {
  return cfg.TRANMODE == 1 && cfg.NDB > 0 && st.KTDUE;
}

void request_transmission(StructureState& st) { st.KTDUE = true; }

unsigned breakwater_transmission(const Settings& cfg, const InputState& in, const WaveState& wv,
                                 const TransportState& tr, StructureState& st, OutputState& out) {
  // Fixed coefficients have no method properties to compute from.
  if (cfg.TRANMODE != 1) return 0U;
  unsigned fired = 0U;  // warnings and failures of this computation, over all breakwaters
  for (int k = 1; k <= std::min(cfg.NDB, MXDB); ++k) {
    // 1. Depth at the breakwater and the wave of its reference wall.
    const float d = breakwater_depth(cfg, tr, k);
    const int i = breakwater_reference_wall(cfg, in, k);
    const ReferenceWave ref = transmission_reference(wv.OMEGA, wv.K0, wv.DRF(i));
    // 2. The coefficient by the breakwater's own method.
    const Transmission t =
        KTCALC(d, wv.TZ, wv.OMEGA, wv.K0, cfg.KTMETDB(k), cfg.HDB(k), cfg.D50DB(k), st.ATDB(k),
               cfg.BDB(k), cfg.SSDB(k), ref.K, wv.HRF(i), wv.THETARF(i), ref.CG, wv.ALPHAW(i));
    fired |= t.FLAGS;
    st.KTDB(k) = t.KT;
    // 3. Statistics of the values in force (not of an inapplicable method).
    if ((t.FLAGS & KT_EMERGED) == 0U) record_kt(out, k, t.KT);
  }
  st.KTDUE = false;
  return fired;
}

void record_kt(OutputState& out, int j, float kt) {
  if (j < 1 || j > MXDB) return;
  // A coefficient that is not a number spoils the breaking heights behind the
  // breakwater, and the step's guard stops the run on them; the statistics
  // keep only the values in force before it.
  if (!std::isfinite(kt)) return;
  if (out.NKT(j) == 0) {
    out.KTMAX(j) = kt;
    out.KTMIN(j) = kt;
  } else {
    out.KTMAX(j) = std::max(out.KTMAX(j), kt);
    out.KTMIN(j) = std::min(out.KTMIN(j), kt);
  }
  out.KTSUM(j) += static_cast<double>(kt);
  ++out.NKT(j);
}

float breakwater_factor(const Settings& cfg, const StructureState& st, int k) {
  const float kt = cfg.TRANMODE == 1 ? st.KTDB(k) : cfg.TRANDB(k);
  return std::min(kt, KT_CAP);
}

}  // namespace coastra

// The diffraction segment table built from the diffracting-structure list, and
// the re-derivation of its breakwater factors, active count and processing
// order whenever the transmission coefficients change.

#include "waves/segment_table.h"

#include <algorithm>
#include <vector>

#include "model/error_stop.h"
#include "waves/transmission.h"

namespace coastra {

namespace {

struct seg_entry {
  int wall;   // wall of the entry (-1 left grid end, -2 right grid end)
  float y;    // tip distance from the baseline (m)
  float d;    // depth at the tip (m)
  int kind;   // KIND_END, KIND_GROIN or KIND_BREAKWATER
  int bw;     // breakwater number of a tip, else 0
};

// Factors closer to 1 than this are open water; between the active threshold
// and this a breakwater lets part of the waves through and is merged last.
constexpr float OPEN_FACTOR = 0.999F;
constexpr float ACTIVE_FACTOR = 0.01F;

}  // namespace

void build_segment_table(const Settings& cfg, const InputState& in, StructureState& st,
                         ScratchState& scr) {
  // The alongshore position of every wall (m from wall 1), which the
  // diffraction reads every step; the cell widths are fixed for the run.
  scr.dif_xwall(1) = 0.0;
  for (int i = 2; i <= cfg.NX + 1; ++i)
    scr.dif_xwall(i) = scr.dif_xwall(i - 1) + static_cast<double>(cfg.DX(i - 1));
  const int nw = cfg.NX + 1;
  std::vector<seg_entry> list;
  list.reserve(static_cast<std::size_t>(in.NDIFF) + 2);
  for (int e = 1; e <= in.NDIFF; ++e)
    list.push_back({in.IDIFF(e), in.YDIFF(e), in.DDIFF(e), st.IDKIND(e), st.IDBW(e)});
  for (int i = 1; i <= nw; ++i) st.JOINFLAG(i) = 0;

  // 1. Start: after the left grid end the coast is open; a diffracting groin on
  // wall 1 is doubled so that it becomes a zero-width groin segment like any
  // other.
  // Design note: set-up always begins the list with one of the two; a list that
  // begins with a structure further along is refused with an error stop.
  if (list.empty() || list.front().wall > 1)
    error_stop("ERROR. DIFFRACTING-STRUCTURE LIST DOES NOT BEGIN AT THE LEFT BOUNDARY.");
  bool open = list.front().wall <= 0;
  if (!open) {
    const seg_entry first = list.front();
    list.insert(list.begin(), first);
  }
  // Design note: a last entry that is a structure (a diffracting groin on wall
  // NX+1, or a breakwater tip joined to it) is doubled as well; the walk below
  // then closes the list with a zero-width groin segment, removes a duplicated
  // tip as a join and keeps the segments alternating open / structure.
  if (list.back().kind != KIND_END) {
    const seg_entry last = list.back();
    list.push_back(last);
  }

  // 2. The walk: each entry closes the segment that began at the entry before it.
  int nseg = 0;
  int pending = 0;  // breakwater number of the structure that began last
  auto add = [&](float factor, int bw) {
    ++nseg;
    st.SEGFAC(nseg) = factor;
    st.SEGBW(nseg) = bw;
  };
  std::size_t e = 1;
  while (e < list.size()) {
    const seg_entry& prev = list[e - 1];
    const seg_entry& cur = list[e];
    if (cur.kind == KIND_END) {
      // The stretch up to the right grid end is open water (set-up refuses a
      // breakwater that ends on an open boundary, so no structure is left open).
      add(1.0F, 0);
      open = false;
      ++e;
      continue;
    }
    const bool equal = cur.wall == prev.wall && cur.y == prev.y;
    if (equal && !open) {
      add(-1.0F, 0);  // between the two copies of a groin
      open = true;
      ++e;
    } else if (equal) {
      // Two structures meet here: the duplicated entry goes, the next structure
      // begins at the entry kept.
      st.JOINFLAG(std::clamp(cur.wall, 1, nw)) = 1;
      pending = cur.bw;
      list.erase(list.begin() + static_cast<std::ptrdiff_t>(e));
      open = false;
    } else if (open) {
      add(1.0F, 0);  // open gap up to the next structure
      pending = cur.bw;
      open = false;
      ++e;
    } else {
      // Behind a detached breakwater: its factor, looked up by its number.
      if (pending <= 0)
        error_stop("ERROR. DIFFRACTING STRUCTURES CANNOT BE PAIRED INTO SEGMENTS.");
      add(breakwater_factor(cfg, st, pending), pending);
      open = true;
      ++e;
    }
  }

  // 3. The segment list as kept.
  st.NSEGENT = static_cast<int>(list.size());
  for (int k = 1; k <= st.NSEGENT; ++k) {
    const seg_entry& s = list[static_cast<std::size_t>(k - 1)];
    st.ISEGW(k) = s.wall;
    st.YSEGT(k) = s.y;
    st.DSEGT(k) = s.d;
    st.KSEGT(k) = s.kind;
  }
  st.NSEG = nseg;
  // 4-5. Active count and processing order.
  derive_segment_order(cfg, st);
}

void derive_segment_order(const Settings& cfg, StructureState& st) {
  for (int j = 1; j <= st.NSEG; ++j)
    if (st.SEGBW(j) > 0) st.SEGFAC(j) = breakwater_factor(cfg, st, st.SEGBW(j));
  st.NSEGACT = 0;
  for (int j = 1; j <= st.NSEG; ++j)
    if (st.SEGFAC(j) > ACTIVE_FACTOR) ++st.NSEGACT;
  // Open gaps, groins and opaque breakwaters first, partly transmitting
  // breakwaters last, each group in alongshore order: a partly transmitting
  // breakwater weights the energy the gaps have brought behind it, so all gaps
  // must be merged before it.
  int n = 0;
  for (int pass = 0; pass < 2; ++pass) {
    for (int j = 1; j <= st.NSEG; ++j) {
      const float f = st.SEGFAC(j);
      const bool partial = f > ACTIVE_FACTOR && f < OPEN_FACTOR;
      if (partial == (pass == 1)) st.SEGORD(++n) = j;
    }
  }
}

}  // namespace coastra

// Detached breakwaters acting on the shoreline: the breakwater line YDB along
// each shadow range, the connection code of each breakwater, the per-step
// marks DBMARK with the limits YDBW and YSWALL, and the salient update after
// the shoreline update.
// Routines: setup_structures, structure_marks, joined_groins, salient_update.

#include "transport/structures.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "model/wall_codes.h"

namespace coastra {
namespace {


// Alongshore coordinate of wall w (the left wall of cell w), and of the centre of cell j (m).
double wall_x(const Settings& cfg, const InputState& in, int w) {
  return static_cast<double>(in.XCELL(w)) - static_cast<double>(cfg.DX(w));
}
double centre_x(const Settings& cfg, const InputState& in, int j) {
  return static_cast<double>(in.XCELL(j)) - 0.5 * static_cast<double>(cfg.DX(j));
}

// True when a diffracting groin stands at wall w with its tip at y (m from
// the baseline).
bool groin_at(const Settings& cfg, int w, float y) {
  for (int g = 1; g <= std::min(cfg.NDG, MXDG); ++g)
    if (cfg.IXDG(g) == w && cfg.YDG(g) == y) return true;
  return false;
}

// Wall of a joined breakwater end and the cell whose state it follows.
struct JoinedEnd {
  int wall = 0, cell = 0;
};
JoinedEnd joined_end(const Settings& cfg, const SourceState& src, int k) {
  if (src.DBCON(k) == 1) return {cfg.DBI1(k), src.DBS(k)};
  if (src.DBCON(k) == 2) return {cfg.DBI2(k), src.DBE(k)};
  return {};
}

// Last cell of the shadow group that begins with breakwater k's range (ranges
// in cell order; consecutive ranges that touch form one group), and the next
// breakwater after the group.
int group_end(const SourceState& src, const int* order, int n, int& at) {
  int e = src.DBE(order[at]);
  while (at + 1 < n && src.DBS(order[at + 1]) == e + 1) e = src.DBE(order[++at]);
  ++at;
  return e;
}

// Moves q (m3/s) of the transport across inner wall j of a group: cell j-1
// gives and cell j receives q over the step (q < 0 the other way).
void carry(const Settings& cfg, TransportState& tr, int j, double q) {
  tr.QLS(j) = static_cast<float>(static_cast<double>(tr.QLS(j)) + q);
  tr.YSHORE(j - 1) -= q * static_cast<double>(tr.DTFAC(j - 1)) / static_cast<double>(cfg.DX(j - 1));
  tr.YSHORE(j) += q * static_cast<double>(tr.DTFAC(j)) / static_cast<double>(cfg.DX(j));
}

bool structure_wall(const TransportState& tr, int j) {
  return tr.WALLTYPE(j) == WALL_GROIN || tr.WALLTYPE(j) == WALL_TOUCH;
}

// Room behind the breakwater over cells a..b: the transport that would fill
// them from their step-start positions to the breakwater line in one step (m3/s).
double room(const Settings& cfg, const TransportState& tr, int a, int b) {
  double w = 0.0;
  for (int i = a; i <= b; ++i)
    w += std::max(0.0, tr.YDBW(i) - tr.YSTART(i)) / static_cast<double>(tr.DTFAC(i)) *
         static_cast<double>(cfg.DX(i));
  return w;
}

// The diverted transport entering a group at an open end wall is carried into
// the shadow: of what entered the end cell this step, the diverted share (at
// most the room W of the cells it reaches) is spread so that every cell of
// a..b gains in proportion to its length; the transport added to the inner
// walls falls linearly with the length still ahead.
// Design notes:
// - The end walls keep their values (the outside cells were updated with
//   them), so the spread moves sand within the group only: what is not spread
//   stays in the end cell, the group's first cell in the transport direction.
// - The spread is limited to the transport that entered the end cell in the
//   step, so it never carries off sand the cell held before.
// - From the left the cells reach from s to the cell before the first
//   structure wall met inside the range, else to e when wall e+1 is a structure
//   wall, else to (s + e)/2; from the right the mirror image, so that a
//   breakwater under waves from either side treats them alike.
void spread_diverted(const Settings& cfg, TransportState& tr, int s, int e) {
  if (tr.WALLTYPE(s) == WALL_OPEN && tr.QDBX(s) > 0.0F && tr.QLS(s) > 0.0F) {
    int b = structure_wall(tr, e + 1) ? e : (s + e) / 2;
    for (int j = s + 1; j <= e; ++j)
      if (structure_wall(tr, j)) {
        b = j - 1;
        break;
      }
    double q = std::min(
        {static_cast<double>(tr.QDBX(s)), static_cast<double>(tr.QLS(s)), room(cfg, tr, s, b)});
    double length = 0.0;
    for (int i = s; i <= b; ++i) length += static_cast<double>(cfg.DX(i));
    double ahead = length;
    for (int j = s + 1; j <= b && q > 0.0; ++j) {
      ahead -= static_cast<double>(cfg.DX(j - 1));
      carry(cfg, tr, j, q * ahead / length);
    }
  }
  if (tr.WALLTYPE(e + 1) == WALL_OPEN && tr.QDBX(e + 1) < 0.0F && tr.QLS(e + 1) < 0.0F) {
    int a = structure_wall(tr, s) ? s : s + e - (s + e) / 2;
    for (int j = e; j >= s + 1; --j)
      if (structure_wall(tr, j)) {
        a = j;
        break;
      }
    double q = std::min({-static_cast<double>(tr.QDBX(e + 1)), -static_cast<double>(tr.QLS(e + 1)),
                         room(cfg, tr, a, e)});
    double length = 0.0;
    for (int i = a; i <= e; ++i) length += static_cast<double>(cfg.DX(i));
    double ahead = length;
    for (int j = e; j >= a + 1 && q > 0.0; --j) {
      ahead -= static_cast<double>(cfg.DX(j));
      carry(cfg, tr, j, -q * ahead / length);
    }
  }
}

// Cells s..e capped at their line max(YDBW, YSWALL): the sand a capped cell
// holds beyond its line goes back upstream across the inner walls that
// brought sand into it this step, each wall's transport cut by what crosses
// it back (never below zero). The excess so travels against the transport:
// leftwards across a wall with QLS > 0, rightwards across one with QLS < 0,
// away from the cells where transport converges. A cell with inflow on both
// sides splits in proportion to the two inflows; a cell that takes sand back
// keeps what fills it to its line and hands on the rest; what the group's
// first cell in the transport direction cannot give back stays there.
// Design notes:
// - Order-free: every cell's excess, inflows and cuts are formed from the
//   group as the shoreline update left it, and each wall carries excess one
//   way only, so one sweep from e down to s finds every leftward hand-back and
//   one from s up to e every rightward one; a cell with inflow on both sides
//   splits from its own excess in both. The mirrored group, or the group
//   walked from its other end, gives the same result to the bit: each
//   quantity is formed by the mirror of the same operations, and a cell that
//   receives from both sides adds the two first.
// - A cell that gives back all its excess lies exactly on its line.
void cap_group(const Settings& cfg, TransportState& tr, int s, int e) {
  // Most steps no cell lies past its line, and nothing moves.
  bool over = false;
  for (int i = s; i <= e; ++i) over = over || tr.YSHORE(i) > std::max(tr.YDBW(i), tr.YSWALL(i));
  if (!over) return;
  const int n = e - s + 1;
  // back[k]: excess (m3/s) handed back across inner wall s+k (k = 1..n-1)
  // against its transport; 0 and n stand for the group's end walls, never cut.
  std::vector<double> back(static_cast<std::size_t>(n) + 1, 0.0);
  const auto at = [&back, s](int w) -> double& { return back[static_cast<std::size_t>(w - s)]; };
  const auto q = [&tr](int w) { return static_cast<double>(tr.QLS(w)); };
  // Inflow of cell i from the left (a) and from the right (b) across inner walls (m3/s).
  const auto in_left = [&](int i) { return i > s ? std::max(q(i), 0.0) : 0.0; };
  const auto in_right = [&](int i) { return i < e ? std::max(-q(i + 1), 0.0) : 0.0; };
  // Excess of cell i beyond its line as a transport over the step (m3/s, < 0: room).
  const auto excess = [&cfg, &tr](int i) {
    const double cap = std::max(tr.YDBW(i), tr.YSWALL(i));
    return (tr.YSHORE(i) - cap) * static_cast<double>(cfg.DX(i)) / static_cast<double>(tr.DTFAC(i));
  };
  // What cell i gives back to the side with inflow a, of its excess x, with
  // inflow b on the other side.
  const auto give = [](double x, double a, double b) {
    if (!(x > 0.0) || !(a > 0.0)) return 0.0;
    const double g = std::min(x, a + b);
    return b > 0.0 ? g * a / (a + b) : g;
  };
  // Leftward hand-backs, from e down to s: a cell adds what cell i+1 handed it.
  for (int i = e; i > s; --i) {
    if (!(q(i) > 0.0)) continue;
    const double got = i < e && q(i + 1) > 0.0 ? at(i + 1) : 0.0;
    at(i) = give(excess(i) + got, in_left(i), in_right(i));
  }
  // Rightward hand-backs, from s up to e: a cell adds what cell i-1 handed it.
  for (int i = s; i < e; ++i) {
    if (!(q(i + 1) < 0.0)) continue;
    const double got = i > s && q(i) < 0.0 ? at(i) : 0.0;
    at(i + 1) = give(excess(i) + got, in_right(i), in_left(i));
  }
  // The cells: what they received and gave back moves them (the end walls'
  // entries are 0).
  for (int i = s; i <= e; ++i) {
    const double from_left = q(i) < 0.0 ? at(i) : 0.0, to_left = q(i) > 0.0 ? at(i) : 0.0;
    const double from_right = q(i + 1) > 0.0 ? at(i + 1) : 0.0, to_right = q(i + 1) < 0.0 ? at(i + 1) : 0.0;
    const double got = from_left + from_right, gave = to_left + to_right;
    const double f = static_cast<double>(tr.DTFAC(i)) / static_cast<double>(cfg.DX(i));   // (s/m2)
    if (gave > 0.0) {
      tr.YSHORE(i) = std::max(tr.YDBW(i), tr.YSWALL(i)) + (excess(i) + got - gave) * f;
    } else if (got > 0.0) {
      tr.YSHORE(i) += got * f;
    }
  }
  // The inner walls carry their transport less what crossed them back.
  for (int w = s + 1; w <= e; ++w) {
    if (!(at(w) > 0.0)) continue;
    tr.QLS(w) = static_cast<float>(q(w) > 0.0 ? q(w) - at(w) : q(w) + at(w));
  }
}

}  // namespace

// Design notes:
// - The breakwater line runs linearly between the two tips, which stand at the
//   left walls of cells DBI1 and DBI2, and is taken at the cell centres: the
//   shadow range DBI1..DBI2-1 then lies symmetrically between the tips, as the
//   diffraction behind them does. Positions are from the baseline less YREG,
//   the datum of YSHORE.
// - A breakwater end is joined when a diffracting groin with the same tip
//   distance stands at its wall: code 1 at the first end, else 2 at the last.
void setup_structures(const Settings& cfg, const InputState& in, TransportState& tr,
                      SourceState& src) {
  const int nx = cfg.NX;
  for (int i = 1; i <= nx; ++i) {
    src.YSWALL0(i) = tr.YSWALL(i);
    src.YDB(i) = NO_LIMIT_SEAWARD;
  }
  for (int k = 1; k <= std::min(cfg.NDB, MXDB); ++k) {
    const int i1 = cfg.DBI1(k), i2 = cfg.DBI2(k);   // i1 < i2 after the set-up checks
    src.DBS(k) = i1;
    src.DBE(k) = i2 - 1;
    const double x1 = wall_x(cfg, in, i1), x2 = wall_x(cfg, in, i2);
    const double y1 = static_cast<double>(cfg.DBY1(k)), y2 = static_cast<double>(cfg.DBY2(k));
    for (int j = i1; j <= i2 - 1; ++j)
      src.YDB(j) = y1 + (centre_x(cfg, in, j) - x1) / (x2 - x1) * (y2 - y1) -
                   static_cast<double>(in.YREG(j));
    src.DBCON(k) = groin_at(cfg, i1, cfg.DBY1(k)) ? 1 : groin_at(cfg, i2, cfg.DBY2(k)) ? 2 : 0;
  }
  // The connection code of each groin of the groin list.
  for (int g = 1; g <= in.NGRO; ++g) {
    src.GCON(g) = 0;
    for (int k = 1; k <= std::min(cfg.NDB, MXDB); ++k) {
      if (in.IXG(g) == cfg.DBI1(k) && in.YG(g) == cfg.DBY1(k)) src.GCON(g) |= 1;
      if (in.IXG(g) == cfg.DBI2(k) && in.YG(g) == cfg.DBY2(k)) src.GCON(g) |= 2;
    }
  }
  structure_marks(cfg, src, tr);
}

void structure_marks(const Settings& cfg, const SourceState& src, TransportState& tr) {
  const int ndb = std::min(cfg.NDB, MXDB);
  for (int k = 1; k <= ndb; ++k) {
    for (int j = src.DBS(k); j <= src.DBE(k); ++j) {
      const double gap = src.YDB(j) - tr.YSHORE(j);
      if (gap < -MARK_TOUCH) {
        // Tombolo: the beach is held at the breakwater line from landward (or
        // at the seawall, when that lies further seaward), no seaward limit.
        tr.DBMARK(j) = -2;
        tr.YDBW(j) = NO_LIMIT_SEAWARD;
        tr.YSWALL(j) = std::max(src.YSWALL0(j), src.YDB(j));
      } else {
        tr.DBMARK(j) = gap < MARK_TOUCH ? -1 : 1;
        tr.YDBW(j) = src.YDB(j);
        tr.YSWALL(j) = src.YSWALL0(j);
      }
    }
    const JoinedEnd end = joined_end(cfg, src, k);
    if (end.wall != 0) {
      const int mark = tr.DBMARK(end.cell);
      tr.WALLTYPE(end.wall) = mark == -2 ? WALL_TOMBOLO : mark == -1 ? WALL_TOUCH : WALL_GROIN;
    }
  }
}

// Design notes:
// - A groin whose breakwater end holds a touching salient passes all
//   transport (factor 1), whatever its joins.
// - Otherwise a joined groin loses its bypassing share (the sand going round
//   its tip meets the breakwater) when the sand comes from the breakwater's
//   side: from the right (potential transport < 0) for every join, from the
//   left for a breakwater ending at the groin. Sand from the open left side of
//   a breakwater starting at the groin loses it too while the breakwater line
//   is the seaward limit of the first shadow cell (no tombolo there): it would
//   go round the tip into the shadow.
void joined_groins(const Settings& cfg, const InputState& in, const SourceState& src,
                   TransportState& tr) {
  for (int k = 1; k <= in.NGRO; ++k) {
    const int j = in.IXG(k);
    if (tr.WALLTYPE(j) == WALL_TOUCH) {
      tr.GROINF(k) = 1.0F;
      tr.QGPOT(k) = 1.0F;
      continue;
    }
    const int code = src.GCON(k);
    if (code == 0) continue;
    const bool from_right = tr.QGPOT(k) < 0.0F;
    const bool shadow_limit = j >= 1 && j <= cfg.NX && tr.DBMARK(j) != -2 && tr.DBMARK(j) != 0;
    if (from_right || code >= 2 || shadow_limit) tr.GROINF(k) -= tr.BYPG(k);
  }
}

// Design notes:
// - Two stages per group: the diverted transport is spread into the shadow
//   (spread_diverted), then every cell is capped at the breakwater line.
// - The walls at the two ends of a group keep the transports with which the
//   cells outside it were updated; only the inner walls are changed, so the
//   update moves sand between the group's cells and never makes or loses any.
// - A capped cell gives back only what its neighbours brought in this step:
//   sand that lies seaward of the line already (placed by a fill or a
//   source) stays. What the group's first cell in the transport direction
//   cannot give back stays there; it is the cell the sand enters by, and it
//   becomes a tombolo at the next marks.
// - A tombolo cell has no seaward limit (its YDBW is far seaward); a cell is
//   never pushed landward of its seawall line.
void salient_update(const Settings& cfg, const SourceState& src, TransportState& tr) {
  const int ndb = std::min(cfg.NDB, MXDB);
  if (ndb <= 0) return;
  // Breakwaters in cell order of their ranges (at most MXDB, on the stack).
  int order[MXDB];
  for (int k = 1; k <= ndb; ++k) order[k - 1] = k;
  std::sort(order, order + ndb, [&src](int a, int b) { return src.DBS(a) < src.DBS(b); });
  int at = 0;
  while (at < ndb) {
    const int s = src.DBS(order[at]);
    const int e = group_end(src, order, ndb, at);
    spread_diverted(cfg, tr, s, e);
    cap_group(cfg, tr, s, e);
  }
}

}  // namespace coastra

// The words of what the physics stages found (see stage_notices.h).

#include "output/stage_notices.h"

#include <string>

#include "model/error_stop.h"
#include "output/format.h"
#include "waves/transmission.h"

namespace coastra {
namespace {

// The print-file texts, in the order of the KT_... bits they belong to.
struct KtMessage {
  unsigned bit;
  WarnKind kind;   // its count in the run's warning counts
  const char* text;
};
constexpr KtMessage KT_MESSAGES[] = {
    {KT_ABOVE_08, WarnKind::KT_ABOVE_08, " !!WARNING-KT OUTSIDE STATED LIMIT OF 0.8"},
    {KT_BELOW_0075, WarnKind::KT_BELOW_0075, " !!WARNING-KT OUTSIDE STATED LIMIT OF 0.075"},
    {KT_ABOVE_15, WarnKind::KT_ABOVE_15, " !!WARNING-COMPUTED KT GREATER THAN 1.5, SET TO 1.5"},
    {KT_BELOW_0, WarnKind::KT_BELOW_0, " !!WARNING-COMPUTED KT LESS THAN 0, SET TO 0"},
    {KT_OUT_OF_RANGE, WarnKind::KT_OUT_OF_RANGE, " !!WARNING-INPUT VALUES OUTSIDE VARIABLE RANGE"},
};
constexpr const char* EMERGED_TEXT =
    " ERROR! SEABROOK & HALL ONLY APPLICABLE FOR SUBMERGED BREAKWATER";

void append_int(std::string& out, long long v) { edit_i(out, v, 0); }

}  // namespace

void transmission_notices(ModelState& m, unsigned fired) {
  std::ostream& p = m.prt();
  for (const KtMessage& w : KT_MESSAGES) {
    if ((fired & w.bit) == 0U) continue;
    count_warning(m, w.kind);
    const bool shown = m.cfg.PRWARN || (m.KTWARNED & w.bit) == 0U;
    if (shown && first_in_record(m, w.kind)) p << w.text << '\n';
    m.KTWARNED |= w.bit;
  }
  // Method 1 outside its range of application ends the simulation with the
  // reports written.
  if ((fired & KT_EMERGED) != 0U) {
    p << EMERGED_TEXT << '\n';
    stop_run(m, EMERGED_TEXT);
  }
}

void wave_file_error(ModelState& m, int k, int record, bool ended) {
  std::string& t = m.WTEXT;
  const std::string& name = m.cfg.WAVEFILE[static_cast<std::size_t>(k)];
  if (ended) {
    t.assign(" ERROR. WAVE FILE ");
    t += name;
    t += " ENDS BEFORE RECORD ";
    append_int(t, record);
  } else {
    t.assign(" ERROR. INVALID RECORD ");
    append_int(t, record);
    t += " IN WAVE FILE ";
    t += name;
  }
  t += '\n';
  m.prt() << t;
  stop_run(m, t);
}

void station_notices(ModelState& m, const StationSetup& s) {
  std::string& t = m.WTEXT;
  if (s.numwaves != 0) {
    t.assign(" WARNING. NUMWAVES = ");
    append_int(t, s.numwaves);
    t += " EXCEEDS THE ";
    append_int(t, s.files);
    t += " WAVEID LINES; ";
    append_int(t, s.files);
    t += " WAVE FILES ARE USED.\n";
    m.prt() << t;
  }
  const StationFault& f = s.fault;
  switch (f.kind) {
    case StationFault::NONE: return;
    case StationFault::NO_STATION: t.assign(" ERROR. NO WAVEID LINE GIVES A WAVE STATION"); break;
    case StationFault::OUTSIDE:
    case StationFault::NOT_ASCENDING:
      t.assign(" ERROR. WAVEID LINE ");
      append_int(t, f.line);
      t += ": STATION CELL ";
      append_int(t, f.cell);
      const bool outside = f.kind == StationFault::OUTSIDE;
      t += outside ? " OUTSIDE CELLS 1 TO " : " NOT AFTER CELL ";
      append_int(t, f.bound);
      if (!outside) t += " OF THE LINE BEFORE; WAVEID CELLS MUST ASCEND";
      break;
  }
  m.prt() << t << '\n';
  stop_run(m, t);
}

void inlet_groin_notices(RunState& run, int edges) {
  for (int k = 0; k < edges; ++k) lwrite(*run.PRT, "WARNING: Unstructured inlet is next to groin");
}

}  // namespace coastra

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

void transmission_notices(const Settings& cfg, RunState& run, StructureState& st,
                          WarningState& warn, unsigned fired) {
  std::ostream& p = *run.PRT;
  for (const KtMessage& w : KT_MESSAGES) {
    if ((fired & w.bit) == 0U) continue;
    count_warning(warn, w.kind);
    const bool shown = cfg.PRWARN || (st.KTWARNED & w.bit) == 0U;
    if (shown && first_in_record(warn, w.kind)) p << w.text << '\n';
    st.KTWARNED |= w.bit;
  }
  // Method 1 outside its range of application ends the simulation with the
  // reports written.
  if ((fired & KT_EMERGED) != 0U) {
    p << EMERGED_TEXT << '\n';
    stop_run(run, EMERGED_TEXT);
  }
}

void wave_file_error(const Settings& cfg, RunState& run, WaveInputState& wi, int k, int record,
                     bool ended) {
  std::string& t = wi.WTEXT;
  const std::string& name = cfg.WAVEFILE[static_cast<std::size_t>(k)];
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
  *run.PRT << t;
  stop_run(run, t);
}

void station_notices(RunState& run, WaveInputState& wi, const StationSetup& s) {
  std::string& t = wi.WTEXT;
  if (s.numwaves != 0) {
    t.assign(" WARNING. NUMWAVES = ");
    append_int(t, s.numwaves);
    t += " EXCEEDS THE ";
    append_int(t, s.files);
    t += " WAVEID LINES; ";
    append_int(t, s.files);
    t += " WAVE FILES ARE USED.\n";
    *run.PRT << t;
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
  *run.PRT << t << '\n';
  stop_run(run, t);
}

void inlet_groin_notices(RunState& run, int edges) {
  for (int k = 0; k < edges; ++k) lwrite(*run.PRT, "WARNING: Unstructured inlet is next to groin");
}

}  // namespace coastra

// Print-file reports: intermediate and yearly reports, the end-of-run reports,
// and the list helpers shared with the start-up reports (echo.h).
#pragma once

#include <ostream>
#include <span>
#include <string_view>
#include <vector>

#include "model/state.h"

namespace coastra {

// At a PRDATE entry: shoreline, period transports (with their mean-annual
// records), volume changes.
void intermediate_report(const Settings& cfg, const InputState& in, const TransportState& tr,
                         RunState& run, OutputState& out);
// Anniversary of the start date (CURDATE against SIMDATS and NYEARS), or the last step.
bool yearly_report_due(const Settings& cfg, const RunState& run, const InputState& in,
                       const OutputState& out);
// Shoreline and its change, waves, period transports; a new period begins.
void yearly_report(const Settings& cfg, const InputState& in, const WaveState& wv,
                   const TransportState& tr, RunState& run, OutputState& out);
// End of run: mean annual transports, final data records (write_final_records),
// last step, offshore wave data.
void end_reports_transport(ModelState& m);
// End of run: last-step transport, final/extreme shorelines, offshore contour,
// breakwater KT statistics, offshore-record warning, volume changes.
void end_reports_shoreline(const Settings& cfg, const InputState& in, const WaveState& wv,
                           const TransportState& tr, const OutputState& out, RunState& run);
// The total volumetric change line (VOLTOT) and the sign-convention line.
void write_total_volume_line(const Settings& cfg, const InputState& in, const OutputState& out,
                             RunState& run);

// Helpers shared by the report writers.
// The list layout of positions, volumes per cell and per-cell parameters:
// ten values a line, F11.2.
inline constexpr std::string_view VALUES_10 = "(10F11.2)";
// "(FT)" for a run in feet, "(M)" otherwise (LENFAC).
std::string_view length_label(const InputState& in);
// Positions of cells 1..NX measured from the baseline, (YREG + y) / LENFAC.
std::vector<double> baseline_positions(const Settings& cfg, const InputState& in,
                                       const Vec1<double>& y);
// A value list in a repeated layout such as "(10F11.2)"; nothing for an empty list.
void write_list(std::ostream& os, std::string_view layout, std::span<const double> v);
// An empty line.
void empty_line(std::ostream& os);

}  // namespace coastra

// Print-file reports: banner and input echo, initial shoreline, intermediate
// and yearly reports, and the end-of-run reports.
#pragma once

#include "model/state.h"

namespace coastra {

void write_banner_and_echo(ModelState& m);     // print file and console title box
void write_initial_shoreline(ModelState& m);
void intermediate_report(ModelState& m);       // at a PRDATE entry
bool yearly_report_due(const ModelState& m);   // anniversary of the start date or last step
void yearly_report(ModelState& m);
// End of run: mean annual transports, final data records, last step, offshore wave data.
void end_reports_transport(ModelState& m);
// End of run: last-step transport, final/extreme shorelines, offshore contour,
// offshore-record warning, volume changes.
void end_reports_shoreline(ModelState& m);
// The total volumetric change line and the sign-convention line.
void write_total_volume_line(ModelState& m);

}  // namespace coastra

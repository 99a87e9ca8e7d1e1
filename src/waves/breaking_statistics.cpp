// Undiffracted breaking-wave statistics: BRKSTAT adds the step's undiffracted
// height (model length unit), angle to the shoreline (rad) and the transport the
// undiffracted wave would drive (m3/s), each times the step's length DT (hours),
// to SUMHB, SUMANG and SUMQ of every wall; the report divides by the hours run,
// so that steps of different length (adaptive time step) weigh by their time.

#include "waves/breaking_statistics.h"

#include <cmath>

namespace coastra {

void BRKSTAT(ModelState& m) {
  const int nw = m.cfg.NX + 1;
  const double dt = static_cast<double>(m.cfg.DT);
  for (int i = 1; i <= nw; ++i) {
    const float a = m.THETAB(i) - m.ALPHAS(i);
    m.SUMHB(i) += static_cast<double>(m.HB(i) / m.LENFAC) * dt;
    m.SUMANG(i) += static_cast<double>(a) * dt;
    m.SUMQ(i) +=
        static_cast<double>(m.CGBU(i) * m.A1W(i) * m.HB(i) * m.HB(i) * std::sin(2.0F * a)) * dt;
  }
}

}  // namespace coastra

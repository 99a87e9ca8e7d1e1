// Undiffracted breaking-wave statistics: BRKSTAT adds the step's undiffracted
// height (model length unit), angle to the shoreline (rad) and the transport the
// undiffracted wave would drive (m3/s) to SUMHB, SUMANG and SUMQ of every wall.

#include "waves/breaking_statistics.h"

#include <cmath>

namespace coastra {

void BRKSTAT(ModelState& m) {
  const int nw = m.cfg.NX + 1;
  for (int i = 1; i <= nw; ++i) {
    const float a = m.THETAB(i) - m.ALPHAS(i);
    m.SUMHB(i) += static_cast<double>(m.HB(i) / m.LENFAC);
    m.SUMANG(i) += static_cast<double>(a);
    m.SUMQ(i) += static_cast<double>(m.CGB(i) * m.A1W(i) * m.HB(i) * m.HB(i) * std::sin(2.0F * a));
  }
}

}  // namespace coastra

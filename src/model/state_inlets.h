// Model-state section of the tidal inlets: the running reservoir volumes, the
// resolved edge positions, the rates of the last step per side, the running
// volumes of the budget, the dredging sums and the inlet reservoir files.
// Side L holds the reservoirs left of the channel (fed by sand arriving from
// the right), side R those right of it (fed by sand arriving from the left).
#pragma once

#include <array>
#include <fstream>
#include <string>
#include <vector>

#include "model/constants.h"
#include "model/vec1.h"

namespace coastra {

struct InletState {
  // Reservoir volumes (m3), double precision; they start at the configured
  // volumes (cfg.VVSE ...), the equilibrium volumes stay in cfg.
  Vec1<double> VVSE{MXINL}, VVSF{MXINL};    // ebb shoal, flood shoal (m3)
  Vec1<double> VVSBL{MXINL}, VVSBR{MXINL};  // left and right bypassing bars (m3)
  Vec1<double> VVSAL{MXINL}, VVSAR{MXINL};  // left and right attachment bars (m3)
  Vec1<double> YINLL{MXINL}, YINLR{MXINL};  // start-up line at the left and right edge,
                                            // seaward of the regional contour (m)
  Vec1<float> JBCL{MXINL}, JBCR{MXINL};     // jetty factors of the left and right edge
  // Rates of the last step (m3/s); cleared every step. Per side: part of the
  // entering sand sent on to the ebb shoal at once, ebb shoal to bar, bar to
  // attachment, attachment to beach.
  Vec1<double> QIEL{MXINL}, QIER{MXINL};
  Vec1<double> QEBL{MXINL}, QEBR{MXINL};
  Vec1<double> QBAL{MXINL}, QBAR{MXINL};
  Vec1<double> QOUTL{MXINL}, QOUTR{MXINL};
  Vec1<double> QFE{MXINL};  // flood-shoal overflow to the ebb shoal (m3/s)
  Vec1<double> QCE{MXINL};  // ebb shoal's share of the retained sand (m3/s)
  // Running volumes over the run (m3).
  Vec1<double> VINLIN{MXINL};                  // sand entering the inlet
  Vec1<double> VINLOUT{MXINL};                 // sand placed on the beaches
  Vec1<double> VINL{MXINL}, VINR{MXINL};       // entering from the right (side L) and from the
                                               // left (side R): sent on at once plus stored
  Vec1<double> VQIEL{MXINL}, VQIER{MXINL};     // running Qie x dt per side
  Vec1<double> VRETL{MXINL}, VRETR{MXINL};     // running retained part x dt per side
  Vec1<double> VOUTL{MXINL}, VOUTR{MXINL};     // running Qout x dt per side (placed)
  Vec1<double> VDREDRM{MXINL};                 // dredged removal: sum of -v (m3, <= 0)
  Vec1<double> VDREDPL{MXINL};                 // dredged placement into a reservoir (m3, >= 0)
  Vec1<double> BYPWT{MXCELL};                  // placement weights of the range being placed
  // Sized 1 + the inlet count when the files are opened (empty before): a
  // stream object is half a kilobyte, a run has a few inlets out of MXINL.
  std::vector<std::ofstream> IRV;              // inlet reservoir file of inlet k on IRV[k]
  std::vector<std::string> IRVNAME;            // its name
};

}  // namespace coastra

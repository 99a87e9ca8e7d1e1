// Test support: the straight default coast and its setters.

#include "support/coast_builder.h"

#include "transport/groins.h"
#include "transport/shoreline_solver.h"
#include "transport/transport.h"
#include "waves/nearshore.h"

namespace coastra::test {

Coast::Coast(int nx, float dx) {
  Settings& c = m.cfg;
  c.NX = nx;
  c.DT = m.DT = 1.0F;
  c.SIMDATS = 20200101;
  c.D50 = 0.3F;
  for (int i = 1; i <= nx + 1; ++i) {
    c.DX(i) = dx;
    c.K1(i) = 0.5F;
    c.K2(i) = 0.25F;
    c.BERMHT(i) = 2.0F;
    c.DCLOS(i) = 8.0F;
    c.HAMP(i) = 1.0F;
    c.THETAAMP(i) = 1.0F;
    c.THETADEL(i) = 0.0F;
    m.XCELL(i) = dx * static_cast<float>(i);
  }
  for (int i = 1; i <= nx; ++i) m.DLTZ(i) = 6.0F;
  m.LMOVE = m.RMOVE = true;
  m.ISTEP = 1;
  m.NTS = 1000;
  offshore(1.0F, 8.0F, 0.0F);
  breaking(1.0F, 0.0F);
  start();
}

Coast::Coast(const std::vector<double>& y, float dx) : Coast(static_cast<int>(y.size()), dx) {
  for (int i = 1; i <= m.cfg.NX; ++i) m.YINIT(i) = m.YSHORE(i) = y[static_cast<std::size_t>(i - 1)];
}

Coast& Coast::breaking(float hb, float theta) {
  for (int i = 1; i <= m.cfg.NX + 1; ++i) {
    m.HBD(i) = m.HB(i) = hb;
    m.THETABD(i) = m.THETAB(i) = theta;
    m.CGB(i) = m.CGBU(i) = 3.5F;
    m.KB(i) = 2.0F * PI / (m.TZ * 3.5F);
  }
  return *this;
}

Coast& Coast::offshore(float h, float t, float theta, float depth) {
  for (int i = 1; i <= m.cfg.NX + 1; ++i) {
    m.HRF(i) = h;
    m.TRF(i) = t;
    m.DRF(i) = depth;
    m.THETARF(i) = theta;
    m.ZRF(i) = theta * 180.0F / PI;
  }
  m.HZ = h;
  m.TZ = t;
  m.ZZDEG = m.ZZDEGNR = theta * 180.0F / PI;
  input_wave_numbers(m.cfg, m.waves());
  return *this;
}

Coast& Coast::groin(int wall, float y, float p) {
  const int k = ++m.NGRO;
  m.IXG(k) = wall;
  m.YG(k) = y;
  m.PG(k) = p;
  m.WALLTYPE(wall) = 1;
  return *this;
}

Coast& Coast::seawall(int first, int last, float y1, float y2) {
  const int k = ++m.cfg.NSW;
  m.cfg.ISWBEG(k) = first;
  m.cfg.ISWEND(k) = last;
  m.cfg.SWY1(k) = y1;
  m.cfg.SWY2(k) = y2;
  return *this;
}

Coast& Coast::inlet(int first, int last) {
  const int k = ++m.cfg.NINL;
  m.cfg.INLETS = true;
  m.cfg.IINLS(k) = first;
  m.cfg.IINLE(k) = last;
  for (int i = first; i <= last; ++i) m.INLCELL(i) = 1;
  return *this;
}

Coast& Coast::station(int cell, float depth, const std::string& records) {
  if (!dir) dir = std::make_unique<ScratchDir>();
  const int k = ++m.cfg.NWAVEFILES;
  m.cfg.NUMWAVES = k;
  const std::string name = "w" + std::to_string(k) + ".dat";
  dir->write(name, records);
  m.cfg.WAVEFILE[static_cast<std::size_t>(k)] = name;
  m.FWAVE[static_cast<std::size_t>(k)].open(dir->file(name));
  m.cfg.IWAVEID(k) = cell;
  m.cfg.WMDEP(k) = depth;
  return *this;
}

Coast& Coast::start() {
  setup_transport(m.cfg, m.step(), m.run(), m.input(), m.transport(), m.scratch());
  update_slope(m.cfg, m.waves(), m.transport());
  return *this;
}

Coast& Coast::transport() {
  groin_factors(m.cfg, m.input(), m.waves(), m.transport());
  transport_step(m.cfg, m.input(), m.waves(), m.transport(), m.scratch());
  update_shoreline(m.cfg, m.transport(), m.sources(), m.scratch());
  // QNEG, QPOS, QGROSS of the final transport, as the step's accumulation forms them.
  for (int i = 1; i <= m.cfg.NX + 1; ++i) {
    const TransportSplit s = split_of(m.QLS(i));
    m.QNEG(i) = s.neg;
    m.QPOS(i) = s.pos;
    m.QGROSS(i) = s.gross;
  }
  return *this;
}

}  // namespace coastra::test

// The cross-shore equilibrium response: the exact relaxation against its
// analytic time scale at short and long steps, and whole runs on a closed
// coast (a uniform shift, no transport, a closed budget; refused without its
// reference energy).

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#ifdef COASTRA_WITH_NETCDF
#include <netcdf.h>
#endif

#include "support/cases.h"
#include "support/run_helpers.h"
#include "transport/cross_shore.h"

namespace coastra {
namespace {

// A jump of the energy from E0 to E1: after one time scale 1 / (k sqrt(E1))
// the gap to the new equilibrium is e^-1 of what it was, whatever the step;
// the rate is the erosion rate when the equilibrium lies landward, the
// accretion rate when it lies seaward; no energy moves nothing at all.
TEST(CrossShore, RelaxationKeepsItsTimeScaleAtAnyStep) {
  const float xss = 4.0F, eref = 1.0F, kacc = 0.01F, kero = 0.05F;
  struct Jump { float e0, e1, k; };
  for (const Jump j : {Jump{1.0F, 4.0F, kero}, Jump{4.0F, 0.25F, kacc}}) {
    const double yeq0 = -static_cast<double>(xss * (j.e0 - eref));
    const double yeq1 = -static_cast<double>(xss * (j.e1 - eref));
    const double tau = 1.0 / static_cast<double>(j.k * std::sqrt(j.e1));   // days
    for (const double dt_hours : {0.1, 1.0, 24.0}) {
      const double dt = dt_hours / 24.0;
      const int steps = static_cast<int>(std::lround(tau / dt));
      double yc = yeq0;
      for (int n = 0; n < steps; ++n)
        yc = cross_shore_relaxation(yc, std::sqrt(j.e1), xss, eref, kacc, kero, static_cast<float>(dt));
      const double gap = (yc - yeq1) / (yeq0 - yeq1);
      EXPECT_NEAR(gap, std::exp(-steps * dt / tau), 1e-4) << "E1 " << j.e1 << " DT " << dt_hours;
      EXPECT_NEAR(gap, std::exp(-1.0), 2e-3) << "E1 " << j.e1 << " DT " << dt_hours;
    }
  }
  EXPECT_EQ(cross_shore_relaxation(0.3, 0.0F, xss, eref, kacc, kero, 1.0F), 0.3);
}

struct XsCase : test::RunCase {
  // 20 cells of 50 m between two long groins, normal waves, 6-hour steps,
  // daily records, the response with XSS 10 m/m2 and XSEREF 0.5 m2.
  XsCase() {
    set("DTSAVE:", "DTSAVE: 24.0");
    set("LBCTYPE:", "LBCTYPE: 1\nLGROINY: 900.0");
    set("RBCTYPE:", "RBCTYPE: 1\nRGROINY: 900.0");
    cfg += "IXNDG: 1\nYNDG: 1000.0\nPNDG: 0.0\nIXNDG: 21\nYNDG: 1000.0\nPNDG: 0.0\n"
           "XSHORE: 1\nXSS: 10.0\nXSKACC: 0.05\nXSKERO: 0.05\nXSEREF: 0.5\n";
    dir.write("waves.dat", "1.0 7.0 0.0\n");
  }
};

// Uniform normal waves of 1 m on a closed coast: every cell moves by the same
// excursion towards Yeq = -5 m with the time scale 1 / (0.05 x 1) = 20 days,
// no longshore transport arises, and the budget closes with the exchange.
TEST(CrossShore, UniformForcingShiftsAClosedCoastWithoutTransport) {
  XsCase r;
  ASSERT_EQ(r.run().status, 0);
  const auto slo = test::read_records(r.dir.read("run.slo"));
  ASSERT_EQ(slo.size(), 91U);   // 2020-01-02 .. 2020-04-01
  const double expect = 100.0 - 5.0 * (1.0 - std::exp(-0.05 * 91.0));
  for (double y : slo.back().values) EXPECT_NEAR(y, expect, 0.006);
  // No transport but the round-off of the single-precision offshore contour
  // (its last digit at 395 m is 3e-5 m, an angle of 6e-7 over a cell): at
  // most a cubic metre a year, where 1 degree of obliquity would carry ~1e4.
  for (const auto& rec : test::read_records(r.dir.read("run.qtr")))
    for (double q : rec.values) EXPECT_LE(std::fabs(q), 1.0);
  const std::string out = r.dir.read("run.out");
  const double dv = (expect - 100.0) * 20 * 50.0 * 10.0;   // m3
  EXPECT_NEAR(test::total_volume_change(out), dv, std::fabs(dv) * 1e-3);
  // The whole grid's block (the only one): the exchange closes the budget.
  const double exchange = test::values_after(out, "CROSS-SHORE EXCHANGE VOLUME (M3):").at(0);
  EXPECT_NEAR(exchange, dv, std::fabs(dv) * 1e-3);
  const double residual = test::values_after(out, "BUDGET RESIDUAL (M3):").at(0);
  EXPECT_LT(std::fabs(residual), 1.0);
  // Without its reference energy the response is refused.
  XsCase bad;
  bad.set("XSEREF:", "XSEREF: 0.0");
  const auto res = bad.run();
  EXPECT_EQ(res.status, 1);
  EXPECT_NE(res.console.find("XSEREF"), std::string::npos) << res.console;
#ifdef COASTRA_WITH_NETCDF
  // The NetCDF file holds the excursion of every cell and record.
  ASSERT_EQ(test::run_in(r.dir, {"--netcdf", "run.nc", "run.cfg"}).status, 0);
  int id = -1, v = -1;
  ASSERT_EQ(nc_open(r.dir.file("run.nc").c_str(), NC_NOWRITE, &id), NC_NOERR);
  std::vector<double> xs(91 * 20, 0.0);
  EXPECT_EQ(nc_inq_varid(id, "cross_shore_excursion", &v), NC_NOERR);
  EXPECT_EQ(nc_get_var_double(id, v, xs.data()), NC_NOERR);
  nc_close(id);
  for (int i = 0; i < 20; ++i) EXPECT_NEAR(xs[90 * 20 + i], expect - 100.0, 0.006);
#endif
}

}  // namespace
}  // namespace coastra

// Reports written during and after the time-step loop: the intermediate report
// at a print-out date, the yearly report (shoreline, waves and the transport
// volumes of the year), and the end-of-run reports (mean annual transports,
// last step, final and extreme shorelines, volume changes, total line).
// Routines: intermediate_report, yearly_report_due, yearly_report,
// end_reports_transport, end_reports_shoreline, write_total_volume_line, and
// the helpers declared in reports.h.

#include "output/reports.h"

#include <algorithm>
#include <string>

#include "output/bookkeeping.h"
#include "output/data_files.h"
#include "output/format.h"

namespace coastra {

namespace {

// Layouts of the report lines. Design note: headings made of several text items
// carry the blanks that separate their words and numbers in the text items
// themselves ("... TRANSPORT " + "(M3) FROM " + date + " TO " + date), so no
// word runs into the next or into an eight-digit date; a label given in two
// parts ("... (M3 PER GRID" and "CELL)") is written as one label with a blank.
constexpr std::string_view VOLUMES_10 = "(10F7.0)";
constexpr std::string_view WAVES_10 = "(10F7.2)";
constexpr std::string_view RATES_10 = "(10F7.2)";
constexpr std::string_view AFTER_STEPS = "(1X, A, I8, A, I8)";
constexpr std::string_view PERIOD_HEADING = "(2A, I8, A, I8)";
constexpr std::string_view YEARS_POSITION =
    "(/, 1X, 'SHORELINE POSITION ', A, ' AFTER ', I3, ' YEARS  =', I8, "
    "' TIME STEPS.  DATE IS ', I8)";
constexpr std::string_view YEARS_CHANGE =
    "(/, 1X, 'SHORELINE CHANGE ', A, ' AFTER ', I3, ' YEARS  =', I8, "
    "' TIME STEPS.  DATE IS ', I8)";
constexpr std::string_view YEARS_CONSOLE =
    "(/, 1X, 'CALCULATED ', I3, ' YEARS  =', I8, ' TIME STEPS.  DATE IS ', I8)";
constexpr std::string_view BREAKING_ANGLE =
    "(/, 1X, 'BREAKING WAVE ANGLE TO X-AXIS (Deg). DATE IS ', I8)";
constexpr std::string_view OFFSHORE_ANGLE =
    "(/, 1X, 'OFFSHORE WAVE ANGLE TO X-AXIS (Deg). DATE IS ', I8)";
constexpr std::string_view BREAKING_HEIGHT = "(/, 1X, 'BREAKING WAVE HEIGHT ', A, ' DATE IS ', I8)";
constexpr std::string_view OFFSHORE_HEIGHT = "(/, 1X, 'OFFSHORE WAVE HEIGHT ', A, ' DATE IS ', I8)";
constexpr std::string_view LAST_STEP = "(/, 1X, 'OUTPUT LAST TIMESTEP NO.', I8, ' DATE IS ', I8, /)";
constexpr std::string_view LAST_TRANSPORT_M3 =
    "(/, 1X, 'LONGSHORE TRANSPORT FOR LAST TIME STEP *100  (M3/SEC)', /)";
constexpr std::string_view LAST_TRANSPORT_YD3 =
    "(/, 1X, 'LONGSHORE TRANSPORT FOR LAST TIME STEP *100  (YARDS3/SEC)', /)";
constexpr std::string_view TOTAL_CHANGE =
    "(1X, 'CALCULATED TOTAL VOLUMETRIC CHANGE = ', 1PE14.4, A)";

constexpr std::string_view STARS_20 = "********************";
constexpr std::string_view STARS_63 =
    " ***************************************************************";
constexpr std::string_view WAVES_A =
    "   .-~~-.   .-~~-.   .-~~-.   .-~~-.   .-~~-.   .-~~-.   .-~~-.";
constexpr std::string_view WAVES_B =
    " ~~      ~~~      ~~~      ~~~      ~~~      ~~~      ~~~      ~~";

constexpr double THOUSANDS_LIMIT = 100000.0;  // largest gross volume printed in full
constexpr double RAD_TO_DEG = 180.0 / static_cast<double>(PI);
constexpr int UNIT_TEXT_LENGTH = 6;  // CSTUNITS is a 6-character text

// True when volumes are reported in cubic yards (a run in feet).
bool volumes_in_yards(const Settings& cfg) { return cfg.UNITSYS == 2; }

// The length unit as configured ("(ft)" or "(m)"). Design note: the setting is a
// 6-character text and is written as one, blank-padded, whether or not the
// configuration reader stored the padding.
std::string unit_text(const Settings& cfg) {
  std::string s = cfg.CSTUNITS;
  s.resize(UNIT_TEXT_LENGTH, ' ');
  return s;
}

// Unit part of a transport-volume heading.
std::string_view volume_unit_from(const Settings& cfg, bool thousands) {
  if (volumes_in_yards(cfg)) return thousands ? "(YARDS3/1000) FROM " : "(YARDS3) FROM ";
  return thousands ? "(M3/1000) FROM " : "(M3) FROM ";
}

// Per-wall volumes 1..NX+1 in the user's unit, optionally in thousands.
std::vector<double> wall_volumes(const Settings& cfg, const Vec1<double>& v, double factor) {
  std::vector<double> out;
  for (int i = 1; i <= cfg.NX + 1; ++i) out.push_back(v(i) * factor);
  return out;
}

// Largest gross volume of the period at a wall, in the user's volume unit.
double largest_gross(const Settings& cfg, const InputState& in, const OutputState& out) {
  double big = 0.0;
  for (int i = 1; i <= cfg.NX + 1; ++i) big = std::max(big, out.VGROSSP(i));
  return big / volume_divisor(in);
}

// One transport-volume block of a report period: heading from the previous
// yearly report to the current date, then the wall values.
// v is one of out's period volumes.
void period_block(const Settings& cfg, const InputState& in, const OutputState& out, RunState& run,
                  std::string_view label, const Vec1<double>& v, bool thousands) {
  std::ostream& p = *run.PRT;
  fwrite(p, PERIOD_HEADING, label, volume_unit_from(cfg, thousands), out.IREPDATE, " TO ",
         in.CURDATE);
  const double f = (thousands ? 0.001 : 1.0) / volume_divisor(in);
  write_list(p, VOLUMES_10, wall_volumes(cfg, v, f));
}

// The mean-annual files receive the period volumes of every report in full
// (their F16.0 field needs no thousands form). Like every data record they are
// labelled with the date at the end of the step, NEXTDATE.
void period_records(const Settings& cfg, const InputState& in, OutputState& out) {
  const double f = 1.0 / volume_divisor(in);
  write_volume_record(cfg, out, out.MQN, in.NEXTDATE, out.VNETP, f);
  write_volume_record(cfg, out, out.MQL, in.NEXTDATE, out.VLEFTP, f);
  write_volume_record(cfg, out, out.MQR, in.NEXTDATE, out.VRIGHTP, f);
}

// Volume change per cell and per unit length of beach.
void volume_change_blocks(const Settings& cfg, const InputState& in, const OutputState& out,
                          RunState& run) {
  std::ostream& p = *run.PRT;
  const double vdiv = volume_divisor(in);
  const double len = static_cast<double>(in.LENFAC);
  const std::string_view vol = volumes_in_yards(cfg) ? "CY" : "M3";
  const std::string_view lin = volumes_in_yards(cfg) ? "FT)" : "M)";
  std::vector<double> cell, perlen;
  for (int i = 1; i <= cfg.NX; ++i) {
    cell.push_back(out.VOLCELL(i) / vdiv);
    perlen.push_back(out.VOLLEN(i) * len / vdiv);
  }
  lwrite(p, "CALCULATED VOLUME CHANGE (", vol, " PER GRID CELL)");
  write_list(p, VALUES_10, cell);
  lwrite(p, "CALCULATED VOLUME CHANGE (", vol, " PER LINEAR ", lin);
  write_list(p, VALUES_10, perlen);
}

void total_line(const Settings& cfg, const InputState& in, const OutputState& out, RunState& run) {
  const std::string_view unit = volumes_in_yards(cfg) ? " (YARDS3)" : " (M3)";
  fwrite(*run.PRT, TOTAL_CHANGE, out.VOLTOT / volume_divisor(in), unit);
}

// Anniversaries of the start date passed by the current date. A date compare
// (not an equality test) so that a run whose clock never shows the exact
// anniversary (a start on 29 February, a time step longer than a day) still
// closes its years.
int completed_years(const Settings& cfg, const InputState& in) {
  int years = 0;
  while (in.CURDATE >= cfg.SIMDATS + (years + 1) * 10000) ++years;
  return years;
}

void console_decoration(std::ostream& c, bool before) {
  if (before) {
    c << WAVES_A << '\n' << WAVES_B << '\n' << STARS_63 << '\n';
  } else {
    c << STARS_63 << '\n' << WAVES_B << '\n' << WAVES_A << '\n';
  }
}

// Wave lists of the yearly report. Heights are in the unit of the wave input
// (the echo says "Wave heights input and reported in meters" for such runs).
void wave_lists(const Settings& cfg, const InputState& in, const WaveState& wv, RunState& run) {
  std::ostream& p = *run.PRT;
  const int nwall = cfg.NX + 1;
  const double hfac = static_cast<double>(cfg.WAVEFAC > 0.0F ? cfg.WAVEFAC : 1.0F);
  const std::string_view hunit = hfac < 0.5 ? "(FT)" : "(M)";
  std::vector<double> v(static_cast<std::size_t>(nwall));
  const auto fill = [&](auto f) {
    for (int i = 1; i <= nwall; ++i) v[static_cast<std::size_t>(i - 1)] = f(i);
  };
  fwrite(p, BREAKING_ANGLE, in.CURDATE);
  fill([&](int i) { return static_cast<double>(wv.THETABD(i)) * RAD_TO_DEG; });
  write_list(p, WAVES_10, v);
  fwrite(p, OFFSHORE_ANGLE, in.CURDATE);
  fill([&](int i) { return static_cast<double>(wv.ZRF(i)); });
  write_list(p, WAVES_10, v);
  fwrite(p, BREAKING_HEIGHT, hunit, in.CURDATE);
  fill([&](int i) { return static_cast<double>(wv.HBD(i)) / hfac; });
  write_list(p, WAVES_10, v);
  fwrite(p, OFFSHORE_HEIGHT, hunit, in.CURDATE);
  fill([&](int i) { return static_cast<double>(wv.HRF(i)) / hfac; });
  write_list(p, WAVES_10, v);
}

}  // namespace

// ---- helpers shared with the start-up reports ----

std::string_view length_label(const InputState& in) { return in.LENFAC < 0.5F ? "(FT)" : "(M)"; }

std::vector<double> baseline_positions(const Settings& cfg, const InputState& in,
                                       const Vec1<double>& y) {
  std::vector<double> out;
  const double len = static_cast<double>(in.LENFAC);
  for (int i = 1; i <= cfg.NX; ++i) out.push_back((static_cast<double>(in.YREG(i)) + y(i)) / len);
  return out;
}

void write_list(std::ostream& os, std::string_view layout, std::span<const double> v) {
  if (!v.empty()) fwrite(os, layout, v);
}

void empty_line(std::ostream& os) { os << '\n'; }

// ---- intermediate report ----

// Design note: the thousands form of an intermediate report follows the most
// recent yearly report. Before the first one there is none to follow; the
// report then applies the yearly rule to the volumes accumulated so far, so a
// large transport is not lost to asterisks in the F7.0 fields.
void intermediate_report(const Settings& cfg, const InputState& in, const TransportState& tr,
                         RunState& run, OutputState& out) {
  std::ostream& p = *run.PRT;
  // 1. Shoreline position.
  empty_line(p);
  const std::string heading = "SHORELINE POSITION " + std::string(length_label(in)) + " AFTER";
  fwrite(p, AFTER_STEPS, heading, run.ISTEP, " TIME STEPS. DATE IS ", in.CURDATE);
  write_list(p, VALUES_10, baseline_positions(cfg, in, tr.YSHORE));
  // 2. Transport since the previous yearly report, with its mean-annual records.
  const bool thousands =
      out.NYEARREP > 0 ? out.THOUSANDS : largest_gross(cfg, in, out) > THOUSANDS_LIMIT;
  period_block(cfg, in, out, run, " MEAN ANNUALIZED NET TRANSPORT ", out.VNETP, thousands);
  period_block(cfg, in, out, run, " MEAN ANNUALIZED TRANSPORT TO THE LEFT ", out.VLEFTP, thousands);
  period_block(cfg, in, out, run, " MEAN ANNUALIZED TRANSPORT TO THE RIGHT ", out.VRIGHTP,
               thousands);
  period_records(cfg, in, out);
  // 3. Volume changes; 4. the total line.
  volume_change_blocks(cfg, in, out, run);
  total_line(cfg, in, out, run);
  empty_line(p);
}

// ---- yearly report ----

// Design note: the anniversary test is "the current date has reached the next
// anniversary" rather than equality (see completed_years); on every run whose
// clock shows the anniversary date the two agree.
bool yearly_report_due(const Settings& cfg, const RunState& run, const InputState& in,
                       const OutputState& out) {
  // The last step always closes the period (ISTEP may pass NTS after a change of DT).
  if (in.NTS > 0 && run.ISTEP >= in.NTS) return true;
  if (run.STARTDAY) return false;
  return in.CURDATE >= cfg.SIMDATS + (out.NYEARS + 1) * 10000;
}

void yearly_report(const Settings& cfg, const InputState& in, const WaveState& wv,
                   const TransportState& tr, RunState& run, OutputState& out) {
  std::ostream& p = *run.PRT;
  const int years = std::max(completed_years(cfg, in), out.NYEARS);
  const std::string unit = unit_text(cfg);
  const double len = static_cast<double>(in.LENFAC);
  // 1.-2. Shoreline position and change since the start.
  fwrite(p, YEARS_POSITION, unit, years, run.ISTEP, in.CURDATE);
  write_list(p, VALUES_10, baseline_positions(cfg, in, tr.YSHORE));
  fwrite(p, YEARS_CHANGE, unit, years, run.ISTEP, in.CURDATE);
  std::vector<double> change;
  for (int i = 1; i <= cfg.NX; ++i) change.push_back((tr.YSHORE(i) - in.YINIT(i)) / len);
  write_list(p, VALUES_10, change);
  // 3. Progress on the console.
  std::ostream& c = *run.CON;
  console_decoration(c, true);
  fwrite(c, YEARS_CONSOLE, years, run.ISTEP, in.CURDATE);
  empty_line(c);
  console_decoration(c, false);
  // 4. Breaking and offshore waves of the step.
  wave_lists(cfg, in, wv, run);
  // 5. Transport volumes of the period, in thousands when the largest gross
  //    volume exceeds 100000. Design note: the test is made on the volume as
  //    printed (cubic yards in a run in feet), since the rule exists to keep the
  //    values inside their F7.0 fields.
  lwrite(p, STARS_20);
  const bool thousands = largest_gross(cfg, in, out) > THOUSANDS_LIMIT;
  period_block(cfg, in, out, run, " GROSS TRANSPORT VOLUME ", out.VGROSSP, thousands);
  period_block(cfg, in, out, run, " NET TRANSPORT VOLUME ", out.VNETP, thousands);
  period_block(cfg, in, out, run, " TRANSPORT VOLUME TO THE LEFT ", out.VLEFTP, thousands);
  period_block(cfg, in, out, run, " TRANSPORT VOLUME TO THE RIGHT ", out.VRIGHTP, thousands);
  period_records(cfg, in, out);
  // 6. A new period begins at this report.
  for (int i = 1; i <= cfg.NX + 1; ++i) {
    out.VGROSSP(i) = 0.0;
    out.VNETP(i) = 0.0;
    out.VLEFTP(i) = 0.0;
    out.VRIGHTP(i) = 0.0;
  }
  out.IREPDATE = in.CURDATE;
  out.THOUSANDS = thousands;
  out.NYEARS = years;
  ++out.NYEARREP;
}

// ---- end-of-run reports ----

void end_reports_transport(ModelState& m) {
  std::ostream& p = m.prt();
  const bool yd = volumes_in_yards(m.cfg);
  // 1. Mean annual transports (thousands) over the steps simulated.
  const double f = annual_factor(m.run(), m.input()) * 0.001 / volume_divisor(m.input());
  empty_line(p);
  lwrite(p, yd ? "MEAN NET ANNUAL TRANSPORT (YARDS3/1000)" : "MEAN NET ANNUAL TRANSPORT (M3/1000)");
  write_list(p, VOLUMES_10, wall_volumes(m.cfg, m.VNET, f));
  lwrite(p, yd ? "MEAN ANNUAL TRANSPORT TO THE LEFT (YARDS3/1000)"
               : "MEAN ANNUAL TRANSPORT TO THE LEFT (M3/1000)");
  write_list(p, VOLUMES_10, wall_volumes(m.cfg, m.VLEFT, f));
  lwrite(p, yd ? "MEAN ANNUAL TRANSPORT TO THE RIGHT (YARDS3/1000)"
               : "MEAN ANNUAL TRANSPORT TO THE RIGHT (M3/1000)");
  write_list(p, VOLUMES_10, wall_volumes(m.cfg, m.VRIGHT, f));
  // 2. The mean-annual records and the final periodic records.
  write_final_records(m);
  // 3. Last step; 4. the last offshore wave event.
  fwrite(p, LAST_STEP, m.ISTEP, m.CURDATE);
  lwrite(p, "OFFSHORE WAVE DATA INPUT:");
  const float hfac = m.cfg.WAVEFAC > 0.0F ? m.cfg.WAVEFAC : 1.0F;
  lwrite(p, "HZ =", m.HZ / hfac, "T =", m.TZ, "ZZ =", m.ZZDEG);
}

void end_reports_shoreline(const Settings& cfg, const InputState& in, const WaveState& wv,
                           const TransportState& tr, const OutputState& out, RunState& run) {
  std::ostream& p = *run.PRT;
  const int nx = cfg.NX;
  const std::string lab(length_label(in));
  // 6. Transport rate of the last step, x 100.
  fwrite(p, volumes_in_yards(cfg) ? LAST_TRANSPORT_YD3 : LAST_TRANSPORT_M3);
  std::vector<double> q;
  const double vdiv = volume_divisor(in);
  for (int i = 1; i <= nx + 1; ++i) q.push_back(100.0 * static_cast<double>(tr.QLS(i)) / vdiv);
  write_list(p, RATES_10, q);
  // 7. Final, seawardmost and landwardmost shorelines and the offshore contour.
  lwrite(p, "CALCULATED FINAL SHORELINE POSITION ", lab);
  write_list(p, VALUES_10, baseline_positions(cfg, in, tr.YSHORE));
  lwrite(p, "CALCULATED SEAWARDMOST SHORELINE POSITION ", lab);
  write_list(p, VALUES_10, baseline_positions(cfg, in, out.YMAX));
  lwrite(p, "CALCULATED LANDWARDMOST SHORELINE POSITION ", lab);
  write_list(p, VALUES_10, baseline_positions(cfg, in, out.YMIN));
  lwrite(p, "CALCULATED REPRESENTATIVE OFFSHORE CONTOUR POSITION ", lab);
  std::vector<double> off;
  for (int i = 1; i <= nx; ++i)
    off.push_back(static_cast<double>(wv.YSMOOTH(i) + in.YREG(i)) / static_cast<double>(in.LENFAC));
  write_list(p, VALUES_10, off);
  // 8. Transmission coefficients of breakwaters whose KT was computed. Design
  //    note: the average is over the values recorded (one per computation,
  //    record_kt), the span of the run over which KT was in force.
  const int ndb = std::min(cfg.NDB, MXDB);
  bool any_kt = false;
  for (int j = 1; j <= ndb; ++j) any_kt = any_kt || out.NKT(j) > 0;
  if (any_kt) {
    std::vector<float> avg, hi, lo;
    for (int j = 1; j <= ndb; ++j) {
      const int n = out.NKT(j);
      avg.push_back(n > 0 ? static_cast<float>(out.KTSUM(j) / n) : 0.0F);
      hi.push_back(out.KTMAX(j));
      lo.push_back(out.KTMIN(j));
    }
    lwrite(p, "DETACHED BREAKWATER KT STATISTICS:");
    lwrite(p, "AVG KT VALUE(S)  =", std::span<const float>(avg));
    lwrite(p, "MAX KT VALUE(S)  =", std::span<const float>(hi));
    lwrite(p, "MIN KT VALUE(S)  =", std::span<const float>(lo));
  }
  // 9. Wave records rejected as travelling offshore.
  if (wv.NOFFSHORE > 0) {
    for (std::ostream* os : {run.CON, &p}) {
      lwrite(*os, "WARNING: Wave Angle is greater than 90 deg         or less than -90 deg.");
      lwrite(*os, "Number of Occurrences :", wv.NOFFSHORE);
    }
  }
  // 10. Volume changes.
  volume_change_blocks(cfg, in, out, run);
}

void write_total_volume_line(const Settings& cfg, const InputState& in, const OutputState& out,
                             RunState& run) {
  total_line(cfg, in, out, run);
  lwrite(*run.PRT, "SIGN CONVENTION:  EROSION (-), ACCRETION (+)");
}

}  // namespace coastra

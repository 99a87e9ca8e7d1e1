// Test support: small coasts and data-file records.

#include "support/cases.h"

#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "support/run_helpers.h"

namespace coastra::test {

std::string cell_file(const std::vector<double>& values) {
  std::ostringstream os;
  os << "test data\nline 2\nline 3\nline 4\n";
  for (std::size_t i = 0; i < values.size(); ++i) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.4f", values[i]);
    os << buf << ((i % 10 == 9 || i + 1 == values.size()) ? "\n" : " ");
  }
  return os.str();
}

std::string base_config(int nx, double dx, int simdats, int simdate, double dt, double dtsave) {
  std::ostringstream os;
  os << "COASTRA:\n"
     << "TITLE: test coast\n"
     << "CSTUNITS: (m)\nWAVUNITS: (m)\n"
     << "PRFILE: run.out\n"
     << "INIFILE: shore.dat\n"
     << "NUMWAVES: 1\nWAVEID: 1 10.0 0 waves.dat\n"
     << "NX: " << nx << "\nDX: " << dx << "\n"
     << "SIMDATS: " << simdats << "\nSIMDATE: " << simdate << "\n"
     << "DT: " << dt << "\nDTSAVE: " << dtsave << "\n"
     << "K1: 0.5\nK2: 0.0\nHAMP: 1.0\nTHETAAMP: 1.0\nTHETADEL: 0.0\n"
     << "BERMHT: 2.0\nDCLOS: 8.0\nD50: 0.3\nGAMMA: 0.78\n"
     << "LBCTYPE: 0\nRBCTYPE: 0\n";
  return os.str();
}

std::vector<Record> read_records(const std::string& text) {
  std::vector<Record> out;
  const auto lines = lines_of(text);
  for (std::size_t n = 1; n < lines.size(); ++n) {
    std::istringstream is(lines[n]);
    Record r;
    is >> r.label;
    double v = 0.0;
    while (is >> v) r.values.push_back(v);
    out.push_back(r);
  }
  return out;
}

std::string six_hourly_waves(int days, int bad) {
  std::string waves;
  char line[64];
  for (int k = 0; k < 4 * days; ++k) {
    std::snprintf(line, sizeof line, "202001%02d %02d00 1.0 %s 10.0\n", k / 4 + 1, 6 * (k % 4),
                  k + 1 == bad ? "x" : "7.0");
    waves += line;
  }
  return waves;
}

double total_volume_change(const std::string& print_file) {
  const std::string key = "CALCULATED TOTAL VOLUMETRIC CHANGE = ";
  const auto at = print_file.rfind(key);
  if (at == std::string::npos) return 1e30;
  return std::strtod(print_file.c_str() + at + key.size(), nullptr);
}

std::vector<double> values_after(const std::string& text, const std::string& label) {
  std::vector<double> out;
  for (auto at = text.find(label); at != std::string::npos; at = text.find(label, at + 1))
    out.push_back(std::strtod(text.c_str() + at + label.size(), nullptr));
  return out;
}

}  // namespace coastra::test

// Tolerant comparison of program output (golden tests).

#include "support/compare.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>

#include "support/run_helpers.h"

namespace coastra::test {

namespace {

struct Field {
  std::string text;
  std::size_t end;  // column after the last character
};

std::vector<Field> fields_of(const std::string& line) {
  std::vector<Field> out;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && line[i] == ' ') ++i;
    const std::size_t start = i;
    while (i < line.size() && line[i] != ' ') ++i;
    if (i > start) out.push_back({line.substr(start, i - start), i});
  }
  return out;
}

// A real number as printed (123., -0.50, 0.1234E+05, 1.5D3); decimals is the
// number of digits after the point (for the last-digit tolerance).
bool parse_real(const std::string& s, double& v, int& decimals, bool& has_point) {
  std::string t = s;
  for (char& c : t)
    if (c == 'D' || c == 'd') c = 'E';
  char* end = nullptr;
  v = std::strtod(t.c_str(), &end);
  if (end == t.c_str() || *end != '\0') return false;
  const auto point = t.find('.');
  has_point = point != std::string::npos;
  decimals = 0;
  if (has_point) {
    std::size_t j = point + 1;
    while (j < t.size() && std::isdigit(static_cast<unsigned char>(t[j]))) ++j;
    decimals = static_cast<int>(j - point - 1);
    const auto e = t.find_first_of("Ee");
    if (e != std::string::npos) decimals -= std::atoi(t.c_str() + e + 1);  // scale by the exponent
  }
  return true;
}

std::string compare_fields(const Field& e, const Field& a, const Tolerance& tol) {
  if (e.end != a.end) return "field '" + a.text + "' ends in another column than '" + e.text + "'";
  if (e.text == a.text) return "";
  double ve = 0.0, va = 0.0;
  int de = 0, da = 0;
  bool pe = false, pa = false;
  if (parse_real(e.text, ve, de, pe) && parse_real(a.text, va, da, pa) && pe && pa) {
    const double unit = std::pow(10.0, -std::max(de, da));
    if (std::fabs(ve - va) <= std::max(tol.relative * std::fabs(ve), tol.last_digits * unit * 1.0001))
      return "";
    return "real '" + a.text + "' differs from expected '" + e.text + "'";
  }
  return "'" + a.text + "' differs from expected '" + e.text + "'";
}

}  // namespace

Tolerance read_tolerance(const std::string& path) {
  Tolerance tol;
  std::ifstream is(path);
  std::string line;
  while (std::getline(is, line)) {
    std::istringstream ls(line);
    std::string key;
    if (!(ls >> key)) continue;
    if (key[0] == '#') {   // a comment: the reason for the tolerance
      tol.reason += line.substr(line.find('#') + 1) + "\n";
      continue;
    }
    if (key == "relative") ls >> tol.relative;
    else if (key == "last_digits") ls >> tol.last_digits;
    else tol.unknown.push_back(key);
    if (ls.fail()) tol.unknown.push_back(key + " (no value)");
  }
  return tol;
}

std::string compare_output(const std::string& expected, const std::string& actual,
                           const Tolerance& tol) {
  const auto le = lines_of(expected), la = lines_of(actual);
  if (le.size() != la.size())
    return "line count " + std::to_string(la.size()) + " instead of " + std::to_string(le.size());
  for (std::size_t n = 0; n < le.size(); ++n) {
    const auto fe = fields_of(le[n]), fa = fields_of(la[n]);
    std::string why;
    if (fe.size() != fa.size()) why = "another number of fields";
    for (std::size_t k = 0; why.empty() && k < fe.size(); ++k) why = compare_fields(fe[k], fa[k], tol);
    if (!why.empty())
      return "line " + std::to_string(n + 1) + ": " + why + "\n  expected: " + le[n] +
             "\n  actual:   " + la[n];
  }
  return "";
}

}  // namespace coastra::test

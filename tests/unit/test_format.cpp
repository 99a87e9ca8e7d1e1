// The fixed-width formatting layer: one check per editing rule, layouts with
// repeat counts and reversion, and free-form lines.

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <random>
#include <stdexcept>
#include <cstring>
#include <string>
#include <vector>

#include "model/simd_path.h"
#include "output/format.h"
#include "support/simd_scope.h"

namespace coastra {
namespace {

// The text an editor appends to an empty buffer.
template <auto Edit, class... A>
std::string edited(A... a) {
  std::string s;
  Edit(s, a...);
  return s;
}
const auto I = edited<edit_i, long long, int>;
const auto F = edited<edit_f, double, int, int>;
const auto E = [](double v, int w, int d, int k = 0) { return edited<edit_e>(v, w, d, k); };
const auto A = edited<edit_a, std::string_view, int>;

// Values that test the digit generation: random magnitudes, floats widened,
// exact binary ties at the last printed digit (i/2^k), powers of ten and their
// neighbours, values that round up across a power of ten, zeros of both signs,
// tiny negatives that print as -0, huge values, subnormals and non-finite ones.
std::vector<double> probe_values() {
  std::mt19937_64 gen(20260613);
  std::uniform_real_distribution<double> unit(-1.0, 1.0);
  std::uniform_int_distribution<int> mag(-12, 16);
  std::vector<double> v = {0.0, -0.0, 1e-300, -1e-300, 4.9e-324, 1e300, -1.7976931348623157e308,
                           std::numeric_limits<double>::quiet_NaN(),
                           std::numeric_limits<double>::infinity(),
                           -std::numeric_limits<double>::infinity()};
  for (int p = -20; p <= 20; ++p) {
    const double t = std::pow(10.0, p);
    for (double x : {t, std::nextafter(t, 0.0), std::nextafter(t, 1e300), 9.5 * t / 10.0,
                     0.9999995 * t, 0.99999999999 * t})
      v.insert(v.end(), {x, -x});
  }
  for (int k = 1; k <= 12; ++k)
    for (int i = -300; i <= 300; i += 7) v.push_back(std::ldexp(static_cast<double>(i), -k) + (i % 3));
  for (int i = 0; i < 3000; ++i) {
    const double x = unit(gen) * std::pow(10.0, mag(gen));
    v.push_back(x);
    v.push_back(static_cast<double>(static_cast<float>(x)));
  }
  // The record fields scale by 10^d in double precision and correct the
  // product by its exact error. Cases where that matters: exact ties at d = 0
  // and d = 2 (k + 1/2, k + 1/8 ...) and their neighbours; (k + 1/2)/100 and
  // /1000, whose scaled products round to a tie while the exact ones lie just
  // off it; the ends of the scaled range (2^52 / 10^d); the switch between
  // short and long digit strings (10^8 after scaling); values that carry
  // into a new digit; tiny negatives; subnormals; a NaN with its sign set.
  const auto with_neighbours = [&v](double x) {
    for (double y : {x, std::nextafter(x, 0.0), std::nextafter(x, 1e300)}) v.insert(v.end(), {y, -y});
  };
  for (double t : {0.5, 1.5, 2.5, 0.125, 0.375, 2.675, 1e15 + 0.5, 4503599627370495.5, 4503599627370496.0,
                   2251799813685248.5, 45035996273704.955, 45035996273704.965, 999999.995, 99999999.5,
                   9.995, 0.995, 99999999999.995, 999999999999999.5, 9999999999999.5, 0.004, 0.005})
    with_neighbours(t);
  for (int d = 0; d <= 16; ++d) with_neighbours(std::ldexp(1.0, 52) / std::pow(10.0, d));
  for (int k = 0; k < 1000; ++k) {
    with_neighbours((k + 0.5) / 100.0);
    v.push_back((k + 0.5) / 1000.0);
    v.push_back(std::ldexp(2 * k + 1, -3) + k * 1000003.0);
  }
  for (double t : {4.9e-324, 2.2250738585072014e-308, 1e-310}) with_neighbours(t);
  v.push_back(-std::numeric_limits<double>::quiet_NaN());
  return v;
}

// The value of a printed field read back ("0.1235+100" has its E put back):
// two fields hold the same digits when they read back alike.
double read_back(std::string t) {
  const auto at = t.find_last_of("+-");
  if (at != std::string::npos && at > 0 && t.find_first_of("Ee") == std::string::npos &&
      t.find_first_not_of(' ') < at)
    t.insert(at, "E");
  return std::strtod(t.c_str(), nullptr);
}

TEST(EditF, DigitsAreTheCorrectlyRoundedOnesOfTheCLibraryOnManyValues) {
  // F fields that fit are printf's own text; E fields with every scale factor
  // the layouts allow carry printf's correctly rounded significant digits
  // (k > 0: d + 1 of them, else d + k). Non-finite words, stars and dropped
  // leading zeros are the rules of OneCasePerRule.
  const std::array<std::array<int, 2>, 8> fw = {{{14, 2}, {16, 0}, {11, 2}, {8, 3}, {5, 2}, {3, 1}, {40, 30}, {255, 255}}};
  const std::array<std::array<int, 3>, 6> ew = {{{14, 4, 0}, {14, 4, 1}, {14, 4, 2}, {12, 3, -2}, {25, 17, 1}, {40, 30, 0}}};
  const std::vector<double> xs = probe_values();
  char b[700];
  int checked = 0;
  for (double x : xs) {
    if (!std::isfinite(x)) continue;
    for (const auto& f : fw) {
      std::snprintf(b, sizeof b, "%#*.*f", f[0], f[1], x);
      const auto n = static_cast<int>(std::strlen(b));
      // Fits: printf's text; two columns too wide: asterisks (one too wide may drop a zero).
      const std::string want = n <= f[0] ? std::string(b) : std::string(static_cast<std::size_t>(f[0]), '*');
      if (n != f[0] + 1) {
        EXPECT_EQ(F(x, f[0], f[1]), want) << x;
      }
    }
    for (const auto& e : ew) {
      std::snprintf(b, sizeof b, "%.*e", e[2] > 0 ? e[1] : e[1] + e[2] - 1, x);
      const std::string t = E(x, e[0], e[1], e[2]);
      if (t.find('*') == std::string::npos) {
        EXPECT_EQ(read_back(t), std::strtod(b, nullptr)) << x << " " << t;
      }
    }
    // Free-form reals: 9 significant digits of a float, 17 of a double.
    const auto fl = static_cast<float>(x);
    std::snprintf(b, sizeof b, "%.8e", static_cast<double>(fl));
    EXPECT_EQ(std::strtod(lstr(fl).c_str(), nullptr), std::strtod(b, nullptr)) << x;
    std::snprintf(b, sizeof b, "%.16e", x);
    EXPECT_EQ(std::strtod(lstr(x).c_str(), nullptr), std::strtod(b, nullptr)) << x;
    checked += 16;
  }
  // A record's run of fields, written in place, is the fields one by one, on
  // every instruction-set path this processor runs.
  for (const auto& f : {std::array<int, 2>{14, 2}, {16, 0}, {14, 0}, {5, 2}, {3, 1}}) {
    std::string one = "lbl";
    for (double x : xs) one += F(x, f[0], f[1]);
    for (SimdPath p : {SimdPath::BASELINE, SimdPath::AVX2, SimdPath::AVX512}) {
      if (!simd_path_supported(p)) continue;
      const test::SimdPathScope scope(p);
      std::string run = "lbl";
      edit_f_fields(run, xs.data(), static_cast<int>(xs.size()), f[0], f[1]);
      ASSERT_EQ(run.size(), one.size());
      for (std::size_t k = 0; k < xs.size(); ++k) {
        const std::size_t at = 3 + k * static_cast<std::size_t>(f[0]);
        ASSERT_EQ(run.substr(at, static_cast<std::size_t>(f[0])), one.substr(at, static_cast<std::size_t>(f[0])))
            << xs[k] << " F" << f[0] << "." << f[1] << " " << simd_path_name(p);
      }
      checked += static_cast<int>(xs.size());
    }
  }
  for (long long i : {0LL, -1LL, 7LL, -2147483648LL, 9223372036854775807LL, -9223372036854775807LL - 1}) {
    std::snprintf(b, sizeof b, "%lld", i);
    EXPECT_EQ(I(i, 0), b);
    EXPECT_EQ(I(i, 24), std::string(24 - std::strlen(b), ' ') + b);
  }
  EXPECT_GT(checked, 100000);
}

// One case per editing rule; the printf comparison above covers the digits.
struct Case {
  std::string got, want;
};

void check(std::initializer_list<Case> cases) {
  int n = 0;
  for (const Case& c : cases) EXPECT_EQ(c.got, c.want) << "case " << n++;
}

TEST(Editors, OneCasePerRule) {
  const double inf = std::numeric_limits<double>::infinity();
  std::string iso;
  edit_iso_date(iso, 20200229);
  edit_iso_date(iso, 10101);   // year 1
  check({
      {I(-42, 5), "  -42"}, {I(-12345, 5), "*****"}, {I(-120, 0), "-120"},   // I0: as wide as the value
      {F(0.125, 5, 2), " 0.12"}, {F(0.375, 5, 2), " 0.38"},                 // ties to even
      {F(2.675, 5, 2), " 2.67"},                                            // binary value below the tie
      {F(-0.001, 11, 2), "      -0.00"}, {F(123.0, 7, 0), "   123."}, {F(0.5, 0, 2), "0.50"},
      {F(0.5, 3, 2), ".50"}, {F(-0.5, 4, 2), "-.50"}, {F(0.5, 2, 2), "**"},  // leading zero dropped, then stars
      {F(12345678901.25, 14, 2), "12345678901.25"}, {F(1.0e12, 14, 2), "**************"},
      {F(std::nan(""), 6, 2), " undef"}, {F(std::nan(""), 10, 2), " undefined"},
      {F(inf, 10, 2), "  infinite"}, {F(inf, 5, 2), "  inf"}, {F(-inf, 6, 2), "  -inf"},
      {F(-inf, 9, 2), "-infinite"}, {F(-inf, 0, 2), "-infinite"}, {F(std::nan(""), 2, 1), "**"},
      {E(std::nan(""), 10, 3), " undefined"},
      {E(12345.6, 12, 4), "  0.1235E+05"}, {E(12345.6, 14, 4, 1), "    1.2346E+04"},
      {E(12345.6, 12, 4, 2), "  12.346E+03"}, {E(9.99996, 10, 4), "0.1000E+02"},   // carry into the exponent
      {E(0.0, 10, 4, 1), "0.0000E+00"}, {E(1.2346e99, 10, 4), "0.1235+100"}, {E(1.5e-120, 11, 4), " 0.1500-119"},
      {E(-12345.6, 10, 4), "-.1235E+05"}, {E(12345.6, 9, 4, 1), "*********"},
      {A(" RUN: ", 4), " RUN"}, {A("ab", 6), "    ab"}, {A("abc", -1), "abc"}, {iso, "2020-02-290001-01-01"},
  });
}

TEST(Layout, EditsTextsRepeatsAndReversion) {
  std::array<float, 25> v{};
  for (int k = 0; k < 25; ++k) v[static_cast<std::size_t>(k)] = static_cast<float>(k + 1);
  const std::string ten = fstr("(10F11.2)", std::span<const float>(v));
  EXPECT_EQ(ten.size(), 3U * 111U - 55U);                  // 10 + 10 + 5 values, ten a line
  EXPECT_EQ(ten.substr(111, 11), "      11.00");
  EXPECT_EQ(fstr("(1X,10F11.2)", std::span<const float>(v)).substr(112, 12), "       11.00");  // 1X again
  check({
      {fstr("(/, 1X, 'AFTER ', I3, ' YEARS  =', I8)", 2, 730), "\n AFTER   2 YEARS  =     730\n"},
      {fstr("(1X, A4, 1X, A10)", " RUN: ", "abc"), "  RUN        abc\n"}, {fstr("(A, A2)", "xyz", "pqr"), "xyzpq\n"},
      {fstr("('It''s  a ', \"q\"\"d\", 2X, 'end')"), "It's  a q\"d  end\n"},
      {fstr("('A='I3 1X i2)", 5, 7), "A=  5  7\n"},                  // commas optional, any case
      {fstr("(2A, I8, A, I8)", "a", "b", 1, "c", 2), "ab       1c       2\n"},
      {fstr("(A, /, 2/, A)", "a", "b"), "a\n\n\nb\n"}, {fstr("('[', I0, ',', F0.1, ']')", 42, 2.25), "[42,2.2]\n"},
      // Items running out stop at the next data edit; nX alone writes no blanks.
      {fstr("(' N=', I3, ' M=', I3, ' END')", 5), " N=  5 M=\n"}, {fstr("(' N=', I3, ' END')", 5), " N=  5 END\n"},
      {fstr("(I3)"), "\n"}, {fstr("(A, 5X)", "ab"), "ab\n"},
      // Reversion to the last outer group; the scale factor holds for later E edits.
      {fstr("(1X, 'H', 2(I3))", 1, 2, 3, 4, 5), " H  1  2\n  3  4\n  5\n"},
      {fstr("(3(I4, F7.2))", 1, 1.5F, 2, 2.5F, 3, 3.5F), "   1   1.50   2   2.50   3   3.50\n"},
      {fstr("(2(1X, 2I2))", 1, 2, 3, 4), "  1 2  3 4\n"},
      {fstr("(1P, E11.3, F8.2)", 12345.6, 1.5), "  1.235E+04    1.50\n"},
      {fstr("(E11.3, 1PE11.3)", 12345.6, 12345.6, 12345.6), "  0.123E+05  1.235E+04\n  1.235E+04\n"},
  });
}

TEST(Layout, MisusedLayoutsAreProgrammingErrors) {
  for (const char* bad : {"(F8)", "(E0.3)", "(F300.2)", "(I5", "(Q5)", "(1X, 'OPEN)", "(4PE10.2)"})
    EXPECT_THROW(fstr(bad, 1.0), std::logic_error) << bad;
  EXPECT_THROW(fstr("(I5)", 1.5F), std::logic_error);
  EXPECT_THROW(fstr("(F8.2)", 3), std::logic_error);
  EXPECT_THROW(fstr("(A)", 3), std::logic_error);
  EXPECT_THROW(fstr("(A, ('x'))", "a", "b"), std::logic_error);  // no edit takes "b"
  EXPECT_THROW(fstr("(1X, I5)", "text"), std::logic_error);
}

TEST(FreeForm, NumbersAndTextsInListColumns) {
  check({
      {lstr(-1.5F), "  -1.50000000    \n"}, {lstr(0.5F), "  0.500000000    \n"}, {lstr(0.0F), "   0.00000000    \n"},
      {lstr(0.01F), "   9.99999978E-03\n"}, {lstr(123456789.0F), "   123456792.    \n"},
      {lstr(std::nanf("")), "        undefined\n"}, {lstr(1.5), "   1.5000000000000000     \n"},
      {lstr(0.01), "   1.0000000000000000E-002\n"}, {lstr(123456789012LL), " 123456789012\n"},
      {lstr("Please include a valid ", "file."), " Please include a valid file.\n"},
      {lstr("N =", 5, "m"), " N =          5 m\n"}, {lstr(1, 2), "           1          2\n"}, {lstr(), "\n"},
  });
}

}  // namespace
}  // namespace coastra

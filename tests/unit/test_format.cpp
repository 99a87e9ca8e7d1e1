// The fixed-width formatting layer: one check per editing rule, layouts with
// repeat counts and reversion, and free-form lines.

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <stdexcept>
#include <string>

#include "output/format.h"

namespace coastra {
namespace {

std::string I(long long v, int w) {
  std::string s;
  edit_i(s, v, w);
  return s;
}
std::string F(double v, int w, int d) {
  std::string s;
  edit_f(s, v, w, d);
  return s;
}
std::string E(double v, int w, int d, int k = 0) {
  std::string s;
  edit_e(s, v, w, d, k);
  return s;
}
std::string A(std::string_view t, int w) {
  std::string s;
  edit_a(s, t, w);
  return s;
}

TEST(EditI, RightAlignedOrAsterisks) {
  EXPECT_EQ(I(42, 5), "   42");
  EXPECT_EQ(I(-42, 5), "  -42");
  EXPECT_EQ(I(-1234, 5), "-1234");
  EXPECT_EQ(I(-12345, 5), "*****");
  EXPECT_EQ(I(123456, 5), "*****");
  EXPECT_EQ(I(0, 1), "0");
  EXPECT_EQ(I(-120, 0), "-120");  // I0: as wide as the value
  std::string s = "x";
  edit_i(s, 7, 3);
  EXPECT_EQ(s, "x  7");  // appends, keeps what the buffer held
}

TEST(EditF, RoundsTheBinaryValueAndKeepsTheSign) {
  EXPECT_EQ(F(0.125, 5, 2), " 0.12");   // tie, to even
  EXPECT_EQ(F(0.375, 5, 2), " 0.38");   // tie, to even
  EXPECT_EQ(F(2.675, 5, 2), " 2.67");   // binary value lies below the tie
  EXPECT_EQ(F(-0.001, 11, 2), "      -0.00");
  EXPECT_EQ(F(123.0, 7, 0), "   123.");
  EXPECT_EQ(F(static_cast<double>(0.1F), 12, 9), " 0.100000001");
  EXPECT_EQ(F(-3.14159, 8, 3), "  -3.142");
  EXPECT_EQ(F(0.5, 0, 2), "0.50");  // F0.d: as wide as the value
}

TEST(EditF, DropsTheLeadingZeroBeforeAsterisks) {
  EXPECT_EQ(F(0.5, 4, 2), "0.50");
  EXPECT_EQ(F(0.5, 3, 2), ".50");
  EXPECT_EQ(F(-0.5, 4, 2), "-.50");
  EXPECT_EQ(F(0.5, 2, 2), "**");
  EXPECT_EQ(F(12.5, 4, 2), "****");
  EXPECT_EQ(F(1234567.891, 14, 2), "    1234567.89");
  EXPECT_EQ(F(12345678901.25, 14, 2), "12345678901.25");
  EXPECT_EQ(F(1.0e12, 14, 2), "**************");
  EXPECT_EQ(F(1.0e300, 16, 0), "****************");
}

TEST(EditF, NonFiniteValuesAreNamed) {
  const double inf = std::numeric_limits<double>::infinity();
  EXPECT_EQ(F(std::nan(""), 6, 2), "   NaN");
  EXPECT_EQ(F(inf, 10, 2), "  Infinity");
  EXPECT_EQ(F(inf, 5, 2), "  Inf");
  EXPECT_EQ(F(-inf, 6, 2), "  -Inf");
  EXPECT_EQ(F(-inf, 9, 2), "-Infinity");
  EXPECT_EQ(F(std::nan(""), 2, 1), "**");
  EXPECT_EQ(F(-inf, 0, 2), "-Infinity");
  EXPECT_EQ(E(std::nan(""), 10, 3), "       NaN");
}

TEST(EditE, MantissaExponentAndScale) {
  EXPECT_EQ(E(12345.6, 12, 4), "  0.1235E+05");
  EXPECT_EQ(E(12345.6, 14, 4, 1), "    1.2346E+04");
  EXPECT_EQ(E(12345.6, 12, 4, 2), "  12.346E+03");
  EXPECT_EQ(E(0.001, 10, 4), "0.1000E-02");
  EXPECT_EQ(E(9.99996, 10, 4), "0.1000E+02");  // rounding carries into the exponent
  EXPECT_EQ(E(-0.5, 10, 3, 1), "-5.000E-01");
  EXPECT_EQ(E(0.0, 10, 4), "0.0000E+00");
  EXPECT_EQ(E(0.0, 10, 4, 1), "0.0000E+00");
}

TEST(EditE, WideExponentsNegativesAndOverflow) {
  EXPECT_EQ(E(1.2346e99, 10, 4), "0.1235+100");
  EXPECT_EQ(E(1.5e-120, 11, 4), " 0.1500-119");
  EXPECT_EQ(E(-12345.6, 11, 4), "-0.1235E+05");
  EXPECT_EQ(E(-12345.6, 10, 4), "-.1235E+05");
  EXPECT_EQ(E(-12345.6, 9, 4), "*********");
  EXPECT_EQ(E(12345.6, 9, 4, 1), "*********");
}

TEST(EditA, CutsOrRightAligns) {
  EXPECT_EQ(A(" RUN: ", 4), " RUN");
  EXPECT_EQ(A("ab", 6), "    ab");
  EXPECT_EQ(A("abc", -1), "abc");
  EXPECT_EQ(fstr("(A, A2)", "xyz", "pqr"), "xyzpq\n");
}

TEST(Layout, TextsIntegersAndEmptyFirstRecord) {
  EXPECT_EQ(fstr("(/, 1X, 'SHORELINE POSITION ', A, ' AFTER ', I3, ' YEARS  =', I8,"
                 " ' TIME STEPS.  DATE IS ', I8)",
                 "X", 2, 730, 20010101),
            "\n SHORELINE POSITION X AFTER   2 YEARS  =     730 TIME STEPS.  DATE IS 20010101\n");
  EXPECT_EQ(fstr("(1X, A4, 1X, A10)", " RUN: ", "abc"), "  RUN        abc\n");
  EXPECT_EQ(fstr("('It''s  a ', \"q\"\"d\", 2X, 'end')"), "It's  a q\"d  end\n");
  EXPECT_EQ(fstr("('A='I3 1X i2)", 5, 7), "A=  5  7\n");  // commas optional, any case
  EXPECT_EQ(fstr("(2A, I8, A, I8)", "a", "b", 1, "c", 2), "ab       1c       2\n");
  EXPECT_EQ(fstr("(A, /, 2/, A)", "a", "b"), "a\n\n\nb\n");
  EXPECT_EQ(fstr("('[', I0, ',', F0.1, ']')", 42, 2.25), "[42,2.2]\n");
}

TEST(Layout, ItemsRunningOutStopAtTheNextDataEdit) {
  EXPECT_EQ(fstr("(' N=', I3, ' M=', I3, ' END')", 5), " N=  5 M=\n");
  EXPECT_EQ(fstr("(' N=', I3, ' END')", 5), " N=  5 END\n");
  EXPECT_EQ(fstr("(I3)"), "\n");
  EXPECT_EQ(fstr("(A, 5X)", "ab"), "ab\n");   // nX alone writes no trailing blanks
  EXPECT_EQ(fstr("(1X, I3)"), "\n");
}

TEST(Layout, RevertsToTheLastOuterGroupForLeftoverItems) {
  std::array<float, 25> v{};
  for (int k = 0; k < 25; ++k) v[static_cast<std::size_t>(k)] = static_cast<float>(k + 1);
  const std::string ten = fstr("(10F11.2)", std::span<const float>(v));
  EXPECT_EQ(ten.substr(0, 22), "       1.00       2.00");
  EXPECT_EQ(ten.find('\n'), 110U);                       // ten values a line
  EXPECT_EQ(ten.substr(111, 11), "      11.00");
  EXPECT_EQ(ten.size(), 110U + 1U + 110U + 1U + 55U + 1U);  // 10 + 10 + 5
  EXPECT_EQ(ten.substr(ten.size() - 12), "      25.00\n");
  const std::string blank_first = fstr("(1X,10F11.2)", std::span<const float>(v));
  EXPECT_EQ(blank_first.substr(112, 12), "       11.00");  // each record restarts with 1X
  EXPECT_EQ(fstr("(1X, 'H', 2(I3))", 1, 2, 3, 4, 5), " H  1  2\n  3  4\n  5\n");
  EXPECT_EQ(fstr("(3(I4, F7.2))", 1, 1.5F, 2, 2.5F, 3, 3.5F),
            "   1   1.50   2   2.50   3   3.50\n");
  EXPECT_EQ(fstr("(2(1X, 2I2))", 1, 2, 3, 4), "  1 2  3 4\n");
}

TEST(Layout, ScaleFactorHoldsForLaterEEditsOnly) {
  EXPECT_EQ(fstr("(1P, E11.3, F8.2)", 12345.6, 1.5), "  1.235E+04    1.50\n");
  EXPECT_EQ(fstr("(E11.3, 1PE11.3)", 12345.6, 12345.6, 12345.6),
            "  0.123E+05  1.235E+04\n  1.235E+04\n");  // reversion keeps 1P
}

TEST(Layout, MisusedLayoutsAreProgrammingErrors) {
  EXPECT_THROW(fstr("(I5)", "text"), std::logic_error);
  EXPECT_THROW(fstr("(I5)", 1.5F), std::logic_error);
  EXPECT_THROW(fstr("(F8.2)", 3), std::logic_error);
  EXPECT_THROW(fstr("(A)", 3), std::logic_error);
  EXPECT_THROW(fstr("(I5", 1), std::logic_error);
  EXPECT_THROW(fstr("(Q5)", 1), std::logic_error);
  EXPECT_THROW(fstr("(1X, 'OPEN)"), std::logic_error);
  for (const char* bad : {"(F8)", "(E0.3)", "(F300.2)"}) EXPECT_THROW(fstr(bad, 1.0), std::logic_error) << bad;
  EXPECT_THROW(fstr("(A, ('x'))", "a", "b"), std::logic_error);  // no edit takes "b"
  EXPECT_THROW(fstr("(4PE10.2)", 1.0), std::logic_error);  // k > d + 1
  try {
    fstr("(1X, I5)", "text");
    ADD_FAILURE() << "no exception";
  } catch (const std::logic_error& e) {
    EXPECT_EQ(std::string(e.what()), "item does not fit its edit descriptor in layout (1X, I5)");
  }
}

TEST(FreeForm, NumbersInListColumns) {
  EXPECT_EQ(lstr(1.5F), "   1.50000000    \n");
  EXPECT_EQ(lstr(-1.5F), "  -1.50000000    \n");
  EXPECT_EQ(lstr(0.5F), "  0.500000000    \n");
  EXPECT_EQ(lstr(0.0F), "   0.00000000    \n");
  EXPECT_EQ(lstr(0.01F), "   9.99999978E-03\n");
  EXPECT_EQ(lstr(1.0e9F), "   1.00000000E+09\n");
  EXPECT_EQ(lstr(123456789.0F), "   123456792.    \n");
  EXPECT_EQ(lstr(std::nanf("")), "              NaN\n");
  EXPECT_EQ(lstr(1.5), "   1.5000000000000000     \n");
  EXPECT_EQ(lstr(0.01), "   1.0000000000000000E-002\n");
  EXPECT_EQ(lstr(5), "           5\n");
  EXPECT_EQ(lstr(123456789012LL), " 123456789012\n");
}

TEST(FreeForm, TextsJoinAndFollowNumbersAfterABlank) {
  EXPECT_EQ(lstr("Please include a valid ", "file."), " Please include a valid file.\n");
  EXPECT_EQ(lstr("N =", 5, "m"), " N =          5 m\n");
  EXPECT_EQ(lstr(1, 2), "           1          2\n");
  EXPECT_EQ(lstr(), "\n");
  // A message that begins with its own blank is not indented a second time.
  EXPECT_EQ(lstr(" --> Cannot find the input file= ", "a.cfg"),
            " --> Cannot find the input file= a.cfg\n");
  EXPECT_EQ(lstr(" ERROR. TOO MANY SHORELINE CELLS."), " ERROR. TOO MANY SHORELINE CELLS.\n");
}

TEST(Format, IsoDatesKeepTheirLeadingZeros) {
  std::string s;
  edit_iso_date(s, 20200229);
  s += ' ';
  edit_iso_date(s, 10101);   // year 1
  EXPECT_EQ(s, "2020-02-29 0001-01-01");
}

}  // namespace
}  // namespace coastra

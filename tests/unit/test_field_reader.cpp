// The field readers: free-format items, the 8-character integer field, the
// logical field, file names and bounded text records.

#include <gtest/gtest.h>

#include <array>
#include <sstream>
#include <utility>

#include "input/field_reader.h"

namespace coastra {
namespace {

TEST(FreeFormat, RealsTakeFortranFormsAndLeaveUnreadPlaces) {
  float v[6] = {9.0F, 9.0F, 9.0F, 9.0F, 9.0F, 9.0F};
  bool bad = false;
  EXPECT_EQ(read_reals("1.5, 2 3.25D1,,-4e-1\t+.5", v, 5, bad), 5);
  const float want[6] = {1.5F, 2.0F, 32.5F, -0.4F, 0.5F, 9.0F};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(v[i], want[i]) << i;
  EXPECT_EQ(read_reals("7 8", v, 4, bad), 2);  // the rest keep their values
  EXPECT_EQ(v[2], 32.5F);
  EXPECT_EQ(read_reals("1 2 words", v, 2, bad), 2);  // items after the n-th are not read
  EXPECT_EQ(read_reals("1e-60", v, 1, bad), 1);      // too small for a float: zero
  EXPECT_EQ(v[0], 0.0F);
  double d = 0.0;
  EXPECT_EQ(read_doubles("0.1", &d, 1, bad), 1);
  EXPECT_EQ(d, 0.1);  // read in double precision, not widened from a float
  EXPECT_FALSE(bad);
  EXPECT_EQ(read_reals("1.5 abc 3", v, 3, bad), 1);  // reading ends at a bad item
  EXPECT_TRUE(bad);
  EXPECT_EQ(v[1], 2.0F);  // unchanged
  for (const char* text : {"inf", "nan", "1.5E", "E3", "1.2.3", "'5'", "1e39", "--1", "."}) {
    bad = false;
    EXPECT_EQ(read_reals(text, v, 1, bad), 0) << text;
    EXPECT_TRUE(bad) << text;
  }
}

TEST(FreeFormat, IntegersRejectPointsAndExponents) {
  int v[3] = {0, 0, 0};
  bool bad = false;
  EXPECT_EQ(read_ints("+7, -12 30", v, 3, bad), 3);
  EXPECT_EQ((std::array{v[0], v[1], v[2]}), (std::array{7, -12, 30}));
  EXPECT_FALSE(bad);
  for (const char* text : {"5.", "1e3", "2147483648", "+-3", "0x10", "12a"}) {
    bad = false;
    EXPECT_EQ(read_ints(text, v, 1, bad), 0) << text;
    EXPECT_TRUE(bad) << text;
  }
}

TEST(FreeFormat, NextItemUnquotesNames) {
  const std::string_view text = " 3, 'my wave.dat' \"a,b\" plain 'open";
  std::size_t pos = 0;
  std::string_view item;
  for (const char* want : {"3", "my wave.dat", "a,b", "plain", "open"}) {
    ASSERT_TRUE(next_item(text, pos, item));
    EXPECT_EQ(item, want);
  }
  EXPECT_FALSE(next_item(text, pos, item));
}

TEST(FixedFields, Int8LogicalAndFileName) {
  int v = -1;
  for (const auto& [text, want] : {std::pair<const char*, int>{"2001010112", 20010101},
                                   {"5       comment", 5}, {" - 1 2", -12}, {"        ", 0}}) {
    EXPECT_TRUE(read_int8(text, v)) << text;
    EXPECT_EQ(v, want) << text;
  }
  for (const char* text : {"5 groin", "5.", "-", "12-3", "x"}) EXPECT_FALSE(read_int8(text, v));
  EXPECT_EQ(v, 0);  // unchanged by a rejected field

  bool b = false;
  for (const char* text : {"T", ".TRUE.", "  .t", "      T"}) {
    EXPECT_TRUE(read_logical(text, b) && b) << text;
    b = false;
  }
  for (const char* text : {"F", ".false.", "f junk"}) {
    b = true;
    EXPECT_TRUE(read_logical(text, b) && !b) << text;
  }
  for (const char* text : {"yes", "1", "       T", "..T"}) EXPECT_FALSE(read_logical(text, b));

  EXPECT_EQ(file_name("my shore.dat   "), "my shore.dat");
  EXPECT_EQ(file_name("\"my shore.dat\" comment"), "my shore.dat");
  EXPECT_EQ(file_name("\"unclosed name.dat"), "unclosed name.dat");
  EXPECT_EQ(file_name("'single.dat'"), "'single.dat'");  // only a double quote is special
}

TEST(FixedFields, RecordsAreCutReportedAndLoseTheirCarriageReturn) {
  // 301 characters: cut at 255 and reported; 255 + CR: whole, not reported.
  std::istringstream in(std::string(300, 'a') + "b\r\n" + std::string(255, 'c') +
                        "\r\nshort\r\n\nlast");
  std::string line;
  bool cut = false;
  const std::pair<std::string, bool> want[] = {{std::string(255, 'a'), true},
                                               {std::string(255, 'c'), false},
                                               {"short", false},
                                               {"", false},
                                               {"last", false}};
  for (const auto& [text, was_cut] : want) {
    ASSERT_TRUE(read_record(in, line, 255, cut));
    EXPECT_EQ(line, text);
    EXPECT_EQ(cut, was_cut) << text.substr(0, 5);
  }
  EXPECT_FALSE(read_record(in, line, 255, cut));
}

}  // namespace
}  // namespace coastra

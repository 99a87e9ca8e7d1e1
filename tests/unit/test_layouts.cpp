// Every named output layout of the program goes through the layout interpreter.
// The layouts are found by scanning the sources for constants such as
// `constexpr std::string_view NAME = "(...)"` and for literals given straight
// to fwrite (adjacent literals joined), so a layout moved between files is
// still checked; each gets one item of the kind its data edits take.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "output/format.h"

namespace coastra {
namespace {

namespace fs = std::filesystem;

struct NamedLayout {
  std::string where;    // file:name
  std::string layout;   // the text, adjacent literals joined
};

// The layouts in the sources below src/: named constants (string_view, const
// char* or char[]) and literals given straight to fwrite/fstr whose value opens
// with a parenthesis; a label such as "(M3) FROM " is neither.
std::vector<NamedLayout> scan_layouts() {
  static const std::regex decl(
      R"re((?:string_view\s+|char\s*\*\s*|char\s+)([A-Z][A-Z0-9_]*)(?:\[\])?\s*=\s*((?:\s*"(?:[^"\\]|\\.)*")+)\s*;)re"
      R"re(|(fwrite|fstr)\([^,;()]*,\s*((?:\s*"(?:[^"\\]|\\.)*")+))re");
  static const std::regex literal(R"re("((?:[^"\\]|\\.)*)")re");
  std::vector<NamedLayout> out;
  for (const auto& e : fs::recursive_directory_iterator(fs::path(COASTRA_SOURCE_DIR) / "src")) {
    const auto ext = e.path().extension();
    if (ext != ".cpp" && ext != ".h") continue;
    std::ifstream is(e.path());
    std::stringstream ss;
    ss << is.rdbuf();
    const std::string text = ss.str();
    for (std::sregex_iterator d(text.begin(), text.end(), decl), end; d != end; ++d) {
      std::string value;
      const bool named = (*d)[1].matched;
      const std::string lits = named ? (*d)[2] : (*d)[4];
      for (std::sregex_iterator l(lits.begin(), lits.end(), literal); l != end; ++l) value += (*l)[1];
      if (!value.empty() && value.front() == '(')
        out.push_back({e.path().filename().string() + ":" + std::string(named ? (*d)[1] : (*d)[3]), value});
    }
  }
  return out;
}

// One dummy item per data edit of a layout, in order, by a lenient reading that
// never fails (the interpreter is the judge): I takes an integer, F, E, D and G
// a real, A a text; quoted text, nX, kP and / take none. Group repeat counts are
// honoured so a later reversion cannot hide a descriptor.
void items_of(std::string_view s, std::size_t& pos, std::vector<FmtItem>& items) {
  while (pos < s.size()) {
    char c = s[pos];
    if (c == ')') {
      ++pos;
      return;
    }
    if (c == '\'' || c == '"') {
      for (++pos; pos < s.size() && s[pos] != c; ++pos) {}
      ++pos;
      continue;
    }
    int count = 0;
    while (pos < s.size() && std::isdigit(static_cast<unsigned char>(s[pos])))
      count = count * 10 + (s[pos++] - '0');
    if (pos >= s.size()) return;
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(s[pos++])));
    const int rep = count > 0 ? count : 1;
    if (c == '(') {
      const std::size_t start = pos;
      for (int k = 0; k < rep; ++k) {
        pos = start;
        items_of(s, pos, items);
      }
    } else if (c == 'I') {
      items.insert(items.end(), static_cast<std::size_t>(rep), FmtItem{FmtItem::Int, 7, 0.0, {}});
    } else if (c == 'F' || c == 'E' || c == 'D' || c == 'G') {
      items.insert(items.end(), static_cast<std::size_t>(rep), FmtItem{FmtItem::Real, 0, 1.5, {}});
    } else if (c == 'A') {
      items.insert(items.end(), static_cast<std::size_t>(rep), FmtItem{FmtItem::Text, 0, 0.0, "txt"});
    }
    while (pos < s.size() && (std::isdigit(static_cast<unsigned char>(s[pos])) || s[pos] == '.')) ++pos;
  }
}

TEST(OutputLayouts, EveryNamedLayoutEditsItsItems) {
  const auto layouts = scan_layouts();
  // Some 30 layouts are declared today; far fewer means the scan broke.
  EXPECT_GE(layouts.size(), 20U);
  for (const auto& l : layouts) {
    std::vector<FmtItem> items;
    std::size_t pos = 1;   // after the opening '('
    items_of(l.layout, pos, items);
    std::string out;
    EXPECT_NO_THROW(out = format_items(l.layout, items)) << l.where << " " << l.layout;
    // Exactly one pass of the layout: no data edit left without an item, none
    // taken twice (a reversion would add a record the layout does not have).
    const std::size_t records = static_cast<std::size_t>(std::count(out.begin(), out.end(), '\n'));
    const std::size_t slashes = static_cast<std::size_t>(std::count(l.layout.begin(), l.layout.end(), '/'));
    EXPECT_LE(records, slashes + 1) << l.where << " " << l.layout;
  }
}

}  // namespace
}  // namespace coastra

// Checks of the configuration's lines that catch a mistake the reader would
// take quietly (unknown keywords, missing colons, decimal commas, surplus
// values), the nearest key of a misspelt word and the one way such a finding
// is reported.
//   nearest_key, lint_key_shape, lint_value, config_warning, eight_digits
//
// Design note: a line that names no key stays a note, as it always was, so
// every configuration with comments keeps running; what changes is that a
// line which looks like a key line (a word of letters, digits and '_' from
// column 1, then a colon) and names no key, or starts with a key but has no
// colon, is named with its line number: a misspelt key otherwise leaves its
// setting at 0 or its default without a word. --strict makes every such
// warning a refusal, for scripted runs that must not go on after one.

#include "input/config_lint.h"

#include <algorithm>
#include <array>

#include "input/field_reader.h"
#include "model/error_stop.h"
#include "output/format.h"

namespace coastra {

namespace {

bool word_char(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}
bool is_digit(char c) { return c >= '0' && c <= '9'; }

std::string upper(std::string_view s) {
  std::string t(s);
  for (char& ch : t)
    if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 'a' + 'A');
  return t;
}

// Edits between a and b, a swap of two neighbours counting as one (optimal
// string alignment distance). Keys are at most 15 characters.
int edit_distance(std::string_view a, std::string_view b) {
  constexpr std::size_t N = 17;
  if (a.size() >= N || b.size() >= N) return 99;
  std::array<std::array<int, N>, N> d{};
  for (std::size_t i = 0; i <= a.size(); ++i) d[i][0] = static_cast<int>(i);
  for (std::size_t j = 0; j <= b.size(); ++j) d[0][j] = static_cast<int>(j);
  for (std::size_t i = 1; i <= a.size(); ++i) {
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const int cost = a[i - 1] == b[j - 1] ? 0 : 1;
      d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + cost});
      if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
        d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
    }
  }
  return d[a.size()][b.size()];
}

bool is_key(const std::string& word) { return word == "COASTRA" || find_key(word) >= 0; }

std::string line_text(int number) {
  std::string t = "Configuration line ";
  edit_i(t, number, 0);
  return t + ": ";
}

// Items after the first that read as numbers.
int surplus_numbers(std::string_view rest) {
  std::size_t pos = 0;
  std::string_view item;
  int n = 0;
  float f = 0.0F;
  while (next_item(rest, pos, item))
    if (parse_real(item, f)) ++n;
  return n;
}

}  // namespace

std::string nearest_key(std::string_view word) {
  const std::string w = upper(word);
  const int limit = w.size() <= 4 ? 1 : 2;
  std::string best;
  int best_d = limit + 1;
  auto consider = [&](std::string_view key) {
    const int d = edit_distance(w, key);
    if (d < best_d) {   // the first key of the table wins a tie
      best_d = d;
      best = std::string(key);
    }
  };
  consider("COASTRA");
  for (int k = 0; k < config_key_count(); ++k) consider(config_key(k).key);
  return best;
}

void config_warning(RunState& run, const std::string& text) {
  if (run.STRICT) error_stop(text);
  lwrite(*run.CON, "WARNING. ", text);
  lwrite(*run.PRT, "WARNING. ", text);
}

void lint_key_shape(RunState& run, int number, std::string_view raw) {
  std::size_t n = 0;
  while (n < raw.size() && word_char(raw[n])) ++n;
  if (n == 0) return;   // blank, indented or a note that starts with a sign
  const std::string word = upper(raw.substr(0, n));
  std::size_t after = n;
  while (after < raw.size() && (raw[after] == ' ' || raw[after] == '\t')) ++after;
  const bool colon = after < raw.size() && raw[after] == ':';
  if (colon) {
    if (is_key(word)) return;
    std::string t = line_text(number) + word + " is no key, line ignored";
    const std::string near = nearest_key(word);
    if (!near.empty()) t += " (" + near + "?)";
    config_warning(run, t);
    return;
  }
  // A key followed by a blank, '=' or the end of the line: the colon is missing
  // (a word that merely begins like a key, "DXFILE2", is no key).
  const bool ends_word = n == raw.size() || raw[n] == ' ' || raw[n] == '\t' || raw[n] == '=';
  if (ends_word && is_key(word))
    config_warning(run, line_text(number) + word + " without its colon, line ignored");
}

void lint_value(RunState& run, int number, const KeySpec& ks, std::string_view value) {
  if (ks.kind == Kind::SPECIAL || ks.kind == Kind::LOGICAL) return;
  // 1. A comma between two digits: "80,5" is two values, 80 and 5.
  for (std::size_t i = 1; i + 1 < value.size(); ++i) {
    if (value[i] != ',' || !is_digit(value[i - 1]) || !is_digit(value[i + 1])) continue;
    std::size_t a = i, b = i + 1;
    while (a > 0 && (is_digit(value[a - 1]) || value[a - 1] == '.' || value[a - 1] == ','))
      --a;
    while (b < value.size() && (is_digit(value[b]) || value[b] == '.' || value[b] == ',')) ++b;
    config_warning(run, line_text(number) + std::string(ks.key) + " " +
                          std::string(value.substr(a, std::min<std::size_t>(b - a, 16))) +
                          " read as separate values (a comma separates values)");
    return;
  }
  // 2. A key that reads one value, given more numbers: the rest is dropped.
  // (DX reads a list but uses its first value alone, DXFILE giving the others.)
  int extra = 0;
  if (ks.kind == Kind::INT8) {
    if (value.size() > 8) extra = surplus_numbers(value.substr(8));
  } else if (ks.kind == Kind::INT || ks.kind == Kind::REAL || ks.kind == Kind::DOUBLE ||
             ks.key == "DX") {
    std::size_t pos = 0;
    std::string_view item;
    if (next_item(value, pos, item)) extra = surplus_numbers(value.substr(pos));
  }
  if (extra > 0) {
    std::string t = line_text(number) + std::string(ks.key) + " holds ";
    edit_i(t, extra + 1, 0);
    config_warning(run, t + " values; only the first is read");
  }
}

bool eight_digits(std::string_view value) {
  std::size_t pos = 0;
  std::string_view item;
  if (!next_item(value, pos, item) || item.size() != 8) return false;
  return std::all_of(item.begin(), item.end(), is_digit);
}

}  // namespace coastra

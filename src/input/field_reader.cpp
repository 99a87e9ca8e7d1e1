// Field readers for the text inputs: free-format items (reals, doubles,
// integers, quoted names), the fixed 8-character integer field, the logical
// field and file-name values.
//   next_item, parse_int, parse_real, parse_double   one free-format item
//   read_reals, read_doubles, read_ints              up to n items of a line
//   read_int8, read_logical, file_name               the fixed fields
//   read_record                                      one text line of bounded length

#include "input/field_reader.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstddef>
#include <system_error>

namespace coastra {

namespace {

// Design note: items are separated by blanks, commas or tabs (a tab is how many
// editors align columns); a carriage return or newline left at the end of a
// record read from a DOS-style file also separates. Consecutive separators count
// as one, so an empty place between two commas is not a value.
bool is_separator(char c) { return c == ' ' || c == ',' || c == '\t' || c == '\r' || c == '\n'; }

bool is_blank(char c) { return c == ' ' || c == '\t'; }

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// The next item and whether it was quoted. A quoted item runs from its opening
// quote (single or double) to the matching one, or to the end of the text when
// the quote is never closed.
bool next_item_quoted(std::string_view text, std::size_t& pos, std::string_view& item,
                      bool& quoted) {
  while (pos < text.size() && is_separator(text[pos])) ++pos;
  if (pos >= text.size()) return false;
  const char q = text[pos];
  if (q == '\'' || q == '"') {
    const std::size_t start = pos + 1;
    std::size_t end = text.find(q, start);
    if (end == std::string_view::npos) end = text.size();
    item = text.substr(start, end - start);
    pos = end < text.size() ? end + 1 : end;
    quoted = true;
    return true;
  }
  const std::size_t start = pos;
  while (pos < text.size() && !is_separator(text[pos])) ++pos;
  item = text.substr(start, pos - start);
  quoted = false;
  return true;
}

// A real number as written in the inputs: optional sign, digits with at most
// one decimal point (at least one digit), optional exponent E, e, D or d with
// an optional sign and at least one digit. Words such as "inf" or "nan" are not
// numbers here: a value that is not finite would slip past every later range
// check (NaN compares false with everything).
bool valid_real_syntax(std::string_view s) {
  std::size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  int digits = 0;
  bool point = false;
  for (; i < s.size(); ++i) {
    if (is_digit(s[i])) {
      ++digits;
    } else if (s[i] == '.' && !point) {
      point = true;
    } else {
      break;
    }
  }
  if (digits == 0) return false;
  if (i == s.size()) return true;
  if (s[i] != 'E' && s[i] != 'e' && s[i] != 'D' && s[i] != 'd') return false;
  ++i;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  if (i == s.size()) return false;
  for (; i < s.size(); ++i)
    if (!is_digit(s[i])) return false;
  return true;
}

// Converts a syntactically valid real. std::from_chars takes neither a leading
// '+' nor a D exponent, so the item is rewritten in a stack buffer first (no
// allocation: the readers run inside the time-step loop). A value too large for
// T is not a valid item; one too small to represent reads as T's nearest
// value (zero or subnormal), as a tiny number written in a file means.
template <class T>
bool convert_real(std::string_view s, T& out) {
  if (!valid_real_syntax(s)) return false;
  constexpr std::size_t BUF = 256;
  char buf[BUF + 1];
  std::size_t n = 0;
  std::size_t i = (s[0] == '+') ? 1 : 0;
  if (s.size() - i > BUF) return false;
  for (; i < s.size(); ++i) buf[n++] = (s[i] == 'D' || s[i] == 'd') ? 'e' : s[i];
  buf[n] = '\0';
  T v{};
  const auto [ptr, ec] = std::from_chars(buf, buf + n, v, std::chars_format::general);
  if (ptr != buf + n) return false;
  if (ec == std::errc::result_out_of_range) {
    // Overflow or underflow: the double value tells which.
    const double d = std::strtod(buf, nullptr);
    if (!(std::fabs(d) < 1.0)) return false;
    v = static_cast<T>(d);
  } else if (ec != std::errc()) {
    return false;
  }
  out = v;
  return true;
}

template <class T, class Parse>
int read_items(std::string_view text, T* out, int n, bool& bad, Parse parse) {
  std::size_t pos = 0;
  std::string_view item;
  bool quoted = false;
  int count = 0;
  while (count < n && next_item_quoted(text, pos, item, quoted)) {
    T v{};
    if (quoted || !parse(item, v)) {
      bad = true;
      break;
    }
    out[count++] = v;
  }
  return count;
}

}  // namespace

bool next_item(std::string_view text, std::size_t& pos, std::string_view& item) {
  bool quoted = false;
  return next_item_quoted(text, pos, item, quoted);
}

bool parse_int(std::string_view item, int& out) {
  // std::from_chars takes a '-' but not a '+'.
  if (!item.empty() && item[0] == '+') {
    item.remove_prefix(1);
    if (!item.empty() && item[0] == '-') return false;
  }
  if (item.empty()) return false;
  const char* first = item.data();
  const char* last = item.data() + item.size();
  int v = 0;
  const auto [ptr, ec] = std::from_chars(first, last, v);
  if (ec != std::errc() || ptr != last) return false;
  out = v;
  return true;
}

bool parse_real(std::string_view item, float& out) { return convert_real(item, out); }

bool parse_double(std::string_view item, double& out) { return convert_real(item, out); }

int read_reals(std::string_view text, float* out, int n, bool& bad) {
  return read_items(text, out, n, bad, parse_real);
}

int read_doubles(std::string_view text, double* out, int n, bool& bad) {
  return read_items(text, out, n, bad, parse_double);
}

int read_ints(std::string_view text, int* out, int n, bool& bad) {
  return read_items(text, out, n, bad, parse_int);
}

// Design note: a tab inside the field is taken as a blank, like the blanks the
// field ignores; a sign with no digit after it is not a number.
bool read_int8(std::string_view value, int& out) {
  const std::string_view field = value.substr(0, 8);
  int sign = 1;
  int v = 0;
  bool seen_sign = false;
  bool seen_digit = false;
  for (const char c : field) {
    if (is_blank(c)) continue;
    if ((c == '+' || c == '-') && !seen_sign && !seen_digit) {
      seen_sign = true;
      if (c == '-') sign = -1;
    } else if (is_digit(c)) {
      seen_digit = true;
      v = 10 * v + (c - '0');  // at most 8 digits: no overflow
    } else {
      return false;
    }
  }
  if (seen_sign && !seen_digit) return false;
  out = sign * v;
  return true;
}

bool read_logical(std::string_view value, bool& out) {
  const std::string_view field = value.substr(0, 7);
  std::size_t i = 0;
  while (i < field.size() && is_blank(field[i])) ++i;
  if (i < field.size() && field[i] == '.') ++i;
  if (i >= field.size()) return false;
  const char c = field[i];
  if (c == 'T' || c == 't') {
    out = true;
    return true;
  }
  if (c == 'F' || c == 'f') {
    out = false;
    return true;
  }
  return false;
}

// Design note: the name of a quoted value ends at its closing quote; text after
// it (a comment, say) is not part of the name, which would otherwise name a
// file that does not exist.
std::string file_name(std::string_view value) {
  std::size_t i = 0;
  while (i < value.size() && is_blank(value[i])) ++i;
  std::string_view name = value.substr(i);
  if (!name.empty() && name[0] == '"') {
    name.remove_prefix(1);
    const std::size_t close = name.find('"');
    if (close != std::string_view::npos) name = name.substr(0, close);
  }
  std::size_t end = name.size();
  while (end > 0 && (is_blank(name[end - 1]) || name[end - 1] == '\r' || name[end - 1] == '\n'))
    --end;
  return std::string(name.substr(0, end));
}

bool read_record(std::istream& in, std::string& line, std::size_t maxlen, bool& cut) {
  line.clear();
  cut = false;
  std::streambuf* sb = in.rdbuf();
  std::size_t total = 0;
  char last = '\0';
  for (;;) {
    const int ch = sb->sbumpc();
    if (ch == std::char_traits<char>::eof()) {
      if (total == 0) return false;
      break;
    }
    if (ch == '\n') break;
    last = static_cast<char>(ch);
    if (total++ < maxlen) line.push_back(last);
  }
  if (last == '\r' && total <= maxlen) line.pop_back();
  // A CRLF line of exactly maxlen characters before its carriage return is whole.
  cut = total > maxlen && !(total == maxlen + 1 && last == '\r');
  return true;
}

}  // namespace coastra

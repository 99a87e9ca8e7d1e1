// The fixed-width formatting layer: every number that reaches the console, the
// print file or a data file is edited here.
//   edit_i / edit_f / edit_e   one field (Iw, Fw.d, Ew.d), appended to a buffer
//   edit_a                     one text field (A, Aw)
//   fwrite                     a record written by a layout text, e.g.
//                              "(/, 1X, 'NX =', I5, 10F11.2)", with repeat counts,
//                              groups, nX, /, kP, A, Aw, quoted text and reversion
//   lwrite                     a free-form line (one leading blank, list editing)
#pragma once

#include <cstdint>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace coastra {

// One data item of a record.
struct FmtItem {
  enum Kind { Int, Real, Double, Text } kind = Int;
  long long i = 0;       // Int
  double d = 0.0;        // Real (a float widened) or Double
  std::string_view s;    // Text (must outlive the call)
};

// Field editors: append exactly w characters (w asterisks when the value does not fit);
// w = 0 (I0, F0.d) appends the value in as few characters as it needs.
void edit_i(std::string& out, long long v, int w);                  // Iw
// A date YYYYMMDD appended as YYYY-MM-DD (the progress line, NetCDF time units).
void edit_iso_date(std::string& out, int yyyymmdd);
void edit_f(std::string& out, double v, int w, int d);              // Fw.d
// n Fw.d fields (w > 0) of v[0..n-1]: the text of n edit_f calls, written in
// place (the data files' records).
void edit_f_fields(std::string& out, const double* v, int n, int w, int d);
void edit_e(std::string& out, double v, int w, int d, int scale = 0);  // Ew.d, kP scale
// A (w < 0: the text in its own length) and Aw (the first w characters, or the
// text right-aligned in w columns when shorter).
void edit_a(std::string& out, std::string_view s, int w = -1);

// Edit items by a layout text; each record ends with '\n'. Items left over when the
// layout is exhausted start a new record at the reversion point (the last
// top-level group, or the whole layout), so "(10F11.2)" writes 10 values a line.
std::string format_items(std::string_view layout, std::span<const FmtItem> items);
// A free-form (list-directed) line: a leading blank, texts as they are with no
// separator, integers in 11 columns, floats in 16 (9 significant digits), doubles
// in 25 (17 significant digits); ends with '\n'.
std::string format_list(std::span<const FmtItem> items);

namespace fmt_detail {
inline void add(std::vector<FmtItem>& v, std::string_view s) { v.push_back({FmtItem::Text, 0, 0.0, s}); }
inline void add(std::vector<FmtItem>& v, const std::string& s) { add(v, std::string_view(s)); }
inline void add(std::vector<FmtItem>& v, const char* s) { add(v, std::string_view(s)); }
inline void add(std::vector<FmtItem>& v, float x) {
  v.push_back({FmtItem::Real, 0, static_cast<double>(x), {}});
}
inline void add(std::vector<FmtItem>& v, double x) { v.push_back({FmtItem::Double, 0, x, {}}); }
template <class T>
  requires std::is_integral_v<T>
inline void add(std::vector<FmtItem>& v, T x) {
  v.push_back({FmtItem::Int, static_cast<long long>(x), 0.0, {}});
}
template <class T>
inline void add(std::vector<FmtItem>& v, std::span<const T> xs) {
  for (const T& x : xs) add(v, x);
}
template <class T>
inline void add(std::vector<FmtItem>& v, std::span<T> xs) {
  for (const T& x : xs) add(v, x);
}
// Items an argument adds: the list is reserved once, at its size (a report line
// of thousands of values then holds one list, not the copies of its growth).
template <class T>
constexpr std::size_t count(const T& /*x*/) { return 1; }
template <class T>
constexpr std::size_t count(std::span<const T> xs) { return xs.size(); }
template <class T>
constexpr std::size_t count(std::span<T> xs) { return xs.size(); }
template <class... A>
std::vector<FmtItem> items_of(const A&... args) {
  std::vector<FmtItem> items;
  items.reserve((std::size_t{0} + ... + count(args)));
  (add(items, args), ...);
  return items;
}
}  // namespace fmt_detail

template <class... A>
std::string fstr(std::string_view layout, const A&... args) {
  return format_items(layout, fmt_detail::items_of(args...));
}
template <class... A>
void fwrite(std::ostream& os, std::string_view layout, const A&... args) {
  os << fstr(layout, args...);
}
template <class... A>
std::string lstr(const A&... args) {
  return format_list(fmt_detail::items_of(args...));
}
template <class... A>
void lwrite(std::ostream& os, const A&... args) {
  os << lstr(args...);
}

}  // namespace coastra

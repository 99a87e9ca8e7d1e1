// The fixed-width formatting layer: field editors (Iw, Fw.d, Ew.d, A/Aw), the
// layout interpreter behind fwrite/fstr, and free-form lines behind lwrite/lstr.
// Field editors append to the caller's buffer from a stack buffer, so the data
// files can be written inside the time-step loop without allocating. Numbers are
// turned into digits by std::to_chars, or for the data records' fields by the
// integer and word arithmetic below (no C stdio, no locale): the exact binary
// value rounded to the digits asked for, ties to even, as a C library would.
//   edit_i, edit_f, edit_e, edit_a   one field
//   format_items                     records by a layout text
//   format_list                      one free-form line

#include "output/format.h"

#include <bit>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <system_error>
#include <stdexcept>
#include <utility>

#include "model/simd_path.h"

namespace coastra {

namespace {

// Widest field a layout may ask for. A wider one is a programming error; the
// bound keeps every edit inside a stack buffer.
constexpr int MAX_FIELD = 255;
// Room for the widest fixed-point text of a double: 309 integer digits, sign,
// point and MAX_FIELD decimals, plus the terminating NUL.
constexpr int EDIT_BUF = 600;

void check_field(int w, int d, int min_w = 1) {
  if (w < min_w || w > MAX_FIELD || d < 0 || d > MAX_FIELD) {
    throw std::logic_error("field width or decimals out of range");
  }
}

// The field of a value that does not fit.
void put_stars(std::string& out, int w) { out.append(static_cast<std::size_t>(w), '*'); }

// A text of n characters right-aligned in w columns, or w asterisks when it
// does not fit.
void put_right(std::string& out, const char* s, int n, int w) {
  if (n > w) {
    put_stars(out, w);
    return;
  }
  out.append(static_cast<std::size_t>(w - n), ' ');
  out.append(s, static_cast<std::size_t>(n));
}

// Design note: a value that is not a number, or is infinite, is written as a
// word that says so rather than as a number: "undefined" for a NaN,
// "infinite" or "-infinite" for an infinity, or the short "undef", "inf",
// "-inf" in a field too narrow for the long word, right-aligned; asterisks
// only when even the short word does not fit. A blown-up run then shows in its
// reports and data files as what it is, which asterisks (a value too large)
// would hide, and never as a "NaN" or "Infinity" that reads like a result.
// w = 0 writes the long word alone. nonfinite_word gives the word (empty for a
// finite v); edit_nonfinite appends its field and returns true when v was such a value.
std::string_view nonfinite_word(double v, int w) {
  if (std::isnan(v)) return (w == 0 || w >= 9) ? "undefined" : "undef";
  if (std::isinf(v) && v > 0.0) return (w == 0 || w >= 8) ? "infinite" : "inf";
  if (std::isinf(v)) return (w == 0 || w >= 9) ? "-infinite" : "-inf";
  return {};
}

bool edit_nonfinite(std::string& out, double v, int w) {
  const std::string_view word = nonfinite_word(v, w);
  if (word.empty()) return false;
  const int n = static_cast<int>(word.size());
  put_right(out, word.data(), n, w == 0 ? n : w);
  return true;
}

// Drops the optional zero before the decimal point of "0.xx" or "-0.xx" in
// place; returns the new length (n when there is no such zero).
int drop_leading_zero(char* buf, int n) {
  const int z = (buf[0] == '-' || buf[0] == '+') ? 1 : 0;
  if (n < z + 2 || buf[z] != '0' || buf[z + 1] != '.') return n;
  for (int k = z; k < n; ++k) buf[k] = buf[k + 1];
  return n - 1;
}

// Decimal digits and exponent of v rounded to sig significant digits (the
// exact binary value is rounded, ties to even): v ~ d1.d2d3... x 10^e10.
struct Digits {
  bool negative;
  int count;        // significant digits in digits
  int e10;          // exponent of the leading digit
  char digits[MAX_FIELD + 8];
};

Digits decimal_digits(double v, int sig) {
  char buf[MAX_FIELD + 40];
  // "-d.ddde+ee": at most MAX_FIELD + 8 digits, sign, point and a 5-character exponent.
  const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, sig - 1);
  Digits g{};
  const char* p = buf;
  g.negative = (*p == '-');
  if (g.negative) ++p;
  int n = 0;
  for (; *p != 'e'; ++p) {
    if (*p != '.') g.digits[n++] = *p;
  }
  g.count = n;
  ++p;  // 'e'
  const bool eneg = (*p == '-');
  int e = 0;
  for (++p; p < r.ptr; ++p) e = e * 10 + (*p - '0');
  g.e10 = eneg ? -e : e;
  return g;
}

// The decimal digits of a (a >= 0), at least min_digits of them with leading zeros.
void put_digits(char* buf, int& n, int a, int min_digits) {
  char tmp[16];
  int k = 0;
  do {
    tmp[k++] = static_cast<char>('0' + a % 10);
    a /= 10;
  } while (a > 0);
  for (; k < min_digits; ++k) tmp[k] = '0';
  while (k > 0) buf[n++] = tmp[--k];
}

// Exponent part of an Ew.d field: "E+dd" for |e| <= 99, "+ddd" (no letter)
// for |e| <= 999; returns false when it has more digits than that.
bool append_exponent(char* buf, int& n, int e) {
  const int a = std::abs(e);
  if (a > 999) return false;
  if (a <= 99) buf[n++] = 'E';
  buf[n++] = e < 0 ? '-' : '+';
  put_digits(buf, n, a, a <= 99 ? 2 : 3);
  return true;
}

// Exact fixed-point rounding with integers, for the data files' fields (every
// record edits thousands of values). v = M x 2^E exactly, so v x 10^d = M x 10^d
// x 2^E is an integer product shifted by E bits: the bits shifted out decide the
// rounding (more than half up, exactly half to even), as on the exact binary
// value. Returns false, leaving the work to to_chars, when 10^d or the rounded
// result would not fit in 64 bits.
__extension__ using u128 = unsigned __int128;

bool fixed_digits_u64(double a, int d, std::uint64_t& q) {
  if (d > 19) return false;
  // a = mant x 2^shift: the 52 stored bits with the hidden bit of a normal number.
  const auto bits = std::bit_cast<std::uint64_t>(a);
  const auto biased = static_cast<int>((bits >> 52) & 0x7FFU);
  if (biased == 0x7FF) return false;         // not finite
  std::uint64_t mant = bits & ((std::uint64_t{1} << 52) - 1);
  if (biased != 0) mant |= std::uint64_t{1} << 52;
  const int shift = (biased == 0 ? 1 : biased) - 1075;
  std::uint64_t p10 = 1;
  for (int k = 0; k < d; ++k) p10 *= 10;
  const u128 n = static_cast<u128>(mant) * p10;   // < 2^53 x 10^19 < 2^117
  u128 r = 0;
  if (shift >= 0) {
    if (shift > 10) return false;                 // n << shift could pass 2^127
    r = n << shift;
  } else if (shift > -118) {
    const int k = -shift;
    r = n >> k;
    const u128 rem = n - (r << k);
    const u128 half = static_cast<u128>(1) << (k - 1);
    if (rem > half || (rem == half && (r & 1U) != 0U)) ++r;
  }                                               // else n < 2^117 <= half: rounds to 0
  if (r > static_cast<u128>(UINT64_MAX)) return false;
  q = static_cast<std::uint64_t>(r);
  return true;
}

// v in fixed-point form with d decimals and always its point ("123." for d = 0:
// an F7.0 field keeps it); a value that rounds to zero keeps its sign ("-0.00").
// Returns the length, or -1 when the text needs more than cap characters.
int fixed_text(char* buf, int cap, double v, int d) {
  std::uint64_t q = 0;
  if (fixed_digits_u64(std::fabs(v), d, q)) {
    // q's digits from the right, two at a time, then zeros up to d + 1 digits
    // (a zero before the point); the point goes d digits from the right.
    static constexpr char PAIRS[] =
        "0001020304050607080910111213141516171819202122232425262728293031323334353637383940414243444546474849"
        "5051525354555657585960616263646566676869707172737475767778798081828384858687888990919293949596979899";
    char tmp[24];
    int k = 0;
    while (q >= 100) {
      const auto r = static_cast<std::size_t>(q % 100) * 2;
      q /= 100;
      tmp[k++] = PAIRS[r + 1];
      tmp[k++] = PAIRS[r];
    }
    tmp[k++] = static_cast<char>('0' + q % 10);
    if (q >= 10) tmp[k++] = static_cast<char>('0' + q / 10);
    while (k <= d) tmp[k++] = '0';
    int n = 0;
    if (std::signbit(v)) buf[n++] = '-';
    while (k > d) buf[n++] = tmp[--k];
    buf[n++] = '.';
    while (k > 0) buf[n++] = tmp[--k];
    return n;
  }
  const auto r = std::to_chars(buf, buf + cap - 1, v, std::chars_format::fixed, d);
  if (r.ec != std::errc{}) return -1;
  int n = static_cast<int>(r.ptr - buf);
  if (d == 0) buf[n++] = '.';
  return n;
}

// One Fw.d field written from its right end, when the value is finite, fits
// the field with its leading digit and needs no more than 64-bit digits: the
// same text as edit_f (digits from the same exact rounding). False leaves the
// field to edit_f (asterisks, a dropped leading zero, non-finite words).
bool fixed_field(char* p, int w, double v, int d) {
  std::uint64_t q = 0;
  if (!fixed_digits_u64(std::fabs(v), d, q)) return false;
  int pos = w;
  for (int k = 0; k < d; ++k) {
    if (pos == 0) return false;
    p[--pos] = static_cast<char>('0' + q % 10);
    q /= 10;
  }
  if (pos == 0) return false;
  p[--pos] = '.';
  do {  // at least one digit before the point ("0.50")
    if (pos == 0) return false;
    p[--pos] = static_cast<char>('0' + q % 10);
    q /= 10;
  } while (q != 0);
  if (std::signbit(v)) {
    if (pos == 0) return false;
    p[--pos] = '-';
  }
  std::memset(p, ' ', static_cast<std::size_t>(pos));
  return true;
}

// The field (w > 0) of a value no faster path takes, at p: edit_f's text
// (a non-finite word, a dropped leading zero or asterisks), made on the stack.
[[gnu::noinline]] void edited_field(char* p, double v, int w, int d) {
  if (fixed_field(p, w, v, d)) return;
  char buf[EDIT_BUF];
  int n = 0;
  const std::string_view word = nonfinite_word(v, w);
  if (!word.empty()) {
    n = static_cast<int>(word.size());
    std::memcpy(buf, word.data(), word.size());
  } else {
    n = fixed_text(buf, EDIT_BUF, v, d);
    if (n > w && d > 0) n = drop_leading_zero(buf, n);
  }
  if (n < 0 || n > w) {
    std::memset(p, '*', static_cast<std::size_t>(w));
    return;
  }
  std::memset(p, ' ', static_cast<std::size_t>(w - n));
  std::memcpy(p + (w - n), buf, static_cast<std::size_t>(n));
}

// Fast fields of the data records' two layouts (F14.2 and F16.0), the same
// text as fixed_field. The value a = |v| is scaled by p = 10^d in double
// precision, hi = fl(a x p), and the rounding error of that product,
// lo = a x p - hi, is formed exactly from the Veltkamp halves of a and p
// (Dekker's product; no fused multiply-add, so every machine forms the same
// bits). Rounding hi to an integer r, ties to even, by adding and removing
// 2^52 is then the exact rounding of a x p unless hi lies exactly halfway:
// otherwise |hi - r| <= 1/2 - ulp(hi) and |lo| <= ulp(hi)/2 cannot carry the
// product across the halfway point. On a halfway hi the sign of lo decides
// (lo = 0 is a true tie, which r already rounded to even). A product of 2^52
// or more, an infinity or a NaN is left to the exact integer path.
constexpr double TWO52 = 4503599627370496.0;
constexpr double SPLITTER = 134217729.0;   // 2^27 + 1: splits a double in two 26-bit halves

struct ScaleSplit {
  double p, hi, lo;   // 10^d and its halves (hi + lo = p exactly)
};

constexpr ScaleSplit scale_split(int d) {
  double p = 1.0;
  for (int k = 0; k < d; ++k) p *= 10.0;
  const double c = SPLITTER * p;
  const double hi = c - (c - p);
  return {p, hi, p - hi};
}

// The four digits of y < 10^4 as byte values, the first in the lowest byte:
// two pairs in 16-bit halves, then a digit per byte (each division a multiply
// and shift that is exact in its range).
[[gnu::always_inline]] inline std::uint32_t four_digits(std::uint32_t y) {
  std::uint32_t t = (y * 5243U) >> 19;                 // y / 100, y < 43699
  const std::uint32_t u = t | ((y - t * 100U) << 16);
  t = ((u * 103U) >> 10) & 0x000F000FU;                // / 10 in each half, < 179
  return t | ((u - t * 10U) << 8);
}

// The eight decimal digits of x < 10^8 as byte values 0..9, the first in the
// lowest byte.
inline std::uint64_t eight_digits(std::uint32_t x) {
  const std::uint32_t h = x / 10000U;
  return four_digits(h) | (static_cast<std::uint64_t>(four_digits(x - h * 10000U)) << 32);
}

// The 8 bytes of x at p, the lowest byte first.
inline void put_word(char* p, std::uint64_t x) {
  if constexpr (std::endian::native == std::endian::little) {
    std::memcpy(p, &x, 8);
  } else {
    for (int k = 0; k < 8; ++k) p[k] = static_cast<char>((x >> (8 * k)) & 0xFFU);
  }
}

// One field of w columns, d decimals (d + 2 <= w, 8 <= w <= 16, d <= 15) at
// out, of q = |x| x 10^d rounded, built in two 64-bit words holding the 16
// digits of q (the first in the lowest byte): the zero bytes below the first
// nonzero digit (at most the 15 - d before the "0" kept before the point)
// become blanks, the highest of them the sign; the field is the last w
// characters of those 16 with the point d from the right. False when the text
// does not fit.
[[gnu::always_inline]] inline bool word_field(char* out, double x, std::uint64_t q, int w, int d) {
  constexpr std::uint64_t ASCII = 0x3030303030303030ULL;    // '0' in each byte
  constexpr std::uint64_t BIT4 = 0x1010101010101010ULL;     // '0' ^ ' ' in each byte
  const u128 one = 1;
  // Bytes that may be blanked: the digits before the last d + 1.
  const u128 may_blank = (one << (8 * (15 - d))) - 1;
  const auto may1 = static_cast<std::uint64_t>(may_blank);
  const auto may2 = static_cast<std::uint64_t>(may_blank >> 64);
  const std::uint64_t d1 = eight_digits(static_cast<std::uint32_t>(q / 100000000U));
  const std::uint64_t d2 = eight_digits(static_cast<std::uint32_t>(q % 100000000U));
  // The bits below the lowest set bit of d1 (all of them when d1 = 0), then of d2.
  const std::uint64_t m1 = ((d1 & (0 - d1)) - 1) & may1;
  const std::uint64_t m2 = ((d2 & (0 - d2)) - 1) & may2 & (0 - static_cast<std::uint64_t>(d1 == 0));
  const int blanks = (std::countr_one(m1) + std::countr_one(m2)) >> 3;
  const bool neg = std::signbit(x);
  if (16 - blanks + 1 + (neg ? 1 : 0) > w) return false;   // asterisks, or a leading zero to drop
  const std::uint64_t z1 = m1 & BIT4, z2 = m2 & BIT4;   // bit 4 of each blanked byte
  const std::uint64_t sgn = 0 - static_cast<std::uint64_t>(neg);
  const std::uint64_t top1 = z1 ^ ((z1 >> 8) | (z2 << 56)), top2 = z2 ^ (z2 >> 8);
  const std::uint64_t c1 = (d1 | ASCII) ^ z1 ^ (((top1 >> 4) * ('-' ^ ' ')) & sgn);
  const std::uint64_t c2 = (d2 | ASCII) ^ z2 ^ (((top2 >> 4) * ('-' ^ ' ')) & sgn);
  const u128 t = c1 | (static_cast<u128>(c2) << 64);
  // Integer part: characters 17 - w .. 15 - d, to field columns 0 .. w - 2 - d;
  // the point; the decimals.
  u128 f = ((t >> (8 * (17 - w))) & ((one << (8 * (w - 1 - d))) - 1)) |
           (static_cast<u128>('.') << (8 * (w - 1 - d)));
  if (d > 0) f |= (t >> (8 * (16 - d))) << (8 * (w - d));
  // Two 8-byte stores, overlapping when w < 16.
  put_word(out, static_cast<std::uint64_t>(f));
  put_word(out + w - 8, static_cast<std::uint64_t>(f >> (8 * (w - 8))));
  return true;
}

// The steps of a block of fields below 10^8 with a field size known at
// compile time, each an element-wise loop compiled for every instruction-set
// path (the same operations in the same order on each, so every path gives
// the same text):
//   round_body    qd(k) = |v(k)| x 10^d rounded (as described above, without
//                 branches), -1 when the product is 2^52 or more, infinite or
//                 NaN; q8(k) = qd(k) when below 10^8, else 0
//   digits_body   the eight digits of q8(k) as byte values, four per word
//   small_body    the field's first and last eight columns as two words
[[gnu::always_inline]] inline void round_body(int lo, int hi, const double* __restrict v,
                                              ScaleSplit s, double* __restrict qd,
                                              std::int32_t* __restrict q8) {
#pragma omp simd
  for (int k = lo; k <= hi; ++k) {
    const double a = std::fabs(v[k]);
    const double h = a * s.p;   // at 2^52 or more, or not finite: q is garbage, marked below
    const double r = (h + TWO52) - TWO52;
    const double half = h - r;   // exact, in [-1/2, 1/2]
    const double c = SPLITTER * a;
    const double ahi = c - (c - a);
    const double alo = a - ahi;
    const double err = ((ahi * s.hi - h) + ahi * s.lo + alo * s.hi) + alo * s.lo;
    const double up = ((half == 0.5) & (err > 0.0)) ? r + 1.0 : r;
    const double q = ((half == -0.5) & (err < 0.0)) ? r - 1.0 : up;
    qd[k] = q;
  }
  // The range test apart: a select on it in the loop above keeps that loop
  // from being vectorised.
#pragma omp simd
  for (int k = lo; k <= hi; ++k) {
    const double q = std::fabs(v[k]) * s.p < TWO52 ? qd[k] : -1.0;
    qd[k] = q;
    q8[k] = static_cast<std::int32_t>(q >= 0.0 && q < 1e8 ? q : 0.0);
  }
}

[[gnu::always_inline]] inline void digits_body(int lo, int hi, const std::int32_t* __restrict q8,
                                               std::uint32_t* __restrict dh,
                                               std::uint32_t* __restrict dl) {
#pragma omp simd
  for (int k = lo; k <= hi; ++k) {
    const auto x = static_cast<std::uint32_t>(q8[k]);
    const std::uint32_t h = x / 10000U;
    dh[k] = four_digits(h);
    dl[k] = four_digits(x - h * 10000U);
  }
}

// word_field for q < 10^8 in 64-bit words only: the 17 characters are eight
// blanks (the last one the sign when all eight digits show) and the eight
// digits with the point; the field's first eight columns and its last eight
// are each one word of them. The text always fits: at most 8 digits, the
// point and the sign in W >= 10 columns.
template <int W, int D>
[[gnu::always_inline]] inline void small_body(int lo, int hi, const double* __restrict v,
                                              const std::uint32_t* __restrict dh,
                                              const std::uint32_t* __restrict dl,
                                              std::uint64_t* __restrict first,
                                              std::uint64_t* __restrict last) {
  static_assert(D <= 7 && W >= 10 && W <= 16 - D);
  constexpr std::uint64_t ASCII = 0x3030303030303030ULL;    // '0' in each byte
  constexpr std::uint64_t BIT4 = 0x1010101010101010ULL;     // '0' ^ ' ' in each byte
  constexpr std::uint64_t BLANKS = 0x2020202020202020ULL;
  // The digit bytes before the last D + 1: those that may be blanked, and,
  // with the digits shifted down a byte, the integer part's bytes 1 .. 7 - D.
  constexpr std::uint64_t LEAD = (std::uint64_t{1} << (8 * (7 - D))) - 1;
  // The decimals' bytes.
  constexpr std::uint64_t DEC = D > 0 ? ~((std::uint64_t{1} << (8 * (8 - D))) - 1) : 0;
#pragma omp simd
  for (int k = lo; k <= hi; ++k) {
    const std::uint64_t d2 = dh[k] | (static_cast<std::uint64_t>(dl[k]) << 32);
    const std::uint64_t m2 = ((d2 & (0 - d2)) - 1) & LEAD;  // bits below the first nonzero digit
    const std::uint64_t sgn = 0 - (std::bit_cast<std::uint64_t>(v[k]) >> 63);
    const std::uint64_t z2 = m2 & BIT4;                      // bit 4 of each blanked byte
    const std::uint64_t top2 = z2 ^ (z2 >> 8);
    const std::uint64_t c2 = (d2 | ASCII) ^ z2 ^ (((top2 >> 4) * ('-' ^ ' ')) & sgn);
    const std::uint64_t c1 = BLANKS ^ ((z2 == 0 ? std::uint64_t{'-' ^ ' '} << 56 : 0) & sgn);
    first[k] = (c1 >> (8 * (17 - W))) | (c2 << (8 * (W - 9)));
    last[k] = ((c2 >> 8) & LEAD) | (std::uint64_t{'.'} << (8 * (7 - D))) | (c2 & DEC);
  }
}

// n fields of the layout CW.CD: those below 10^8 made a block at a time by the
// steps above, the others one by one.
template <int CW, int CD>
void fast_fields(char* out, const double* v, int n) {
  const ScaleSplit s = scale_split(CD);
  constexpr int BLOCK = 256;
  double qd[BLOCK];
  std::int32_t q8[BLOCK];
  std::uint32_t dh[BLOCK], dl[BLOCK];
  std::uint64_t first[BLOCK], last[BLOCK];
  for (int i0 = 0; i0 < n; i0 += BLOCK) {
    const int m = std::min(BLOCK, n - i0);
    run_kernel<round_body>(0, m - 1, v + i0, s, +qd, +q8);
    run_kernel<digits_body>(0, m - 1, static_cast<const std::int32_t*>(q8), +dh, +dl);
    run_kernel<small_body<CW, CD>>(0, m - 1, v + i0, static_cast<const std::uint32_t*>(dh),
                                           static_cast<const std::uint32_t*>(dl), +first, +last);
    for (int k = 0; k < m; ++k, out += CW) {
      if (qd[k] >= 0.0 && qd[k] < 1e8) {
        put_word(out, first[k]);
        put_word(out + CW - 8, last[k]);
      } else if (!(qd[k] >= 0.0 &&
                   word_field(out, v[i0 + k], static_cast<std::uint64_t>(qd[k]), CW, CD))) {
        edited_field(out, v[i0 + k], CW, CD);
      }
    }
  }
}

}  // namespace

void edit_f_fields(std::string& out, const double* v, int n, int w, int d) {
  check_field(w, d);
  if (n <= 0) return;
  const std::size_t start = out.size();
  out.resize(start + static_cast<std::size_t>(n) * static_cast<std::size_t>(w));
  char* p = out.data() + start;
  if (w == 14 && d == 2) {
    fast_fields<14, 2>(p, v, n);   // positions and volume changes
  } else if (w == 16 && d == 0) {
    fast_fields<16, 0>(p, v, n);   // transport volumes
  } else {
    for (int i = 0; i < n; ++i, p += w) edited_field(p, v[i], w, d);
  }
}


// I0 and F0.d write the value in as few columns as it needs (messages that
// embed a number in running text).
void edit_i(std::string& out, long long v, int w) {
  check_field(w, 0, 0);
  char buf[32];
  const int n = static_cast<int>(std::to_chars(buf, buf + sizeof buf, v).ptr - buf);
  put_right(out, buf, n, w == 0 ? n : w);
}

void edit_iso_date(std::string& out, int d) {
  // Digits with leading zeros, as ISO 8601 writes them (year 1 is 0001).
  auto digits = [&out](int v, int n) {
    for (int p = n - 1; p >= 0; --p) {
      int q = v;
      for (int k = 0; k < p; ++k) q /= 10;
      out += static_cast<char>('0' + q % 10);
    }
  };
  digits(d / 10000, 4);
  out += '-';
  digits(d / 100 % 100, 2);
  out += '-';
  digits(d % 100, 2);
}

void edit_f(std::string& out, double v, int w, int d) {
  check_field(w, d, 0);
  if (edit_nonfinite(out, v, w)) return;
  char buf[EDIT_BUF];
  // A value that rounds to zero keeps its sign ("-0.00"): the printed text says
  // which side it came from.
  int n = fixed_text(buf, EDIT_BUF, v, d);
  if (n < 0) {  // far wider than any field (w <= MAX_FIELD)
    put_stars(out, w);
    return;
  }
  if (w == 0) w = n;
  if (n > w && d > 0) n = drop_leading_zero(buf, n);
  put_right(out, buf, n, w);
}

void edit_e(std::string& out, double v, int w, int d, int scale) {
  check_field(w, d);
  // The scale factor k moves k digits before the point: k <= 0 writes
  // 0.(-k zeros)(d+k digits), k > 0 writes (k digits).(d-k+1 digits).
  if (scale <= -d || scale >= d + 2) throw std::logic_error("scale factor out of range for Ew.d");
  if (edit_nonfinite(out, v, w)) return;
  const int sig = scale > 0 ? d + 1 : d + scale;
  const Digits g = decimal_digits(v, sig);
  char buf[EDIT_BUF];
  int n = 0;
  if (g.negative) buf[n++] = '-';
  int k = 0;  // next digit of g
  if (scale <= 0) {
    buf[n++] = '0';
    buf[n++] = '.';
    for (int z = 0; z < -scale; ++z) buf[n++] = '0';
  } else {
    for (; k < scale; ++k) buf[n++] = g.digits[k];
    buf[n++] = '.';
  }
  for (; k < g.count; ++k) buf[n++] = g.digits[k];
  // Zero has no leading digit to place: its exponent is written as 0.
  const int e = (v == 0.0) ? 0 : g.e10 + 1 - scale;
  if (!append_exponent(buf, n, e)) {
    put_stars(out, w);
    return;
  }
  if (n > w && scale <= 0 && d > 0) n = drop_leading_zero(buf, n);
  put_right(out, buf, n, w);
}

void edit_a(std::string& out, std::string_view s, int w) {
  if (w < 0 || static_cast<std::size_t>(w) == s.size()) {
    out.append(s);
  } else if (s.size() > static_cast<std::size_t>(w)) {
    out.append(s.substr(0, static_cast<std::size_t>(w)));
  } else {
    out.append(static_cast<std::size_t>(w) - s.size(), ' ');
    out.append(s);
  }
}

// ---------------------------------------------------------------------------
// Layout interpreter

namespace {

// One item of a layout text, parsed.
struct LayoutNode {
  enum Kind { Group, Literal, Skip, Slash, Scale, EditI, EditF, EditE, EditA } kind = Literal;
  int repeat = 1;                  // repeat count of a group, a data edit or '/'
  int w = -1;                      // field width (-1: A in the text's own length)
  int d = 0;                       // decimals; blanks of nX; factor k of kP
  std::string text;                // quoted text, quotes removed
  std::vector<LayoutNode> items;   // a parenthesised group
};

struct LayoutParser {
  std::string_view s;              // the whole layout text
  std::size_t pos = 0;
};

[[noreturn]] void layout_error(std::string_view layout, std::string_view what) {
  throw std::logic_error(std::string(what) + " in layout " + std::string(layout));
}

// The next character that is not a blank ('\0' at the end of the text).
char peek(LayoutParser& p) {
  while (p.pos < p.s.size() && p.s[p.pos] == ' ') ++p.pos;
  return p.pos < p.s.size() ? p.s[p.pos] : '\0';
}

// An unsigned integer, when the next character is a digit.
bool read_int(LayoutParser& p, int& v) {
  const char c = peek(p);
  if (c < '0' || c > '9') return false;
  v = 0;
  while (p.pos < p.s.size() && p.s[p.pos] >= '0' && p.s[p.pos] <= '9') {
    v = v * 10 + (p.s[p.pos++] - '0');
    if (v > 100000) layout_error(p.s, "number too large");
  }
  return true;
}

// I0 and F0.d are the minimal-width fields; every other field is 1 column or more.
int read_width(LayoutParser& p, int min_w) {
  int w = 0;
  if (!read_int(p, w) || w < min_w || w > MAX_FIELD) layout_error(p.s, "bad field width");
  return w;
}

// Fw.d and Ew.d: width, point, decimals.
void read_width_decimals(LayoutParser& p, LayoutNode& n, int min_w) {
  n.w = read_width(p, min_w);
  if (peek(p) != '.') layout_error(p.s, "missing '.d'");
  ++p.pos;
  if (!read_int(p, n.d) || n.d > MAX_FIELD) layout_error(p.s, "bad decimals");
}

// A quoted text; a doubled quote stands for one quote character.
LayoutNode read_literal(LayoutParser& p, char quote) {
  LayoutNode n;
  ++p.pos;
  for (;;) {
    if (p.pos >= p.s.size()) layout_error(p.s, "unterminated text");
    const char c = p.s[p.pos++];
    if (c == quote) {
      if (p.pos < p.s.size() && p.s[p.pos] == quote) {
        n.text += quote;
        ++p.pos;
        continue;
      }
      return n;
    }
    n.text += c;
  }
}

// The items up to and including the ')' that closes the current group.
std::vector<LayoutNode> read_list(LayoutParser& p) {
  std::vector<LayoutNode> nodes;
  for (;;) {
    char c = peek(p);
    if (c == '\0') layout_error(p.s, "missing ')'");
    if (c == ')') {
      ++p.pos;
      return nodes;
    }
    if (c == ',') {
      ++p.pos;
      continue;
    }
    if (c == '\'' || c == '"') {
      nodes.push_back(read_literal(p, c));
      continue;
    }
    const bool negative = (c == '-');
    if (c == '-' || c == '+') ++p.pos;
    int count = 1;
    const bool has_count = read_int(p, count);
    if ((c == '-' || c == '+') && !has_count) layout_error(p.s, "sign without a number");
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(peek(p))));
    ++p.pos;
    LayoutNode n;
    if (c == 'P') {
      if (!has_count) layout_error(p.s, "kP without k");
      n.kind = LayoutNode::Scale;
      n.d = negative ? -count : count;
      nodes.push_back(std::move(n));
      continue;
    }
    if (negative || count < 1) layout_error(p.s, "bad repeat count");
    n.repeat = count;
    switch (c) {
      case '(':
        n.kind = LayoutNode::Group;
        n.items = read_list(p);
        break;
      case 'X':
        n.kind = LayoutNode::Skip;
        n.d = count;
        n.repeat = 1;
        break;
      case '/':
        n.kind = LayoutNode::Slash;
        break;
      case 'I':
        n.kind = LayoutNode::EditI;
        n.w = read_width(p, 0);
        break;
      case 'F':
        n.kind = LayoutNode::EditF;
        read_width_decimals(p, n, 0);
        break;
      case 'E':
        n.kind = LayoutNode::EditE;
        read_width_decimals(p, n, 1);
        break;
      case 'A': {
        n.kind = LayoutNode::EditA;
        int w = 0;
        if (read_int(p, w)) {
          if (w < 1 || w > MAX_FIELD) layout_error(p.s, "bad field width");
          n.w = w;
        }
        break;
      }
      default:
        layout_error(p.s, "unknown edit descriptor");
    }
    nodes.push_back(std::move(n));
  }
}

struct LayoutRun {
  std::string_view layout;
  std::span<const FmtItem> items;
  std::size_t next = 0;            // next item to edit
  int scale = 0;                   // kP in force: set by kP, kept across records
  int pending = 0;                 // blanks of nX not yet written
  std::string out;
};

// Blanks skipped by nX are written only when something follows them on the
// record, so an nX at the end of a record leaves no trailing blanks.
void flush_blanks(LayoutRun& r) {
  r.out.append(static_cast<std::size_t>(r.pending), ' ');
  r.pending = 0;
}

void end_record(LayoutRun& r) {
  r.pending = 0;
  r.out += '\n';
}

void edit_item(const LayoutNode& n, const FmtItem& it, LayoutRun& r) {
  const bool real = (it.kind == FmtItem::Real || it.kind == FmtItem::Double);
  switch (n.kind) {
    case LayoutNode::EditI:
      if (it.kind != FmtItem::Int) break;
      edit_i(r.out, it.i, n.w);
      return;
    case LayoutNode::EditF:
      if (!real) break;
      edit_f(r.out, it.d, n.w, n.d);
      return;
    case LayoutNode::EditE:
      if (!real) break;
      if (r.scale <= -n.d || r.scale >= n.d + 2) layout_error(r.layout, "scale factor out of range");
      edit_e(r.out, it.d, n.w, n.d, r.scale);
      return;
    default:
      if (it.kind != FmtItem::Text) break;
      edit_a(r.out, it.s, n.w);
      return;
  }
  layout_error(r.layout, "item does not fit its edit descriptor");
}

// Runs the nodes once (each with its repeat count). Returns false when the
// items ran out at a data edit descriptor: output stops there.
bool run_nodes(std::span<const LayoutNode> nodes, LayoutRun& r) {
  for (const LayoutNode& n : nodes) {
    for (int rep = 0; rep < n.repeat; ++rep) {
      switch (n.kind) {
        case LayoutNode::Group:
          if (!run_nodes(n.items, r)) return false;
          break;
        case LayoutNode::Literal:
          flush_blanks(r);
          r.out += n.text;
          break;
        case LayoutNode::Skip:
          r.pending += n.d;
          break;
        case LayoutNode::Slash:
          end_record(r);
          break;
        case LayoutNode::Scale:
          r.scale = n.d;
          break;
        default:
          if (r.next == r.items.size()) return false;
          flush_blanks(r);
          edit_item(n, r.items[r.next++], r);
      }
    }
  }
  return true;
}

}  // namespace

// Design notes:
// - Item kinds are strict: I takes integers, F and E take reals, A takes texts.
//   Any other pairing, an unreadable layout, a field wider than 255 columns, or
//   items left over for a layout without data edits is a programming error and
//   throws std::logic_error naming the layout; no report can then go out with a
//   silently misedited number.
// - kP scales E edits only. F edits always write the value itself, so a layout
//   such as "(1P, E12.4, F10.2)" cannot print an F field ten times too large.
// - Blanks of nX are written only when text follows them on the same record.
std::string format_items(std::string_view layout, std::span<const FmtItem> items) {
  LayoutParser p{layout};
  if (peek(p) != '(') layout_error(layout, "missing '('");
  ++p.pos;
  const std::vector<LayoutNode> root = read_list(p);
  if (peek(p) != '\0') layout_error(layout, "text after the closing ')'");

  // Reversion point: the last group of the outer level with its repeat count,
  // else the whole layout.
  std::span<const LayoutNode> reversion(root);
  for (std::size_t k = 0; k < root.size(); ++k) {
    if (root[k].kind == LayoutNode::Group) reversion = std::span<const LayoutNode>(&root[k], 1);
  }

  LayoutRun r;
  r.layout = layout;
  r.items = items;
  bool more = run_nodes(root, r);
  while (more && r.next < items.size()) {
    const std::size_t before = r.next;
    end_record(r);
    more = run_nodes(reversion, r);
    if (r.next == before) layout_error(layout, "items left over but no data edit descriptor to take them");
  }
  end_record(r);
  return std::move(r.out);
}

// ---------------------------------------------------------------------------
// Free-form lines

namespace {

// A real in list form: sig significant digits in a field of w columns. Zero and
// values with 0.1 <= |x| < 10^sig (after rounding) are written in fixed-point
// form with their point ("123456792."), right-aligned in w - (edig + 2) columns
// and followed by edig + 2 blanks, where the exponent form has its exponent;
// other values in exponent form d.ddd...E+ee with at least edig exponent digits,
// right-aligned in w.
void list_real(std::string& out, double x, int sig, int w, int edig) {
  if (edit_nonfinite(out, x, w)) return;
  const Digits g = decimal_digits(x, sig);
  char buf[EDIT_BUF];
  int n = 0;
  if (x == 0.0 || (g.e10 >= -1 && g.e10 < sig)) {
    const int dec = (x == 0.0) ? sig - 1 : sig - 1 - g.e10;
    n = fixed_text(buf, EDIT_BUF, x, dec);
    const int fw = w - (edig + 2);
    if (n < fw) out.append(static_cast<std::size_t>(fw - n), ' ');
    out.append(buf, static_cast<std::size_t>(n));
    out.append(static_cast<std::size_t>(edig + 2), ' ');
    return;
  }
  if (g.negative) buf[n++] = '-';
  buf[n++] = g.digits[0];
  buf[n++] = '.';
  for (int k = 1; k < g.count; ++k) buf[n++] = g.digits[k];
  buf[n++] = 'E';
  buf[n++] = g.e10 < 0 ? '-' : '+';
  put_digits(buf, n, std::abs(g.e10), edig);
  if (n < w) out.append(static_cast<std::size_t>(w - n), ' ');
  out.append(buf, static_cast<std::size_t>(n));
}

}  // namespace

// Design notes: a line with no items is an empty line (no leading blank: there
// is nothing to separate from the line start). A line is never broken, however
// long: the print file and console take long records whole, and a reader of the
// print file then finds each statement on one line. An integer wider than its
// 11 columns widens the field rather than being lost to asterisks. Double
// precision values carry a three-digit exponent ("1.0000000000000000E-002"), so
// that the exponent form of every double fills exactly its 25 columns.
std::string format_list(std::span<const FmtItem> items) {
  std::string out;
  if (items.empty()) return "\n";
  // The line's leading blank. A message text that already begins with a blank
  // (" ERROR. ...", " --> ...") has it: the line then shows the text exactly as
  // written, so every free-form line starts in the same column.
  const bool own_blank = items.front().kind == FmtItem::Text && !items.front().s.empty() &&
                         items.front().s.front() == ' ';
  if (!own_blank) out += ' ';
  bool after_number = false;
  for (const FmtItem& it : items) {
    switch (it.kind) {
      case FmtItem::Text:
        if (after_number) out += ' ';
        out.append(it.s);
        after_number = false;
        continue;
      case FmtItem::Int: {
        char buf[32];
        const int n = static_cast<int>(std::to_chars(buf, buf + sizeof buf, it.i).ptr - buf);
        if (n < 11) out.append(static_cast<std::size_t>(11 - n), ' ');
        out.append(buf, static_cast<std::size_t>(n));
        break;
      }
      case FmtItem::Real:
        list_real(out, it.d, 9, 16, 2);
        break;
      case FmtItem::Double:
        list_real(out, it.d, 17, 25, 3);
        break;
    }
    after_number = true;
  }
  out += '\n';
  return out;
}

}  // namespace coastra

// Field readers for the text inputs: the free-format item reader shared by the
// configuration and the data files (blanks or commas separate items, quoted
// items keep their blanks, D exponents accepted), the fixed 8-character integer
// field and the logical field.
#pragma once

#include <cstddef>
#include <istream>
#include <string>
#include <string_view>

namespace coastra {

// Free format. Each reads up to n items from the start of text into out[0..n-1]
// and returns how many were read; an item that cannot be read as the kind sets
// bad = true and ends the reading (items before it are kept). bad is only ever
// set, never cleared: initialise it before the call. Running out of
// items is not an error: the positions not reached are left unchanged. No
// allocation: safe inside the time-step loop.
int read_reals(std::string_view text, float* out, int n, bool& bad);
int read_doubles(std::string_view text, double* out, int n, bool& bad);
int read_ints(std::string_view text, int* out, int n, bool& bad);

// The next free-format item of text starting at pos (blanks/commas skipped; a
// quoted item is returned without its quotes); pos moves past it. Returns false
// at the end of the text.
bool next_item(std::string_view text, std::size_t& pos, std::string_view& item);

// One free-format item (as returned by next_item) read as its kind. A real may
// be written 5, 5., .5, 1.5E3 or 1.5D3; an integer is a sign and digits only
// (an item with a decimal point or an exponent is not an integer). False when
// the item is not of the kind or out of its range; out is then unchanged.
bool parse_int(std::string_view item, int& out);
bool parse_real(std::string_view item, float& out);
bool parse_double(std::string_view item, double& out);

// Fixed 8-character integer field: the first 8 characters, blanks ignored, only
// a sign and digits allowed (all blanks read as 0). False when invalid.
bool read_int8(std::string_view value, int& out);

// Logical field: the first 7 characters; optional blanks, an optional period,
// then T/t or F/f; the rest is ignored. False when invalid.
bool read_logical(std::string_view value, bool& out);

// One text record (line) of a file: at most maxlen characters are kept, the
// rest of a longer line is skipped without being held, and `cut` tells the
// caller that this happened (a reader refuses such a line rather than reading
// a shortened value); a carriage return ending a DOS-style line is dropped.
// False at the end of the file. Characters go into line's existing storage:
// reserve maxlen once and no record allocates.
bool read_record(std::istream& in, std::string& line, std::size_t maxlen, bool& cut);

// A file name value: a leading double quote is removed and the name ends at the
// next double quote; without a closing quote the name is the rest of the value.
// Trailing blanks are removed.
std::string file_name(std::string_view value);

}  // namespace coastra

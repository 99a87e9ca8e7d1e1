// The key table of the configuration file: for every key, how its value is
// read (value kind), where it is stored (a scalar, a new list entry, the k-th
// entry of its own sequence, the latest entry of a list) and any extra handling.
// Used by the configuration reader only.
//   find_key, config_key, config_key_count, group_spec
#pragma once

#include <string_view>
#include <variant>

#include "model/settings.h"

namespace coastra {

// How a value is read: an 8-character integer field, one free-format integer,
// real or double, a logical field, up to n free-format reals or integers, or
// a key with its own reader (texts, file names and data-file lists).
enum class Kind : unsigned char { INT8, INT, REAL, DOUBLE, LOGICAL, REALS, INTS, SPECIAL };

// Where a value is stored: a scalar; a new entry of its list (opens); entry k
// for the k-th line of the key (seq); the latest entry of its list (cur); entry
// 1 of its list without counting it (first).
enum class Role : unsigned char { SCALAR, OPENS, SEQ, CUR, FIRST };

// The list an entry belongs to.
enum class Group : unsigned char {
  NONE, NOUT, NNDG, NDG, NDB, KTMET, NSW, NBF, NBP, NINL, NQMAPV, NQMAPQ, NDRED
};

// Extra handling of a few keys beyond storing the value.
enum class Hook : unsigned char {
  NONE, AZIMUTH, INLETS, TRANDB, KTMETDB, ZEROVOL, DDG, IMOR, DREDV, QQKEY
};

using Target = std::variant<std::monostate, int Settings::*, float Settings::*, double Settings::*,
                            bool Settings::*, Vec1<int> Settings::*, Vec1<float> Settings::*,
                            Vec1<double> Settings::*>;

struct KeySpec {
  std::string_view key;
  Kind kind;
  Role role = Role::SCALAR;
  Group group = Group::NONE;
  Target target = {};
  int n = 0;               // items of a REALS / INTS list
  Hook hook = Hook::NONE;
};

// Design note: a list whose count a later set-up check reports with its own
// message (print-out dates, groins, breakwaters, bypass operations) keeps
// counting past its capacity without storing, so that check fires with its
// message; the other lists end the run at their first entry beyond capacity
// with "Too many KEY entries; maximum is N". Nothing is ever written past a list.
struct GroupInfo {
  int Settings::*count;     // the list's entry count (none for the KTMETDB sequence)
  std::string_view opener;  // the key that opens an entry
  int cap;                  // capacity of the list
  bool counts_past;         // keep counting beyond the capacity
};

// Index of key in the table, -1 when it is no key (comments, unknown words).
int find_key(std::string_view key);
const KeySpec& config_key(int index);
int config_key_count();
const GroupInfo& group_spec(Group g);

}  // namespace coastra

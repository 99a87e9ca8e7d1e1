// The reference of the configuration keys, generated from the key table:
// for every key its kind, default, unit, whether it is required, how its
// values spread along the coast or over its list, and one line of meaning.
// `coastra --keys` prints it; docs/keys.md is that text.
#pragma once

#include <ostream>
#include <string_view>

namespace coastra {

struct KeyDoc {
  std::string_view key;
  std::string_view deflt;     // value when the key is not given ("-": none)
  std::string_view unit;      // "-": dimensionless or not a quantity
  bool required;              // the run is refused without it
  std::string_view meaning;   // one line
};

// The documentation entry of a key of the table, nullptr when it has none.
const KeyDoc* key_doc(std::string_view key);

// The whole reference as a Markdown text, one table row per key in table order.
void write_key_reference(std::ostream& os);

}  // namespace coastra

// libFuzzer target: one input through config_input (fuzz/fuzz_entry.h).

#include <cstddef>
#include <cstdint>

#include "fuzz/fuzz_entry.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  coastra::fuzz::config_input(data, size);
  return 0;
}

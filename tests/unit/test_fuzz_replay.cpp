// Replays every kept fuzz input (the seed corpus fuzz/corpus/<target>/ and the
// inputs that once crashed or hung a target, fuzz/regressions/<target>/)
// through the entry function the fuzz target uses; in the sanitizer build a
// memory or undefined-behaviour fault of a reader fails the run here too.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "fuzz/fuzz_entry.h"

namespace coastra {
namespace {

namespace fs = std::filesystem;

using Entry = fuzz::Outcome (*)(const std::uint8_t*, std::size_t);

// Feeds every file of fuzz/<kind>/<target>/ (a missing folder holds none);
// the numbers of inputs read whole and refused.
std::pair<int, int> replay(const std::string& kind, const std::string& target, Entry entry) {
  std::pair<int, int> t;
  const fs::path dir = fs::path(COASTRA_SOURCE_DIR) / "fuzz" / kind / target;
  if (!fs::is_directory(dir)) return t;
  for (const auto& e : fs::directory_iterator(dir)) {
    if (!e.is_regular_file()) continue;
    std::ifstream is(e.path(), std::ios::binary);
    const std::vector<char> bytes{std::istreambuf_iterator<char>(is), {}};
    SCOPED_TRACE(e.path().string());
    fuzz::Outcome o = fuzz::Outcome::REFUSED;
    // Anything but the program's own stop escapes the entry: a finding.
    EXPECT_NO_THROW(o = entry(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
    (o == fuzz::Outcome::ACCEPTED ? t.first : t.second) += 1;
  }
  return t;
}

TEST(FuzzReplay, EveryKeptInputIsReadOrRefusedWithoutFault) {
  const struct {
    const char* target;
    Entry entry;
  } targets[] = {{"config", fuzz::config_input},
                 {"shoreline", fuzz::shoreline_input},
                 {"waves", fuzz::waves_input}};
  for (const auto& tg : targets) {
    SCOPED_TRACE(tg.target);
    const auto [accepted, refused] = replay("corpus", tg.target, tg.entry);
    replay("regressions", tg.target, tg.entry);
    // The seeds are valid inputs: each is read whole, so the fuzzer starts from
    // inputs that reach past the first check of the reader and its set-up.
    EXPECT_GE(accepted, 3);
    EXPECT_EQ(refused, 0);
  }
}

TEST(FuzzReplay, ConfigurationNamesStayInTheScratchDirectory) {
  // A print file named outside the working directory would let the fuzzer
  // write anywhere; the entry reads '/' as '_', so this one is created (and
  // removed again) inside the scratch directory.
  const fs::path outside = fs::temp_directory_path() / "coastra_fuzz_escape_check.out";
  fs::remove(outside);
  const std::string cfg = "COASTRA:\nPRFILE: ../coastra_fuzz_escape_check.out\n";
  fuzz::config_input(reinterpret_cast<const std::uint8_t*>(cfg.data()), cfg.size());
  EXPECT_FALSE(fs::exists(outside));
}

}  // namespace
}  // namespace coastra

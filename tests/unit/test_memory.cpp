// Capacity a run does not use costs no resident memory: the arrays of the
// state are the system's zero pages until a stage writes them, start at
// staggered offsets into their pages, and give their pages back when freed.

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <memory>
#include <set>
#include <vector>

#include "model/constants.h"
#include "model/vec1.h"

namespace coastra {
namespace {

long resident_kib() {
  long size = 0;
  long resident = 0;
  std::ifstream("/proc/self/statm") >> size >> resident;
  return resident * 4;   // pages of 4 KiB
}

TEST(Memory, ArraysCostResidentMemoryOnlyWhereWritten) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the sanitizer build keeps every array on the heap";
#endif
  // 200 wall arrays (3.2 MB) as a state holds them: zero, and not resident.
  const long before = resident_kib();
  std::vector<std::unique_ptr<Vec1<float>>> arrays;
  for (int k = 0; k < 200; ++k) arrays.push_back(std::make_unique<Vec1<float>>(MXWALL));
  EXPECT_EQ((*arrays.back())(MXWALL), 0.0F);
  const long untouched = resident_kib() - before;
  EXPECT_LT(untouched, 1200) << "KiB resident for 3,200 KiB of unwritten arrays";
  // Writing the first 100 cells of each makes one page of each resident.
  for (const auto& a : arrays)
    for (int i = 1; i <= 100; ++i) (*a)(i) = 1.0F;
  EXPECT_LT(resident_kib() - before, untouched + 1200);
  EXPECT_GT(resident_kib() - before, untouched + 400);
  // Each starts on a cache line at one of 32 offsets into its page, so that
  // element i of different arrays does not share its low address bits.
  std::set<std::uintptr_t> offsets;
  for (const auto& a : arrays) {
    const auto at = reinterpret_cast<std::uintptr_t>(a->data());
    EXPECT_EQ(at % 64, 0U);
    offsets.insert(at % 4096);
  }
  EXPECT_EQ(offsets.size(), 32U);
  // Freed arrays give their pages back.
  arrays.clear();
  EXPECT_LT(resident_kib() - before, 300);
}

}  // namespace
}  // namespace coastra

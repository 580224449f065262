// Memory freed amid blocks still in use goes back to the system.
#include "platform/freedmemory.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <memory>
#include <vector>

namespace {

// The resident pages of this process.
long ResidentPages() {
  long size = 0, resident = 0;
  FILE* statm = std::fopen("/proc/self/statm", "r");
  if (statm == nullptr) return -1;
  const int read = std::fscanf(statm, "%ld %ld", &size, &resident);
  std::fclose(statm);
  return read == 2 ? resident : -1;
}

TEST(FreedMemoryTest, SmallBlocksFreedUnderOneStillInUseGoBack) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "AddressSanitizer keeps freed memory in quarantine";
#endif
  // 200 MB in blocks of 100 bytes, the way a table's rows and texts are
  // held, with one block made after them that stays: the heap cannot
  // shrink from its top.
  constexpr int kBlocks = 2'000'000;
  std::vector<std::unique_ptr<char[]>> blocks(kBlocks);
  for (auto& block : blocks) {
    block = std::make_unique<char[]>(100);
    block[0] = 1;
  }
  const auto pin = std::make_unique<char[]>(100);
  pin[0] = 1;
  const long full = ResidentPages();
  std::vector<std::unique_ptr<char[]>>().swap(blocks);
  const long freed = ResidentPages();
  pv::GiveBackFreedMemory();
  const long given = ResidentPages();
  ASSERT_GT(full, 0);
  const long pageBytes = ::sysconf(_SC_PAGESIZE);
  // Freed but kept, then most of it given back.
  EXPECT_GT((freed - given) * pageBytes, 100L * 1024 * 1024) << full << " " << freed << " " << given;
}

}  // namespace

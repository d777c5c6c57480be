#include "platform/large_memory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace tracciato {
namespace {

// Every byte asked for can be written and read back, on both sides of the
// size from which a table takes huge pages of its own.
TEST(LargeMemory, EveryByteAskedForIsThere) {
  for (const size_t bytes : {size_t{1}, size_t{4095}, size_t{512} << 10, (size_t{512} << 10) - 1,
                             size_t{2} << 20, (size_t{2} << 20) + 1, size_t{5} << 20}) {
    LargeMemory memory = allocate_large(bytes);
    ASSERT_NE(memory.get(), nullptr) << bytes;
    auto* p = static_cast<unsigned char*>(memory.get());
    EXPECT_EQ(static_cast<size_t>(std::count(p, p + bytes, 0)), bytes) << bytes;  // comes zeroed
    std::memset(p, 0xA5, bytes);
    EXPECT_EQ(p[0], 0xA5) << bytes;
    EXPECT_EQ(p[bytes - 1], 0xA5) << bytes;
  }
  EXPECT_EQ(allocate_large(0).get(), nullptr);
}

#ifdef __linux__
// A huge page can only back memory that starts on its boundary: a large table
// placed anywhere else would be mapped a small page at a time after all.
TEST(LargeMemory, ALargeTableStartsOnAHugePageBoundary) {
  for (const size_t bytes : {size_t{512} << 10, size_t{16} << 20}) {
    LargeMemory memory = allocate_large(bytes);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(memory.get()) % (size_t{2} << 20), 0u) << bytes;
  }
}
#endif

TEST(LargeMemory, ASizeNoSystemCanGiveIsBadAlloc) {
  EXPECT_THROW(allocate_large(SIZE_MAX - 100), std::bad_alloc);
}

}  // namespace
}  // namespace tracciato

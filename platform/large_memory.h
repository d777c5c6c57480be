// Memory for a large table that is written front to back and read back
// whole: a long line's track columns. Taken straight from the system, in
// pages as large as it offers once the table is large enough to fill one,
// and mapped in at once, so filling 16 MB costs no page fault per page. The
// memory comes zeroed by the system and is never cleared again.
#pragma once

#include <cstddef>
#include <memory>

namespace tracciato {

struct LargeMemoryRelease {
  size_t bytes = 0;
  void operator()(void* memory) const;
};
using LargeMemory = std::unique_ptr<void, LargeMemoryRelease>;

// At least `bytes` bytes, aligned for any scalar. Throws std::bad_alloc.
LargeMemory allocate_large(size_t bytes);

}  // namespace tracciato

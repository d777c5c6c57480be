// Memory for a large table that is written once, front to back, and read
// back whole: a long line's track columns. Taken straight from the system in
// pages as large as it offers, so the first touch of 16 MB costs a handful
// of page faults rather than thousands. The memory comes zeroed by the
// system and is never cleared again.
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

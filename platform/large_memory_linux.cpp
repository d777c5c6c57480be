#include <sys/mman.h>

#include <new>

#include "platform/large_memory.h"

namespace tracciato {

LargeMemory allocate_large(size_t bytes) {
  if (bytes == 0) return LargeMemory(nullptr, {0});
  void* memory = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (memory == MAP_FAILED) throw std::bad_alloc();
  // Huge pages where the system allows them: a hint, harmless when refused.
  madvise(memory, bytes, MADV_HUGEPAGE);
  return LargeMemory(memory, {bytes});
}

void LargeMemoryRelease::operator()(void* memory) const {
  if (memory != nullptr) munmap(memory, bytes);
}

}  // namespace tracciato

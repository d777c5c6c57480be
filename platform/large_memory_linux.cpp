#include <sys/mman.h>

#include <new>

#include "platform/large_memory.h"

namespace tracciato {

LargeMemory allocate_large(size_t bytes) {
  if (bytes == 0) return LargeMemory(nullptr, {0});
  void* memory = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (memory == MAP_FAILED) throw std::bad_alloc();
  // Huge pages where the system allows them, then every page mapped in one
  // call instead of one fault per page as the table fills. Both are hints,
  // harmless when an older system refuses them.
  madvise(memory, bytes, MADV_HUGEPAGE);
#ifdef MADV_POPULATE_WRITE
  madvise(memory, bytes, MADV_POPULATE_WRITE);
#endif
  return LargeMemory(memory, {bytes});
}

void LargeMemoryRelease::operator()(void* memory) const {
  if (memory != nullptr) munmap(memory, bytes);
}

}  // namespace tracciato

#include <windows.h>

#include <new>

#include "platform/large_memory.h"

namespace tracciato {

LargeMemory allocate_large(size_t bytes) {
  if (bytes == 0) return LargeMemory(nullptr, {0});
  void* memory = VirtualAlloc(nullptr, bytes, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
  if (memory == nullptr) throw std::bad_alloc();
  return LargeMemory(memory, {bytes});
}

void LargeMemoryRelease::operator()(void* memory) const {
  if (memory != nullptr) VirtualFree(memory, 0, MEM_RELEASE);
}

}  // namespace tracciato

#include <sys/mman.h>

#include <cstdint>
#include <new>

#include "platform/large_memory.h"

namespace tracciato {
namespace {

constexpr size_t kHugePage = size_t{2} << 20;

// From this size on a table is worth a huge page of its own: one fault and
// one clearing of 2 MB cost less than mapping a few hundred small pages, and
// the memory taken beyond the table stays below a huge page.
constexpr size_t kHugePageWorthFrom = size_t{512} << 10;

size_t round_up(size_t bytes, size_t unit) { return (bytes + unit - 1) / unit * unit; }

}  // namespace

LargeMemory allocate_large(size_t bytes) {
  if (bytes == 0) return LargeMemory(nullptr, {0});
  if (bytes > SIZE_MAX - 2 * kHugePage) throw std::bad_alloc();
  const bool huge = bytes >= kHugePageWorthFrom;
  // A huge page can only back a range that starts on its own boundary, and
  // the system places a mapping on a small page's: so map a huge page more,
  // keep the aligned range and give the rest back.
  const size_t length = huge ? round_up(bytes, kHugePage) : bytes;
  const size_t mapped = huge ? length + kHugePage : length;
  void* memory = mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (memory == MAP_FAILED) throw std::bad_alloc();
  if (huge) {
    auto* start = static_cast<char*>(memory);
    auto* aligned =
        reinterpret_cast<char*>(round_up(reinterpret_cast<uintptr_t>(start), kHugePage));
    if (aligned != start) munmap(start, static_cast<size_t>(aligned - start));
    char* const end = aligned + length;
    char* const mapped_end = start + mapped;
    if (end != mapped_end) munmap(end, static_cast<size_t>(mapped_end - end));
    memory = aligned;
    // A hint, harmless where the system refuses huge pages.
    madvise(memory, length, MADV_HUGEPAGE);
  }
  // Every page the table needs mapped in one call, instead of one fault per
  // page as it fills; a hint as well.
#ifdef MADV_POPULATE_WRITE
  madvise(memory, bytes, MADV_POPULATE_WRITE);
#endif
  return LargeMemory(memory, {length});
}

void LargeMemoryRelease::operator()(void* memory) const {
  if (memory != nullptr) munmap(memory, bytes);
}

}  // namespace tracciato

// FNV-1a, 64 bits: a stable digest that pins a file's exact bytes in a test.
#pragma once

#include <cstdint>
#include <string_view>

namespace tracciato::test_support {

inline uint64_t fnv1a64(std::string_view bytes) {
  uint64_t hash = 0xcbf29ce484222325ULL;
  for (unsigned char byte : bytes) {
    hash ^= byte;
    hash *= 0x100000001b3ULL;
  }
  return hash;
}

}  // namespace tracciato::test_support

#include "platform/crc32.h"

#include <zlib.h>

#include <algorithm>
#include <limits>

namespace tracciato {

// zlib's CRC-32 is the zip polynomial too, and several times faster than a
// byte-at-a-time table: a package checks every byte of its own file, the
// install program included, before it installs anything.
uint32_t crc32(std::string_view bytes, uint32_t crc) {
  uLong value = crc;
  const auto* data = reinterpret_cast<const Bytef*>(bytes.data());
  size_t left = bytes.size();
  while (left > 0) {
    const auto n = static_cast<uInt>(std::min<size_t>(left, std::numeric_limits<uInt>::max()));
    value = ::crc32(value, data, n);
    data += n;
    left -= n;
  }
  return static_cast<uint32_t>(value);
}

}  // namespace tracciato

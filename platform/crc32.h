// CRC-32 (the polynomial of zip and PNG, reflected 0xEDB88320): the integrity
// check of a package's payload, enough to catch a download cut short or a
// changed byte.
#pragma once

#include <cstdint>
#include <string_view>

namespace tracciato {

// `crc` carries the value of the bytes before, so a long payload can be
// checked in pieces: crc32(b, crc32(a)) == crc32(a + b).
uint32_t crc32(std::string_view bytes, uint32_t crc = 0);

}  // namespace tracciato

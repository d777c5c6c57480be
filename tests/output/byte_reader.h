// Reads little-endian numbers back out of an encoded scenario file, byte by
// byte, so a test checks the bytes on disk rather than the encoder's view.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace tracciato {

inline uint64_t read_le(std::string_view bytes, size_t offset, size_t width) {
  uint64_t v = 0;
  for (size_t i = width; i-- > 0;) v = (v << 8) | static_cast<uint8_t>(bytes.at(offset + i));
  return v;
}

inline int16_t read_i16(std::string_view bytes, size_t offset) {
  return static_cast<int16_t>(read_le(bytes, offset, 2));
}
inline int32_t read_i32(std::string_view bytes, size_t offset) {
  return static_cast<int32_t>(read_le(bytes, offset, 4));
}
inline double read_f64(std::string_view bytes, size_t offset) {
  return std::bit_cast<double>(read_le(bytes, offset, 8));
}

}  // namespace tracciato

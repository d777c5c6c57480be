// Little-endian byte encoders for the binary scenario files.
//
// The simulator reads every number least-significant byte first, whatever the
// byte order of the host: a little-endian host stores a value's bytes as they
// lie in memory, any other host swaps them first, and a struct is never copied
// to disk whole. The layouts these encoders serve are described in
// docs/file_formats.md.
//
// Each put_ writes one value at `dst` and returns the position just after it,
// so a file is built by threading one pointer through a buffer sized up front.
// REQUIRES: dst has room for the value's width.
#pragma once

#include <bit>
#include <concepts>
#include <cstdint>
#include <cstring>

namespace tracciato {

// The value with its bytes in reverse order.
constexpr uint16_t byte_swap(uint16_t v) { return static_cast<uint16_t>((v << 8) | (v >> 8)); }
constexpr uint32_t byte_swap(uint32_t v) {
  return (v << 24) | ((v << 8) & 0x00FF0000u) | ((v >> 8) & 0x0000FF00u) | (v >> 24);
}
constexpr uint64_t byte_swap(uint64_t v) {
  return (static_cast<uint64_t>(byte_swap(static_cast<uint32_t>(v))) << 32) |
         byte_swap(static_cast<uint32_t>(v >> 32));
}

// Stores an unsigned value least-significant byte first on a host of byte
// order `host`; the parameter exists so the swapping path is tested on every
// host, not only where it runs.
template <std::endian host = std::endian::native, std::unsigned_integral T>
inline char* put_le(char* dst, T v) {
  static_assert(host == std::endian::little || host == std::endian::big);
  if constexpr (host == std::endian::big) v = byte_swap(v);
  std::memcpy(dst, &v, sizeof v);
  return dst + sizeof v;
}

inline char* put_u8(char* dst, uint8_t v) {
  *dst = static_cast<char>(v);
  return dst + 1;
}

inline char* put_u16le(char* dst, uint16_t v) { return put_le(dst, v); }
inline char* put_u32le(char* dst, uint32_t v) { return put_le(dst, v); }
inline char* put_u64le(char* dst, uint64_t v) { return put_le(dst, v); }

// Signed values go out in two's complement, the form the simulator expects.
inline char* put_i16le(char* dst, int16_t v) { return put_u16le(dst, static_cast<uint16_t>(v)); }
inline char* put_i32le(char* dst, int32_t v) { return put_u32le(dst, static_cast<uint32_t>(v)); }

// An IEEE 754 double, its 64 bits unchanged (a NaN keeps its payload).
inline char* put_f64le(char* dst, double v) { return put_u64le(dst, std::bit_cast<uint64_t>(v)); }

}  // namespace tracciato

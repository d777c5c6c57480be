// Little-endian byte encoders for the binary scenario files.
//
// The simulator reads every number least-significant byte first, so each
// value is taken apart byte by byte here, whatever the byte order of the host:
// a struct is never copied to disk as it lies in memory. The layouts these
// encoders serve are described in docs/file_formats.md.
//
// Each put_ writes one value at `dst` and returns the position just after it,
// so a file is built by threading one pointer through a buffer sized up front.
// REQUIRES: dst has room for the value's width.
#pragma once

#include <bit>
#include <cstdint>

namespace tracciato {

inline char* put_u8(char* dst, uint8_t v) {
  *dst = static_cast<char>(v);
  return dst + 1;
}

inline char* put_u16le(char* dst, uint16_t v) {
  dst[0] = static_cast<char>(v & 0xFF);
  dst[1] = static_cast<char>(v >> 8);
  return dst + 2;
}

inline char* put_u32le(char* dst, uint32_t v) {
  for (int i = 0; i < 4; ++i) dst[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
  return dst + 4;
}

inline char* put_u64le(char* dst, uint64_t v) {
  for (int i = 0; i < 8; ++i) dst[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
  return dst + 8;
}

// Signed values go out in two's complement, the form the simulator expects.
inline char* put_i16le(char* dst, int16_t v) { return put_u16le(dst, static_cast<uint16_t>(v)); }
inline char* put_i32le(char* dst, int32_t v) { return put_u32le(dst, static_cast<uint32_t>(v)); }

// An IEEE 754 double, its 64 bits unchanged (a NaN keeps its payload).
inline char* put_f64le(char* dst, double v) { return put_u64le(dst, std::bit_cast<uint64_t>(v)); }

}  // namespace tracciato

// Reading the little-endian numbers of the binary scenario files back, the
// mirror of output/byte_encoding.h. Every read checks that the bytes are
// there: a file that ends early is reported with the offset where the value
// was due, never read past.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "authoring/scenario_decoding.h"

namespace tracciato {

class ByteReader {
 public:
  explicit ByteReader(std::string_view bytes) : bytes_(bytes) {}

  size_t offset() const { return pos_; }
  size_t left() const { return bytes_.size() - pos_; }
  bool at_end() const { return pos_ == bytes_.size(); }

  uint8_t u8(std::string_view what) { return static_cast<uint8_t>(take(1, what)[0]); }
  uint16_t u16le(std::string_view what) { return static_cast<uint16_t>(unsigned_le(2, what)); }
  uint32_t u32le(std::string_view what) { return static_cast<uint32_t>(unsigned_le(4, what)); }
  int16_t i16le(std::string_view what) { return static_cast<int16_t>(u16le(what)); }
  int32_t i32le(std::string_view what) { return static_cast<int32_t>(u32le(what)); }
  double f64le(std::string_view what) { return std::bit_cast<double>(unsigned_le(8, what)); }

  // `n` raw bytes.
  std::string_view bytes(size_t n, std::string_view what) { return take(n, what); }

 private:
  std::string_view take(size_t n, std::string_view what) {
    if (left() < n) {
      throw DecodeError("the file ends at byte " + std::to_string(bytes_.size()) + " inside " +
                        std::string(what) + " (due at byte " + std::to_string(pos_) + ", " +
                        std::to_string(n) + " bytes)");
    }
    const std::string_view part = bytes_.substr(pos_, n);
    pos_ += n;
    return part;
  }

  uint64_t unsigned_le(size_t n, std::string_view what) {
    const std::string_view part = take(n, what);
    uint64_t v = 0;
    if constexpr (std::endian::native == std::endian::little) {
      // The bytes as they lie are the value: one load, not n shifts.
      std::memcpy(&v, part.data(), n);
    } else {
      for (size_t i = n; i-- > 0;) v = (v << 8) | static_cast<unsigned char>(part[i]);
    }
    return v;
  }

  std::string_view bytes_;
  size_t pos_ = 0;
};

}  // namespace tracciato

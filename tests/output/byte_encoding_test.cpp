#include "output/byte_encoding.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

namespace tracciato {
namespace {

// The bytes of v least-significant first, taken apart by shifts: what the
// simulator reads, whatever the host.
template <typename T>
std::string shifted_bytes(T v) {
  std::string bytes;
  for (size_t i = 0; i < sizeof v; ++i) bytes += static_cast<char>((v >> (8 * i)) & 0xFF);
  return bytes;
}

template <std::endian host, typename T>
std::string stored_bytes(T v) {
  std::string bytes(sizeof v, '?');
  EXPECT_EQ(put_le<host>(bytes.data(), v), bytes.data() + sizeof v);
  return bytes;
}

// On either host the store gives the shifted bytes: the host's own order by
// memcpy, the other order by a swap before it. Here the host is one of the
// two, so exactly one of the stores sees the other order in memory, and its
// bytes come out reversed.
template <typename T>
void check_both_hosts(T v) {
  const std::string expected = shifted_bytes(v);
  const std::string reversed(expected.rbegin(), expected.rend());
  constexpr bool little = std::endian::native == std::endian::little;
  EXPECT_EQ(stored_bytes<std::endian::little>(v), little ? expected : reversed) << v;
  EXPECT_EQ(stored_bytes<std::endian::big>(v), little ? reversed : expected) << v;
  EXPECT_EQ(stored_bytes<std::endian::native>(v), expected) << v;
}

TEST(ByteEncoding, LittleEndianOnEitherHost) {
  for (const uint16_t v : {uint16_t{0}, uint16_t{0x0102}, uint16_t{0xFF00}, uint16_t{0xFFFF}}) {
    check_both_hosts(v);
  }
  for (const uint32_t v : {0u, 0x01020304u, 0x80000001u, 0xFFFFFFFFu}) check_both_hosts(v);
  for (const uint64_t v : {uint64_t{0}, uint64_t{0x0102030405060708}, uint64_t{0x8000000000000001},
                           std::numeric_limits<uint64_t>::max()}) {
    check_both_hosts(v);
  }
}

TEST(ByteEncoding, ByteSwapReversesEveryByte) {
  EXPECT_EQ(byte_swap(uint16_t{0x0102}), 0x0201);
  EXPECT_EQ(byte_swap(0x01020304u), 0x04030201u);
  EXPECT_EQ(byte_swap(uint64_t{0x0102030405060708}), uint64_t{0x0807060504030201});
}

TEST(ByteEncoding, SignedAndRealValues) {
  std::string bytes(8, '\0');
  put_i16le(bytes.data(), -2);
  EXPECT_EQ(bytes.substr(0, 2), "\xFE\xFF");
  put_i32le(bytes.data(), -5121);
  EXPECT_EQ(bytes.substr(0, 4), shifted_bytes(static_cast<uint32_t>(-5121)));
  put_f64le(bytes.data(), 1.0);
  EXPECT_EQ(bytes, std::string("\0\0\0\0\0\0\xF0\x3F", 8));
}

}  // namespace
}  // namespace tracciato

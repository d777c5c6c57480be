#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "output/byte_reader.h"
#include "output/scenario_output.h"

namespace tracciato {
namespace {

// The polyline as the line parser leaves it: rows 0 and 1 integers, rows 2 to
// track_length - 2 reals, the last two rows never written.
ScenarioModel polyline(int32_t length) {
  ScenarioModel model;
  model.track_flag = 1;
  create_route(model, length);
  model.track_points.write_start({0, -2}, {0, -3});
  for (int32_t m = 2; m <= model.track_length - 2; ++m)
    model.track_points.append(m * 1.0, m * -0.5);
  return model;
}

TEST(TrackFile, LengthOfAParsedLine) {
  const ScenarioModel model = polyline(32000);
  const std::string bytes = encode_track_file(model);
  EXPECT_EQ(bytes.size(), 20u * 39000 - 36);
  EXPECT_EQ(bytes.size(), 779964u);
}

TEST(TrackFile, EntriesInStorageOrderWithTheirTags) {
  const ScenarioModel model = polyline(32000);
  const std::string bytes = encode_track_file(model);

  // Coordinate 0: metres 0 and 1 as tag-2 zeros, then tag-5 reals.
  EXPECT_EQ(bytes.substr(0, 8), std::string("\x02\x00\x00\x00\x02\x00\x00\x00", 8));
  EXPECT_EQ(read_le(bytes, 8, 2), 5u);
  EXPECT_EQ(read_f64(bytes, 10), 2.0);
  EXPECT_EQ(read_le(bytes, 18, 2), 5u);
  EXPECT_EQ(read_f64(bytes, 20), 3.0);

  // Coordinate 0 ends with two bare empty tags; coordinate 1 follows at once.
  const size_t coordinate_1 = 10 * 39000 - 18;
  EXPECT_EQ(bytes.substr(coordinate_1 - 4, 4), std::string(4, '\0'));
  EXPECT_EQ(bytes.substr(coordinate_1, 8), std::string("\x02\x00\xFE\xFF\x02\x00\xFD\xFF", 8));
  EXPECT_EQ(read_le(bytes, coordinate_1 + 8, 2), 5u);
  EXPECT_EQ(read_f64(bytes, coordinate_1 + 10), -1.0);
  EXPECT_EQ(bytes.substr(bytes.size() - 4), std::string(4, '\0'));
}

TEST(TrackFile, RealsRoundTripBitForBit) {
  const double cases[] = {
      1.0,
      -0.0,
      1.0 / 3.0,
      -123456.789,
      std::numeric_limits<double>::denorm_min(),
      std::numeric_limits<double>::max(),
      -std::numeric_limits<double>::infinity(),
      std::bit_cast<double>(uint64_t{0x7FF8000000000123}),  // NaN with a payload
  };
  for (const double v : cases) {
    ScenarioModel model;
    model.track_points.create(3);
    model.track_points.write_start({0, 0}, {0, 0});
    model.track_points.append(v, v);
    const std::string bytes = encode_track_file(model);
    ASSERT_EQ(bytes.size(), 36u);
    for (const size_t at : {8u, 26u}) {
      EXPECT_EQ(read_le(bytes, at, 2), 5u);
      EXPECT_EQ(read_le(bytes, at + 2, 8), std::bit_cast<uint64_t>(v)) << v;
    }
    if (v == 1.0) {
      EXPECT_EQ(bytes.substr(10, 8), std::string("\0\0\0\0\0\0\xF0\x3F", 8));
    }
  }
}

TEST(TrackFile, RowsNeverWrittenAreBareTags) {
  // A general section that stops after sizing the route leaves every row
  // empty, the start rows too.
  ScenarioModel model;
  model.track_flag = 1;
  create_route(model, 0);
  EXPECT_EQ(encode_track_file(model), std::string(2 * 2 * 7001, '\0'));
  model.track_points.clear();
  EXPECT_EQ(encode_track_file(model), "");
}

TEST(TrackFile, ChunksOfALongLineJoinWithoutAByteLostOrDoubled) {
  // 200 km make a file of several chunks, with entries across every border.
  const ScenarioModel model = polyline(200000);
  std::string bytes;
  size_t chunks = 0;
  encode_track_file(model, [&](std::string_view chunk) {
    EXPECT_FALSE(chunk.empty());
    bytes.append(chunk);
    chunks += 1;
  });
  EXPECT_GT(chunks, 2u);
  ASSERT_EQ(bytes.size(), 20u * model.track_length - 36);

  size_t at = 0;
  for (int c = 0; c < 2; ++c) {
    for (int32_t m = 0; m <= model.track_length; ++m) {
      const uint64_t tag = read_le(bytes, at, 2);
      if (m < 2) {
        ASSERT_EQ(tag, 2u) << c << " " << m;
        ASSERT_EQ(read_i16(bytes, at + 2), c == 0 ? 0 : -2 - m) << c << " " << m;
        at += 4;
      } else if (m <= model.track_length - 2) {
        ASSERT_EQ(tag, 5u) << c << " " << m;
        ASSERT_EQ(read_f64(bytes, at + 2), c == 0 ? m * 1.0 : m * -0.5) << c << " " << m;
        at += 10;
      } else {
        ASSERT_EQ(tag, 0u) << c << " " << m;
        at += 2;
      }
    }
  }
  EXPECT_EQ(at, bytes.size());
}

}  // namespace
}  // namespace tracciato

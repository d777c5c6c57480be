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
  const int32_t rows = model.track_length + 1;
  for (int32_t m = 0; m < 2; ++m) {
    model.track_points[m] = {int16_t{0}, static_cast<int16_t>(-2 - m)};
  }
  for (int32_t m = 2; m <= rows - 3; ++m) {
    model.track_points[m] = {m * 1.0, m * -0.5};
  }
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
    model.track_points = {TrackPoint{v, TrackNumber{}}};
    const std::string bytes = encode_track_file(model);
    ASSERT_EQ(bytes.size(), 12u);
    EXPECT_EQ(read_le(bytes, 0, 2), 5u);
    EXPECT_EQ(read_le(bytes, 2, 8), std::bit_cast<uint64_t>(v)) << v;
  }
  ScenarioModel one;
  one.track_points = {TrackPoint{1.0, TrackNumber{}}};
  EXPECT_EQ(encode_track_file(one).substr(2, 8), std::string("\0\0\0\0\0\0\xF0\x3F", 8));
}

}  // namespace
}  // namespace tracciato

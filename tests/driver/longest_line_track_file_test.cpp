// The track file of the longest line the compiler accepts, pinned byte for
// byte: 1,000,000 m with curves of every class and both hands up to the last
// metre a curve may bend (the cursor limit), then the straight run to the end
// of the overrun. Any change to how the polyline is computed, stored or
// encoded that moves one of its 20 MB shows here.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "compiler/description_source.h"
#include "driver/compile_driver.h"
#include "output/scenario_output.h"
#include "support/digest.h"

namespace tracciato {
namespace {

using test_support::fnv1a64;

constexpr int32_t kLength = 1000000;
constexpr int32_t kCurvePeriod = 1000;  // a curve every kilometre
constexpr int32_t kCurveLength = 600;
constexpr int32_t kLastCurvedRow = 999999;  // the cursor may not pass 1,000,000

std::string longest_line() {
  std::string text =
      "[generale]\r\nlunghezza percorso, " + std::to_string(kLength) + "\r\n[curve]\r\n";
  int32_t k = 0;
  for (int32_t start = 100; start + kCurveLength < kLastCurvedRow; start += kCurvePeriod, ++k) {
    const char* hand = k % 2 == 0 ? "d" : "s";
    text += "curva" + std::string(hand) + std::to_string(1 + k % 6) + ", " + std::to_string(start) +
            ", " + std::to_string(kCurveLength) + "\r\n";
  }
  // The last curve ends on the last row the cursor limit lets a curve bend.
  const int32_t last_start = 999500;
  text += "curvas6, " + std::to_string(last_start) + ", " +
          std::to_string(kLastCurvedRow - last_start) + "\r\n\r\n";
  return text;
}

TEST(LongestLineTrackFile, KeepsItsPinnedBytes) {
  ScenarioModel model;
  model.line_name = "Lunga";
  model.train_number = "1";
  MemoryDescriptions source(longest_line(), std::string());
  ASSERT_EQ(compile_scenario(model, 1, source), CompileStop::kNone);
  ASSERT_EQ(model.error_code, 0);

  const std::string bytes = encode_track_file(model);
  // 20 bytes a metre, less the two empty rows at the end of each coordinate.
  EXPECT_EQ(bytes.size(), 20u * (kLength + 7000) - 36);
  EXPECT_EQ(fnv1a64(bytes), 0x37b37363cf1ed553ULL) << std::hex << " 0x" << fnv1a64(bytes);
}

}  // namespace
}  // namespace tracciato

#include "compiler/diagnostics.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace tracciato {
namespace {

TEST(ErrorMessage, EveryRecordedCodeHasItsOwnSentence) {
  const std::string_view unknown = error_message(0);
  const int32_t recorded[] = {1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12,  13,  15,  16, 17,
                              18, 19, 20, 21, 22, 24, 25, 26, 27, 28, 29, 101, 102, 103, 104};
  std::set<std::string_view> seen;
  for (int32_t code : recorded) {
    const std::string_view message = error_message(code);
    EXPECT_NE(message, unknown) << code;
    EXPECT_TRUE(seen.insert(message).second) << code << " repeats another code's sentence";
  }
  EXPECT_EQ(error_message(16), "the signal's cell is already occupied");
  for (int32_t never : {14, 23, 30, 100, 105, -1})
    EXPECT_EQ(error_message(never), unknown) << never;
}

}  // namespace
}  // namespace tracciato

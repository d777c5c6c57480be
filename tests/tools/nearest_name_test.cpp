#include "tools/nearest_name.h"

#include <gtest/gtest.h>

#include <vector>

namespace tracciato {
namespace {

TEST(NearestName, SuggestsOnlyAClearlyNearestName) {
  const std::vector<std::string> known = {"compile", "example", "inspect", "lint"};
  const struct {
    const char* word;
    std::optional<std::string> expected;
  } cases[] = {
      {"compil", "compile"}, {"complie", "compile"}, {"exmaple", "example"},
      {"lnt", "lint"},       {"zzzz", std::nullopt}, {"bogus", std::nullopt},
      {"", std::nullopt},    {"compile", "compile"},
  };
  for (const auto& c : cases) EXPECT_EQ(nearest_name(c.word, known), c.expected) << c.word;
}

TEST(NearestName, ATieSuggestsNothing) {
  const std::vector<std::string> known = {"cat", "car"};
  EXPECT_EQ(nearest_name("ca", known), std::nullopt);
  EXPECT_EQ(nearest_name("cas", known), std::nullopt);
  EXPECT_EQ(nearest_name("cat", known), "cat");
}

}  // namespace
}  // namespace tracciato

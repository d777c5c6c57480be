#include <gtest/gtest.h>

#include <string>

#include "output/scenario_output.h"

namespace tracciato {
namespace {

// A model whose item table names the scenario; only those names make a code.
ScenarioModel named(const std::string& train_number, const std::string& line_name) {
  ScenarioModel model;
  model.item_table[kTrainIdentity].name = train_number;
  model.item_table[kLineIdentity].name = line_name;
  return model;
}

TEST(CompetitionCodes, WorkedExamples) {
  const struct {
    const char* train;
    const char* line;
    int16_t plain;
    int32_t weighted;
  } cases[] = {
      {"", "", 2583, 34355},
      {"12", "A_B", 2423, 33203},
      {"A_B", "12", 2423, 32920},
      {"12", "a_b", 2423, 33203},
      {"7351", "Tarvo_Belmira", 2379, 32595},
  };
  for (const auto& c : cases) {
    const ScenarioModel model = named(c.train, c.line);
    EXPECT_EQ(codice_gara_og(model), c.plain) << c.train << " + " << c.line;
    EXPECT_EQ(codice_gara_st(model), c.weighted) << c.train << " + " << c.line;
  }
}

TEST(CompetitionCodes, OnlyTheItemTableNamesCount) {
  ScenarioModel model = named("12", "A_B");
  model.line_name = "Tarvo_Belmira";
  model.train_number = "7351";
  EXPECT_EQ(codice_gara_og(model), 2423);
  EXPECT_EQ(codice_gara_st(model), 33203);
}

// A one-character line name sits at position 1, followed by the first 24
// filler letters (worth 2472 together), so the plain code shows the value the
// character counts with after lower-casing.
TEST(CompetitionCodes, LowerCaseCoversEveryWindows1252Capital) {
  constexpr int kFirst24Filler = 2472;
  const struct {
    unsigned char in;
    unsigned char counted;
  } cases[] = {
      {'A', 'a'},   {'Z', 'z'},   {'@', '@'},   {'[', '['},
      {'a', 'a'},   {'_', '_'},   {0xC0, 0xE0},                // À
      {0xDE, 0xFE},                                            // Þ
      {0xC9, 0xE9},                                            // É
      {0xD7, 0xD7},                                            // × is no letter
      {0xDF, 0xDF},                                            // ß has no capital here
      {0xE0, 0xE0}, {0xFE, 0xFE}, {0xFF, 0xFF}, {0x8A, 0x9A},  // Š
      {0x8C, 0x9C},                                            // Œ
      {0x8E, 0x9E},                                            // Ž
      {0x9F, 0xFF},                                            // Ÿ
      {0x9A, 0x9A}, {0x80, 0x80}, {0x8D, 0x8D}, {0x01, 0x01},
  };
  for (const auto& c : cases) {
    const ScenarioModel model = named("", std::string(1, static_cast<char>(c.in)));
    EXPECT_EQ(codice_gara_og(model) - kFirst24Filler, c.counted) << std::hex << int{c.in};
  }
}

TEST(CompetitionCodes, CharactersBeyondPosition25DoNotCount) {
  // 10 + 20 characters: line name letter "o" sits at position 25.
  const std::string train = "1234567890";
  const std::string line = "abcdefghijklmnopqrstuvwxyz";
  const ScenarioModel base = named(train, line.substr(0, 20));

  const ScenarioModel longer = named(train, line.substr(0, 15) + "VWXYZ_and_more");
  EXPECT_EQ(codice_gara_og(longer), codice_gara_og(base));
  EXPECT_EQ(codice_gara_st(longer), codice_gara_st(base));

  // Position 25 still counts, with weight 25.
  const ScenarioModel changed_25 = named(train, line.substr(0, 14) + "p" + line.substr(15, 5));
  EXPECT_EQ(codice_gara_og(changed_25) - codice_gara_og(base), 'p' - 'o');
  EXPECT_EQ(codice_gara_st(changed_25) - codice_gara_st(base), 25 * ('p' - 'o'));
}

}  // namespace
}  // namespace tracciato

#include "tools/scenario_names.h"

#include <gtest/gtest.h>

namespace tracciato {
namespace {

// On POSIX a backslash is part of the file name, and a line name holding one
// would name files outside the folder; on Windows it separates folders.
#ifdef _WIN32
const std::optional<std::string> kBackslashLineName = "slash";
#else
const std::optional<std::string> kBackslashLineName = std::nullopt;
#endif

TEST(ScenarioNames, LineNameIsTheFileNameWithoutItsSuffix) {
  const struct {
    const char* file;
    std::optional<std::string> expected;
  } cases[] = {
      {"Tarvo_Belmira_linea.txt", "Tarvo_Belmira"},
      {"scenarios/old/Tarvo_Belmira_linea.txt", "Tarvo_Belmira"},
      {"a_linea.txt", "a"},
      {"x_linea.txt_linea.txt", "x_linea.txt"},
      {"_linea.txt", std::nullopt},           // nothing left
      {"Tarvo_linea.TXT", std::nullopt},      // the suffix is matched exactly
      {"Tarvo_linea.txt.bak", std::nullopt},  // not the last part
      {"Tarvo.txt", std::nullopt},
      {"back\\slash_linea.txt", kBackslashLineName},
      {"dir/", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(line_name_from_file(c.file), c.expected) << c.file;
}

TEST(ScenarioNames, TrainNumberSitsBetweenTheLineNameAndTheSuffix) {
  const struct {
    const char* file;
    const char* line_name;
    std::optional<std::string> expected;
  } cases[] = {
      {"Tarvo_Belmira_7351-.txt", "Tarvo_Belmira", "7351"},
      {"in/Tarvo_Belmira_7351-.txt", "Tarvo_Belmira", "7351"},
      {"Tarvo_Belmira_R 2-bis-.txt", "Tarvo_Belmira", "R 2-bis"},
      {"Tarvo_Belmira_7351-.txt", "Tarvo", "Belmira_7351"},
      {"Tarvo_Belmira_-.txt", "Tarvo_Belmira", std::nullopt},  // empty number
      {"Tarvo_Belmira-.txt", "Tarvo_Belmira", std::nullopt},   // no "_" after the line
      {"Tarvo_Belmira_7351.txt", "Tarvo_Belmira", std::nullopt},
      {"Other_7351-.txt", "Tarvo_Belmira", std::nullopt},
      {"T_-.txt", "T", std::nullopt},
      {"T-.txt", "T", std::nullopt},  // shorter than prefix and suffix together
  };
  for (const auto& c : cases) {
    EXPECT_EQ(train_number_from_file(c.file, c.line_name), c.expected)
        << c.file << " with line " << c.line_name;
  }
}

TEST(ScenarioNames, NamesThatWouldLeaveTheOutputFolderAreRefused) {
  const struct {
    std::string name;
    bool usable;
  } cases[] = {
      {"Tarvo_Belmira", true},
      {"7351", true},
      {"..", true},  // ".._linea.dat" stays inside
      {"", false},
      {"a/b", false},
      {"a\\b", false},
      {"../x", false},
      {std::string("a\0b", 3), false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(!scenario_name_problem(c.name).has_value(), c.usable) << c.name;
  }
}

}  // namespace
}  // namespace tracciato

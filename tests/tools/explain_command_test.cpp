// `tracciato explain` as an author runs it.
#include <gtest/gtest.h>

#include "compiler/code_explanations.h"
#include "support/temp_folder.h"
#include "tool_process.h"

namespace tracciato {
namespace {

using namespace test_support;

TEST(ExplainCommand, PrintsTheLongFormOfEveryCode) {
  TempFolder folder;
  for (const CodeExplanation& e : code_explanations()) {
    const ProgramRun run = run_tracciato(folder.path(), {"explain", std::to_string(e.code)});
    EXPECT_EQ(run.status, 0) << e.code;
    EXPECT_EQ(run.out, explanation_text(e)) << e.code;
    EXPECT_EQ(run.err, "");
  }
}

TEST(ExplainCommand, AnythingButAKnownCodeIsAUsageError) {
  TempFolder folder;
  const std::string known = "the codes are 1 to 13, 15 to 22, 24 to 29, 101 to 104\n";
  for (const std::string code : {"14", "0", "16x", "-1", "99999999999", ""}) {
    const ProgramRun run = run_tracciato(folder.path(), {"explain", code});
    EXPECT_EQ(run.status, 2) << code;
    EXPECT_EQ(run.out, "") << code;
    EXPECT_EQ(run.err, "tracciato explain: '" + code + "' is not a problem code; " + known) << code;
  }
  // Without a code: the codes to choose from, each with its meaning.
  const ProgramRun list = run_tracciato(folder.path(), {"explain"});
  EXPECT_EQ(list.status, 0);
  EXPECT_NE(list.out.find("\n  16  "), std::string::npos) << list.out;
}

}  // namespace
}  // namespace tracciato

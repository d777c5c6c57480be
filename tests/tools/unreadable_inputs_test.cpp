// Every command given a pipe or an endless device where a file belongs: it
// answers at once with a sentence naming the path and what it is, and a
// documented status, never waiting for a writer nor reading without end.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "support/temp_folder.h"
#include "tool_process.h"

namespace tracciato {
namespace {

using namespace test_support;

TEST(UnreadableInputs, APipeOrADeviceIsRefusedByEveryCommandAtOnce) {
  TempFolder author;
  ASSERT_EQ(run_tracciato(author.path(), {"example"}).status, 0);
  ASSERT_EQ(mkfifo((author / "pipe").c_str(), 0600), 0);
  const std::string line = "Tarvo_Belmira_linea.txt";
  const std::string train = "Tarvo_Belmira_7351-.txt";
  const std::vector<std::string> documents = {
      "--notes",          "Tarvo_Belmira_7351_note.txt",
      "--slowdown-order", "Tarvo_Belmira_7351_rallentamenti.txt",
      "--timetable",      "Tarvo_Belmira_7351_scheda_treno.txt"};
  // Each command line, with X where the pipe or the device goes.
  std::vector<std::vector<std::string>> commands = {
      {"compile", "X", train, "--line-name", "L", "--train-number", "1", "--out", "out"},
      {"compile", line, "X", "--train-number", "1", "--out", "out"},
      {"lint", "X", train},
      {"lint", line, "X"},
      {"plot", "X", train, "--out", "route.svg"},
      {"inspect", "X"},
      {"inspect", "X", "--kind", "cell"},
      {"decompile", "X", "X", "X", "--out", "back"},
      {"view", "X", train, "--out", "route.html"},
      {"view", line, "X", "--out", "route.html"},
      // diff takes a side of two paths not both .txt as a cell and an item file.
      {"diff", "X", train, line, train},
      {"diff", line, train, line, "X"},
  };
  for (size_t i = 0; i < documents.size(); i += 2) {
    std::vector<std::string> package = {"package", line, train, "--out", "dist"};
    for (size_t j = 0; j < documents.size(); j += 2) {
      package.push_back(documents[j]);
      package.push_back(i == j ? "X" : documents[j + 1]);
    }
    commands.push_back(package);
  }
  commands.push_back({"package", "X", train, "--line-name", "L", "--train-number", "1", "--out",
                      "dist", documents[0], documents[1], documents[2], documents[3], documents[4],
                      documents[5]});

  const struct {
    std::string path;
    std::string says;
  } inputs[] = {{(author / "pipe").string(), "this is a pipe"},
                {"/dev/zero", "this is a character device"}};
  for (const auto& input : inputs) {
    for (std::vector<std::string> args : commands) {
      std::string shown;
      for (std::string& a : args) {
        if (a == "X") a = input.path;
        shown += " " + a;
      }
      const ProgramRun run = run_tracciato(author.path(), args);
      EXPECT_EQ(run.status, 4) << shown << "\n" << run.err;
      EXPECT_NE(run.err.find(input.path + ": " + input.says), std::string::npos) << shown << "\n"
                                                                                 << run.err;
    }
  }
  for (const char* never_written : {"out", "route.svg", "route.html", "back", "dist"}) {
    EXPECT_FALSE(std::filesystem::exists(author / never_written)) << never_written;
  }
}

}  // namespace
}  // namespace tracciato

// What `tracciato compile` tells the author beyond its one error: the
// warnings the analysis finds (values stored truncated, records a typo drops,
// a description saved in UTF-8), and what --strict and --encoding change.
#include <gtest/gtest.h>

#include "compile_fixtures.h"
#include "platform/file_replace.h"
#include "support/temp_folder.h"
#include "tool_process.h"

namespace tracciato {
namespace {

using namespace test_support;

constexpr const char* kLineFile = "Tarvo_Belmira_linea.txt";
constexpr const char* kTrainFile = "Tarvo_Belmira_7351-.txt";

// The embedded scenario as `example` writes it, with two slips of the pen:
// a gradient of -300 (one byte holds -100 to 155) and the first signal's key
// misspelled, which drops the signal.
class EmbeddedWithSlips : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(run_tracciato(folder_.path(), {"example"}).status, 0);
    edit(kLineFile, "pendenza,  8400,   -9", "pendenza,  8400,   -300");
    edit(kTrainFile, "segnale,    1850", "segnalle,    1850");
  }

  void edit(const char* file, std::string_view from, std::string_view to) {
    std::string text = read_file(folder_ / file);
    text.replace(text.find(from), from.size(), to);
    replace_file(folder_ / file, text);
  }

  ProgramRun compile(std::vector<std::string> extra) {
    std::vector<std::string> args = {"compile", kLineFile, kTrainFile};
    args.insert(args.end(), extra.begin(), extra.end());
    return run_tracciato(folder_.path(), args);
  }

  bool wrote(const std::string& folder) {
    return std::filesystem::exists(folder_ / folder / "Tarvo_Belmira_7351.dat");
  }

  TempFolder folder_;
};

const std::string kSlipWarnings =
    "Tarvo_Belmira_linea.txt:53:20: warning: gradient -300 is stored as gradient + 100 in one "
    "byte, which holds -100 to 155: it becomes -44\n"
    "pendenza,  8400,   -300\n"
    "                   ^\n"
    "Tarvo_Belmira_7351-.txt:25:1: warning: key field 'segnalle' matches no key and starts no "
    "record; did you mean 'segnale'?\n"
    "segnalle,    1850,   1, 5, 6,  0, 0,    1,  3,1,0, 0\n"
    "^\n"
    "2 warnings\n";

TEST_F(EmbeddedWithSlips, CompileShowsTheWarningsAndStillWritesTheFiles) {
  const ProgramRun run = compile({"--out", "out"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, kSlipWarnings);
  EXPECT_TRUE(wrote("out"));
}

TEST_F(EmbeddedWithSlips, StrictMakesAWarningAFailureThatWritesNothing) {
  const ProgramRun run = compile({"--out", "out", "--strict"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, kSlipWarnings +
                         "tracciato compile: --strict: the warnings fail the compile; no file "
                         "written\n");
  EXPECT_FALSE(wrote("out"));

  const ProgramRun anyway = compile({"--out", "anyway", "--strict", "--keep-going"});
  EXPECT_EQ(anyway.status, 1);
  EXPECT_EQ(anyway.err, kSlipWarnings);
  EXPECT_TRUE(wrote("anyway"));
}

TEST_F(EmbeddedWithSlips, LintShowsTheSameWarningsOnStandardError) {
  const ProgramRun lint = run_tracciato(folder_.path(), {"lint", kLineFile, kTrainFile});
  EXPECT_EQ(lint.status, 0);
  EXPECT_EQ(lint.out, "");
  EXPECT_EQ(lint.err, kSlipWarnings);
  EXPECT_EQ(run_tracciato(folder_.path(), {"lint", kLineFile, kTrainFile, "--strict"}).status, 1);
}

TEST_F(EmbeddedWithSlips, JsonCarriesTheWarningsAsDiagnosticsAndNothingElseIsPrinted) {
  const ProgramRun run = compile({"--out", "out", "--json"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err, "");
  EXPECT_NE(
      run.out.find(
          R"("diagnostics":[{"severity":"warning","code":null,"file":"Tarvo_Belmira_linea.txt",)"
          R"("line":53,"column":20,"position":null,"message":"gradient -300 is stored)"),
      std::string::npos)
      << run.out;
  EXPECT_NE(run.out.find(R"({"severity":"warning","code":null,"file":"Tarvo_Belmira_7351-.txt",)"
                         R"("line":25,"column":1,"position":null,)"),
            std::string::npos)
      << run.out;
}

// A sign whose text holds "N°", saved in the code page and in UTF-8.
constexpr std::string_view kSignLine1252 =
    "[generale]\r\nlunghezza percorso, 2000\r\n[fine]\r\ncartello_indicatore, 500, N\xB0 1\r\n\r\n";
constexpr std::string_view kSignLineUtf8 =
    "[generale]\r\nlunghezza percorso, 2000\r\n[fine]\r\ncartello_indicatore, 500, "
    "N\xC2\xB0 1\r\n\r\n";

ProgramRun compile_t(TempFolder& folder, std::string_view line, std::vector<std::string> extra) {
  replace_file(folder / "T_linea.txt", line);
  replace_file(folder / "T_1-.txt", kTrain);
  std::vector<std::string> args = {"compile", "T_linea.txt", "T_1-.txt"};
  args.insert(args.end(), extra.begin(), extra.end());
  return run_tracciato(folder.path(), args);
}

TEST(CompileEncoding, AUtf8DescriptionIsWarnedAboutAtItsFirstUtf8Character) {
  TempFolder folder;
  const ProgramRun run = compile_t(folder, kSignLineUtf8, {"--out", "utf8"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err,
            "T_linea.txt:4:28: warning: the description reads as UTF-8, but descriptions are "
            "Windows-1252 text: each byte of this character is read as a character of its own; "
            "save the file as Windows-1252 or give --encoding utf-8\n"
            "cartello_indicatore, 500, N\xC3\x82\xC2\xB0 1\n"
            "                           ^\n"
            "1 warning\n");
}

TEST(CompileEncoding, Utf8IsConvertedToTheCodePageWhenAsked) {
  TempFolder folder;
  ASSERT_EQ(compile_t(folder, kSignLine1252, {"--out", "cp"}).status, 0);
  const ProgramRun run = compile_t(folder, kSignLineUtf8, {"--out", "utf8", "--encoding", "utf-8"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err, "");
  for (const char* file : {"T_1.sim", "T_1.dat", "T_linea.dat"}) {
    EXPECT_EQ(read_file(folder / "utf8" / file), read_file(folder / "cp" / file)) << file;
  }
}

TEST(CompileEncoding, TextThatCannotBeConvertedIsAnErrorAtItsPlace) {
  const struct {
    const char* what;
    std::string_view line;
    std::string err;
  } cases[] = {
      {"no code-page byte",
       "[generale]\r\nlunghezza percorso, 2000\r\n[fine]\r\ncartello_indicatore, 500, "
       "\xCE\x94\r\n\r\n",
       "T_linea.txt:4:27: error: character U+0394 has no Windows-1252 byte; replace it with one "
       "the simulator can show\n"},
      {"not UTF-8 at all", kSignLine1252,
       "T_linea.txt:4:28: error: these bytes are not UTF-8; is the file saved as windows-1252 "
       "(then give no --encoding)?\n"},
  };
  for (const auto& c : cases) {
    TempFolder folder;
    const ProgramRun run = compile_t(folder, c.line, {"--out", "out", "--encoding", "utf-8"});
    EXPECT_EQ(run.status, 1) << c.what;
    EXPECT_EQ(run.err, c.err) << c.what;
    EXPECT_FALSE(std::filesystem::exists(folder / "out")) << c.what;
  }
}

}  // namespace
}  // namespace tracciato

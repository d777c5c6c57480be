// The conventions every command of `tracciato` shares: --version, help,
// colour only on a terminal, and names converted to the simulator's code
// page.
#include <gtest/gtest.h>

#include "authoring/scenario_decoding.h"
#include "compile_fixtures.h"
#include "compiler/scenario_model.h"
#include "output/scenario_output.h"
#include "platform/file_replace.h"
#include "support/temp_folder.h"
#include "tool_process.h"

namespace tracciato {
namespace {

using namespace test_support;

TEST(TracciatoVersion, IsTheProjectVersion) {
  TempFolder folder;
  const ProgramRun run = run_tracciato(folder.path(), {"--version"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "tracciato " TRACCIATO_VERSION "\n");
}

TEST(TracciatoHelp, PrintsWhatHelpOptionPrints) {
  TempFolder folder;
  const struct {
    std::vector<std::string> help;
    std::vector<std::string> same_as;
  } cases[] = {
      {{"help"}, {"--help"}},
      {{"help", "compile"}, {"compile", "--help"}},
      {{"help", "lint"}, {"lint", "--help"}},
  };
  for (const auto& c : cases) {
    const ProgramRun help = run_tracciato(folder.path(), c.help);
    const ProgramRun option = run_tracciato(folder.path(), c.same_as);
    EXPECT_EQ(help.status, 0) << c.same_as[0];
    EXPECT_EQ(help.out, option.out) << c.same_as[0];
    // The statuses every command shares end every help.
    EXPECT_NE(help.out.find("Exit status (every command):\n  0  done;"), std::string::npos)
        << help.out;
  }
  const ProgramRun unknown = run_tracciato(folder.path(), {"help", "compil"});
  EXPECT_EQ(unknown.status, 2);
  EXPECT_EQ(unknown.out, "");
  EXPECT_TRUE(unknown.err.starts_with(
      "tracciato help: 'compil' is not a command; did you mean 'compile'? the commands are "
      "compile, example, "))
      << unknown.err;
}

// Two indication signs in one cell: an error with its source line.
ProgramRun compile_clash(const RunOptions& options) {
  TempFolder folder;
  replace_file(folder / "T_linea.txt", kLineSignClash);
  replace_file(folder / "T_1-.txt", kTrain);
  return run_tracciato(folder.path(), {"compile", "T_linea.txt", "T_1-.txt"}, options);
}

TEST(TracciatoColour, OnlyOnATerminalAndNeverUnderNoColor) {
  const std::string plain = compile_clash({}).err;
  ASSERT_TRUE(plain.starts_with("T_linea.txt:5:24: error: 6 at 500 m: ")) << plain;
  std::string coloured = plain;
  coloured.replace(coloured.find("error"), 5, "\x1b[1;31merror\x1b[0m");
  // The note naming the sign already in the cell.
  ASSERT_NE(coloured.find(": note: "), std::string::npos) << plain;
  coloured.replace(coloured.find(": note: "), 8, ": \x1b[1;36mnote\x1b[0m: ");

  const struct {
    const char* what;
    bool terminal;
    std::optional<std::string> no_color;
    std::string err;
    std::optional<std::string> term = "xterm";
  } cases[] = {
      {"a file", false, std::nullopt, plain},
      {"a terminal", true, std::nullopt, coloured},
      {"a terminal, NO_COLOR set", true, "1", plain},
      {"a terminal, NO_COLOR empty", true, "", coloured},
      {"a dumb terminal", true, std::nullopt, plain, "dumb"},
  };
  for (const auto& c : cases) {
    RunOptions options;
    options.stderr_terminal = c.terminal;
    options.environment = {{"NO_COLOR", c.no_color}, {"TERM", c.term}};
    const ProgramRun run = compile_clash(options);
    EXPECT_EQ(run.status, 1) << c.what;
    EXPECT_EQ(run.err, c.err) << c.what;
  }
}

// What a person who does not yet know the commands types: each answer says
// what there is, or what was meant, and which command it is about.
TEST(TracciatoCommandLine, AMistakeIsAnsweredWithWhatThereIs) {
  TempFolder folder;
  ASSERT_EQ(run_tracciato(folder.path(), {"example"}).status, 0);
  ASSERT_EQ(run_tracciato(folder.path(), {"compile", "Tarvo_Belmira_linea.txt",
                                          "Tarvo_Belmira_7351-.txt", "--out", "out"})
                .status,
            0);
  const struct {
    std::vector<std::string> args;
    int status;
    std::string out_part;
    std::string err_part;
  } cases[] = {
      {{}, 2, "", "tracciato: give a command\n"},
      {{}, 2, "", "  compile"},
      {{"help", "comple"}, 2, "", "'comple' is not a command; did you mean 'compile'?"},
      {{"explain"}, 0, "  16  ", ""},
      {{"compile", "-x", "a", "b"},
       2,
       "",
       "tracciato compile: The following argument was not expected: -x; see tracciato compile "
       "--help"},
      {{"inspect", "out/Tarvo_Belmira_7351.dat", "--cells", "800..900"},
       2,
       "",
       "--cells 800..900: the file holds cells 0 to 780 only"},
      {{"view", "Tarvo_Belmira_linea.txt", "Tarvo_Belmira_7351-.txt"},
       2,
       "",
       "tracciato view: --out or --serve is required"},
      {{"view", "Tarvo_Belmira_linea.txt", "Tarvo_Belmira_7351-.txt", "--out", "r.html", "--serve"},
       2,
       "",
       "excludes"},
      {{"view", "Tarvo_Belmira_linea.txt", "Tarvo_Belmira_7351-.txt", "--out", "r.html", "--port",
        "8351"},
       2,
       "",
       "--port requires --serve"},
      {{"view", "Tarvo_Belmira_linea.txt", "Tarvo_Belmira_7351-.txt", "--out", "r.html"},
       0,
       "r.html\n",
       ""},
  };
  for (const auto& c : cases) {
    std::string shown;
    for (const auto& a : c.args) shown += " " + a;
    const ProgramRun run = run_tracciato(folder.path(), c.args);
    EXPECT_EQ(run.status, c.status) << shown << ": " << run.err;
    EXPECT_NE(run.out.find(c.out_part), std::string::npos) << shown << ": " << run.out;
    EXPECT_NE(run.err.find(c.err_part), std::string::npos) << shown << ": " << run.err;
  }
}

// The competition codes of a scenario named so, summed over Windows-1252
// bytes.
std::pair<int32_t, int16_t> codes_of(std::string_view line_name, std::string_view train_number) {
  auto model = std::make_unique<ScenarioModel>();
  model->item_table[85].name = line_name;
  model->item_table[86].name = train_number;
  return {codice_gara_st(*model), codice_gara_og(*model)};
}

TEST(TracciatoNames, AreWrittenInWindows1252WhereverTheyComeFrom) {
  const struct {
    const char* what;
    std::string line_file;
    std::string train_file;
    std::vector<std::string> names;
    std::string files;      // the name the output files start with, UTF-8
    std::string line_name;  // as the item file holds it
  } cases[] = {
      {"given",
       "T_linea.txt",
       "T_1-.txt",
       {"--line-name", "Linea_Città", "--train-number", "1"},
       "Linea_Città",
       "Linea_Citt\xE0"},
      {"from the file names", "Città_linea.txt", "Città_1-.txt", {}, "Città", "Citt\xE0"},
  };
  for (const auto& c : cases) {
    TempFolder folder;
    replace_file(folder / std::filesystem::path(c.line_file), kLine);
    replace_file(folder / std::filesystem::path(c.train_file), kTrain);
    std::vector<std::string> args = {"compile", c.line_file, c.train_file, "--out", "out"};
    args.insert(args.end(), c.names.begin(), c.names.end());
    const ProgramRun run = run_tracciato(folder.path(), args);
    ASSERT_EQ(run.status, 0) << c.what << ": " << run.err;

    // The file names are the author's, in the file system's own encoding.
    const std::filesystem::path out = folder / "out";
    const std::string items = read_file(out / (c.files + "_1.sim"));
    EXPECT_TRUE(std::filesystem::exists(out / (c.files + "_linea.dat"))) << c.what;
    // Inside, one byte per character: à is 0xE0, after the 16-bit length.
    const std::string stored =
        std::string(1, static_cast<char>(c.line_name.size())) + '\0' + c.line_name;
    EXPECT_NE(items.find(stored), std::string::npos) << c.what;
    const std::vector<ItemRecord> records = decode_item_file(items);
    const std::vector<RouteCell> cells = decode_cell_file(read_file(out / (c.files + "_1.dat")));
    const auto [weighted, plain] = codes_of(c.line_name, "1");
    EXPECT_EQ(records[85].num_4, weighted) << c.what;
    EXPECT_EQ(cells[1].value_2, plain) << c.what;
  }
}

TEST(TracciatoNames, ANameTheCodePageCannotHoldIsAUsageError) {
  TempFolder folder;
  replace_file(folder / "T_linea.txt", kLine);
  replace_file(folder / "T_1-.txt", kTrain);
  replace_file(folder / std::filesystem::path("Київ_linea.txt"), kLine);
  const std::string problem =
      "'К' (U+041A) has no Windows-1252 byte, and the scenario's files hold one Windows-1252 "
      "byte per character; choose a name without it";
  const struct {
    std::vector<std::string> args;
    std::string err;
  } cases[] = {
      {{"compile", "T_linea.txt", "T_1-.txt", "--line-name", "Київ"},
       "tracciato compile: --line-name 'Київ': " + problem + "\n"},
      {{"compile", "T_linea.txt", "T_1-.txt", "--train-number", "№1"},
       "tracciato compile: --train-number '№1': '№' (U+2116) has no Windows-1252 byte, and the "
       "scenario's files hold one Windows-1252 byte per character; choose a name without it\n"},
      {{"compile", "Київ_linea.txt", "T_1-.txt"},
       "tracciato compile: the line name 'Київ' taken from 'Київ_linea.txt': " + problem +
           "; or give --line-name\n"},
  };
  for (const auto& c : cases) {
    const ProgramRun run = run_tracciato(folder.path(), c.args);
    EXPECT_EQ(run.status, 2) << c.args[1];
    EXPECT_EQ(run.err, c.err);
  }
  EXPECT_FALSE(std::filesystem::exists(folder / "T_1.sim"));
}

}  // namespace
}  // namespace tracciato

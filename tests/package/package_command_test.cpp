// `tracciato package` as an author runs it, and its packages as drivers run
// them: alone in an empty folder, without a display.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <nlohmann/json.hpp>

#include "folder_files.h"
#include "support/temp_folder.h"
#include "text/windows1252.h"
#include "tool_process.h"

namespace tracciato {
namespace {

using namespace test_support;

std::string crlf_to_lf(std::string text) {
  std::string out;
  for (const char c : text) {
    if (c != '\r') out.push_back(c);
  }
  return out;
}

void replace_once(std::string& text, const std::string& from, const std::string& to) {
  const size_t at = text.find(from);
  ASSERT_NE(at, std::string::npos) << from;
  text.replace(at, from.size(), to);
}

// Runs a copy of `package` alone in `folder`, headless; the folder's files
// without the program are left in `files`.
ProgramRun install(const std::filesystem::path& package, const TempFolder& folder,
                   const std::string& name) {
  std::filesystem::copy_file(package, folder / name);
  RunOptions headless;
  headless.without_display = true;
  return run_program(folder / name, {}, folder.path(), headless);
}

std::map<std::string, std::string> files_without(const TempFolder& folder,
                                                 const std::string& program) {
  auto files = folder.files();
  files.erase(program);
  return files;
}

class PackageCommand : public testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(run_tracciato(author.path(), {"example"}).status, 0); }

  std::string read(const std::string& name) { return read_file(author / name); }
  void write(const std::string& name, const std::string& bytes) {
    replace_file(author / name, bytes);
  }
  ProgramRun package(std::vector<std::string> args) {
    std::vector<std::string> all{"package"};
    all.insert(all.end(), args.begin(), args.end());
    return run_tracciato(author.path(), all);
  }
  std::vector<std::string> embedded_documents() {
    return {"--notes",          "Tarvo_Belmira_7351_note.txt",
            "--slowdown-order", "Tarvo_Belmira_7351_rallentamenti.txt",
            "--timetable",      "Tarvo_Belmira_7351_scheda_treno.txt"};
  }

  TempFolder author;
};

// Other names, changed records, descriptions and notes in UTF-8 with LF ends:
// the package leaves the documents converted and the compile's very bytes.
TEST_F(PackageCommand, AnotherScenarioInstallsExactlyWhatItsCompileWrites) {
  std::string train = read("Tarvo_Belmira_7351-.txt");
  replace_once(train, "velocita,    3450,   135", "velocita,    3450,   120");
  replace_once(train, "LAVRETTO", "LAVRETTO NUOVO");
  write("Altra_Linea_linea.txt", read("Tarvo_Belmira_linea.txt"));
  write("Altra_Linea_42-.txt", train);
  write("lf_linea.txt", crlf_to_lf(read("Tarvo_Belmira_linea.txt")));
  write("lf_train.txt", crlf_to_lf(train));
  write("notes.txt", "Note per il macchinista\nCitt\xC3\xA0 e stazioni \xE2\x80\x93 nuove\nfine");

  const ProgramRun compiled = run_tracciato(
      author.path(), {"compile", "Altra_Linea_linea.txt", "Altra_Linea_42-.txt", "--out", "ref"});
  ASSERT_EQ(compiled.status, 0) << compiled.err;
  const ProgramRun made = package(
      {"lf_linea.txt", "lf_train.txt", "--line-name", "Altra_Linea", "--train-number", "42",
       "--notes", "notes.txt", "--slowdown-order", "Tarvo_Belmira_7351_rallentamenti.txt",
       "--timetable", "Tarvo_Belmira_7351_scheda_treno.txt", "--target", "linux", "--out", "dist"});
  ASSERT_EQ(made.status, 0) << made.err;

  TempFolder driver;
  const ProgramRun run = install(author / "dist/Altra_Linea_42", driver, "Altra_Linea_42");
  ASSERT_EQ(run.status, 0) << run.err;
  auto expected = files_in(author / "ref");
  expected["Altra_Linea_42_note.txt"] =
      "Note per il macchinista\r\nCitt\xE0 e stazioni \x96 nuove\r\nfine\r\n";
  expected["Altra_Linea_42_rallentamenti.txt"] = read("Tarvo_Belmira_7351_rallentamenti.txt");
  expected["Altra_Linea_42_scheda_treno.txt"] = read("Tarvo_Belmira_7351_scheda_treno.txt");
  const auto left = files_without(driver, "Altra_Linea_42");
  ASSERT_EQ(left.size(), 6u);
  for (const auto& [name, bytes] : expected) {
    ASSERT_TRUE(left.count(name)) << name;
    EXPECT_TRUE(left.at(name) == bytes) << name << " differs";
  }
}

TEST_F(PackageCommand, ADamagedPackageWritesNothingAndSaysToDownloadItAgain) {
  const std::string good = read_file(INSTALL_PACKAGE_PATH);
  std::string altered = good;
  altered[good.size() - 100] ^= 0x20;  // inside the payload's last document
  // Cut in half, the install program itself is cut: where the system can no
  // longer start it (a sanitizer build's layout), it says nothing, but still
  // nothing is written.
  const struct {
    const char* what;
    std::string bytes;
    bool program_whole;
  } cases[] = {
      {"one altered payload byte", altered, true},
      {"cut short by a byte", good.substr(0, good.size() - 1), true},
      {"cut in half", good.substr(0, good.size() / 2), false},
  };
  for (const auto& c : cases) {
    TempFolder source;
    replace_file(source / "Tarvo_Belmira_7351", c.bytes);
    std::filesystem::permissions(source / "Tarvo_Belmira_7351", std::filesystem::perms::owner_all);
    TempFolder driver;
    const ProgramRun run = install(source / "Tarvo_Belmira_7351", driver, "Tarvo_Belmira_7351");
    EXPECT_NE(run.status, 0) << c.what;
    if (c.program_whole || !run.err.empty()) {
      EXPECT_NE(run.err.find("Tarvo_Belmira_7351: this package is damaged and should be "
                             "downloaded again; nothing was written"),
                std::string::npos)
          << c.what << ": " << run.err;
    }
    EXPECT_TRUE(files_without(driver, "Tarvo_Belmira_7351").empty()) << c.what;
  }
}

// A line name outside ASCII: the package carries it as Windows-1252, as the
// compile stores it, and the installed files are named as the file system
// spells it.
TEST_F(PackageCommand, ALineNameOutsideAsciiInstallsAsItsCompileWrites) {
  const std::vector<std::string> names{"--line-name", "Linea_Città", "--train-number", "7351"};
  std::vector<std::string> compile{"compile", "Tarvo_Belmira_linea.txt", "Tarvo_Belmira_7351-.txt",
                                   "--out", "ref"};
  compile.insert(compile.end(), names.begin(), names.end());
  const ProgramRun compiled = run_tracciato(author.path(), compile);
  ASSERT_EQ(compiled.status, 0) << compiled.err;
  std::vector<std::string> args{
      "Tarvo_Belmira_linea.txt", "Tarvo_Belmira_7351-.txt", "--target", "linux", "--out", "dist"};
  for (const auto& a : embedded_documents()) args.push_back(a);
  args.insert(args.end(), names.begin(), names.end());
  const ProgramRun made = package(args);
  ASSERT_EQ(made.status, 0) << made.err;
  EXPECT_EQ(made.out, "dist/Linea_Città_7351\n");

  TempFolder driver;
  const ProgramRun run = install(author / "dist/Linea_Città_7351", driver, "Linea_Città_7351");
  ASSERT_EQ(run.status, 0) << run.err;
  auto expected = files_in(author / "ref");
  expected["Linea_Città_7351_note.txt"] = read("Tarvo_Belmira_7351_note.txt");
  expected["Linea_Città_7351_rallentamenti.txt"] = read("Tarvo_Belmira_7351_rallentamenti.txt");
  expected["Linea_Città_7351_scheda_treno.txt"] = read("Tarvo_Belmira_7351_scheda_treno.txt");
  EXPECT_TRUE(files_without(driver, "Linea_Città_7351") == expected);
  EXPECT_NE(expected["Linea_Città_7351.sim"].find("Linea_Citt\xE0"), std::string::npos);
}

TEST_F(PackageCommand, WritesNothingForAScenarioThatDoesNotCompileCleanly) {
  std::string train = read("Tarvo_Belmira_7351-.txt");
  // A signal at 0 m fills the reserved first cell: the compile stops (1250).
  replace_once(train, "segnale,    1850,", "segnale,       0,");
  write("Tarvo_Belmira_7351-.txt", train);
  std::vector<std::string> args{"Tarvo_Belmira_linea.txt", "Tarvo_Belmira_7351-.txt", "--out",
                                "dist"};
  for (const auto& a : embedded_documents()) args.push_back(a);
  const ProgramRun run = package(args);
  EXPECT_EQ(run.status, 1) << run.err;
  EXPECT_NE(run.err.find("stop 1250"), std::string::npos) << run.err;
  EXPECT_FALSE(std::filesystem::exists(author / "dist"));
}

// A package is made despite a warning, as compile writes its files despite
// one; --json carries the warning for the author's own tools.
TEST_F(PackageCommand, JsonCarriesTheCompilesWarnings) {
  std::string train = read("Tarvo_Belmira_7351-.txt");
  replace_once(train, "segnale,    1850,", "segnalle,    1850,");
  write("Tarvo_Belmira_7351-.txt", train);
  std::vector<std::string> args{"Tarvo_Belmira_linea.txt",
                                "Tarvo_Belmira_7351-.txt",
                                "--target",
                                "linux",
                                "--out",
                                "dist",
                                "--json"};
  for (const auto& a : embedded_documents()) args.push_back(a);
  const ProgramRun run = package(args);
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");
  const auto report = nlohmann::json::parse(run.out);
  ASSERT_EQ(report["diagnostics"].size(), 1u) << run.out;
  EXPECT_EQ(report["diagnostics"][0]["severity"], "warning");
  EXPECT_EQ(report["diagnostics"][0]["file"], "Tarvo_Belmira_7351-.txt");
  EXPECT_EQ(report["diagnostics"][0]["line"], 25);
  EXPECT_TRUE(std::filesystem::exists(author / "dist/Tarvo_Belmira_7351"));
}

TEST_F(PackageCommand, RefusesWhatItCannotPackage) {
  write("bad_notes.txt", "riga\n\xCE\x94 delta\n");
  const struct {
    const char* what;
    std::vector<std::string> extra;
    int status;
    std::string message;
  } cases[] = {
      {"a device name", {"--line-name", "CON"}, 2, "is a device name on Windows"},
      {"a trailing dot", {"--train-number", "7351."}, 2, "ends with a dot or a blank"},
      {"a missing stub",
       {"--stub", "nowhere/tracciato-stub"},
       2,
       "no linux install stub (tracciato-stub); looked at:\n  nowhere/tracciato-stub"},
      {"a character with no code-page byte",
       {"--notes", "bad_notes.txt"},
       1,
       "bad_notes.txt:2:1: error: character U+0394 has no Windows-1252 byte"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args{"Tarvo_Belmira_linea.txt", "Tarvo_Belmira_7351-.txt", "--out",
                                  "dist"};
    // A document the case gives replaces the embedded one.
    const auto docs = embedded_documents();
    for (size_t i = 0; i < docs.size(); i += 2) {
      if (c.extra[0] == docs[i]) continue;
      args.push_back(docs[i]);
      args.push_back(docs[i + 1]);
    }
    for (const auto& a : c.extra) args.push_back(a);
    const ProgramRun run = package(args);
    EXPECT_EQ(run.status, c.status) << c.what << ": " << run.err;
    EXPECT_NE(run.err.find(c.message), std::string::npos) << c.what << ": " << run.err;
    EXPECT_FALSE(std::filesystem::exists(author / "dist")) << c.what;
  }
}

// package takes the descriptions as compile does: the same encoding rule,
// the same options, the same warnings under --strict. From each source and
// with each option, the package installs the very files compile writes, or
// both fail alike and write nothing.
TEST_F(PackageCommand, InstallsWhatCompileWritesFromTheSameSourcesWithTheSameOptions) {
  // The example saved again by an editor that writes UTF-8, one station
  // renamed with a letter beyond ASCII.
  std::string train = read("Tarvo_Belmira_7351-.txt");
  replace_once(train, "LAVRETTO", "LAVRETT\xC0");
  write("utf8_linea.txt", windows1252_to_utf8(read("Tarvo_Belmira_linea.txt")));
  write("utf8_train.txt", windows1252_to_utf8(train));
  const struct {
    const char* what;
    const char* line;
    const char* train;
    std::vector<std::string> options;
    int status;
  } cases[] = {
      {"Windows-1252", "Tarvo_Belmira_linea.txt", "Tarvo_Belmira_7351-.txt", {}, 0},
      {"UTF-8 taken byte for byte, with a warning", "utf8_linea.txt", "utf8_train.txt", {}, 0},
      {"UTF-8 converted", "utf8_linea.txt", "utf8_train.txt", {"--encoding", "utf-8"}, 0},
      {"UTF-8 under --strict", "utf8_linea.txt", "utf8_train.txt", {"--strict"}, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::filesystem::remove_all(author / "ref");
    std::filesystem::remove_all(author / "dist");
    std::vector<std::string> common = {"--line-name", "Tarvo_Belmira", "--train-number", "7351"};
    common.insert(common.end(), c.options.begin(), c.options.end());
    std::vector<std::string> compile = {"compile", c.line, c.train, "--out", "ref"};
    compile.insert(compile.end(), common.begin(), common.end());
    const ProgramRun compiled = run_tracciato(author.path(), compile);
    std::vector<std::string> args = {c.line, c.train, "--out", "dist"};
    const auto docs = embedded_documents();
    args.insert(args.end(), docs.begin(), docs.end());
    args.insert(args.end(), common.begin(), common.end());
    const ProgramRun made = package(args);
    EXPECT_EQ(compiled.status, c.status) << compiled.err;
    EXPECT_EQ(made.status, c.status) << made.err;
    if (c.status != 0) {
      EXPECT_FALSE(std::filesystem::exists(author / "ref/Tarvo_Belmira_7351.dat"));
      EXPECT_FALSE(std::filesystem::exists(author / "dist/Tarvo_Belmira_7351"));
      continue;
    }
    TempFolder driver;
    ASSERT_EQ(install(author / "dist/Tarvo_Belmira_7351", driver, "Tarvo_Belmira_7351").status, 0);
    const auto left = files_without(driver, "Tarvo_Belmira_7351");
    for (const auto& [name, bytes] : files_in(author / "ref")) {
      ASSERT_TRUE(left.count(name)) << name;
      EXPECT_TRUE(left.at(name) == bytes) << name << " differs";
    }
  }
}

// A stub that is not the install program of its target is refused before
// anything is written: a Windows stub for Linux, a text, a package.
TEST_F(PackageCommand, AStubOfAnotherPlatformOrNoStubAtAllIsRefused) {
  write("note.txt", "not a program\r\n");
  // The headers of a 64-bit x86 Windows program, and nothing more.
  std::string windows_program(200, '\0');
  windows_program.replace(0, 2, "MZ");
  windows_program[60] = 0x40;
  windows_program.replace(64, 6, std::string_view("PE\0\0\x64\x86", 6));
  write("windows-stub.exe", windows_program);
  const struct {
    const char* stub;
    const char* says;
  } cases[] = {
      {"windows-stub.exe", "this is a Windows program, not the Linux install stub"},
      {"note.txt", "this is no program, so no install stub"},
      {INSTALL_PACKAGE_PATH, "this is a package already"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args = {"Tarvo_Belmira_linea.txt",
                                     "Tarvo_Belmira_7351-.txt",
                                     "--target",
                                     "linux",
                                     "--stub",
                                     c.stub,
                                     "--out",
                                     "dist"};
    const auto docs = embedded_documents();
    args.insert(args.end(), docs.begin(), docs.end());
    const ProgramRun run = package(args);
    EXPECT_EQ(run.status, 2) << c.stub << ": " << run.err;
    EXPECT_NE(run.err.find(c.says), std::string::npos) << c.stub << ": " << run.err;
    EXPECT_FALSE(std::filesystem::exists(author / "dist/Tarvo_Belmira_7351")) << c.stub;
  }
}

// Whatever stands at the package's name and is not an earlier package stays
// as it was: one of the package's own inputs, a folder with the author's
// files, a file of the author's. Names whose installed files no file system
// could create are refused before anything is written.
TEST_F(PackageCommand, NeverReplacesItsInputsNorAnythingButAnEarlierPackage) {
  const std::string long_name(240, 'L');
  const struct {
    const char* what;
    std::vector<std::string> extra;
    std::function<void(const TempFolder&)> lay_out;
    std::string message;
  } cases[] = {
      {"its own notes",
       {"--notes", "dist/Tarvo_Belmira_7351"},
       [](const TempFolder& f) { replace_file(f / "dist/Tarvo_Belmira_7351", "my notes\r\n"); },
       "would replace dist/Tarvo_Belmira_7351, one of its own inputs; nothing was written"},
      {"a folder of the author's",
       {},
       [](const TempFolder& f) {
         std::filesystem::create_directories(f / "dist/Tarvo_Belmira_7351");
         replace_file(f / "dist/Tarvo_Belmira_7351/mine.txt", "mine");
       },
       "a folder has this name, where the file goes; nothing was replaced"},
      {"a file of the author's",
       {},
       [](const TempFolder& f) { replace_file(f / "dist/Tarvo_Belmira_7351", "my own file"); },
       "this is not a package this program wrote; nothing was replaced"},
      {"a 240-character line name",
       {"--line-name", long_name, "--train-number", "7351"},
       [](const TempFolder& f) { std::filesystem::create_directories(f / "dist"); },
       "longer than the 245 a package can install on Windows and Linux; shorten the line name "
       "or the train number by 18"},
  };
  for (const auto& c : cases) {
    std::filesystem::remove_all(author / "dist");
    std::filesystem::create_directories(author / "dist");
    c.lay_out(author);
    const auto before = folder_tree(author / "dist");
    std::vector<std::string> args{"Tarvo_Belmira_linea.txt", "Tarvo_Belmira_7351-.txt", "--out",
                                  "dist"};
    const auto docs = embedded_documents();
    for (size_t i = 0; i < docs.size(); i += 2) {
      if (!c.extra.empty() && c.extra[0] == docs[i]) continue;
      args.push_back(docs[i]);
      args.push_back(docs[i + 1]);
    }
    for (const auto& a : c.extra) args.push_back(a);
    const ProgramRun run = package(args);
    EXPECT_EQ(run.status, 2) << c.what << ": " << run.err;
    EXPECT_NE(run.err.find(c.message), std::string::npos) << c.what << ": " << run.err;
    EXPECT_EQ(folder_tree(author / "dist"), before) << c.what;
  }
}

}  // namespace
}  // namespace tracciato

namespace tracciato {
namespace {

using namespace test_support;

// inspect recognises a package by its program header: names, documents and
// integrity; --extract gives back the very documents the package installs.
TEST(InspectPackage, ShowsThePackageAndExtractsItsDocuments) {
  TempFolder work;
  const ProgramRun shown = run_tracciato(work.path(), {"inspect", INSTALL_PACKAGE_PATH});
  EXPECT_EQ(shown.status, 0) << shown.err;
  for (const char* line : {"package: line Tarvo_Belmira, train 7351, for Linux", "payload intact",
                           "  Tarvo_Belmira_linea.txt: 4548 bytes, ",
                           "  Tarvo_Belmira_7351_note.txt: 10840 bytes, "}) {
    EXPECT_NE(shown.out.find(line), std::string::npos) << line << "\n" << shown.out;
  }

  const ProgramRun extracted =
      run_tracciato(work.path(), {"inspect", INSTALL_PACKAGE_PATH, "--extract", "docs"});
  ASSERT_EQ(extracted.status, 0) << extracted.err;
  TempFolder driver;
  std::filesystem::copy_file(INSTALL_PACKAGE_PATH, driver / "Tarvo_Belmira_7351");
  RunOptions headless;
  headless.without_display = true;
  ASSERT_EQ(run_program(driver / "Tarvo_Belmira_7351", {}, driver.path(), headless).status, 0);
  for (const char* name : {"Tarvo_Belmira_7351_note.txt", "Tarvo_Belmira_7351_rallentamenti.txt",
                           "Tarvo_Belmira_7351_scheda_treno.txt"}) {
    EXPECT_EQ(read_file(work / "docs" / name), read_file(driver / name)) << name;
  }
  EXPECT_TRUE(std::filesystem::exists(work / "docs" / "Tarvo_Belmira_linea.txt"));

  // A folder that cannot be made is an output error, not a crash.
  replace_file(work / "blocker", "");
  const ProgramRun blocked =
      run_tracciato(work.path(), {"inspect", INSTALL_PACKAGE_PATH, "--extract", "blocker/docs"});
  EXPECT_EQ(blocked.status, 4);
  EXPECT_EQ(blocked.err, "tracciato inspect: blocker/docs: Not a directory\n");

  std::string cut = read_file(INSTALL_PACKAGE_PATH);
  cut.resize(cut.size() - 1);
  replace_file(work / "cut", cut);
  const ProgramRun damaged = run_tracciato(work.path(), {"inspect", "cut"});
  EXPECT_EQ(damaged.status, 3);
  EXPECT_NE(damaged.err.find("cut: this package is damaged and should be downloaded again"),
            std::string::npos)
      << damaged.err;
}

}  // namespace
}  // namespace tracciato

// The install driver against a recording desktop: the numbered error stop, the
// order of the install sequence, and failures that end the run.
#include "driver/form1.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "driver/file_names.h"
#include "support/temp_folder.h"

namespace tracciato {
namespace {

using test_support::TempFolder;

class RecordingDesktop final : public Desktop {
 public:
  explicit RecordingDesktop(const TempFolder* folder = nullptr) : folder_(folder) {}
  void show_waiting_window() override {
    window_shown = true;
    files_when_shown = folder_ ? folder_->files().size() : 0;
  }
  void show_message(std::string_view title, std::string_view text) override {
    messages.push_back({std::string(title), std::string(text)});
  }

  bool window_shown = false;
  size_t files_when_shown = 0;
  std::vector<std::pair<std::string, std::string>> messages;

 private:
  const TempFolder* folder_;
};

TEST(Errore, ShowsTheNumberedMessageThenEndsTheRun) {
  TempFolder folder;
  RecordingDesktop desktop;
  Form1 form(desktop, folder.path());
  try {
    form.errore("1250");
    FAIL() << "errore returned";
  } catch (const ErrorStop& stop) {
    EXPECT_EQ(stop.number(), "1250");
  }
  ASSERT_EQ(desktop.messages.size(), 1u);
  EXPECT_EQ(desktop.messages[0].first, "Tarvo_Belmira_7351");
  EXPECT_EQ(desktop.messages[0].second, " Errore n. 1250");
}

TEST(InstallSequence, ShowsTheWindowBeforeWritingAnything) {
  TempFolder folder;
  RecordingDesktop desktop(&folder);
  Form1 form(desktop, folder.path());
  form.load();
  EXPECT_TRUE(desktop.window_shown);
  EXPECT_EQ(desktop.files_when_shown, 0u);
  EXPECT_TRUE(desktop.messages.empty());
}

TEST(InstallSequence, LeavesTheDocumentsAndScenarioFilesAndNoDescription) {
  TempFolder folder;
  RecordingDesktop desktop;
  Form1 form(desktop, folder.path());
  form.load();
  const ScenarioFileNames names = scenario_file_names("Tarvo_Belmira", "7351");
  const auto files = folder.files();
  std::vector<std::string> present;
  for (const auto& [name, bytes] : files) present.push_back(name);
  std::vector<std::string> expected{names.track_file, names.cell_file,      names.item_file,
                                    names.notes,      names.slowdown_order, names.timetable_sheet};
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(present, expected);
  EXPECT_EQ(form.model.error_code, 0);
}

// A signal at 0 m lands in cell 1, whose first value is reserved: the run
// stops with error 1250 before any scenario file exists.
TEST(InstallSequence, AReservedSlotInUseStopsBeforeAnyScenarioFile) {
  TempFolder folder;
  RecordingDesktop desktop;
  Form1 form(desktop, folder.path());
  form.model.line_name = "L";
  form.model.train_number = "1";
  const ScenarioFileNames names = scenario_file_names("L", "1");
  replace_file(folder / names.line_description,
               "[generale]\r\nlunghezza percorso, 5000\r\n[fine]\r\n\r\n");
  replace_file(folder / names.train_description,
               "[generale]\r\nsegnale, 0, 1, 5, 6, 0, 0, 1, 3, 1, 0, 0\r\n\r\n");
  EXPECT_THROW(form.memorizza_percorso(1), ErrorStop);
  ASSERT_EQ(desktop.messages.size(), 1u);
  EXPECT_EQ(desktop.messages[0].second, " Errore n. 1250");
  EXPECT_TRUE(folder.files().empty());
}

TEST(InstallSequence, AFolderThatCannotBeWrittenEndsTheRunNamingThePath) {
  TempFolder folder;
  RecordingDesktop desktop;
  Form1 form(desktop, folder / "missing");
  try {
    form.load();
    FAIL() << "the run went on";
  } catch (const IoError& e) {
    // The folder's lock is the first thing a run writes there.
    EXPECT_EQ(e.path(), folder / "missing" / "tracciato.lock");
    EXPECT_NE(std::string(e.what()).find("No such file or directory"), std::string::npos)
        << e.what();
  }
}

}  // namespace
}  // namespace tracciato

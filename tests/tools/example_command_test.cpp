// `tracciato example`: the embedded scenario's descriptions and documents,
// written for an author to start from.
#include <gtest/gtest.h>

#include "documents/document.h"
#include "folder_files.h"
#include "platform/file_replace.h"
#include "support/temp_folder.h"
#include "tool_process.h"

namespace tracciato {
namespace {

using test_support::ProgramRun;
using test_support::run_tracciato;
using test_support::TempFolder;

std::map<std::string, std::string> expected_files() {
  return {
      {"Tarvo_Belmira_linea.txt", render_document(line_description_document())},
      {"Tarvo_Belmira_7351-.txt", render_document(train_description_document())},
      {"Tarvo_Belmira_7351_note.txt", render_document(notes_document())},
      {"Tarvo_Belmira_7351_rallentamenti.txt", render_document(slowdown_order_document())},
      {"Tarvo_Belmira_7351_scheda_treno.txt", render_document(timetable_sheet_document())},
  };
}

TEST(ExampleCommand, WritesTheTwoDescriptionsAndTheThreeDocuments) {
  TempFolder folder;
  const ProgramRun run = run_tracciato(folder.path(), {"example", "--out", "start/here"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out,
            "start/here/Tarvo_Belmira_linea.txt\n"
            "start/here/Tarvo_Belmira_7351-.txt\n"
            "start/here/Tarvo_Belmira_7351_note.txt\n"
            "start/here/Tarvo_Belmira_7351_rallentamenti.txt\n"
            "start/here/Tarvo_Belmira_7351_scheda_treno.txt\n");
  EXPECT_EQ(test_support::files_in(folder / "start/here"), expected_files());
}

TEST(ExampleCommand, AnAuthorsEditedFileIsReplacedOnlyWhenAsked) {
  TempFolder folder;
  replace_file(folder / "Tarvo_Belmira_7351-.txt", "my own train");

  const ProgramRun refused = run_tracciato(folder.path(), {"example"});
  EXPECT_EQ(refused.status, 2);
  EXPECT_EQ(refused.err,
            "tracciato example: ./Tarvo_Belmira_7351-.txt: already exists; not replaced (--force "
            "replaces it)\n");
  EXPECT_EQ(folder.files(),
            (std::map<std::string, std::string>{{"Tarvo_Belmira_7351-.txt", "my own train"}}));

  const ProgramRun forced = run_tracciato(folder.path(), {"example", "--force"});
  EXPECT_EQ(forced.status, 0) << forced.err;
  EXPECT_EQ(folder.files(), expected_files());
}

}  // namespace
}  // namespace tracciato

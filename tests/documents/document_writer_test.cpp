// The one writer of the documents: the end marker stops it and is never
// written, and the file it leaves is the document alone, whatever stood
// under that name before.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>

#include "documents/document.h"
#include "platform/file_replace.h"

namespace tracciato {
namespace {

namespace fs = std::filesystem;

TEST(RenderDocument, StopsAtTheEndMarkerAndEndsEveryLineWithCrLf) {
  const struct {
    const char* name;
    std::vector<std::string_view> table;
    std::string expected;
  } cases[] = {
      {"marker only", {kEndMarker}, ""},
      {"empty entries are lines", {"a", "", kEndMarker}, "a\r\n\r\n"},
      {"entries after the marker", {"a", kEndMarker, "b", kEndMarker}, "a\r\n"},
      {"the marker is matched case-sensitively",
       {"Riferimento fine del file", kEndMarker},
       "Riferimento fine del file\r\n"},
      {"the marker is matched whole",
       {" riferimento fine del file", "riferimento fine del file ", kEndMarker},
       " riferimento fine del file\r\nriferimento fine del file \r\n"},
      {"blanks are kept", {"  ", " x ", kEndMarker}, "  \r\n x \r\n"},
  };
  for (const auto& c : cases) EXPECT_EQ(render_document(c.table), c.expected) << c.name;
}

// A folder of its own under the system's temporary folder, removed at the end.
class WriteDocumentTest : public ::testing::Test {
 protected:
  WriteDocumentTest() {
    std::random_device random;
    folder_ = fs::temp_directory_path() /
              ("tracciato-documents-" + std::to_string(random()) + std::to_string(random()));
    fs::create_directories(folder_);
  }
  ~WriteDocumentTest() override {
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }

  fs::path folder_;
};

TEST_F(WriteDocumentTest, CreatesTheFileWhenNoneExists) {
  const std::string_view table[] = {"[fine]", "", kEndMarker};
  const fs::path path = folder_ / "Tarvo_Belmira_linea.txt";
  write_document(path, table);
  EXPECT_EQ(read_file(path), "[fine]\r\n\r\n");
}

// A second run over the files of the first must leave no trace of them,
// however long they were.
TEST_F(WriteDocumentTest, ReplacesEachEmbeddedDocumentWhole) {
  const struct {
    const char* file;
    DocumentTable (*table)();
    uintmax_t size;
  } cases[] = {
      {"Tarvo_Belmira_linea.txt", line_description_document, 4548},
      {"Tarvo_Belmira_7351-.txt", train_description_document, 1659},
      {"Tarvo_Belmira_7351_note.txt", notes_document, 10840},
      {"Tarvo_Belmira_7351_rallentamenti.txt", slowdown_order_document, 1698},
      {"Tarvo_Belmira_7351_scheda_treno.txt", timetable_sheet_document, 2711},
  };
  for (const auto& c : cases) {
    const fs::path path = folder_ / c.file;
    replace_file(path, std::string(3 * c.size, 'x'));
    write_document(path, c.table());
    EXPECT_EQ(fs::file_size(path), c.size) << c.file;
    EXPECT_EQ(read_file(path), render_document(c.table())) << c.file;
  }
}

TEST_F(WriteDocumentTest, AShorterOldFileIsReplacedToo) {
  const fs::path path = folder_ / "Tarvo_Belmira_7351_note.txt";
  replace_file(path, "old");
  const std::string_view table[] = {"LINEA", "", "TRENO", kEndMarker};
  write_document(path, table);
  EXPECT_EQ(read_file(path), "LINEA\r\n\r\nTRENO\r\n");
}

TEST_F(WriteDocumentTest, AFolderThatIsMissingIsAnIoErrorNamingTheFile) {
  const fs::path path = folder_ / "missing" / "Tarvo_Belmira_linea.txt";
  try {
    write_document(path, line_description_document());
    FAIL() << "the write was reported as done";
  } catch (const IoError& error) {
    EXPECT_EQ(error.path(), path);
    EXPECT_NE(std::string(error.what()).find(path.string()), std::string::npos);
  }
  EXPECT_FALSE(fs::exists(path));
}

}  // namespace
}  // namespace tracciato

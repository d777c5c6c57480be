#include "authoring/scenario_decoding.h"

#include <gtest/gtest.h>

#include <string>

#include "authoring/inspect_report.h"
#include "embedded_scenario.h"
#include "output/scenario_output.h"

namespace tracciato {
namespace {

using test_support::compile_embedded;

struct EmbeddedFiles {
  std::string cell, item, track;
};

const EmbeddedFiles& embedded_files() {
  static const EmbeddedFiles files = [] {
    const auto model = compile_embedded();
    return EmbeddedFiles{encode_cell_file(*model), encode_item_file(*model),
                         encode_track_file(*model)};
  }();
  return files;
}

TEST(ScenarioDecoding, DecodesTheEmbeddedFilesIntoTheCompiledModel) {
  const auto model = compile_embedded();
  ASSERT_EQ(model->error_code, 0);
  EXPECT_EQ(decode_cell_file(embedded_files().cell), model->route_cells);
  const std::vector<ItemRecord> items = decode_item_file(embedded_files().item);
  EXPECT_TRUE(
      std::equal(items.begin(), items.end(), model->item_table.begin(), model->item_table.end()));
  const std::vector<TrackPoint> track = decode_track_file(embedded_files().track);
  const TrackStore& store = model->track_points;
  ASSERT_EQ(track.size(), static_cast<size_t>(store.rows()));
  for (int32_t m = 0; m < store.rows(); ++m) {
    for (int c = 0; c < 2; ++c) {
      const TrackNumber& entry = track[static_cast<size_t>(m)][static_cast<size_t>(c)];
      if (m < TrackStore::kStartRows) {
        EXPECT_EQ(entry,
                  TrackNumber{store.start_rows()[static_cast<size_t>(m)][static_cast<size_t>(c)]})
            << m;
      } else if (m < store.written()) {
        EXPECT_EQ(entry, TrackNumber{store.coordinate(m, c)}) << m;
      } else {
        EXPECT_EQ(entry, TrackNumber{}) << m;
      }
    }
  }
}

// The JSON that `inspect --json` prints holds every field of every record:
// reading it back and encoding it again gives the same bytes.
TEST(ScenarioDecoding, JsonOfEachEmbeddedFileReencodesToTheSameBytes) {
  const struct {
    ScenarioFileKind kind;
    const std::string* bytes;
  } cases[] = {{ScenarioFileKind::kCell, &embedded_files().cell},
               {ScenarioFileKind::kItem, &embedded_files().item},
               {ScenarioFileKind::kTrack, &embedded_files().track}};
  for (const auto& c : cases) {
    SCOPED_TRACE(kind_name(c.kind));
    const std::string json = inspect_json(decode_scenario_file(c.kind, *c.bytes), {});
    const DecodedScenarioFile back = decoded_file_from_json(json);
    EXPECT_EQ(back.kind, c.kind);
    EXPECT_TRUE(encode_scenario_file(back) == *c.bytes);
  }
}

// Names are single bytes in the file and UTF-8 in JSON; every byte value,
// the five the code page leaves undefined included, must come back.
TEST(ScenarioDecoding, EveryNameByteSurvivesTheJsonRoundTrip) {
  DecodedScenarioFile file = decode_scenario_file(ScenarioFileKind::kItem, embedded_files().item);
  std::string all_bytes;
  for (int b = 0; b < 256; ++b) all_bytes.push_back(static_cast<char>(b));
  file.items[1].name = all_bytes;
  const std::string bytes = encode_scenario_file(file);
  EXPECT_TRUE(encode_scenario_file(decoded_file_from_json(inspect_json(file, {}))) == bytes);
}

// JSON has no NaN or infinity; a real entry that is not finite must not come
// back as an empty entry or a zero.
TEST(ScenarioDecoding, NonFiniteTrackEntriesKeepTheirBits) {
  DecodedScenarioFile file;
  file.kind = ScenarioFileKind::kTrack;
  file.track = {
      {int16_t{0}, std::monostate{}},
      {std::numeric_limits<double>::quiet_NaN(), -std::numeric_limits<double>::infinity()},
      {-0.0, 5.0}};
  const std::string bytes = encode_scenario_file(file);
  EXPECT_TRUE(encode_scenario_file(decoded_file_from_json(inspect_json(file, {}))) == bytes);
}

std::string zeros(size_t n) { return std::string(n, '\0'); }

// A tag and its value, little-endian, as the track file stores an entry.
std::string tag(uint16_t t) { return {static_cast<char>(t & 0xFF), static_cast<char>(t >> 8)}; }

TEST(ScenarioDecoding, RefusesBytesThatAreNotWholeRecords) {
  const std::string item_file = embedded_files().item;
  const struct {
    const char* what;
    ScenarioFileKind kind;
    std::string bytes;
    const char* message;
  } cases[] = {
      {"empty cell file", ScenarioFileKind::kCell, "",
       "an empty file holds no cell: a cell file has at least one"},
      {"cell file a byte long", ScenarioFileKind::kCell, zeros(31),
       "31 bytes are not whole 15-byte cell records (2 records and 1 bytes left over)"},
      {"item file too short for 87 records", ScenarioFileKind::kItem, zeros(2957),
       "2957 bytes are fewer than the 2958 that 87 item records with empty names take"},
      {"item file whose last name runs past the end", ScenarioFileKind::kItem,
       item_file.substr(0, item_file.size() - 1),
       "item 86: the file ends at byte 4109 inside num_4 (due at byte 4106, 4 bytes)"},
      {"item file with bytes after the last record", ScenarioFileKind::kItem, item_file + "xy",
       "2 bytes follow the 87th item record (it ends at byte 4110)"},
      {"track entry with an unknown tag", ScenarioFileKind::kTrack,
       tag(2) + zeros(2) + tag(3) + zeros(2),
       "unknown entry type tag 3 at byte 4 (a track file knows 0, 2 and 5)"},
      {"track real cut short", ScenarioFileKind::kTrack, tag(5) + zeros(7),
       "the file ends at byte 9 inside a 64-bit real entry (due at byte 2, 8 bytes)"},
      {"track with more x than y entries", ScenarioFileKind::kTrack, tag(0) + tag(0) + tag(0),
       "3 entries cannot be split into as many x as y coordinates"},
      // No file is longer than the longest line (1,000,000 m) makes.
      {"cell file of one cell more than the longest line", ScenarioFileKind::kCell,
       zeros(20142 * 15), "20142 cells are more than the longest line has (20141)"},
      {"track of one point more than the longest line", ScenarioFileKind::kTrack,
       zeros(2 * 2 * 1007002),
       "1007002 track points are more than the longest line has "
       "(1007001, metres 0 to 1007000)"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    try {
      decode_scenario_file(c.kind, c.bytes);
      ADD_FAILURE() << "decoded";
    } catch (const DecodeError& e) {
      EXPECT_EQ(std::string(e.what()), c.message);
    }
  }
}

TEST(ScenarioDecoding, TakesTheKindFromTheFileName) {
  const struct {
    const char* name;
    std::optional<ScenarioFileKind> kind;
  } cases[] = {
      {"Tarvo_Belmira_linea.dat", ScenarioFileKind::kTrack},
      {"dir/Tarvo_Belmira_7351.sim", ScenarioFileKind::kItem},
      {"Tarvo_Belmira_7351.dat", ScenarioFileKind::kCell},
      {"Tarvo_Belmira_linea.txt", std::nullopt},
      {"cells.bin", std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(kind_from_file_name(c.name), c.kind);
  }
}

void expect_refused(const std::filesystem::path& name, const std::string& bytes,
                    const char* message) {
  try {
    decode_named_file(name, bytes);
    ADD_FAILURE() << "decoded";
  } catch (const DecodeError& e) {
    EXPECT_STREQ(e.what(), message);
  }
}

TEST(ScenarioDecoding, AFileOfAnotherNameIsReadOnlyWhenItsBytesFitOneKind) {
  EXPECT_EQ(decode_named_file("copy.bin", embedded_files().cell).kind, ScenarioFileKind::kCell);
  EXPECT_EQ(decode_named_file("copy.bin", embedded_files().track).kind, ScenarioFileKind::kTrack);
  // The embedded item file is 4110 bytes: 274 cells' worth as well.
  expect_refused(
      "copy.bin", embedded_files().item,
      "the bytes fit more than one scenario format (cell, item) and the file name tells none; "
      "give --kind");
  EXPECT_EQ(decode_named_file("copy.bin", embedded_files().item, ScenarioFileKind::kItem).kind,
            ScenarioFileKind::kItem);
}

TEST(ScenarioDecoding, AFileThatDoesNotFitItsNamedKindIsRefusedNotReadAsAnother) {
  expect_refused(
      "Tarvo_Belmira_7351.dat", embedded_files().track,
      "not a cell file: 779964 bytes are not whole 15-byte cell records (51997 records and 9 "
      "bytes left over)");
  expect_refused(
      "Tarvo_Belmira_7351.sim", embedded_files().cell,
      "not an item file: item 1: the file ends at byte 11715 inside the name (due at byte 150, "
      "25694 bytes)");
}

}  // namespace
}  // namespace tracciato

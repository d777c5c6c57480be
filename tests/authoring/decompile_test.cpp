// Reading scenario files back into descriptions: the embedded scenario's
// files give descriptions that compile to them again and read as the
// example does; a byte changed in any field of a cell, an item or a track
// row is either given by some description or refused at that very field;
// files of a compile that stopped early read back to descriptions that stop
// at the same place.
#include "authoring/decompile.h"

#include <gtest/gtest.h>

#include <string>

#include "authoring/byte_decoding.h"
#include "embedded_scenario.h"
#include "output/scenario_output.h"

namespace tracciato {
namespace {

using test_support::compile_embedded;
using test_support::compile_texts;
using test_support::embedded_line_text;
using test_support::embedded_train_text;

ScenarioFiles files_of(const ScenarioModel& model) {
  return decode_scenario_files(encode_cell_file(model), encode_item_file(model),
                               encode_track_file(model));
}

const ScenarioFiles& embedded_files() {
  static const ScenarioFiles files = files_of(*compile_embedded());
  return files;
}

bool compiles_to(const DecompileResult& result, const ScenarioFiles& files) {
  const std::optional<ScenarioFiles> again =
      compile_in_memory(result.line_text, result.train_text, result.line_name, result.train_number,
                        files.track_bytes.has_value());
  return again && again->cell_bytes == files.cell_bytes && again->item_bytes == files.item_bytes &&
         again->track_bytes == files.track_bytes;
}

TEST(Decompile, TheEmbeddedFilesReadBackToDescriptionsLaidOutAsTheExample) {
  const DecompileResult result = decompile_scenario(embedded_files());
  ASSERT_TRUE(result.proven);
  EXPECT_EQ(result.records.end, ReadingEnd::kComplete);
  EXPECT_TRUE(compiles_to(result, embedded_files()));
  EXPECT_EQ(result.line_name, "Tarvo_Belmira");
  EXPECT_EQ(result.train_number, "7351");
  const struct {
    const std::string* text;
    std::vector<std::string> lines;  // in this order, each a whole line
  } cases[] = {
      {&result.line_text,
       {"[generale]", "lunghezza percorso,  32000", "[curve]", "curvas2,    200,  150",
        "[pendenze]", "pendenza,    400,  -6", "[montagne]", "montagna,    750,  1300, 12",
        "[cartelli]", "indicatori_vmax,    750,  65,  75,  75, 0,  65,  75,  75, 0",
        "[indicazioni]",
        "cartello_indicatore,   3500, ( CAVALCAVIA   )(STRADA STATALE)(  N\xB0 589      )",
        "[fine]"}},
      {&result.train_text,
       {"[generale]", "orologio,  13, 4, 30", "[aderenze]", "[vel_limite]", "[stazioni]",
        "stazione,  13200, 12, 500, 0, 0, 0, 1, 1, 0, 4, 1, 1,  30, 13, 16, 0, LAVRETTO",
        "[rallentamenti]", "[segnali]", "segnale,  23950, 2, 2, 3, 0, 0, 0, 0, 0, 0, 190",
        "[codici]", "[fine]"}},
  };
  for (const auto& c : cases) {
    size_t at = 0;
    for (const std::string& line : c.lines) {
      const size_t found = c.text->find("\r\n" + line + "\r\n", at == 0 ? 0 : at - 2);
      const bool first_line = at == 0 && c.text->rfind(line + "\r\n", 0) == 0;
      ASSERT_TRUE(first_line || found != std::string::npos) << line;
      at = first_line ? line.size() + 2 : found + line.size() + 4;
    }
    // Every line ends with CR LF, and no line feed stands alone.
    size_t lone = 0;
    for (size_t i = 0; i < c.text->size(); ++i) {
      if ((*c.text)[i] == '\n' && (i == 0 || (*c.text)[i - 1] != '\r')) ++lone;
    }
    EXPECT_EQ(lone, 0u);
  }
}

// The byte offset of each field of a record, as the files lay them out.
struct Field {
  const char* name;
  size_t offset;
};
constexpr Field kCellFields[] = {{"kind", 0},           {"value_1", 1},    {"value_2", 3},
                                 {"value_3", 5},        {"value_4", 7},    {"signal_time", 9},
                                 {"approach_code", 10}, {"span_kind", 11}, {"speed_limit", 12},
                                 {"gradient", 13},      {"adhesion", 14}};

size_t item_start(const std::vector<ItemRecord>& items, size_t entry) {
  size_t at = 0;
  for (size_t e = 0; e < entry; ++e) at += kItemRecordFixedSize + items[e].name.size();
  return at;
}

std::vector<Field> item_fields(const ItemRecord& item) {
  const size_t n = item.name.size();
  std::vector<Field> fields = {{"kind", 0}, {"num_1", 1}, {"num_2", 5}, {"num_3", 9}, {"flag", 13}};
  if (n > 0) fields.push_back({"name", 16});
  const char* after[] = {"small_1", "small_2", "small_3", "small_4", "small_5",
                         "byte_1",  "byte_2",  "byte_3",  "byte_4",  "num_4"};
  const size_t offsets[] = {16, 18, 20, 22, 24, 26, 27, 28, 29, 30};
  for (size_t i = 0; i < std::size(after); ++i) fields.push_back({after[i], offsets[i] + n});
  return fields;
}

// The offset of the value of track row `metre`, coordinate `c`, and its
// width, walking the tagged entries.
std::pair<size_t, size_t> track_value(const std::string& bytes, size_t rows, size_t metre, int c) {
  ByteReader in(bytes);
  for (size_t index = 0;; ++index) {
    const uint16_t tag = in.u16le("tag");
    const size_t width = tag == 2 ? 2 : tag == 5 ? 8 : 0;
    if (index == static_cast<size_t>(c) * rows + metre) return {in.offset(), width};
    in.bytes(width, "value");
  }
}

// What a changed byte comes to: the descriptions read back give it, or
// the field is refused.
enum class Outcome { kGiven, kRefusedThere, kWrong };

Outcome read_back_changed(ScenarioFileKind kind, size_t offset, int64_t record,
                          const std::string& field) {
  std::string cell = embedded_files().cell_bytes;
  std::string item = embedded_files().item_bytes;
  std::string track = *embedded_files().track_bytes;
  std::string& bytes = kind == ScenarioFileKind::kCell   ? cell
                       : kind == ScenarioFileKind::kItem ? item
                                                         : track;
  bytes[offset] = static_cast<char>(bytes[offset] ^ 0x01);
  const ScenarioFiles files = decode_scenario_files(cell, item, track);
  const DecompileResult result = decompile_scenario(files);
  if (result.proven) return compiles_to(result, files) ? Outcome::kGiven : Outcome::kWrong;
  for (const Refusal& r : result.refusals) {
    if (r.file == kind && r.record == record && r.field == field) return Outcome::kRefusedThere;
  }
  return Outcome::kWrong;
}

TEST(Decompile, AChangedByteIsGivenByADescriptionOrRefusedAtItsField) {
  const ScenarioFiles& files = embedded_files();
  int given = 0;
  int refused = 0;
  // Cell 1 holds the reserved values, 37 a sign, 38 a signal, 100 only its
  // stretch, 780 the last of the route.
  for (const size_t c : {1, 37, 38, 100, 780}) {
    for (const Field& f : kCellFields) {
      SCOPED_TRACE("cell " + std::to_string(c) + " " + f.name);
      const Outcome o = read_back_changed(ScenarioFileKind::kCell, c * kCellRecordSize + f.offset,
                                          static_cast<int64_t>(c), f.name);
      EXPECT_NE(o, Outcome::kWrong);
      (o == Outcome::kGiven ? given : refused) += 1;
    }
  }
  // Item 0 is never written, 4 is a station, 80 a sign, 84 to 86 the
  // general data, the line and the train.
  for (const size_t e : {0, 4, 80, 84, 85, 86}) {
    const size_t start = item_start(files.items, e);
    for (const Field& f : item_fields(files.items[e])) {
      SCOPED_TRACE("item " + std::to_string(e) + " " + f.name);
      const Outcome o = read_back_changed(ScenarioFileKind::kItem, start + f.offset,
                                          static_cast<int64_t>(e), f.name);
      EXPECT_NE(o, Outcome::kWrong);
      (o == Outcome::kGiven ? given : refused) += 1;
    }
  }
  // The start rows, a straight row, a curved row, the last row written.
  const size_t rows = files.track->size();
  for (const size_t m : {0, 1, 100, 400, 38998}) {
    for (int c = 0; c < 2; ++c) {
      SCOPED_TRACE("track metre " + std::to_string(m) + (c == 0 ? " x" : " y"));
      const auto [offset, width] = track_value(*files.track_bytes, rows, m, c);
      ASSERT_GT(width, 0u);
      const Outcome o = read_back_changed(ScenarioFileKind::kTrack, offset, static_cast<int64_t>(m),
                                          c == 0 ? "x" : "y");
      EXPECT_NE(o, Outcome::kWrong);
      (o == Outcome::kGiven ? given : refused) += 1;
    }
  }
  // Both outcomes occur: a gradient byte is a new gradient, a reserved
  // value is refused.
  EXPECT_GT(given, 0);
  EXPECT_GT(refused, 0);
}

TEST(Decompile, FilesOfACompileThatStoppedReadBackToDescriptionsThatStopThere) {
  // A station off the 50 m grid ends the train's reading once its position
  // is stored; the profiles never run on to the route's end.
  std::string train = embedded_train_text();
  const std::string last_station = "0, 13,27, 0, BELMIRA\r\n";
  train.insert(train.find(last_station) + last_station.size(),
               "stazione,   27025, 12, 600, 0, 0, 0, 0,0,0, 0,0,0, 0, 14,0,0, LEVRA\r\n");
  const auto model = compile_texts(embedded_line_text(), train);
  ASSERT_EQ(model->error_code, 8);
  const ScenarioFiles files = files_of(*model);
  const DecompileResult result = decompile_scenario(files);
  ASSERT_TRUE(result.proven);
  EXPECT_TRUE(result.records.stops_reading());
  EXPECT_TRUE(compiles_to(result, files));
  EXPECT_NE(result.train_text.find("-- the compile that made these files stopped at the next "
                                   "record; this one stops there too\r\n"),
            std::string::npos);
}

}  // namespace
}  // namespace tracciato

// Reading the three scenario files back into the line and train descriptions
// that compile to them, byte for byte.
//
// The files are read back record by record: the general data and the
// stations from the item file; the gradients, spans, indicator groups,
// signs, profiles, signals, slowdowns and abbattimento marks from the route
// cells, once what the completion pass added is taken out again; the curves
// from the track polyline, each row recomputed bit for bit. A compile that
// stopped early (the install package writes the files whatever the reading
// recorded) is read back as descriptions that stop at the same place.
//
// Nothing is taken on trust: the descriptions are compiled in memory, with
// the same compiler, and every byte of the three files they give is compared
// with the files read. Only descriptions that give every byte are returned;
// otherwise the result lists each field no description gives: its file,
// record, byte offset, stored value and why.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "authoring/description_records.h"
#include "authoring/scenario_decoding.h"

namespace tracciato {

// The files of one scenario, as read: their bytes and their records. Without
// a track file the scenario was compiled without its track polyline.
struct ScenarioFiles {
  std::string cell_bytes;
  std::string item_bytes;
  std::optional<std::string> track_bytes;
  std::vector<RouteCell> cells;
  std::vector<ItemRecord> items;
  std::optional<std::vector<TrackPoint>> track;
};

// Decodes the bytes of the three files. Throws DecodeError naming the file
// that does not fit its format.
ScenarioFiles decode_scenario_files(std::string cell_bytes, std::string item_bytes,
                                    std::optional<std::string> track_bytes);

// A field of a scenario file that no description gives as stored.
struct Refusal {
  ScenarioFileKind file = ScenarioFileKind::kCell;
  int64_t record = 0;   // cell index, item entry, or track metre
  std::string field;    // "value_2", "name", "x", …
  uint64_t offset = 0;  // of the field's first byte in its file
  std::string stored;   // the value as stored
  std::string why;
};

// "cell 138 (6850 m)", "item 4", "track metre 2350".
std::string refusal_place(const Refusal& refusal);

struct DecompileResult {
  // True when the descriptions compile to every byte of the files.
  bool proven = false;
  // The scenario's names, from items 85 and 86 (Windows-1252).
  std::string line_name;
  std::string train_number;
  // The two descriptions, Windows-1252 with CR LF lines; set when proven.
  std::string line_text;
  std::string train_text;
  // The records read back, proven or not: what diff compares.
  DescriptionSet records;
  // Every field no description gives, in file order (empty when proven).
  std::vector<Refusal> refusals;
};

// Reads the files back and proves the result by compiling it.
DecompileResult decompile_scenario(const ScenarioFiles& files);

// The three files a compile of the descriptions gives, in memory; nullopt
// when the compile stops before writing (1250, 1251, no route).
std::optional<ScenarioFiles> compile_in_memory(const std::string& line_text,
                                               const std::string& train_text,
                                               const std::string& line_name,
                                               const std::string& train_number, bool track);

}  // namespace tracciato

// Telling the three headerless scenario files apart, and the way back from
// records to bytes.
#include <algorithm>
#include <memory>

#include "authoring/scenario_decoding.h"
#include "output/scenario_output.h"

namespace tracciato {
namespace {

// A real: its 2-byte tag and 8 bytes.
constexpr uint64_t kLargestTrackEntry = 10;

constexpr ScenarioFileKind kAllKinds[] = {ScenarioFileKind::kCell, ScenarioFileKind::kItem,
                                          ScenarioFileKind::kTrack};

bool ends_with(std::string_view s, std::string_view tail) {
  return s.size() >= tail.size() && s.substr(s.size() - tail.size()) == tail;
}

std::string with_article(ScenarioFileKind kind) {
  return (kind == ScenarioFileKind::kItem ? "an " : "a ") + std::string(kind_name(kind));
}

}  // namespace

std::string_view kind_name(ScenarioFileKind kind) {
  switch (kind) {
    case ScenarioFileKind::kCell:
      return "cell";
    case ScenarioFileKind::kItem:
      return "item";
    case ScenarioFileKind::kTrack:
      return "track";
  }
  return "unknown";
}

std::optional<ScenarioFileKind> kind_from_word(std::string_view word) {
  for (ScenarioFileKind kind : kAllKinds) {
    if (kind_name(kind) == word) return kind;
  }
  return std::nullopt;
}

uint64_t largest_file_size(ScenarioFileKind kind) {
  switch (kind) {
    case ScenarioFileKind::kCell:
      return kMaxCells * kCellRecordSize;
    case ScenarioFileKind::kItem:
      return kItemCount * (kItemRecordFixedSize + kMaxNameLength);
    case ScenarioFileKind::kTrack:
      return 2 * kMaxTrackRows * kLargestTrackEntry;
  }
  return 0;
}

uint64_t largest_scenario_file_size() {
  uint64_t largest = 0;
  for (ScenarioFileKind kind : kAllKinds) largest = std::max(largest, largest_file_size(kind));
  return largest;
}

DecodedScenarioFile decode_scenario_file(ScenarioFileKind kind, std::string_view bytes) {
  DecodedScenarioFile file;
  file.kind = kind;
  switch (kind) {
    case ScenarioFileKind::kCell:
      file.cells = decode_cell_file(bytes);
      break;
    case ScenarioFileKind::kItem:
      file.items = decode_item_file(bytes);
      break;
    case ScenarioFileKind::kTrack:
      file.track = decode_track_file(bytes);
      break;
  }
  return file;
}

std::string encode_scenario_file(const DecodedScenarioFile& file) {
  auto model = std::make_unique<ScenarioModel>();
  switch (file.kind) {
    case ScenarioFileKind::kCell:
      model->route_cells = file.cells;
      return encode_cell_file(*model);
    case ScenarioFileKind::kItem:
      if (file.items.size() != model->item_table.size()) {
        throw DecodeError("an item file holds exactly 87 records, not " +
                          std::to_string(file.items.size()));
      }
      std::copy(file.items.begin(), file.items.end(), model->item_table.begin());
      return encode_item_file(*model);
    case ScenarioFileKind::kTrack:
      return encode_track_entries(file.track);
  }
  return {};
}

std::optional<ScenarioFileKind> kind_from_file_name(const std::filesystem::path& file) {
  const std::string name = file.filename().string();
  if (ends_with(name, "_linea.dat")) return ScenarioFileKind::kTrack;
  if (ends_with(name, ".sim")) return ScenarioFileKind::kItem;
  if (ends_with(name, ".dat")) return ScenarioFileKind::kCell;
  return std::nullopt;
}

DecodedScenarioFile decode_named_file(const std::filesystem::path& file, std::string_view bytes,
                                      std::optional<ScenarioFileKind> forced) {
  const std::optional<ScenarioFileKind> named = forced ? forced : kind_from_file_name(file);
  if (named) {
    try {
      return decode_scenario_file(*named, bytes);
    } catch (const DecodeError& e) {
      throw DecodeError("not " + with_article(*named) + " file: " + e.what());
    }
  }
  // No name to go by: the bytes must fit exactly one format, since a file
  // read as the wrong kind would still yield plausible-looking records.
  std::vector<DecodedScenarioFile> fits;
  std::string why_not;
  for (ScenarioFileKind kind : kAllKinds) {
    try {
      fits.push_back(decode_scenario_file(kind, bytes));
    } catch (const DecodeError& e) {
      why_not += "\n  not " + with_article(kind) + " file: " + e.what();
    }
  }
  if (fits.size() == 1) return std::move(fits.front());
  if (fits.empty())
    throw DecodeError("the file fits none of the three scenario formats:" + why_not);
  std::string kinds;
  for (const DecodedScenarioFile& fit : fits) {
    kinds += (kinds.empty() ? "" : ", ") + std::string(kind_name(fit.kind));
  }
  throw DecodeError("the bytes fit more than one scenario format (" + kinds +
                    ") and the file name tells none; give --kind");
}

}  // namespace tracciato

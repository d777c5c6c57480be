// Reading the three binary scenario files back into records: the cell file
// (the route cells), the item file (the item table) and the track file (the
// track polyline). The byte layouts are in docs/file_formats.md; this is
// their reader, the inverse of the encoders of output/scenario_output.h.
//
// The files carry no header, so a reader that guessed wrong would still find
// "records" in them. Every decoder therefore checks that the file is made of
// whole records of its kind, from the first byte to the last, and refuses it
// with a DecodeError otherwise.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "compiler/scenario_model.h"

namespace tracciato {

// A file that does not fit the format it is read as.
class DecodeError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

enum class ScenarioFileKind { kCell, kItem, kTrack };

// An entry of a track file as read back: a bare empty tag, a 16-bit integer
// or a 64-bit real. A file read back may hold any entries in any order, so
// unlike the compiler's track store this keeps each entry's own tag.
using TrackNumber = std::variant<std::monostate, int16_t, double>;
using TrackPoint = std::array<TrackNumber, 2>;  // [0] = x, [1] = y

// "cell", "item" or "track".
std::string_view kind_name(ScenarioFileKind kind);
std::optional<ScenarioFileKind> kind_from_word(std::string_view word);

inline constexpr size_t kCellRecordSize = 15;
inline constexpr size_t kItemRecordFixedSize = 34;

// The longest line the compiler takes bounds every file it writes: cells 0 to
// last_cell and track rows 0 to track_length of a kMaxLineLength line. An
// item file is largest when all 87 names have the longest length a record
// can carry; a track file when every entry is a real.
inline constexpr uint64_t kMaxCells = (kMaxLineLength + kTrackOverrun) / kCellLength + 1;
inline constexpr uint64_t kMaxTrackRows = kMaxLineLength + kTrackOverrun + 1;
inline constexpr uint64_t kMaxNameLength = 65535;

// The largest file of `kind` the compiler can write, in bytes.
uint64_t largest_file_size(ScenarioFileKind kind);
// The largest of the three.
uint64_t largest_scenario_file_size();

// One decoded file; only the records of its kind are filled.
struct DecodedScenarioFile {
  ScenarioFileKind kind = ScenarioFileKind::kCell;
  std::vector<RouteCell> cells;   // cells 0 to last_cell
  std::vector<ItemRecord> items;  // entries 0 to 86
  std::vector<TrackPoint> track;  // metres 0 to track_length

  friend bool operator==(const DecodedScenarioFile&, const DecodedScenarioFile&) = default;
};

// Each throws DecodeError, saying what does not fit, when the bytes are not a
// whole file of that kind, or hold more than the longest line can make.
std::vector<RouteCell> decode_cell_file(std::string_view bytes);
std::vector<ItemRecord> decode_item_file(std::string_view bytes);
std::vector<TrackPoint> decode_track_file(std::string_view bytes);

// The track file of any decoded entries, in the compiler's byte layout.
std::string encode_track_entries(const std::vector<TrackPoint>& track);

DecodedScenarioFile decode_scenario_file(ScenarioFileKind kind, std::string_view bytes);

// The bytes of the file again, through the same encoders the compiler uses.
std::string encode_scenario_file(const DecodedScenarioFile& file);

// The kind the scenario's naming gives a file: "<line>_linea.dat" a track
// file, "<line>_<train>.sim" an item file, any other ".dat" a cell file.
std::optional<ScenarioFileKind> kind_from_file_name(const std::filesystem::path& file);

// The kind of a file: the one its name gives (`forced` overrides the name),
// else the one kind its bytes fit. Throws DecodeError when the named kind
// does not fit the bytes, or, for an unknown name, when no kind or more than
// one kind fits.
DecodedScenarioFile decode_named_file(const std::filesystem::path& file, std::string_view bytes,
                                      std::optional<ScenarioFileKind> forced = std::nullopt);

}  // namespace tracciato

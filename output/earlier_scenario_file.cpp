#include "output/earlier_scenario_file.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <system_error>

#include "compiler/scenario_model.h"
#include "platform/bounded_read.h"
#include "platform/staged_files.h"

namespace tracciato {
namespace {

namespace fs = std::filesystem;

constexpr uint64_t kCellSize = 15;
constexpr uint64_t kItemFixedSize = 34;
constexpr int kLineItem = 85;
constexpr uint16_t kCellReserved = 5121;
constexpr uint16_t kLineReserved = 610;
// Enough of a track file to know it by its tags.
constexpr size_t kTrackLookedAt = size_t{1} << 16;

uint64_t le(std::string_view bytes, size_t at, size_t width) {
  uint64_t v = 0;
  for (size_t i = width; i-- > 0;) v = (v << 8) | static_cast<uint8_t>(bytes[at + i]);
  return v;
}

// The first `n` bytes of the file (all of it when shorter), and its size.
std::string head_of(const fs::path& path, size_t n, uint64_t& size) {
  std::FILE* f = open_regular_file(path, "a scenario file");
  struct Closer {
    std::FILE* f;
    ~Closer() { std::fclose(f); }
  } closer{f};
  size = open_file_size(f, path);
  std::string bytes(static_cast<size_t>(std::min<uint64_t>(size, n)), '\0');
  bytes.resize(std::fread(bytes.data(), 1, bytes.size(), f));
  return bytes;
}

std::optional<std::string> cell_file_problem(const fs::path& path) {
  uint64_t size = 0;
  const std::string head = head_of(path, 2 * kCellSize, size);
  if (size % kCellSize != 0 || size < 2 * kCellSize) {
    return "its size is not that of whole 15-byte cells";
  }
  if (le(head, kCellSize + 1, 2) != kCellReserved) return "its cell 1 lacks the reserved 5121";
  return std::nullopt;
}

std::optional<std::string> item_file_problem(const fs::path& path) {
  uint64_t size = 0;
  const std::string bytes = head_of(path, kItemCount * (kItemFixedSize + 65535), size);
  if (bytes.size() != size) return "it is larger than any item file";
  size_t at = 0;
  for (int item = 0; item < kItemCount; ++item) {
    if (bytes.size() - at < kItemFixedSize) return "it does not hold 87 whole item records";
    const size_t name = static_cast<size_t>(le(bytes, at + 14, 2));
    if (bytes.size() - at - kItemFixedSize < name) return "it does not hold 87 whole item records";
    if (item == kLineItem && le(bytes, at + 16 + name, 2) != kLineReserved) {
      return "its line record lacks the reserved 610";
    }
    at += kItemFixedSize + name;
  }
  if (at != bytes.size()) return "it holds more than 87 item records";
  return std::nullopt;
}

std::optional<std::string> track_file_problem(const fs::path& path) {
  uint64_t size = 0;
  const std::string head = head_of(path, kTrackLookedAt, size);
  if (size < 8) return "it is too short for a track file";
  for (size_t at = 0; at + 2 <= head.size();) {
    switch (le(head, at, 2)) {
      case 0:
        at += 2;
        break;
      case 2:
        at += 4;
        break;
      case 5:
        at += 10;
        break;
      default:
        return "its entries are not the tagged numbers of a track file";
    }
  }
  return std::nullopt;
}

const char* kind_words(ScenarioFile kind) {
  switch (kind) {
    case ScenarioFile::kTrack:
      return "a track file";
    case ScenarioFile::kItem:
      return "an item file";
    case ScenarioFile::kCell:
      return "a cell file";
  }
  return "a scenario file";
}

}  // namespace

void refuse_foreign_scenario_file(const fs::path& path, ScenarioFile kind) {
  std::error_code ec;
  if (!fs::is_regular_file(fs::symlink_status(path, ec))) return;  // staging judges the rest
  std::optional<std::string> problem;
  switch (kind) {
    case ScenarioFile::kTrack:
      problem = track_file_problem(path);
      break;
    case ScenarioFile::kItem:
      problem = item_file_problem(path);
      break;
    case ScenarioFile::kCell:
      problem = cell_file_problem(path);
      break;
  }
  if (problem) {
    throw TargetRefused(path, std::string("this is not ") + kind_words(kind) +
                                  " this program wrote (" + *problem +
                                  "); nothing was replaced: move it away or write elsewhere, "
                                  "then run again");
  }
}

}  // namespace tracciato

// The replacement record: what a run is about to rename, written before the
// first rename of a set so that a run killed among the renames can be
// finished, or undone, by the next one.
//
// It names each file of the set (all in one folder, by file name alone), the
// temporary file holding its new bytes, the name its earlier file is set
// aside under, and the new bytes' size and CRC-32, by which the next run
// tells a whole new file from one cut short. Layout, little-endian:
//
//   "TRACJRNL", version (4 bytes, 1), file count (4 bytes), then per file:
//   size (8), CRC-32 (4), had an earlier file (1), and three names, each a
//   2-byte length and that many UTF-8 bytes (target, temporary, set aside;
//   the last empty when there was no earlier file); then the CRC-32 of every
//   byte before it (4).
//
// A record cut short or changed reads as none: the renames begin only once
// the whole record is on the disk, so such a record means none had begun.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tracciato {

inline constexpr std::string_view kReplacementRecordName = "tracciato.journal";

struct ReplacedFile {
  std::string target;  // file names within the record's folder, UTF-8
  std::string temporary;
  std::string earlier;  // where the earlier file waits; empty when none
  uint64_t size = 0;    // of the new bytes
  uint32_t crc = 0;
};

struct ReplacementRecord {
  std::vector<ReplacedFile> files;
};

// No set is larger, and no name longer: a record beyond is not one of ours.
inline constexpr size_t kMostRecordedFiles = 64;
inline constexpr size_t kLongestRecordedName = 1024;
inline constexpr size_t kLargestRecord =
    24 + kMostRecordedFiles * (13 + 3 * (2 + kLongestRecordedName));

std::string encode_replacement_record(const ReplacementRecord& record);

// nullopt for bytes that are not a whole record, and for a record naming
// anything but a plain file name of the folder (no separator, no "..").
std::optional<ReplacementRecord> decode_replacement_record(std::string_view bytes);

}  // namespace tracciato

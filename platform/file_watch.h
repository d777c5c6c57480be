// Noticing that a person saved a file: the watch behind `compile --watch` and
// `view --serve`.
//
// Each file is looked at by name every few tenths of a second, never through
// a handle kept open: editors save by writing a new file and renaming it over
// the old one, so the file at the name is another one after each save. A file
// counts as saved when its stamp (size, modification time and what the system
// tells apart files by) differs from the one last seen, and as saved for good
// once it has kept its new stamp over one more look: an editor that writes in
// several steps gets one compile, of the finished file.
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <vector>

namespace tracciato {

// What tells one state of the file at a name from another. Two stamps of the
// same unchanged file are equal; a save changes at least one field.
struct FileStamp {
  bool exists = false;
  uint64_t size = 0;
  int64_t modified = 0;   // in the system's own units
  uint64_t identity = 0;  // the file's number on its disk (Linux), its creation time (Windows)
  int64_t changed = 0;    // the time of the last change of its entry (Linux), or 0

  friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

// The stamp of the file at `path` now; exists is false when there is none.
// Never throws.
FileStamp file_stamp(const std::filesystem::path& path);

inline constexpr std::chrono::milliseconds kWatchInterval{100};

// Watches the files at `paths` by their stamps.
class FileWatch {
 public:
  explicit FileWatch(std::vector<std::filesystem::path> paths,
                     std::chrono::milliseconds interval = kWatchInterval);

  // Waits until a file was saved and its stamp held for one more look; true
  // then, false as soon as `keep_watching` says no (asked at every look). A
  // file that stays missing for some looks is reported too, so that whoever
  // reads it can say so.
  bool wait_for_save(const std::function<bool()>& keep_watching);

 private:
  std::vector<FileStamp> stamps() const;

  std::vector<std::filesystem::path> paths_;
  std::chrono::milliseconds interval_;
  std::vector<FileStamp> seen_;
};

// Calls `run` once, then again after each save of a file at `paths`, until
// `keep_watching` says no.
void watch_files(const std::vector<std::filesystem::path>& paths, const std::function<void()>& run,
                 const std::function<bool()>& keep_watching,
                 std::chrono::milliseconds interval = kWatchInterval);

}  // namespace tracciato

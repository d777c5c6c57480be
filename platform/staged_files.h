// Replacing a set of files all or nothing, even across a kill.
//
// The simulator loads a scenario's files together: a new track file beside an
// old cell file is a scenario it loads inconsistently. So a run stages every
// file it replaces: each goes to its own temporary file beside its name, in
// one or many pieces. Once every one is complete and flushed to the disk, the
// run writes a replacement record naming the set (platform/
// replacement_record.h) and flushes it; only then are the files renamed over
// their names, in the order they were staged, and the folder flushed. While
// the renames run, each earlier file waits under a name of its own
// ("NAME.earlier") until the whole set is in place, then it goes, and the
// record last.
//
// A failure at any point removes every temporary file and leaves every
// earlier file as it was. A run killed at any instant leaves either the
// earlier set, or the record, from which the next run to write in the folder
// finishes the set or puts the earlier one back before it does anything else
// (platform/replacement_recovery.h). That run also removes the temporary
// files killed runs left beside the names it writes. Runs writing in one
// folder take turns (platform/folder_lock.h).
//
// A name held by anything but a regular file (a folder, a symbolic link) is
// not a file a run wrote: it is refused, and nothing is moved.
#pragma once

#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_faults.h"
#include "platform/file_replace.h"
#include "platform/folder_lock.h"

namespace tracciato {

// The most a name grows by while its file is staged or set aside
// ("NAME.earlier99"): a file name this much shorter than the system's
// limit can always be replaced.
inline constexpr size_t kLongestSideSuffix = 10;

// The longest file name Linux and Windows both allow, in UTF-8 bytes and in
// UTF-16 units alike.
inline constexpr size_t kLongestFileName = 255;

// A name a run must not replace: not a file a run of this program wrote.
// Carries no system error: the message says all there is.
class TargetRefused : public IoError {
 public:
  TargetRefused(const std::filesystem::path& path, const std::string& reason)
      : IoError(path, reason) {}
};

// Whether a replacement's files must survive a power cut once committed.
// A file read back and deleted within the same run (a description the
// compiler reads) has no use for the trip to the disk, nor for a record.
enum class Durability { kOnDisk, kWithinTheRun };

// One file being staged: its bytes go to the temporary file.
class StagedFile {
 public:
  StagedFile(std::filesystem::path target, const FileFaults& faults, Durability durability);
  ~StagedFile();
  StagedFile(const StagedFile&) = delete;
  StagedFile& operator=(const StagedFile&) = delete;

  // Appends bytes to the temporary file. Throws IoError naming the target.
  // A file bound for the disk sets out for it every few megabytes, so a
  // long file is mostly there by the time it is complete.
  void append(std::string_view bytes);

  const std::filesystem::path& target() const { return target_; }
  const std::filesystem::path& temporary() const { return temporary_; }

 private:
  friend class StagedReplacement;
  // Starts the bytes written so far on their way to the disk, when the file
  // is bound for it; a hint.
  void start_writeback();
  // Flushes (to the disk when the file is bound for it) and closes; throws
  // IoError.
  void complete();
  // Chooses where the earlier file, if any, waits during the renames.
  void choose_earlier_name();
  // Sets the earlier file aside, then renames the temporary over the name.
  void rename_over_target();
  // After a later failure: the earlier file (or no file) under the name
  // again. false when it could not be put back.
  bool restore_earlier();
  // After the whole set is in place; false when the earlier file stays.
  bool drop_earlier();
  void discard();

  std::filesystem::path target_;
  std::filesystem::path temporary_;
  std::filesystem::path earlier_;  // where the earlier file waits; empty when none
  const FileFaults& faults_;
  Durability durability_;
  std::FILE* file_ = nullptr;
  uint64_t size_ = 0;           // bytes appended
  uint32_t crc_ = 0;            // of the bytes appended
  size_t not_yet_set_out_ = 0;  // bytes appended since the last start_writeback
  int write_error_ = 0;         // of an early hand-over to the system
  bool set_aside_ = false;      // the earlier file is under earlier_
  bool renamed_ = false;
};

class StagedReplacement {
 public:
  // A replacement of files in `folder`.
  explicit StagedReplacement(std::filesystem::path folder, FileFaults faults = {},
                             Durability durability = Durability::kOnDisk);
  // Removes every temporary file not yet renamed over its name.
  ~StagedReplacement();
  StagedReplacement(const StagedReplacement&) = delete;
  StagedReplacement& operator=(const StagedReplacement&) = delete;

  // Takes the folder's lock and finishes, or undoes, what an interrupted run
  // left there, when the files are bound for the disk; stage() does it first
  // when it was not done. Throws IoError. The lock is let go when the
  // replacement is committed or abandoned.
  void claim();
  // What claim() found an interrupted run had left, and did about it: a
  // sentence for the person running the program; nullopt when nothing.
  const std::optional<std::string>& recovered() const { return recovered_; }

  // Starts the replacement of `target` (a new temporary file beside it).
  // Throws TargetRefused when anything but a regular file has the name, and
  // IoError. REQUIRES: `target` names a file directly in the folder.
  StagedFile& stage(const std::filesystem::path& target);
  // stage(target) with all its bytes at once.
  void stage(const std::filesystem::path& target, std::string_view bytes);

  // Completes and flushes every staged file, records the set, renames each
  // over its name in the order staged, then flushes the folder. Throws
  // IoError; after a failure every earlier file is back under its name,
  // whole.
  void commit();

  // Drops every staged file, as a failure does.
  void abandon();

  const FileFaults& faults() const { return faults_; }

 private:
  void write_record();
  void drop_record();

  std::filesystem::path folder_;
  FileFaults faults_;
  Durability durability_;
  std::optional<FolderLock> lock_;
  std::optional<std::string> recovered_;
  std::filesystem::path record_;  // the replacement record, once written
  std::vector<std::unique_ptr<StagedFile>> files_;
};

// Writes a file the run reads back and deletes itself: whole under its name
// or not at all, but never flushed to the disk.
// REQUIRES: the run holds the folder's lock.
void write_file_for_the_run(const std::filesystem::path& target, std::string_view bytes,
                            const FileFaults& faults);

}  // namespace tracciato

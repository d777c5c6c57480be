// Replacing a set of files all or nothing.
//
// The simulator loads a scenario's files together: a new track file beside an
// old cell file is a scenario it loads inconsistently. So a run stages every
// file it replaces: each goes to its own temporary file beside its name, in
// one or many pieces; only once every one is complete and flushed to the disk
// are they renamed over their names, in the order they were staged, and the
// folder itself flushed. A failure at any point removes every temporary file
// and leaves every earlier file as it was: while the renames run, each earlier
// file waits under a name of its own ("NAME.old") until the whole set is in
// place, so a rename that fails halfway puts the earlier ones back.
#pragma once

#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_replace.h"

namespace tracciato {

// The points of the file layer at which a staged replacement can fail.
// kSetAside is the rename that keeps an earlier file aside while its
// replacement is renamed over its name.
enum class FileStep { kCreate, kWrite, kFlush, kClose, kSetAside, kRename, kFlushFolder };

// Asked before each step with the file it concerns; a non-zero result is the
// system error the step then fails with, as if the system had reported it.
// Tests inject a full disk with it; the default fails nothing.
using FileFaults = std::function<int(FileStep step, const std::filesystem::path& path)>;

// Whether a replacement's files must survive a power cut once committed.
// A file read back and deleted within the same run (a description the
// compiler reads) has no use for the trip to the disk.
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
  // Sets the earlier file aside, then renames the temporary over the name.
  void rename_over_target();
  // After a later failure: the earlier file (or no file) under the name again.
  void restore_earlier();
  // After the whole set is in place.
  void drop_earlier();
  void discard();

  std::filesystem::path target_;
  std::filesystem::path temporary_;
  std::filesystem::path earlier_;  // the earlier file set aside; empty when none
  const FileFaults& faults_;
  Durability durability_;
  std::FILE* file_ = nullptr;
  size_t not_yet_set_out_ = 0;  // bytes appended since the last start_writeback
  int write_error_ = 0;         // of an early hand-over to the system
  bool renamed_ = false;
};

class StagedReplacement {
 public:
  explicit StagedReplacement(FileFaults faults = {}, Durability durability = Durability::kOnDisk)
      : faults_(std::move(faults)), durability_(durability) {}
  // Removes every temporary file not yet renamed over its name.
  ~StagedReplacement();
  StagedReplacement(const StagedReplacement&) = delete;
  StagedReplacement& operator=(const StagedReplacement&) = delete;

  // Starts the replacement of `target` (a new temporary file beside it).
  // Throws IoError.
  StagedFile& stage(const std::filesystem::path& target);
  // stage(target) with all its bytes at once.
  void stage(const std::filesystem::path& target, std::string_view bytes);

  // Completes and flushes every staged file, renames each over its name in
  // the order staged, then flushes their folders. Throws IoError; after a
  // failure every earlier file is back under its name, whole.
  void commit();

  // Drops every staged file, as a failure does.
  void abandon();

  const FileFaults& faults() const { return faults_; }

 private:
  FileFaults faults_;
  Durability durability_;
  std::vector<std::unique_ptr<StagedFile>> files_;
};

// Writes a file the run reads back and deletes itself: whole under its name
// or not at all, but never flushed to the disk.
void write_file_for_the_run(const std::filesystem::path& target, std::string_view bytes,
                            const FileFaults& faults);

}  // namespace tracciato

// Replacing a set of files all or nothing.
//
// The simulator loads a scenario's files together: a new track file beside an
// old cell file is a scenario it loads inconsistently. So a run stages every
// file it replaces: each goes to its own temporary file beside its name, in
// one or many pieces; only once every one is complete and flushed to the disk
// are they renamed over their names, in the order they were staged, and the
// folder itself flushed. Until then a failure removes every temporary file
// and leaves every earlier file as it was.
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
enum class FileStep { kCreate, kWrite, kFlush, kClose, kRename, kFlushFolder };

// Asked before each step with the file it concerns; a non-zero result is the
// system error the step then fails with, as if the system had reported it.
// Tests inject a full disk with it; the default fails nothing.
using FileFaults = std::function<int(FileStep step, const std::filesystem::path& path)>;

// One file being staged: its bytes go to the temporary file.
class StagedFile {
 public:
  StagedFile(std::filesystem::path target, const FileFaults& faults);
  ~StagedFile();
  StagedFile(const StagedFile&) = delete;
  StagedFile& operator=(const StagedFile&) = delete;

  // Appends bytes to the temporary file. Throws IoError naming the target.
  void append(std::string_view bytes);

  const std::filesystem::path& target() const { return target_; }
  const std::filesystem::path& temporary() const { return temporary_; }

 private:
  friend class StagedReplacement;
  void complete();  // flushes to the disk and closes; throws IoError
  void rename_over_target();
  void discard();

  std::filesystem::path target_;
  std::filesystem::path temporary_;
  const FileFaults& faults_;
  std::FILE* file_ = nullptr;
  bool renamed_ = false;
};

class StagedReplacement {
 public:
  explicit StagedReplacement(FileFaults faults = {}) : faults_(std::move(faults)) {}
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
  // the order staged, then flushes their folders. Throws IoError; a failure
  // before the first rename leaves every earlier file whole.
  void commit();

  // Drops every staged file, as a failure does.
  void abandon();

  const FileFaults& faults() const { return faults_; }

 private:
  FileFaults faults_;
  std::vector<std::unique_ptr<StagedFile>> files_;
};

// Replaces one file whole through a staged replacement of its own.
void replace_file_staged(const std::filesystem::path& target, std::string_view bytes,
                         const FileFaults& faults);

}  // namespace tracciato

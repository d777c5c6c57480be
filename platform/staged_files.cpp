#include "platform/staged_files.h"

#include <fcntl.h>

#include <cerrno>
#include <system_error>

#include "platform/crc32.h"
#include "platform/disk_flush.h"
#include "platform/replacement_record.h"
#include "platform/replacement_recovery.h"
#include "platform/utf8_path.h"

namespace tracciato {
namespace {

namespace fs = std::filesystem;

// How much of a long file may wait in the system's cache before it is sent
// on to the disk.
constexpr size_t kSetOutEvery = size_t{1} << 20;

// Names tried beside a file: "NAME.tmp", "NAME.tmp1", ... and the same for
// the earlier file's "NAME.earlier".
constexpr int kNamesTried = 100;

fs::path numbered_name(const fs::path& target, const char* suffix, int number) {
  fs::path name = target;
  name += number == 0 ? std::string(suffix) : suffix + std::to_string(number);
  return name;
}

fs::file_status status_of(const fs::path& path) {
  std::error_code ec;
  return fs::symlink_status(path, ec);
}

// Hands a file's bytes to the disk now, without waiting for them: the disk
// then writes every file of the set while the run goes on, and the flush
// that makes each one durable finds its work done or under way, instead of
// the files reaching the disk one after another. Returns the error of
// handing the bytes to the system, 0 when none; asking the disk to start is
// only a hint, and the flush still decides.
int start_writing_to_disk(std::FILE* f) {
  errno = 0;
  if (std::fflush(f) != 0) return errno ? errno : EIO;
#ifdef __linux__
  ::sync_file_range(fileno(f), 0, 0, SYNC_FILE_RANGE_WRITE);
#endif
  return 0;
}

// A file at `target` that is not one a run may replace, refused before
// anything is moved.
void refuse_what_is_not_a_file(const fs::path& target) {
  const fs::file_status status = status_of(target);
  switch (status.type()) {
    case fs::file_type::not_found:
    case fs::file_type::regular:
      return;
    case fs::file_type::directory:
      throw TargetRefused(target,
                          "a folder has this name, where the file goes; nothing was replaced: "
                          "move the folder away or write elsewhere, then run again");
    case fs::file_type::symlink: {
      std::error_code ec;
      const fs::path to = fs::read_symlink(target, ec);
      throw TargetRefused(target,
                          "this is a symbolic link (to " + utf8_of(to) +
                              "), not a file this program wrote; nothing was replaced: remove the "
                              "link or write elsewhere, then run again");
    }
    default:
      throw TargetRefused(target,
                          "this is not a regular file, so not one this program wrote; nothing "
                          "was replaced: move it away or write elsewhere, then run again");
  }
}

// The temporary files killed runs left beside `target`: only a run holding
// the folder's lock stages there, so they can belong to no run still going.
void remove_stale_temporaries(const fs::path& target) {
  if (!fs::is_regular_file(status_of(numbered_name(target, ".tmp", 0)))) return;
  for (int number = 0; number < kNamesTried; ++number) {
    const fs::path stale = numbered_name(target, ".tmp", number);
    std::error_code ignored;
    if (fs::is_regular_file(status_of(stale))) fs::remove(stale, ignored);
  }
}

bool same_folder(const fs::path& a, const fs::path& b) {
  return (a / "x").lexically_normal() == (b / "x").lexically_normal();
}

}  // namespace

StagedFile::StagedFile(fs::path target, const FileFaults& faults, Durability durability)
    : target_(std::move(target)), faults_(faults), durability_(durability) {
  refuse_what_is_not_a_file(target_);
  const int error = injected(faults_, FileStep::kCreate, target_);
  if (error != 0) throw IoError(target_, reason_of(error), error);
  remove_stale_temporaries(target_);
  TemporaryFile created = create_temporary_beside(target_);
  temporary_ = std::move(created.path);
  file_ = created.file;
}

StagedFile::~StagedFile() { discard(); }

void StagedFile::append(std::string_view bytes) {
  int error = injected(faults_, FileStep::kWrite, target_);
  if (error == 0 && !bytes.empty()) {
    errno = 0;
    if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size())
      error = errno ? errno : EIO;
  }
  if (error != 0) throw IoError(target_, reason_of(error), error);
  size_ += bytes.size();
  if (durability_ == Durability::kOnDisk) crc_ = crc32(bytes, crc_);
  not_yet_set_out_ += bytes.size();
  if (not_yet_set_out_ >= kSetOutEvery) start_writeback();
}

void StagedFile::start_writeback() {
  not_yet_set_out_ = 0;
  if (durability_ != Durability::kOnDisk || file_ == nullptr || write_error_ != 0) return;
  // A failure is kept for complete(), which reports it: the stream may have
  // let go of the bytes it could not write.
  write_error_ = start_writing_to_disk(file_);
}

void StagedFile::complete() {
  int error = write_error_;
  if (error == 0) error = injected(faults_, FileStep::kFlush, target_);
  if (error == 0) {
    errno = 0;
    const bool flushed =
        durability_ == Durability::kOnDisk ? flush_to_disk(file_) : std::fflush(file_) == 0;
    if (!flushed) error = errno ? errno : EIO;
  }
  if (error == 0) error = injected(faults_, FileStep::kClose, target_);
  errno = 0;
  const int closed = std::fclose(file_);
  file_ = nullptr;
  if (error == 0 && closed != 0) error = errno ? errno : EIO;
  if (error != 0) throw IoError(target_, reason_of(error), error);
}

void StagedFile::choose_earlier_name() {
  earlier_.clear();
  if (!fs::exists(status_of(target_))) return;
  // Nothing of an earlier run waits under these names (the record of a
  // killed one is finished before a run stages): one that is there is
  // someone else's, and left alone.
  for (int number = 0; number < kNamesTried; ++number) {
    fs::path candidate = numbered_name(target_, ".earlier", number);
    if (!fs::exists(status_of(candidate))) {
      earlier_ = std::move(candidate);
      return;
    }
  }
  throw IoError(target_, reason_of(EEXIST), EEXIST);
}

void StagedFile::rename_over_target() {
  std::error_code ec;
  if (!earlier_.empty()) {
    const int error = injected(faults_, FileStep::kSetAside, target_);
    if (error != 0) throw IoError(target_, reason_of(error), error);
    fs::rename(target_, earlier_, ec);
    if (ec) throw IoError(target_, ec.message(), ec.value());
    set_aside_ = true;
  }
  const int error = injected(faults_, FileStep::kRename, target_);
  if (error == 0) fs::rename(temporary_, target_, ec);
  if (error != 0 || ec) {
    restore_earlier();
    if (error != 0) throw IoError(target_, reason_of(error), error);
    throw IoError(target_, ec.message(), ec.value());
  }
  renamed_ = true;
}

bool StagedFile::restore_earlier() {
  std::error_code ec;
  if (set_aside_) {
    fs::rename(earlier_, target_, ec);
    if (ec) return false;
    set_aside_ = false;
  } else if (renamed_) {
    fs::remove(target_, ec);
    if (ec) return false;
  }
  renamed_ = false;
  return true;
}

bool StagedFile::drop_earlier() {
  if (!set_aside_) return true;
  std::error_code ec;
  if (injected(faults_, FileStep::kDropEarlier, earlier_) != 0) return false;
  fs::remove(earlier_, ec);
  if (ec) return false;
  set_aside_ = false;
  return true;
}

void StagedFile::discard() {
  if (file_ != nullptr) {
    std::fclose(file_);
    file_ = nullptr;
  }
  if (!renamed_ && !temporary_.empty()) {
    std::error_code ignored;
    fs::remove(temporary_, ignored);
  }
}

StagedReplacement::StagedReplacement(fs::path folder, FileFaults faults, Durability durability)
    : folder_(folder.empty() ? fs::path(".") : std::move(folder)),
      faults_(std::move(faults)),
      durability_(durability) {}

StagedReplacement::~StagedReplacement() { abandon(); }

void StagedReplacement::claim() {
  if (durability_ != Durability::kOnDisk || lock_) return;
  const fs::path lock = folder_ / kFolderLockName;
  const int error = injected(faults_, FileStep::kLock, lock);
  if (error != 0) throw IoError(lock, reason_of(error), error);
  lock_.emplace(folder_);
  try {
    recovered_ = finish_interrupted_replacement(folder_, faults_);
  } catch (...) {
    lock_.reset();
    throw;
  }
}

StagedFile& StagedReplacement::stage(const fs::path& target) {
  if (!same_folder(target.parent_path(), folder_)) {
    throw std::logic_error("a staged file must lie in its replacement's folder");
  }
  claim();
  files_.push_back(std::make_unique<StagedFile>(target, faults_, durability_));
  return *files_.back();
}

void StagedReplacement::stage(const fs::path& target, std::string_view bytes) {
  StagedFile& file = stage(target);
  file.append(bytes);
  file.start_writeback();
}

void StagedReplacement::write_record() {
  ReplacementRecord record;
  for (const auto& file : files_) {
    record.files.push_back({utf8_of(file->target().filename()),
                            utf8_of(file->temporary().filename()),
                            utf8_of(file->earlier_.filename()), file->size_, file->crc_});
  }
  const fs::path path = folder_ / path_from_utf8(std::string(kReplacementRecordName));
  int error = injected(faults_, FileStep::kRecord, path);
  std::FILE* f = nullptr;
  if (error == 0) {
    errno = 0;
    f = create_new_file(path);
    if (f == nullptr) error = errno ? errno : EIO;
  }
  if (error != 0) throw IoError(path, reason_of(error), error);
  record_ = path;
  const std::string bytes = encode_replacement_record(record);
  errno = 0;
  const bool written =
      std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size() && flush_to_disk(f);
  error = written ? 0 : (errno ? errno : EIO);
  if (std::fclose(f) != 0 && error == 0) error = errno ? errno : EIO;
  // The record and every temporary file are under their names on the disk
  // before the first rename.
  if (error == 0) error = flush_folder(folder_);
  if (error != 0) throw IoError(path, reason_of(error), error);
}

void StagedReplacement::drop_record() {
  if (record_.empty()) return;
  if (injected(faults_, FileStep::kDropRecord, record_) == 0) {
    std::error_code ec;
    fs::remove(record_, ec);
  }
  record_.clear();
}

void StagedReplacement::commit() {
  bool every_earlier_file_back = true;
  try {
    for (auto& file : files_) file->start_writeback();
    for (auto& file : files_) file->complete();
    for (auto& file : files_) file->choose_earlier_name();
    // A set of one needs no record: its one rename is all or nothing.
    if (durability_ == Durability::kOnDisk && files_.size() > 1) write_record();
    for (auto& file : files_) file->rename_over_target();
    if (durability_ == Durability::kOnDisk) {
      int error = injected(faults_, FileStep::kFlushFolder, folder_);
      if (error == 0) error = flush_folder(folder_);
      if (error != 0) throw IoError(folder_, reason_of(error), error);
    }
  } catch (...) {
    // Newest first, so each name gets back exactly the file it had.
    for (auto it = files_.rbegin(); it != files_.rend(); ++it) {
      if (!(*it)->restore_earlier()) every_earlier_file_back = false;
    }
    // An earlier file that could not be put back stays named in the record,
    // for the next run to put back.
    if (every_earlier_file_back) drop_record();
    record_.clear();
    abandon();
    throw;
  }
  bool every_earlier_file_gone = true;
  for (auto& file : files_) {
    if (!file->drop_earlier()) every_earlier_file_gone = false;
  }
  // The set is in place; an earlier file that stays is removed by the next
  // run, through the record.
  if (every_earlier_file_gone) drop_record();
  record_.clear();
  files_.clear();
  lock_.reset();
}

void StagedReplacement::abandon() {
  for (auto& file : files_) file->discard();
  files_.clear();
  lock_.reset();
}

void write_file_for_the_run(const fs::path& target, std::string_view bytes,
                            const FileFaults& faults) {
  StagedReplacement replacement(target.parent_path(), faults, Durability::kWithinTheRun);
  replacement.stage(target, bytes);
  replacement.commit();
}

}  // namespace tracciato

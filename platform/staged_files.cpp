#include "platform/staged_files.h"

#include <fcntl.h>

#include <cerrno>
#include <set>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace tracciato {
namespace {

int injected(const FileFaults& faults, FileStep step, const std::filesystem::path& path) {
  return faults ? faults(step, path) : 0;
}

// How much of a long file may wait in the system's cache before it is sent
// on to the disk.
constexpr size_t kSetOutEvery = size_t{1} << 20;

// Tries for a name to set an earlier file aside under before giving up.
constexpr int kSetAsideAttempts = 100;

// Pushes a file's bytes from the system's cache to the disk.
bool flush_to_disk(std::FILE* f) {
  if (std::fflush(f) != 0) return false;
#ifdef _WIN32
  return _commit(_fileno(f)) == 0;
#else
  return ::fsync(fileno(f)) == 0;
#endif
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

// The folder's entry for each renamed file reaches the disk too, so after a
// power cut the folder shows the new set, not an empty name.
int flush_folder(const std::filesystem::path& folder) {
#ifdef _WIN32
  (void)folder;  // NTFS journals its renames itself
  return 0;
#else
  const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return errno;
  const int result = ::fsync(fd) == 0 ? 0 : errno;
  ::close(fd);
  // Some file systems cannot flush a folder; the renames are done all the same.
  return result == EINVAL || result == EROFS ? 0 : result;
#endif
}

}  // namespace

StagedFile::StagedFile(std::filesystem::path target, const FileFaults& faults,
                       Durability durability)
    : target_(std::move(target)), faults_(faults), durability_(durability) {
  const int error = injected(faults_, FileStep::kCreate, target_);
  if (error != 0) throw IoError(target_, reason_of(error), error);
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

namespace {

// A name beside `target` that nothing has: the earlier file waits there.
std::filesystem::path unused_name_beside(const std::filesystem::path& target) {
  for (int attempt = 0; attempt < kSetAsideAttempts; ++attempt) {
    std::filesystem::path candidate = target;
    candidate += attempt == 0 ? std::string(".old") : ".old" + std::to_string(attempt);
    std::error_code ec;
    if (!std::filesystem::exists(std::filesystem::symlink_status(candidate, ec))) return candidate;
  }
  throw IoError(target, reason_of(EEXIST), EEXIST);
}

}  // namespace

void StagedFile::rename_over_target() {
  std::error_code ec;
  if (std::filesystem::exists(std::filesystem::symlink_status(target_, ec))) {
    const std::filesystem::path aside = unused_name_beside(target_);
    const int error = injected(faults_, FileStep::kSetAside, target_);
    if (error != 0) throw IoError(target_, reason_of(error), error);
    std::filesystem::rename(target_, aside, ec);
    if (ec) throw IoError(target_, ec.message(), ec.value());
    earlier_ = aside;
  }
  const int error = injected(faults_, FileStep::kRename, target_);
  if (error == 0) std::filesystem::rename(temporary_, target_, ec);
  if (error != 0 || ec) {
    restore_earlier();
    if (error != 0) throw IoError(target_, reason_of(error), error);
    throw IoError(target_, ec.message(), ec.value());
  }
  renamed_ = true;
}

void StagedFile::restore_earlier() {
  std::error_code ignored;
  if (!earlier_.empty()) {
    std::filesystem::rename(earlier_, target_, ignored);
    earlier_.clear();
  } else if (renamed_) {
    std::filesystem::remove(target_, ignored);
  }
  renamed_ = false;
}

void StagedFile::drop_earlier() {
  if (earlier_.empty()) return;
  std::error_code ignored;
  std::filesystem::remove(earlier_, ignored);
  earlier_.clear();
}

void StagedFile::discard() {
  if (file_ != nullptr) {
    std::fclose(file_);
    file_ = nullptr;
  }
  if (!renamed_ && !temporary_.empty()) {
    std::error_code ignored;
    std::filesystem::remove(temporary_, ignored);
  }
}

StagedReplacement::~StagedReplacement() { abandon(); }

StagedFile& StagedReplacement::stage(const std::filesystem::path& target) {
  files_.push_back(std::make_unique<StagedFile>(target, faults_, durability_));
  return *files_.back();
}

void StagedReplacement::stage(const std::filesystem::path& target, std::string_view bytes) {
  StagedFile& file = stage(target);
  file.append(bytes);
  file.start_writeback();
}

void StagedReplacement::commit() {
  try {
    for (auto& file : files_) file->start_writeback();
    for (auto& file : files_) file->complete();
    std::set<std::filesystem::path> folders;  // to flush, when the files must reach the disk
    for (auto& file : files_) {
      file->rename_over_target();
      if (durability_ == Durability::kOnDisk) folders.insert(file->target().parent_path());
    }
    for (const auto& folder : folders) {
      int error = injected(faults_, FileStep::kFlushFolder, folder);
      if (error == 0) error = flush_folder(folder);
      if (error != 0) throw IoError(folder, reason_of(error), error);
    }
  } catch (...) {
    // Newest first, so each name gets back exactly the file it had.
    for (auto it = files_.rbegin(); it != files_.rend(); ++it) (*it)->restore_earlier();
    abandon();
    throw;
  }
  for (auto& file : files_) file->drop_earlier();
  files_.clear();
}

void StagedReplacement::abandon() {
  for (auto& file : files_) file->discard();
  files_.clear();
}

void write_file_for_the_run(const std::filesystem::path& target, std::string_view bytes,
                            const FileFaults& faults) {
  StagedReplacement replacement(faults, Durability::kWithinTheRun);
  replacement.stage(target, bytes);
  replacement.commit();
}

}  // namespace tracciato

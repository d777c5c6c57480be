#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <thread>

#include "platform/file_replace.h"
#include "platform/folder_lock.h"

namespace tracciato {
namespace {

constexpr auto kLookAgainAfter = std::chrono::milliseconds(20);

}  // namespace

FolderLock::FolderLock(const std::filesystem::path& folder, std::chrono::milliseconds wait)
    : path_((folder.empty() ? std::filesystem::path(".") : folder) / kFolderLockName) {
  const auto give_up = std::chrono::steady_clock::now() + wait;
  for (;;) {
    const int fd = ::open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0666);
    if (fd < 0) throw IoError(path_, reason_of(errno), errno);
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
      // The run before may have removed the file between our open and our
      // lock: a lock on a file no longer under the name guards nothing.
      struct stat held {
      }, named{};
      if (::fstat(fd, &held) == 0 && ::stat(path_.c_str(), &named) == 0 &&
          held.st_ino == named.st_ino && held.st_dev == named.st_dev) {
        fd_ = fd;
        return;
      }
      ::close(fd);
      continue;
    }
    const int error = errno;
    ::close(fd);
    if (error != EWOULDBLOCK) throw IoError(path_, reason_of(error), error);
    if (std::chrono::steady_clock::now() >= give_up) {
      throw IoError(path_,
                    "another run is writing a scenario in this folder; wait for it to end, or, "
                    "if none is running, remove this file, then run again");
    }
    std::this_thread::sleep_for(kLookAgainAfter);
  }
}

FolderLock::~FolderLock() {
  // Removed while still held, so that no other run can take a lock on the
  // file just as it goes.
  ::unlink(path_.c_str());
  ::close(fd_);
}

}  // namespace tracciato

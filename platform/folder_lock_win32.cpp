#include <windows.h>

#include <cerrno>
#include <chrono>
#include <thread>

#include "platform/file_replace.h"
#include "platform/folder_lock.h"

namespace tracciato {
namespace {

// The C library's name for a failure to open a file, for the same messages
// and advice as on Linux.
int error_number(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
      return ENOENT;
    case ERROR_ACCESS_DENIED:
      return EACCES;
    case ERROR_WRITE_PROTECT:
      return EROFS;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return ENOSPC;
    default:
      return EIO;
  }
}

constexpr auto kLookAgainAfter = std::chrono::milliseconds(20);

}  // namespace

FolderLock::FolderLock(const std::filesystem::path& folder, std::chrono::milliseconds wait)
    : path_((folder.empty() ? std::filesystem::path(".") : folder) / kFolderLockName) {
  const auto give_up = std::chrono::steady_clock::now() + wait;
  for (;;) {
    // Opened with no sharing, the file is the lock; the system deletes it
    // when the last handle closes, at the run's end whatever ends it.
    HANDLE handle =
        CreateFileW(path_.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                    FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (handle != INVALID_HANDLE_VALUE) {
      handle_ = handle;
      return;
    }
    const DWORD error = GetLastError();
    if (error != ERROR_SHARING_VIOLATION && error != ERROR_ACCESS_DENIED) {
      throw IoError(path_, reason_of(error_number(error)), error_number(error));
    }
    if (error == ERROR_ACCESS_DENIED) {
      // A folder that cannot be written: no run can take its lock.
      std::error_code ec;
      if (!std::filesystem::exists(path_, ec)) throw IoError(path_, reason_of(EACCES), EACCES);
    }
    if (std::chrono::steady_clock::now() >= give_up) {
      throw IoError(path_,
                    "another run is writing a scenario in this folder; wait for it to end, then "
                    "run again");
    }
    std::this_thread::sleep_for(kLookAgainAfter);
  }
}

FolderLock::~FolderLock() { CloseHandle(static_cast<HANDLE>(handle_)); }

}  // namespace tracciato

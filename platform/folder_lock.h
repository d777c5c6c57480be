// One writer at a time in a scenario folder.
//
// A run finishes what an interrupted run left in its folder and clears the
// temporary files such runs leave. Both are sound only while no other run is
// writing there: a run in progress looks exactly like one that was killed. So
// a run that replaces files holds the folder's lock, a file named
// "tracciato.lock" held open and locked; the system lets go of it when the
// run ends, however it ends, and the run removes the file when it is done.
#pragma once

#include <chrono>
#include <filesystem>
#include <string_view>

namespace tracciato {

inline constexpr std::string_view kFolderLockName = "tracciato.lock";

class FolderLock {
 public:
  // Takes the lock of `folder`, waiting up to `wait` for another run to end.
  // Throws IoError naming the lock file: when it cannot be made (a folder
  // that cannot be written), or when another run holds it still.
  explicit FolderLock(const std::filesystem::path& folder,
                      std::chrono::milliseconds wait = std::chrono::seconds(10));
  ~FolderLock();
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;

 private:
  std::filesystem::path path_;
#ifdef _WIN32
  void* handle_ = nullptr;
#else
  int fd_ = -1;
#endif
};

}  // namespace tracciato

#include "platform/file_watch.h"

#include <algorithm>
#include <thread>

namespace tracciato {
namespace {

// A save that removes the file first and writes it again leaves the name
// empty for a moment; after this many looks the absence is a save of its own.
constexpr int kMissingLooks = 10;

}  // namespace

FileWatch::FileWatch(std::vector<std::filesystem::path> paths, std::chrono::milliseconds interval)
    : paths_(std::move(paths)), interval_(interval), seen_(stamps()) {}

std::vector<FileStamp> FileWatch::stamps() const {
  std::vector<FileStamp> now;
  now.reserve(paths_.size());
  for (const std::filesystem::path& path : paths_) now.push_back(file_stamp(path));
  return now;
}

bool FileWatch::wait_for_save(const std::function<bool()>& keep_watching) {
  std::vector<FileStamp> last = seen_;
  int missing_looks = 0;
  while (keep_watching()) {
    std::this_thread::sleep_for(interval_);
    const std::vector<FileStamp> now = stamps();
    const bool settled = now == last;
    const bool all_there =
        std::all_of(now.begin(), now.end(), [](const FileStamp& s) { return s.exists; });
    missing_looks = all_there ? 0 : missing_looks + 1;
    if (now != seen_ && settled && (all_there || missing_looks >= kMissingLooks)) {
      seen_ = now;
      return true;
    }
    last = now;
  }
  return false;
}

void watch_files(const std::vector<std::filesystem::path>& paths, const std::function<void()>& run,
                 const std::function<bool()>& keep_watching, std::chrono::milliseconds interval) {
  // Stamped before the first run, so that a save during it is not missed.
  FileWatch watch(paths, interval);
  run();
  while (watch.wait_for_save(keep_watching)) run();
}

}  // namespace tracciato

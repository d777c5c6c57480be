// A file's stamp on Linux: stat() of the name. The inode number and the
// change time tell apart two files that a rename put at the name one after
// the other, even with the same size and modification time.
#include <sys/stat.h>

#include "platform/file_watch.h"

namespace tracciato {
namespace {

int64_t nanoseconds(const struct timespec& t) {
  return static_cast<int64_t>(t.tv_sec) * 1000000000 + t.tv_nsec;
}

}  // namespace

FileStamp file_stamp(const std::filesystem::path& path) {
  struct stat s {};
  if (::stat(path.c_str(), &s) != 0) return {};
  return {true, static_cast<uint64_t>(s.st_size), nanoseconds(s.st_mtim),
          static_cast<uint64_t>(s.st_ino) ^ (static_cast<uint64_t>(s.st_dev) << 48),
          nanoseconds(s.st_ctim)};
}

}  // namespace tracciato

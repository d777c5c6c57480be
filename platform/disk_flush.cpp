#include "platform/disk_flush.h"

#include <fcntl.h>

#include <cerrno>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace tracciato {

bool flush_to_disk(std::FILE* f) {
  if (std::fflush(f) != 0) return false;
#ifdef _WIN32
  return _commit(_fileno(f)) == 0;
#else
  return ::fsync(fileno(f)) == 0;
#endif
}

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

}  // namespace tracciato

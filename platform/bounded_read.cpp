#include "platform/bounded_read.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <system_error>

#include "platform/file_replace.h"

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace tracciato {
namespace {

#ifdef _WIN32
using Stat = struct _stat64;
int stat_of(int fd, Stat* st) { return _fstat64(fd, st); }
#else
using Stat = struct stat;
int stat_of(int fd, Stat* st) { return ::fstat(fd, st); }
#endif

std::string kind_of(const Stat& st) {
  switch (st.st_mode & S_IFMT) {
    case S_IFDIR:
      return "a folder";
#ifdef S_IFIFO
    case S_IFIFO:
      return "a pipe";
#endif
    case S_IFCHR:
      return "a character device";
#ifdef S_IFBLK
    case S_IFBLK:
      return "a block device";
#endif
#ifdef S_IFSOCK
    case S_IFSOCK:
      return "a socket";
#endif
    default:
      return "not a regular file";
  }
}

int open_for_reading(const std::filesystem::path& path) {
#ifdef _WIN32
  return _wopen(path.c_str(), _O_RDONLY | _O_BINARY);
#else
  // Without O_NONBLOCK, opening a pipe waits for a writer that may never come.
  return ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
#endif
}

void close_fd(int fd) {
#ifdef _WIN32
  _close(fd);
#else
  ::close(fd);
#endif
}

}  // namespace

std::FILE* open_regular_file(const std::filesystem::path& path, const std::string& what) {
  const int fd = open_for_reading(path);
  if (fd < 0) {
    const int error = errno;
    // A folder cannot be opened at all on Windows: say what it is all the same.
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
      throw IoError(path, "this is a folder, not " + what + "; give the path of " + what);
    }
    throw IoError(path, reason_of(error), error);
  }
  Stat st{};
  if (stat_of(fd, &st) != 0) {
    const int error = errno;
    close_fd(fd);
    throw IoError(path, reason_of(error), error);
  }
  if ((st.st_mode & S_IFMT) != S_IFREG) {
    close_fd(fd);
    throw IoError(path, "this is " + kind_of(st) + ", not " + what + "; give the path of " + what);
  }
#ifndef _WIN32
  // A regular file never blocks; reads go on as usual.
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  std::FILE* file = ::fdopen(fd, "rb");
#else
  std::FILE* file = _fdopen(fd, "rb");
#endif
  if (file == nullptr) {
    const int error = errno;
    close_fd(fd);
    throw IoError(path, reason_of(error), error);
  }
  return file;
}

uint64_t open_file_size(std::FILE* file, const std::filesystem::path& path) {
  Stat st{};
  if (stat_of(fileno(file), &st) != 0) throw IoError(path, reason_of(errno), errno);
  return static_cast<uint64_t>(st.st_size);
}

std::string read_bounded_file(const std::filesystem::path& path, uint64_t max_bytes,
                              const std::string& what) {
  std::FILE* f = open_regular_file(path, what);
  struct Closer {
    std::FILE* f;
    ~Closer() { std::fclose(f); }
  } closer{f};
  const uint64_t size = open_file_size(f, path);
  const std::string too_large =
      "larger than " + what + " can be (at most " + std::to_string(max_bytes) + " bytes)";
  if (size > max_bytes) throw IoError(path, std::to_string(size) + " bytes is " + too_large);

  // The size may change between the look and the read: read no more than the
  // bound allows, plus one byte to notice a file that grew past it. The room
  // for that byte is there from the start, so a file that keeps its size is
  // read into exactly its own size.
  std::string data(static_cast<size_t>(size) + 1, '\0');
  size_t filled = 0;
  bool grew = false;
  for (;;) {
    if (filled == data.size()) {
      if (data.size() > max_bytes) {
        grew = true;
        break;
      }
      data.resize(static_cast<size_t>(std::min<uint64_t>(max_bytes + 1, 2 * data.size())));
    }
    const size_t n = std::fread(data.data() + filled, 1, data.size() - filled, f);
    if (n == 0) break;
    filled += n;
  }
  if (std::ferror(f) != 0) throw IoError(path, reason_of(errno), errno);
  if (grew) throw IoError(path, "the file grew while it was read and is now " + too_large);
  data.resize(filled);
  return data;
}

}  // namespace tracciato

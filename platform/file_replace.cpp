#include "platform/file_replace.h"

#include <fcntl.h>

#include <cerrno>
#include <cstring>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#include <sys/stat.h>
#else
#include <unistd.h>
#endif

namespace tracciato {
namespace {

bool fwrite_all(std::FILE* f, std::string_view bytes) {
  return std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
}

// The temporary file of one replacement.
struct Temporary : TemporaryFile {
  bool renamed = false;

  explicit Temporary(const std::filesystem::path& target)
      : TemporaryFile(create_temporary_beside(target)) {}

  // Whatever ends the write early (a failed write, an exception from the
  // sink), the temporary file goes: the folder keeps only the earlier file.
  ~Temporary() {
    if (file != nullptr) std::fclose(file);
    if (!renamed) {
      std::error_code ignored;
      std::filesystem::remove(path, ignored);
    }
  }

  Temporary(const Temporary&) = delete;
  Temporary& operator=(const Temporary&) = delete;
};

}  // namespace

std::string reason_of(int error) {
  // A layer that failed without saying why still must not report "Success".
  return std::generic_category().message(error != 0 ? error : EIO);
}

// Tries for the temporary name beside the target before giving up.
constexpr int kTemporaryAttempts = 100;

TemporaryFile create_temporary_beside(const std::filesystem::path& target) {
  int error = 0;
  for (int attempt = 0; attempt < kTemporaryAttempts; ++attempt) {
    TemporaryFile temporary{target, nullptr};
    temporary.path += attempt == 0 ? std::string(".tmp") : ".tmp" + std::to_string(attempt);
    errno = 0;
    temporary.file = create_new_file(temporary.path);
    if (temporary.file != nullptr) return temporary;
    error = errno;
    if (error != EEXIST) break;  // not someone else's file: no other name will do
  }
  throw IoError(target, reason_of(error), error != 0 ? error : EIO);
}

std::FILE* create_new_file(const std::filesystem::path& path) {
#ifdef _WIN32
  const int fd =
      _wopen(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
  if (fd < 0) return nullptr;
  std::FILE* f = _fdopen(fd, "wb");
  if (f == nullptr) {
    const int error = errno;
    _close(fd);
    errno = error;
  }
#else
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) return nullptr;
  std::FILE* f = fdopen(fd, "wb");
  if (f == nullptr) {
    const int error = errno;
    ::close(fd);
    errno = error;
  }
#endif
  return f;
}

std::FILE* open_file(const std::filesystem::path& path, const char* mode) {
#ifdef _WIN32
  // Wide names, so a folder with non-ASCII characters works.
  const std::string narrow(mode);
  return _wfopen(path.c_str(), std::wstring(narrow.begin(), narrow.end()).c_str());
#else
  return std::fopen(path.c_str(), mode);
#endif
}

IoError::IoError(const std::filesystem::path& path, const std::string& reason, int error)
    : std::runtime_error(path.string() + ": " + reason), path_(path), error_(error) {}

void replace_file(const std::filesystem::path& path, std::string_view bytes) {
  replace_file(path, bytes, fwrite_all);
}

void replace_file(const std::filesystem::path& path, std::string_view bytes, const ByteSink& sink) {
  Temporary tmp(path);

  errno = 0;
  bool ok = sink(tmp.file, bytes);
  int error = errno;
  if (ok && std::fflush(tmp.file) != 0) {
    ok = false;
    error = errno;
  }
  const int closed = std::fclose(tmp.file);
  tmp.file = nullptr;
  if (ok && closed != 0) {
    ok = false;
    error = errno;
  }
  if (!ok) throw IoError(path, reason_of(error), error != 0 ? error : EIO);

  // The rename replaces the earlier file in one step: a reader sees either the
  // old file or the new one, never a part of either.
  std::error_code ec;
  std::filesystem::rename(tmp.path, path, ec);
  if (ec) throw IoError(path, ec.message(), ec.value());
  tmp.renamed = true;
}

std::string read_file(const std::filesystem::path& path) {
  std::FILE* f = open_file(path, "rb");
  if (f == nullptr) throw IoError(path, reason_of(errno));
  std::string data;
  char buffer[65536];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) data.append(buffer, n);
  const bool failed = std::ferror(f) != 0;
  const int saved = errno;
  std::fclose(f);
  if (failed) throw IoError(path, std::generic_category().message(saved));
  return data;
}

}  // namespace tracciato

#include "platform/file_replace.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <system_error>

namespace tracciato {
namespace {

std::string errno_reason() { return std::generic_category().message(errno); }

bool fwrite_all(std::FILE* f, std::string_view bytes) {
  return std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
}

// A name beside the target that no other writer of this process uses.
std::filesystem::path temporary_beside(const std::filesystem::path& path) {
  static std::atomic<unsigned> counter{0};
  std::filesystem::path tmp = path;
  tmp += ".tmp" + std::to_string(counter++);
  return tmp;
}

}  // namespace

std::FILE* open_file(const std::filesystem::path& path, const char* mode) {
#ifdef _WIN32
  // Wide names, so a folder with non-ASCII characters works.
  const std::string narrow(mode);
  return _wfopen(path.c_str(), std::wstring(narrow.begin(), narrow.end()).c_str());
#else
  return std::fopen(path.c_str(), mode);
#endif
}

IoError::IoError(const std::filesystem::path& path, const std::string& reason)
    : std::runtime_error(path.string() + ": " + reason), path_(path) {}

void replace_file(const std::filesystem::path& path, std::string_view bytes) {
  replace_file(path, bytes, fwrite_all);
}

void replace_file(const std::filesystem::path& path, std::string_view bytes, const ByteSink& sink) {
  const std::filesystem::path tmp = temporary_beside(path);
  std::FILE* f = open_file(tmp, "wb");
  if (f == nullptr) throw IoError(path, errno_reason());

  bool ok = sink(f, bytes);
  int saved = errno;
  if (ok && std::fflush(f) != 0) {
    ok = false;
    saved = errno;
  }
  if (std::fclose(f) != 0 && ok) {
    ok = false;
    saved = errno;
  }
  if (!ok) {
    std::error_code ignored;
    std::filesystem::remove(tmp, ignored);
    throw IoError(path, std::generic_category().message(saved));
  }

  std::error_code ec;
  std::filesystem::rename(tmp, path, ec);
  if (ec) {
    std::error_code ignored;
    std::filesystem::remove(tmp, ignored);
    throw IoError(path, ec.message());
  }
}

std::string read_file(const std::filesystem::path& path) {
  std::FILE* f = open_file(path, "rb");
  if (f == nullptr) throw IoError(path, errno_reason());
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

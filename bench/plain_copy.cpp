#include "bench/plain_copy.h"

#include <cerrno>
#include <cstdio>
#include <system_error>
#include <vector>

#include "platform/file_replace.h"

namespace tracciato::bench {
namespace {

// The copy loop of an ordinary file copy: one buffer, read a block, write it.
constexpr size_t kCopyBlock = 128 * 1024;

std::FILE* open_or_throw(const std::filesystem::path& path, const char* mode) {
  std::FILE* f = open_file(path, mode);
  if (f == nullptr) throw IoError(path, std::generic_category().message(errno));
  return f;
}

}  // namespace

void lay_out_sources(const std::filesystem::path& source,
                     const std::map<std::string, std::string>& files) {
  std::filesystem::create_directories(source);
  for (const auto& [name, bytes] : files) replace_file(source / name, bytes);
}

int64_t plain_copy(const std::filesystem::path& source, const std::filesystem::path& target) {
  std::filesystem::create_directories(target);
  static std::vector<char> block(kCopyBlock);
  int64_t copied = 0;
  for (const auto& entry : std::filesystem::directory_iterator(source)) {
    const std::filesystem::path to = target / entry.path().filename();
    std::FILE* in = open_or_throw(entry.path(), "rb");
    std::FILE* out = open_or_throw(to, "wb");
    bool ok = true;
    size_t n;
    while (ok && (n = std::fread(block.data(), 1, block.size(), in)) > 0) {
      ok = std::fwrite(block.data(), 1, n, out) == n;
      copied += static_cast<int64_t>(n);
    }
    ok = ok && !std::ferror(in);
    std::fclose(in);
    if (std::fclose(out) != 0 || !ok) throw IoError(to, "copy failed");
  }
  return copied;
}

}  // namespace tracciato::bench

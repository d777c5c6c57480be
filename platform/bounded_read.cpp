#include "platform/bounded_read.h"

#include <cerrno>
#include <cstdio>
#include <system_error>

#include "platform/file_replace.h"

namespace tracciato {
namespace {

namespace fs = std::filesystem;

std::string kind_of(fs::file_type type) {
  switch (type) {
    case fs::file_type::directory:
      return "a folder";
    case fs::file_type::fifo:
      return "a pipe";
    case fs::file_type::character:
      return "a character device";
    case fs::file_type::block:
      return "a block device";
    case fs::file_type::socket:
      return "a socket";
    default:
      return "not a regular file";
  }
}

}  // namespace

std::string read_bounded_file(const fs::path& path, uint64_t max_bytes, const std::string& what) {
  std::error_code ec;
  const fs::file_status status = fs::status(path, ec);
  if (ec) throw IoError(path, ec.message());
  if (status.type() != fs::file_type::regular) {
    throw IoError(
        path, "this is " + kind_of(status.type()) + ", not " + what + "; give the path of " + what);
  }
  const uintmax_t size = fs::file_size(path, ec);
  if (ec) throw IoError(path, ec.message());
  const std::string too_large =
      "larger than " + what + " can be (at most " + std::to_string(max_bytes) + " bytes)";
  if (size > max_bytes) throw IoError(path, std::to_string(size) + " bytes is " + too_large);

  std::FILE* f = open_file(path, "rb");
  if (f == nullptr) throw IoError(path, std::generic_category().message(errno));
  // The size may change between the look and the read: read no more than the
  // bound allows, plus one byte to notice a file that grew past it.
  std::string data(static_cast<size_t>(size), '\0');
  size_t filled = 0;
  bool grew = false;
  for (;;) {
    if (filled == data.size()) {
      if (data.size() > max_bytes) {
        grew = true;
        break;
      }
      data.resize(data.size() + 1);
    }
    const size_t n = std::fread(data.data() + filled, 1, data.size() - filled, f);
    if (n == 0) break;
    filled += n;
  }
  const bool failed = std::ferror(f) != 0;
  const int saved = errno;
  std::fclose(f);
  if (failed) throw IoError(path, std::generic_category().message(saved));
  if (grew) throw IoError(path, "the file grew while it was read and is now " + too_large);
  data.resize(filled);
  return data;
}

}  // namespace tracciato

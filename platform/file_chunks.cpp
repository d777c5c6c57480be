#include "platform/file_chunks.h"

#include <cerrno>
#include <cstdio>
#include <system_error>

#include "platform/file_replace.h"

namespace tracciato {

void replace_file_in_chunks(const std::filesystem::path& path, const FileChunkProducer& produce) {
  // replace_file's sink may write whatever it likes to the temporary file:
  // here every chunk goes straight through, and a failed write ends the
  // production at once by throwing, which removes the temporary file.
  const ByteSink write_chunks = [&](std::FILE* file, std::string_view) {
    // The chunks are large already: each goes out in one write of its own
    // rather than through the stream's small buffer.
    std::setvbuf(file, nullptr, _IONBF, 0);
    produce([&](std::string_view chunk) {
      errno = 0;
      if (std::fwrite(chunk.data(), 1, chunk.size(), file) != chunk.size()) {
        throw IoError(path, std::generic_category().message(errno != 0 ? errno : EIO));
      }
    });
    return true;
  };
  replace_file(path, {}, write_chunks);
}

}  // namespace tracciato

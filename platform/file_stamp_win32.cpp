// A file's stamp on Windows: the attributes of the name, read without
// opening the file, so an editor saving it is never in the way.
#include <windows.h>

#include "platform/file_watch.h"

namespace tracciato {
namespace {

int64_t ticks(const FILETIME& t) {
  return static_cast<int64_t>((static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime);
}

}  // namespace

FileStamp file_stamp(const std::filesystem::path& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return {};
  const uint64_t size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  return {true, size, ticks(data.ftLastWriteTime),
          static_cast<uint64_t>(ticks(data.ftCreationTime)), 0};
}

}  // namespace tracciato

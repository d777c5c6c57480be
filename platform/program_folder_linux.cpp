#include <system_error>

#include "platform/platform.h"

namespace tracciato {

std::filesystem::path program_file() {
  std::error_code ec;
  const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec)
    throw std::filesystem::filesystem_error("cannot find the program's file", "/proc/self/exe",
                                            ec);
  return exe;
}

std::filesystem::path program_folder() { return program_file().parent_path(); }

}  // namespace tracciato

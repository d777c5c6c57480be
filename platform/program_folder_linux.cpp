#include <system_error>

#include "platform/platform.h"

namespace tracciato {

std::filesystem::path program_folder() {
  std::error_code ec;
  const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec)
    throw std::filesystem::filesystem_error("cannot find the program's folder", "/proc/self/exe",
                                            ec);
  return exe.parent_path();
}

}  // namespace tracciato

#include <windows.h>

#include <string>
#include <system_error>

#include "platform/platform.h"

namespace tracciato {

std::filesystem::path program_file() {
  // Wide all the way: the folder may hold characters outside the ANSI code page.
  std::wstring exe(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, exe.data(), static_cast<DWORD>(exe.size()));
    if (n == 0) {
      throw std::filesystem::filesystem_error(
          "cannot find the program's file",
          std::error_code(static_cast<int>(GetLastError()), std::system_category()));
    }
    if (n < exe.size()) {
      exe.resize(n);
      return std::filesystem::path(exe);
    }
    exe.resize(exe.size() * 2);  // the name was cut short: ask again with room for it
  }
}

std::filesystem::path program_folder() { return program_file().parent_path(); }

}  // namespace tracciato

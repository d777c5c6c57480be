#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include "tools/command_arguments.h"

namespace tracciato {
namespace {

std::string utf8_of(const wchar_t* wide) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
  if (size <= 1) return {};
  std::string text(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide, -1, text.data(), size, nullptr, nullptr);
  text.pop_back();  // the terminator
  return text;
}

}  // namespace

std::vector<std::string> utf8_arguments(int argc, char** argv) {
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (wide == nullptr) return std::vector<std::string>(argv, argv + argc);
  std::vector<std::string> arguments;
  for (int i = 0; i < count; ++i) arguments.push_back(utf8_of(wide[i]));
  LocalFree(wide);
  return arguments;
}

void use_utf8_console() { SetConsoleOutputCP(CP_UTF8); }

}  // namespace tracciato

// Runs a program as a person would, but one who presses OK on every message
// box at once: prints each box as "title:text" (the line the headless desktop
// prints on standard error) and exits with the program's exit status, or 124
// when the program has not ended within the time limit.
//
// Usage: run_closing_boxes PROGRAM [SECONDS]
#include <windows.h>

// After windows.h, which it builds on.
#include <shellapi.h>

#include <cstdio>
#include <set>
#include <string>

#include "windows/message_box_probe.h"

namespace {

constexpr DWORD kPollMilliseconds = 20;
constexpr DWORD kDefaultSeconds = 60;
constexpr int kExitTimedOut = 124;
constexpr int kExitUsage = 125;

}  // namespace

int main() {
  using namespace tracciato::test_support;
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (argv == nullptr || argc < 2) {
    std::fprintf(stderr, "usage: run_closing_boxes PROGRAM [SECONDS]\n");
    return kExitUsage;
  }
  const DWORD limit = (argc > 2 ? std::wcstoul(argv[2], nullptr, 10) : kDefaultSeconds) * 1000;

  std::wstring command = L"\"" + std::wstring(argv[1]) + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    std::fprintf(stderr, "run_closing_boxes: cannot start %s (error %lu)\n",
                 narrow(argv[1]).c_str(), GetLastError());
    return kExitUsage;
  }

  std::set<HWND> pressed;
  DWORD waited = 0;
  while (WaitForSingleObject(process.hProcess, kPollMilliseconds) == WAIT_TIMEOUT) {
    for (const MessageBoxSeen& box : message_boxes_of_process(process.dwProcessId)) {
      if (!pressed.insert(box.window).second) continue;
      std::printf("%s:%s\n", narrow(box.title).c_str(), narrow(box.text).c_str());
      std::fflush(stdout);
      press_ok(box);
    }
    waited += kPollMilliseconds;
    if (waited >= limit) {
      std::fprintf(stderr, "run_closing_boxes: %s still running after %lu s, stopped\n",
                   narrow(argv[1]).c_str(), limit / 1000);
      TerminateProcess(process.hProcess, kExitTimedOut);
      return kExitTimedOut;
    }
  }
  DWORD status = 0;
  GetExitCodeProcess(process.hProcess, &status);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  LocalFree(argv);
  return static_cast<int>(status);
}

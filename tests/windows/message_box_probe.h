// Finding and closing a message box from outside it, the way a person at the
// desk would: read its title, text, buttons and icon, then press OK. Tests use
// it so that a box never waits for someone who is not there.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace tracciato::test_support {

struct MessageBoxSeen {
  HWND window = nullptr;
  std::wstring title;
  std::wstring text;
  std::vector<std::wstring> buttons;  // the visible ones, in window order
  bool shows_icon = false;
};

// The visible message boxes among the top-level windows of `process`.
std::vector<MessageBoxSeen> message_boxes_of_process(DWORD process);

// The visible message boxes among the top-level windows of `thread`.
std::vector<MessageBoxSeen> message_boxes_of_thread(DWORD thread);

// Presses the box's OK button (posted, so it also works from the box's own
// thread while the box runs its message loop).
void press_ok(const MessageBoxSeen& box);

// UTF-16 to UTF-8, for printing what a box said.
std::string narrow(const std::wstring& text);

}  // namespace tracciato::test_support

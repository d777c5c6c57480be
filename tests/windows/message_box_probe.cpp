#include "windows/message_box_probe.h"

namespace tracciato::test_support {
namespace {

// The dialog class of MessageBox and the ids of its text and icon controls.
constexpr wchar_t kDialogClass[] = L"#32770";
constexpr int kTextId = 0xFFFF;
constexpr int kIconId = 0x0440;

std::wstring window_text(HWND window) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(
      static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

std::wstring class_of(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, static_cast<int>(std::size(name)));
  return name;
}

BOOL CALLBACK collect_button(HWND child, LPARAM param) {
  auto* box = reinterpret_cast<MessageBoxSeen*>(param);
  if (IsWindowVisible(child) && _wcsicmp(class_of(child).c_str(), L"Button") == 0) {
    box->buttons.push_back(window_text(child));
  }
  return TRUE;
}

BOOL CALLBACK collect_box(HWND window, LPARAM param) {
  auto* boxes = reinterpret_cast<std::vector<MessageBoxSeen>*>(param);
  if (!IsWindowVisible(window) || class_of(window) != kDialogClass) return TRUE;
  MessageBoxSeen box;
  box.window = window;
  box.title = window_text(window);
  if (HWND text = GetDlgItem(window, kTextId)) box.text = window_text(text);
  EnumChildWindows(window, collect_button, reinterpret_cast<LPARAM>(&box));
  HWND icon = GetDlgItem(window, kIconId);
  box.shows_icon =
      icon != nullptr && IsWindowVisible(icon) && SendMessageW(icon, STM_GETICON, 0, 0) != 0;
  boxes->push_back(std::move(box));
  return TRUE;
}

struct ProcessFilter {
  DWORD process;
  std::vector<MessageBoxSeen>* boxes;
};

BOOL CALLBACK collect_box_of_process(HWND window, LPARAM param) {
  auto* filter = reinterpret_cast<ProcessFilter*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == filter->process) collect_box(window, reinterpret_cast<LPARAM>(filter->boxes));
  return TRUE;
}

}  // namespace

std::vector<MessageBoxSeen> message_boxes_of_process(DWORD process) {
  std::vector<MessageBoxSeen> boxes;
  ProcessFilter filter{process, &boxes};
  EnumWindows(collect_box_of_process, reinterpret_cast<LPARAM>(&filter));
  return boxes;
}

std::vector<MessageBoxSeen> message_boxes_of_thread(DWORD thread) {
  std::vector<MessageBoxSeen> boxes;
  EnumThreadWindows(thread, collect_box, reinterpret_cast<LPARAM>(&boxes));
  return boxes;
}

void press_ok(const MessageBoxSeen& box) {
  PostMessageW(box.window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(box.window, IDOK)));
}

std::string narrow(const std::wstring& text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), size, bytes.data(), n, nullptr, nullptr);
  return bytes;
}

}  // namespace tracciato::test_support

// The waiting window and the message box on Windows, drawn by Win32 itself.
#include <windows.h>

#include <cstdio>
#include <string>

#include "platform/platform.h"
#include "platform/waiting_window_layout.h"

namespace tracciato {
namespace {

constexpr wchar_t kWindowClass[] = L"TracciatoForm1";
constexpr int kPointsPerInch = 72;
constexpr DWORD kWindowStyle = WS_OVERLAPPEDWINDOW;

// UTF-8 (the program's text) to the UTF-16 that Win32 takes. Bytes that are
// not UTF-8 are read in the ANSI code page rather than dropped.
std::wstring widen(std::string_view text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  UINT code_page = CP_UTF8;
  int n = MultiByteToWideChar(code_page, MB_ERR_INVALID_CHARS, text.data(), size, nullptr, 0);
  if (n == 0) {
    code_page = CP_ACP;
    n = MultiByteToWideChar(code_page, 0, text.data(), size, nullptr, 0);
  }
  std::wstring wide(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(code_page, 0, text.data(), size, wide.data(), n);
  return wide;
}

ATOM register_window_class(HINSTANCE instance) {
  static const ATOM atom = [instance] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kWindowClass;
    return RegisterClassExW(&wc);
  }();
  return atom;
}

// A face drawn wider than the one the layout was made for (another
// system's substitute) must not lose the label's last letters: the label
// grows to its text, within the window, and keeps its place and height.
void widen_to_its_text(HWND label) {
  HDC dc = GetDC(label);
  HGDIOBJ previous =
      SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(label, WM_GETFONT, 0, 0)));
  SIZE text{};
  const BOOL measured = GetTextExtentPoint32W(dc, L"Attendere", 9, &text);
  SelectObject(dc, previous);
  ReleaseDC(label, dc);
  if (!measured || text.cx <= kLabelWidth) return;
  const int room = kClientWidth - kLabelX;
  SetWindowPos(label, nullptr, 0, 0, text.cx < room ? text.cx : room, kLabelHeight,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

class Win32Desktop final : public Desktop {
 public:
  ~Win32Desktop() override {
    if (window_ != nullptr) DestroyWindow(window_);  // the label goes with it
    if (font_ != nullptr) DeleteObject(font_);
  }

  void show_waiting_window() override {
    if (window_ != nullptr) return;
    HINSTANCE instance = GetModuleHandleW(nullptr);
    if (register_window_class(instance) == 0) return;  // no window system: work on without it

    RECT frame{0, 0, kClientWidth, kClientHeight};
    AdjustWindowRectEx(&frame, kWindowStyle, FALSE, 0);
    window_ = CreateWindowExW(0, kWindowClass, L"Form1", kWindowStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                              frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                              instance, nullptr);
    if (window_ == nullptr) return;

    HWND label =
        CreateWindowExW(0, L"STATIC", L"Attendere", WS_CHILD | WS_VISIBLE | SS_LEFT, kLabelX,
                        kLabelY, kLabelWidth, kLabelHeight, window_, nullptr, instance, nullptr);
    HDC screen = GetDC(nullptr);
    const int height = -MulDiv(kLabelPoints, GetDeviceCaps(screen, LOGPIXELSY), kPointsPerInch);
    ReleaseDC(nullptr, screen);
    font_ = CreateFontW(height, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, ANSI_CHARSET,
                        OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                        DEFAULT_PITCH | FF_SWISS, L"MS Sans Serif");
    if (label != nullptr && font_ != nullptr) {
      SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
      widen_to_its_text(label);
    }

    // Paint once now: the install runs without handling messages, so this is
    // the only time the label is drawn.
    ShowWindow(window_, SW_SHOWNORMAL);
    UpdateWindow(window_);
  }

  void show_message(std::string_view title, std::string_view text) override {
    if (MessageBoxW(window_, widen(text).c_str(), widen(title).c_str(), MB_OK) == 0) {
      // No desktop to show it on: standard error is all that is left.
      std::fprintf(stderr, "%.*s:%.*s\n", static_cast<int>(title.size()), title.data(),
                   static_cast<int>(text.size()), text.data());
    }
  }

 private:
  HWND window_ = nullptr;
  HFONT font_ = nullptr;
};

}  // namespace

std::unique_ptr<Desktop> open_desktop() { return std::make_unique<Win32Desktop>(); }

}  // namespace tracciato

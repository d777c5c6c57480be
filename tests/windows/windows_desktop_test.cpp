// The Win32 desktop as the package's users meet it: the waiting window with
// its label, painted before any message is handled, and the message box.
#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "windows/message_box_probe.h"

namespace tracciato {
namespace {

using test_support::MessageBoxSeen;

constexpr int kClientWidth = 280;
constexpr int kClientHeight = 179;
constexpr RECT kLabel{64, 64, 64 + 177, 64 + 53};
constexpr int kLabelPoints = 24;

BOOL CALLBACK find_form1(HWND window, LPARAM param) {
  wchar_t title[16] = {};
  GetWindowTextW(window, title, static_cast<int>(std::size(title)));
  if (IsWindowVisible(window) && std::wstring(title) == L"Form1") {
    *reinterpret_cast<HWND*>(param) = window;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK collect_child(HWND child, LPARAM param) {
  reinterpret_cast<std::vector<HWND>*>(param)->push_back(child);
  return TRUE;
}

std::wstring text_of(HWND window) {
  wchar_t text[64] = {};
  GetWindowTextW(window, text, static_cast<int>(std::size(text)));
  return text;
}

// The client area's pixels as 0x00RRGGBB, row by row, read back from the
// window itself.
std::vector<COLORREF> client_pixels(HWND window) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = kClientWidth;
  info.bmiHeader.biHeight = -kClientHeight;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC window_dc = GetDC(window);
  HDC memory_dc = CreateCompatibleDC(window_dc);
  HBITMAP bitmap = CreateDIBSection(memory_dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ previous = SelectObject(memory_dc, bitmap);
  BitBlt(memory_dc, 0, 0, kClientWidth, kClientHeight, window_dc, 0, 0, SRCCOPY);
  GdiFlush();
  const auto* first = static_cast<const COLORREF*>(bits);
  std::vector<COLORREF> pixels(first, first + kClientWidth * kClientHeight);
  SelectObject(memory_dc, previous);
  DeleteObject(bitmap);
  DeleteDC(memory_dc);
  ReleaseDC(window, window_dc);
  for (COLORREF& p : pixels) p &= 0xFFFFFF;
  return pixels;
}

class WaitingWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    desktop_ = open_desktop();
    desktop_->show_waiting_window();
    EnumThreadWindows(GetCurrentThreadId(), find_form1, reinterpret_cast<LPARAM>(&form1_));
    ASSERT_NE(form1_, nullptr) << "no visible window titled Form1";
    EnumChildWindows(form1_, collect_child, reinterpret_cast<LPARAM>(&children_));
    ASSERT_EQ(children_.size(), 1u) << "Form1 holds one label and nothing else";
    label_ = children_.front();
  }

  std::unique_ptr<Desktop> desktop_;
  HWND form1_ = nullptr;
  HWND label_ = nullptr;
  std::vector<HWND> children_;
};

TEST_F(WaitingWindowTest, HasTheFormsClientAreaAndOneLabelWhereTheFormPutsIt) {
  RECT client{};
  GetClientRect(form1_, &client);
  EXPECT_EQ(client.right - client.left, kClientWidth);
  EXPECT_EQ(client.bottom - client.top, kClientHeight);

  wchar_t kind[32] = {};
  GetClassNameW(label_, kind, static_cast<int>(std::size(kind)));
  EXPECT_STREQ(kind, L"Static");
  EXPECT_EQ(text_of(label_), L"Attendere");
  EXPECT_TRUE(IsWindowVisible(label_));
  RECT at{};
  GetWindowRect(label_, &at);
  MapWindowPoints(nullptr, form1_, reinterpret_cast<POINT*>(&at), 2);
  EXPECT_EQ(at.left, kLabel.left);
  EXPECT_EQ(at.top, kLabel.top);
  EXPECT_EQ(at.bottom, kLabel.bottom);
  // As wide as the layout says, or wider where the face draws "Attendere"
  // wider: no letter is cut off.
  HDC dc = GetDC(label_);
  HGDIOBJ previous =
      SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(label_, WM_GETFONT, 0, 0)));
  SIZE text{};
  GetTextExtentPoint32W(dc, L"Attendere", 9, &text);
  SelectObject(dc, previous);
  ReleaseDC(label_, dc);
  EXPECT_GE(at.right, kLabel.right);
  EXPECT_GE(at.right - at.left, text.cx);
  EXPECT_LE(at.right, kClientWidth);
}

// Asks the font the label really draws with, not the one it asked for: a
// prefix without its fonts silently substitutes another face.
TEST_F(WaitingWindowTest, LabelDrawsInMsSansSerifBold24Points) {
  HFONT font = reinterpret_cast<HFONT>(SendMessageW(label_, WM_GETFONT, 0, 0));
  ASSERT_NE(font, nullptr);
  LOGFONTW asked{};
  ASSERT_NE(GetObjectW(font, sizeof asked, &asked), 0);

  HDC dc = GetDC(label_);
  const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
  HGDIOBJ previous = SelectObject(dc, font);
  wchar_t face[LF_FACESIZE] = {};
  GetTextFaceW(dc, LF_FACESIZE, face);
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  SelectObject(dc, previous);
  ReleaseDC(label_, dc);

  EXPECT_EQ(asked.lfHeight, -MulDiv(kLabelPoints, dpi, 72));
  EXPECT_STREQ(face, L"MS Sans Serif");
  EXPECT_GE(metrics.tmWeight, FW_BOLD);
}

// The package handles no message while it works, so what the window shows is
// what the one paint at showing time drew.
TEST_F(WaitingWindowTest, ShowsTheLabelBeforeAnyMessageIsHandled) {
  const std::vector<COLORREF> pixels = client_pixels(form1_);
  const COLORREF face = pixels.front();  // the top left corner is bare form
  int ink_in_label = 0;
  int ink_elsewhere = 0;
  for (int y = 0; y < kClientHeight; ++y) {
    for (int x = 0; x < kClientWidth; ++x) {
      if (pixels[static_cast<size_t>(y * kClientWidth + x)] == face) continue;
      const bool in_label =
          x >= kLabel.left && x < kLabel.right && y >= kLabel.top && y < kLabel.bottom;
      ++(in_label ? ink_in_label : ink_elsewhere);
    }
  }
  EXPECT_EQ(ink_elsewhere, 0) << "the form around the label is bare";
  // "Attendere" in bold 24 points inks several hundred pixels.
  EXPECT_GT(ink_in_label, 300) << "the label's text is drawn";
}

// What the timer saw of the box before pressing its OK button.
std::optional<MessageBoxSeen> g_box_seen;

void CALLBACK press_ok_on_my_box(HWND, UINT, UINT_PTR timer, DWORD) {
  const std::vector<MessageBoxSeen> boxes =
      test_support::message_boxes_of_thread(GetCurrentThreadId());
  if (boxes.empty()) return;  // not up yet
  KillTimer(nullptr, timer);
  g_box_seen = boxes.front();
  test_support::press_ok(boxes.front());
}

TEST(MessageBoxTest, ShowsTheTextUnderTheTitleWithOnlyAnOkButtonAndNoIcon) {
  constexpr UINT kPollMilliseconds = 20;
  const struct {
    const char* what;
    bool over_waiting_window;
    std::string_view title;
    std::string_view text;
    const wchar_t* shown_text;
  } cases[] = {
      {"numbered stop", true, "Tarvo_Belmira_7351", " Errore n. 1250", L" Errore n. 1250"},
      {"no window yet", false, "Tarvo_Belmira_7351", " Errore n. 1251", L" Errore n. 1251"},
      {"UTF-8 path", true, "Tarvo_Belmira_7351",
       "C:\\Linea Citt\xC3\xA0 \xCE\x94\\Tarvo_Belmira_7351.dat: Permission denied",
       L"C:\\Linea Citt\u00E0 \u0394\\Tarvo_Belmira_7351.dat: Permission denied"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::unique_ptr<Desktop> desktop = open_desktop();
    if (c.over_waiting_window) desktop->show_waiting_window();
    g_box_seen.reset();
    // The timer runs inside the box's own message loop and presses OK for us.
    ASSERT_NE(SetTimer(nullptr, 0, kPollMilliseconds, press_ok_on_my_box), 0u);
    desktop->show_message(c.title, c.text);
    ASSERT_TRUE(g_box_seen.has_value()) << "show_message returned without showing a box";
    EXPECT_EQ(g_box_seen->title, L"Tarvo_Belmira_7351");
    EXPECT_EQ(g_box_seen->text, c.shown_text);
    EXPECT_EQ(g_box_seen->buttons, std::vector<std::wstring>{L"OK"});
    EXPECT_FALSE(g_box_seen->shows_icon);
  }
}

TEST(ProgramFolderTest, IsTheFolderThatHoldsTheRunningProgram) {
  const std::filesystem::path folder = program_folder();
  EXPECT_TRUE(folder.is_absolute()) << folder;
  EXPECT_TRUE(std::filesystem::exists(folder / "windows_tests.exe")) << folder;
}

}  // namespace
}  // namespace tracciato

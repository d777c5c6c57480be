// The window module's entry: the FLTK desktop behind the C table the install
// package loads. Nothing may escape into the package, not even an exception.
#include <FL/Fl.H>
#include <FL/fl_ask.H>

#include <string>

#include "platform/desktop_module.h"
#include "platform/waiting_window_layout.h"
#include "platform/window_fltk.h"

namespace tracciato {
namespace {

constexpr int kPaintAttempts = 50;

WaitingWindow& waiting_window() {
  static WaitingWindow waiting;
  return waiting;
}

int open_display() {
  try {
    return open_fltk_display() ? 1 : 0;
  } catch (...) {
    return 0;
  }
}

void show_waiting_window() {
  try {
    WaitingWindow& waiting = waiting_window();
    waiting = build_waiting_window();
    waiting.window->show();
    // Paint once now: the work that follows handles no events, so this is
    // the only time the label is drawn. Give the server a moment to map the
    // window, but never wait on it for long.
    for (int i = 0; i < kPaintAttempts && (!waiting.window->visible() || Fl::damage()); ++i) {
      Fl::wait(0.01);
    }
    Fl::flush();
  } catch (...) {
    // No window: the install goes on without it.
  }
}

void show_message(const char* title, const char* text) {
  try {
    fl_message_title(title);
    fl_message_icon()->hide();  // an OK box with no icon
    fl_choice("%s", "OK", nullptr, nullptr, text);
  } catch (...) {
  }
}

constexpr TracciatoDesktopModule kModule = {open_display, show_waiting_window, show_message};

}  // namespace
}  // namespace tracciato

extern "C" __attribute__((visibility("default"))) const TracciatoDesktopModule*
tracciato_desktop_module() {
  return &tracciato::kModule;
}

#include "platform/window_fltk.h"

#include <FL/Fl.H>
#include <FL/fl_ask.H>
#include <FL/x.H>
#include <X11/Xlib.h>

#include <string>

#include "platform/platform.h"
#include "platform/waiting_window_layout.h"

namespace tracciato {
namespace {

constexpr int kLabelPixels = kLabelPoints * 96 / 72;  // FLTK sizes fonts in pixels
constexpr int kPaintAttempts = 50;

class FltkDesktop final : public Desktop {
 public:
  void show_waiting_window() override {
    waiting_ = build_waiting_window();
    waiting_.window->show();
    // Paint once now: the work that follows handles no events, so this is the
    // only time the label is drawn. Give the server a moment to map the
    // window, but never wait on it for long.
    for (int i = 0; i < kPaintAttempts && (!waiting_.window->visible() || Fl::damage()); ++i) {
      Fl::wait(0.01);
    }
    Fl::flush();
  }

  void show_message(std::string_view title, std::string_view text) override {
    const std::string message(text);
    fl_message_title(std::string(title).c_str());
    fl_message_icon()->hide();  // an OK box with no icon
    fl_choice("%s", "OK", nullptr, nullptr, message.c_str());
  }

 private:
  WaitingWindow waiting_;
};

}  // namespace

WaitingWindow build_waiting_window() {
  WaitingWindow w;
  w.window = std::make_unique<Fl_Window>(kClientWidth, kClientHeight, kWaitingTitle);
  w.label = new Fl_Box(kLabelX, kLabelY, kLabelWidth, kLabelHeight, kWaitingText);
  w.label->labelfont(FL_HELVETICA_BOLD);
  w.label->labelsize(kLabelPixels);
  w.label->align(FL_ALIGN_LEFT | FL_ALIGN_TOP | FL_ALIGN_INSIDE);
  w.window->end();
  return w;
}

bool open_fltk_display() {
  if (fl_display != nullptr) return true;
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) return false;
  fl_open_display(display);
  return true;
}

std::unique_ptr<Desktop> open_desktop() {
  if (!open_fltk_display()) return headless_desktop();
  return std::make_unique<FltkDesktop>();
}

}  // namespace tracciato

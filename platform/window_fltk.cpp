#include "platform/window_fltk.h"

#include <FL/Fl.H>
#include <FL/x.H>
#include <X11/Xlib.h>

#include "platform/waiting_window_layout.h"

namespace tracciato {
namespace {

constexpr int kLabelPixels = kLabelPoints * 96 / 72;  // FLTK sizes fonts in pixels

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

}  // namespace tracciato

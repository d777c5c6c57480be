// The FLTK waiting window, exposed for the window test: it builds the same
// window the install package shows, so its title, label and geometry can be
// checked.
#pragma once

#include <FL/Fl_Box.H>
#include <FL/Fl_Window.H>

#include <memory>

namespace tracciato {

struct WaitingWindow {
  std::unique_ptr<Fl_Window> window;
  Fl_Box* label = nullptr;  // owned by the window
};

// Client area 280 x 179, title "Form1"; label "Attendere" at (64, 64),
// 177 x 53, bold 24 pt (32 pixels at 96 dpi).
WaitingWindow build_waiting_window();

// Opens the X display for FLTK; false when there is none. FLTK itself would
// end the process on a display it cannot open, so this asks X first.
bool open_fltk_display();

}  // namespace tracciato

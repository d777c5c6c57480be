// The thin layer over what the install package needs from the desktop: the
// waiting window, the modal message box and the program's own folder. One
// implementation per window system (FLTK on Linux, a headless one when there
// is no display); shared code sees only this interface.
#pragma once

#include <filesystem>
#include <memory>
#include <string_view>

namespace tracciato {

// The install package's waiting window and message box.
class Desktop {
 public:
  virtual ~Desktop() = default;

  // Shows the window "Form1" with its label "Attendere" (not modal) and paints
  // it once, so the label stays visible while the work runs without events.
  virtual void show_waiting_window() = 0;

  // A modal message box with `text`, an OK button only and no icon, titled
  // `title`; returns when the user closes it.
  virtual void show_message(std::string_view title, std::string_view text) = 0;
};

// The desktop of this platform, or a headless one when no display can be
// opened (there a message goes to standard error).
std::unique_ptr<Desktop> open_desktop();

// A desktop with no window: messages go to standard error.
std::unique_ptr<Desktop> headless_desktop();

// The running program's own file, as the system reports it.
std::filesystem::path program_file();

// The folder that holds the running program.
std::filesystem::path program_folder();

}  // namespace tracciato

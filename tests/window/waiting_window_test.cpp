// The FLTK waiting window, opened on a real (virtual) display when there is
// one: CI runs the suite inside Xvfb.
#include <FL/Fl.H>
#include <gtest/gtest.h>

#include <string>

#include "platform/desktop_module.h"
#include "platform/window_fltk.h"

namespace tracciato {
namespace {

TEST(WaitingWindow, HasTheTitleLabelGeometryAndFontOfTheInstallWindow) {
  if (!open_fltk_display()) GTEST_SKIP() << "no display";
  WaitingWindow w = build_waiting_window();
  w.window->show();
  for (int i = 0; i < 50 && !w.window->visible(); ++i) Fl::wait(0.01);

  EXPECT_TRUE(w.window->visible());
  EXPECT_EQ(std::string(w.window->label()), "Form1");
  EXPECT_EQ(w.window->w(), 280);
  EXPECT_EQ(w.window->h(), 179);
  ASSERT_NE(w.label, nullptr);
  EXPECT_EQ(std::string(w.label->label()), "Attendere");
  EXPECT_EQ(w.label->x(), 64);
  EXPECT_EQ(w.label->y(), 64);
  EXPECT_EQ(w.label->w(), 177);
  EXPECT_EQ(w.label->h(), 53);
  EXPECT_EQ(w.label->labelfont(), FL_HELVETICA_BOLD);
  EXPECT_EQ(w.label->labelsize(), 32);
  w.window->hide();
}

// The install package's own road to the window: the module loaded at run
// time, sharing FLTK with this test, shows the same window.
TEST(WaitingWindow, TheWindowModuleShowsIt) {
  if (!open_fltk_display()) GTEST_SKIP() << "no display";
  std::unique_ptr<Desktop> desktop = open_module_desktop(DESKTOP_MODULE_PATH);
  ASSERT_NE(desktop, nullptr);
  desktop->show_waiting_window();
  Fl_Window* shown = Fl::first_window();
  ASSERT_NE(shown, nullptr);
  EXPECT_EQ(std::string(shown->label()), "Form1");
  EXPECT_TRUE(shown->visible());
  shown->hide();
}

TEST(WaitingWindow, AMissingModuleGivesNoDesktop) {
  EXPECT_EQ(open_module_desktop("/nonexistent/tracciato_desktop_fltk.so"), nullptr);
}

}  // namespace
}  // namespace tracciato

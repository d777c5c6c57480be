// The FLTK waiting window, opened on a real (virtual) display when there is
// one: CI runs the suite inside Xvfb.
#include <FL/Fl.H>
#include <gtest/gtest.h>

#include <string>

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

}  // namespace
}  // namespace tracciato

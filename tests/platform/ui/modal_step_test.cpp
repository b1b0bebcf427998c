// Where real input goes, through GDK's queue and GTK's dispatch: during a modal step only to the step's window once
// it is shown; never to a widget that is no longer realized (a grab left on one takes no more clicks and keys, keys
// for a focus widget gone go nowhere), where GTK would lose them with a critical (fatal in these tests).

#include <gdk/gdkkeysyms.h>
#include <gtest/gtest.h>
#include <gtkmm/box.h>
#include <gtkmm/button.h>
#include <gtkmm/entry.h>
#include <gtkmm/window.h>

#include <functional>
#include <memory>
#include <optional>

#include "platform/ui/modal_step.h"
#include "ui_test_harness.h"

namespace platform {
namespace {

// A shown window with a button and an entry, counting the button's clicks and the Escapes that reach the window.
struct CountingWindow {
  CountingWindow() {
    box.pack_start(button);
    box.pack_start(entry);
    window.add(box);
    button.signal_clicked().connect([this] { ++clicks; });
    window.signal_key_press_event().connect(
        [this](GdkEventKey* key) { return key->keyval == GDK_KEY_Escape && ++escapes > 0; });
  }
  bool show() {
    window.show_all();
    return test::waitForAllocation(button);
  }
  void pressEscape() {
    test::injectKey(window, GDK_KEY_PRESS, GDK_KEY_Escape);
    test::processPendingEvents();
  }
  Gtk::Window window;
  Gtk::Box box{Gtk::ORIENTATION_VERTICAL};
  Gtk::Button button{"Go"};
  Gtk::Entry entry;
  int clicks = 0;
  int escapes = 0;
};

TEST(ModalStep, InputGoesOnlyToAShownAndRealizedTarget) {
  struct Case {
    const char* what;
    // Sets the scene on the window; returns the step that runs meanwhile, if any.
    std::function<std::unique_ptr<ModalStep>(CountingWindow& other, CountingWindow& step)> scene;
    bool otherTakesClicks;
    bool otherTakesKeys;
    bool stepShown;
  };
  const Case cases[] = {
      {"nothing special", [](CountingWindow&, CountingWindow&) { return nullptr; }, true, true, false},
      {"a grab left in a window put away",
       [](CountingWindow&, CountingWindow& away) {
         EXPECT_TRUE(away.show());
         gtk_grab_add(GTK_WIDGET(away.button.gobj()));
         away.window.hide();
         gtk_widget_unrealize(GTK_WIDGET(away.window.gobj()));
         return nullptr;
       },
       true, true, false},
      {"a focus widget no longer realized",
       [](CountingWindow& other, CountingWindow&) {
         other.entry.grab_focus();
         gtk_widget_unrealize(GTK_WIDGET(other.entry.gobj()));
         return nullptr;
       },
       true, false, false},
      {"a modal step whose window is not shown yet",
       [](CountingWindow&, CountingWindow& step) { return std::make_unique<ModalStep>(step.window); }, false,
       false, false},
      {"a modal step whose window is shown",
       [](CountingWindow&, CountingWindow& step) { return std::make_unique<ModalStep>(step.window); }, false, false,
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CountingWindow other, stepWindow;
    ASSERT_TRUE(other.show());
    std::unique_ptr<ModalStep> step = c.scene(other, stepWindow);
    if (c.stepShown) {
      ASSERT_TRUE(stepWindow.show());
    }
    other.pressEscape();  // before the click, which gives the button the focus
    test::clickButton(other.button);
    test::processPendingEvents();
    EXPECT_EQ(other.clicks, c.otherTakesClicks ? 1 : 0);
    EXPECT_EQ(other.escapes, c.otherTakesKeys ? 1 : 0);
    EXPECT_EQ(gtk_grab_get_current(), nullptr) << "no grab is left";
    if (c.stepShown) {
      test::clickButton(stepWindow.button);
      stepWindow.pressEscape();
      EXPECT_EQ(stepWindow.clicks, 1);
      EXPECT_EQ(stepWindow.escapes, 1);
    }
    // Once the step is over the other window takes input again.
    step.reset();
    test::clickButton(other.button);
    EXPECT_EQ(other.clicks, c.otherTakesClicks ? 2 : 1);
  }
}

}  // namespace
}  // namespace platform

// Where real input goes, through GDK's queue and GTK's dispatch: during a modal step (the last begun) only to the
// step's window once it is shown and to an alert opened within it; never to a widget that is no longer realized (a
// grab left on one takes no more clicks and keys, wherever it went since; keys for a focus widget gone go nowhere),
// where GTK would lose them with a critical (fatal in these tests).

#include <gdk/gdkkeysyms.h>
#include <gtest/gtest.h>
#include <gtkmm/box.h>
#include <gtkmm/button.h>
#include <gtkmm/entry.h>
#include <gtkmm/messagedialog.h>
#include <gtkmm/window.h>
#include <gtkmm/windowgroup.h>

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
    window.signal_delete_event().connect([this](GdkEventAny*) { return ++closes > 0; });
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
  int closes = 0;
};

TEST(ModalStep, InputGoesOnlyToAShownAndRealizedTarget) {
  struct Case {
    const char* what;
    // Sets the scene on the window; returns the step that runs meanwhile, if any.
    std::function<std::unique_ptr<ModalStep>(CountingWindow& other, CountingWindow& step)> scene;
    bool otherTakesClicks;
    bool otherTakesKeys;
    bool stepShown;
    bool withinAStepOfTheOther = false;
    bool alertWithin = false;  // an alert opened on the other window after the scene
  };
  // A grab taken by the other window's entry, which then goes to the step window's box or out of every window.
  const auto grabLeftOnEntryMoved = [](bool toAnotherWindow) {
    return [toAnotherWindow](CountingWindow& other, CountingWindow& away) {
      gtk_window_group_add_window(Glib::unwrap(Gtk::WindowGroup::create()), other.window.gobj());
      gtk_grab_add(GTK_WIDGET(other.entry.gobj()));
      other.box.remove(other.entry);
      if (toAnotherWindow) away.box.pack_start(other.entry);
      return std::unique_ptr<ModalStep>();
    };
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
      {"a grab left on an entry moved to a window of another group", grabLeftOnEntryMoved(true), true, true, false},
      {"a grab left on an entry taken out of every window", grabLeftOnEntryMoved(false), true, true, false},
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
      {"a step begun within the other window's",
       [](CountingWindow&, CountingWindow& step) { return std::make_unique<ModalStep>(step.window); }, false, false,
       true, true},
      {"an alert opened within a step before its window shows",
       [](CountingWindow&, CountingWindow& step) { return std::make_unique<ModalStep>(step.window); }, false, false,
       false, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CountingWindow other, stepWindow;
    ASSERT_TRUE(other.show());
    std::optional<ModalStep> outer;
    if (c.withinAStepOfTheOther) outer.emplace(other.window);
    std::unique_ptr<ModalStep> step = c.scene(other, stepWindow);
    if (c.stepShown) {
      ASSERT_TRUE(stepWindow.show());
    }
    if (c.alertWithin) {  // on the window in front, as the program's alerts stand
      Gtk::MessageDialog alert(other.window, "Converted", false, Gtk::MESSAGE_INFO, Gtk::BUTTONS_OK, true);
      int answer = 0;
      alert.signal_response().connect([&answer](int response) { answer = response; });
      alert.show();
      ASSERT_TRUE(test::waitForAllocation(alert));
      test::injectKey(alert, GDK_KEY_PRESS, GDK_KEY_Return);
      test::injectKey(alert, GDK_KEY_RELEASE, GDK_KEY_Return);
      test::processPendingEvents();
      EXPECT_EQ(answer, Gtk::RESPONSE_OK);
    }
    other.pressEscape();  // before the click, which gives the button the focus
    test::clickButton(other.button);
    GdkEvent* close = gdk_event_new(GDK_DELETE);  // the window frame's close button
    close->any.window = GDK_WINDOW(g_object_ref(gtk_widget_get_window(GTK_WIDGET(other.window.gobj()))));
    gdk_event_put(close);
    gdk_event_free(close);
    test::processPendingEvents();
    EXPECT_EQ(other.clicks, c.otherTakesClicks ? 1 : 0);
    EXPECT_EQ(other.escapes, c.otherTakesKeys ? 1 : 0);
    EXPECT_EQ(other.closes, other.clicks);
    EXPECT_EQ(gtk_grab_get_current(), nullptr) << "no grab is left";
    if (c.stepShown) {
      test::clickButton(stepWindow.button);
      stepWindow.pressEscape();
      EXPECT_EQ(stepWindow.clicks, 1);
      EXPECT_EQ(stepWindow.escapes, 1);
    }
    // Once the step is over the other window takes input again, as its own step's window too.
    step.reset();
    test::clickButton(other.button);
    EXPECT_EQ(other.clicks, c.otherTakesClicks ? 2 : 1);
  }
}

}  // namespace
}  // namespace platform

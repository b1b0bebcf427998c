// What the shortcut controls need of the platform: alerts from error values,
// the application's main menu, self-drawn controls that can be disabled and a
// keyboard grab for one window.

#include <gtest/gtest.h>
#include <gtkmm/messagedialog.h>

#include <memory>

#include "platform/core/main_queue.h"
#include "platform/ui/alert.h"
#include "platform/ui/control.h"
#include "platform/ui/keyboard_grab.h"
#include "platform/ui/menu_bar.h"
#include "platform/ui/window.h"
#include "ui_test_harness.h"

namespace platform {
namespace {

TEST(ErrorAlert, ShowsTheSuggestionAsItStandsWithTheFirstOption) {
  Error error = Error::make(Error::cocoaDomain, 0, "The key combination ⌃K can't be used!");
  error.recoverySuggestion = "… because %@ 100%.";
  error.recoveryOptions = {"OK", "Never"};
  auto alert = Alert::alertWithNonRecoverableError(error);
  alert->setAlertStyle(AlertStyle::Critical);
  std::string secondary;
  int buttons = 0;
  dispatchAsync([&] {
    auto* dialog = dynamic_cast<Gtk::MessageDialog*>(alert->dialog());
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->property_text().get_value(), "The key combination ⌃K can't be used!");
    secondary = dialog->property_secondary_text().get_value();
    buttons = static_cast<int>(dialog->get_action_area()->get_children().size());
    EXPECT_EQ(dialog->property_message_type().get_value(), Gtk::MESSAGE_ERROR);
    dialog->response(0);
  });
  EXPECT_EQ(alert->runModal(), Alert::FirstButtonReturn);
  EXPECT_EQ(secondary, "… because %@ 100%.");
  EXPECT_EQ(buttons, 1);

  // Without texts or options: empty texts and the default button.
  auto bare = Alert::alertWithNonRecoverableError(Error{});
  dispatchAsync([&] {
    auto* dialog = dynamic_cast<Gtk::MessageDialog*>(bare->dialog());
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->property_text().get_value(), "");
    dialog->response(0);
  });
  EXPECT_EQ(bare->runModal(), Alert::FirstButtonReturn);
}

TEST(ApplicationMainMenu, IsTheBarAWindowShowsLast) {
  auto first = std::make_unique<Window>(Size{100, 80});
  Window second({100, 80});
  auto bar = std::make_shared<MenuBar>();
  auto other = std::make_shared<MenuBar>();
  first->setMainMenu(bar);
  EXPECT_EQ(MenuBar::mainMenu(), bar.get());
  second.setMainMenu(other);
  EXPECT_EQ(MenuBar::mainMenu(), other.get());
  first.reset();  // a window that goes takes only its own bar with it
  EXPECT_EQ(MenuBar::mainMenu(), other.get());
  second.setMainMenu(nullptr);
  EXPECT_EQ(MenuBar::mainMenu(), nullptr);
}

TEST(SelfDrawnControl, KeepsItsEnabledStateAndRedraws) {
  struct Drawn : Control {
    using Control::Control;
    void drawRect(const Rect&) override { ++draws; }
    int draws = 0;
  };
  Window window({100, 80});
  auto control = std::make_shared<Drawn>(Rect{10, 10, 50, 22});
  window.contentView()->addSubview(control);
  ASSERT_TRUE(test::showAndSettle(window));
  const int before = control->draws;
  EXPECT_TRUE(control->isEnabled());
  control->setEnabled(false);
  EXPECT_FALSE(control->isEnabled());
  test::processPendingEvents();
  EXPECT_GT(control->draws, before);
  control->setEnabled(true);
  EXPECT_TRUE(control->isEnabled());
}

TEST(KeyboardGrab, HoldsTheKeyboardForTheWindowUntilReleased) {
  Window window({100, 80});
  auto view = std::make_shared<View>(Rect{0, 0, 100, 80});
  window.setContentView(view);
  auto unshown = std::make_shared<View>(Rect{0, 0, 10, 10});
  EXPECT_EQ(KeyboardGrab::begin(*unshown), nullptr);
  ASSERT_TRUE(test::showAndSettle(window));
  GdkDisplay* display = gdk_display_get_default();
  GdkDevice* keyboard = gdk_seat_get_keyboard(gdk_display_get_default_seat(display));
  {
    auto grab = KeyboardGrab::begin(*view);
    ASSERT_NE(grab, nullptr);
    EXPECT_TRUE(gdk_display_device_is_grabbed(display, keyboard));
  }
  // GDK forgets a grab once the server has handled the ungrab.
  gdk_display_sync(display);
  test::processPendingEvents();
  EXPECT_FALSE(gdk_display_device_is_grabbed(display, keyboard));
}

}  // namespace
}  // namespace platform

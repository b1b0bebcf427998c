// The shortcut view recording through its key monitor, with real key events
// on GDK's queue: Delete clears, Escape stops, the program's close key passes
// on to its menu, a taken combination alerts and recording goes on, modifiers
// alone show as the placeholder; one view records at a time and a window that
// loses focus stops it. Clicks, tool tips, accessibility and the defaults
// binding complete it.

#include <atk/atk.h>
#include <gdk/gdkkeysyms.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/core/keyed_archive.h"
#include "platform/core/main_queue.h"
#include "platform/core/user_defaults.h"
#include "platform/core/user_defaults_controller.h"
#include "platform/ui/menu.h"
#include "platform/ui/menu_bar.h"
#include "platform/ui/window.h"
#include "recorder_fixture.h"
#include "shortcuts/KSShortcutView.h"
#include "ui_test_harness.h"

namespace shortcuts_testing {
namespace {

using platform::Value;
using platform::modifier::Command;
using platform::modifier::Control;

class ShortcutView : public ::testing::Test {
 protected:
  void SetUp() override {
    auto bar = std::make_shared<platform::MenuBar>();
    bar->addMenu("File").addItem("Close", [this](platform::MenuItem&) { ++closed; }, {"w", Control});
    window.setMainMenu(bar);
    view = std::make_shared<KSShortcutView>(platform::Rect{10, 10, 160, 24});
    window.contentView()->addSubview(view);
    ASSERT_TRUE(platform::test::showAndSettle(window));
  }
  void key(unsigned keyval, unsigned state = 0, GdkEventType type = GDK_KEY_PRESS) {
    platform::test::injectKey(window.host(), type, keyval, state);
  }
  // A click at a point of the view, in its own (flipped) points.
  void click(double x, double y) {
    platform::test::injectButton(view->widget(), GDK_BUTTON_PRESS, 1, x, y);
    platform::test::injectButton(view->widget(), GDK_BUTTON_RELEASE, 1, x, y);
  }
  void focusWindow(bool in) {
    GdkEvent* event = gdk_event_new(GDK_FOCUS_CHANGE);
    event->focus_change.window = GDK_WINDOW(g_object_ref(window.gtkWindow().get_window()->gobj()));
    event->focus_change.send_event = TRUE;
    event->focus_change.in = in;
    gdk_event_set_device(event, gdk_seat_get_keyboard(gdk_display_get_default_seat(gdk_display_get_default())));
    gdk_event_put(event);
    gdk_event_free(event);
    platform::test::processPendingEvents();
  }
  std::shared_ptr<const KSShortcut> shortcut(std::uint64_t code, std::uint64_t flags) {
    return std::make_shared<const KSShortcut>(code, flags);
  }

  FreshSettings settings;
  platform::Window window{platform::Size{200, 60}};
  std::shared_ptr<KSShortcutView> view;
  int closed = 0;
};

TEST_F(ShortcutView, RecordsTheNextValidShortcut) {
  int changes = 0;
  view->setShortcutValueChange([&](KSShortcutView&) { ++changes; });
  view->setRecording(true);
  key(GDK_KEY_k);  // no modifier: not a shortcut, recording goes on
  EXPECT_TRUE(view->isRecording());
  key(GDK_KEY_k, GDK_CONTROL_MASK);
  EXPECT_FALSE(view->isRecording());
  ASSERT_TRUE(view->shortcutValue());
  EXPECT_EQ(*view->shortcutValue(), KSShortcut(40, Control));
  EXPECT_EQ(changes, 1);
}

TEST_F(ShortcutView, DeleteClearsEscapeStopsAndTheCloseKeyPassesOn) {
  view->setShortcutValue(shortcut(40, Control));
  view->setRecording(true);
  key(GDK_KEY_Escape);
  EXPECT_FALSE(view->isRecording());
  EXPECT_TRUE(view->shortcutValue());

  view->setRecording(true);
  key(GDK_KEY_BackSpace);
  EXPECT_FALSE(view->isRecording());
  EXPECT_FALSE(view->shortcutValue());

  view->setRecording(true);
  key(GDK_KEY_w, GDK_CONTROL_MASK);
  EXPECT_FALSE(view->isRecording());
  EXPECT_EQ(closed, 1);
  EXPECT_FALSE(view->shortcutValue());
  key(GDK_KEY_w, GDK_CONTROL_MASK);  // not recording: the monitor is gone
  EXPECT_EQ(closed, 2);
}

TEST_F(ShortcutView, TakenCombinationAlertsAndRecordingGoesOn) {
  FreshSettings::setSystemHotKeys(std::vector<KRSystemHotKey>{{40, 0x100, true}});
  view->setRecording(true);
  key(GDK_KEY_Super_L, 0);
  EXPECT_EQ(view->shortcutPlaceholder(), "\u2318");
  std::string message;
  std::string informative;
  answerNextAlert(message, informative);
  key(GDK_KEY_k, GDK_SUPER_MASK);
  EXPECT_EQ(message, "The key combination \u2318K cannot be used");
  EXPECT_EQ(informative.substr(0, 41), "This combination cannot be used because i");
  EXPECT_TRUE(view->isRecording());
  EXPECT_EQ(view->shortcutPlaceholder(), "");
  EXPECT_FALSE(view->shortcutValue());
  key(GDK_KEY_j, GDK_SUPER_MASK);  // the monitor is back
  EXPECT_FALSE(view->isRecording());
  EXPECT_EQ(*view->shortcutValue(), KSShortcut(38, Command));
}

TEST_F(ShortcutView, ModifiersAloneShowAsThePlaceholder) {
  view->setRecording(true);
  key(GDK_KEY_Control_L);
  EXPECT_EQ(view->shortcutPlaceholder(), "\u2303");
  key(GDK_KEY_Shift_L, GDK_CONTROL_MASK);
  EXPECT_EQ(view->shortcutPlaceholder(), "\u2303\u21E7");
  key(GDK_KEY_Control_L, GDK_CONTROL_MASK | GDK_SHIFT_MASK, GDK_KEY_RELEASE);
  EXPECT_EQ(view->shortcutPlaceholder(), "\u21E7");
  EXPECT_TRUE(view->isRecording());
}

TEST_F(ShortcutView, OneViewRecordsAtATimeAndLosingFocusStops) {
  auto second = std::make_shared<KSShortcutView>(platform::Rect{10, 40, 160, 24});
  window.contentView()->addSubview(second);
  view->setRecording(true);
  second->setRecording(true);
  EXPECT_FALSE(view->isRecording());
  EXPECT_TRUE(second->isRecording());
  focusWindow(true);
  EXPECT_TRUE(second->isRecording());
  focusWindow(false);
  EXPECT_FALSE(second->isRecording());
  view->setEnabled(false);
  view->setRecording(true);
  EXPECT_FALSE(view->isRecording());
}

TEST_F(ShortcutView, ClicksRecordClearAndStop) {
  click(40, 12);  // no value: anywhere starts
  EXPECT_TRUE(view->isRecording());
  click(150, 12);  // the hint area stops
  EXPECT_FALSE(view->isRecording());
  view->setShortcutValue(shortcut(40, Control));
  EXPECT_EQ(view->toolTipAtPoint({40, 12}), "Click to record new shortcut");
  EXPECT_EQ(view->toolTipAtPoint({150, 12}), "Delete shortcut");
  click(150, 12);  // with a value, the hint area clears it
  EXPECT_FALSE(view->shortcutValue());
  EXPECT_FALSE(view->isRecording());
  EXPECT_EQ(view->toolTipAtPoint({40, 12}), "");
  view->setShortcutValue(shortcut(40, Control));
  click(40, 12);
  EXPECT_TRUE(view->isRecording());
  EXPECT_EQ(view->toolTipAtPoint({40, 12}), "");
}

TEST_F(ShortcutView, HintAreaWidthFollowsTheStyle) {
  for (const auto& [style, width] : {std::pair{0, 23.0}, {1, 25.0}, {2, 26.0}, {3, 15.0}}) {
    view->setStyle(style);
    platform::Rect shortcutRect;
    platform::Rect hint;
    view->getShortcutRect(&shortcutRect, &hint);
    EXPECT_EQ(hint, (platform::Rect{160 - width, 0, width, 24})) << style;
    EXPECT_EQ(shortcutRect.size.width, 160 - width) << style;
  }
  view->setStyle(9);
  EXPECT_EQ(view->style(), 3);
}

TEST_F(ShortcutView, TellsAccessibilityWhatItIsAndAnnouncesTheResult) {
  AtkObject* accessible = gtk_widget_get_accessible(view->widget().gobj());
  EXPECT_EQ(atk_object_get_role(accessible), ATK_ROLE_PUSH_BUTTON);
  EXPECT_STREQ(atk_object_get_name(accessible), "Empty keyboard shortcut");
  EXPECT_NE(std::string(atk_object_get_description(accessible)).find("To record a new shortcut"), std::string::npos);
  std::vector<std::string> announced;
  if (g_signal_lookup("announcement", ATK_TYPE_OBJECT) != 0) {
    g_signal_connect(accessible, "announcement", G_CALLBACK(+[](AtkObject*, const gchar* text, gpointer data) {
                       static_cast<std::vector<std::string>*>(data)->emplace_back(text);
                     }),
                     &announced);
  }
  view->setRecording(true);
  key(GDK_KEY_k, GDK_CONTROL_MASK);
  EXPECT_STREQ(atk_object_get_name(accessible), "\u2303K keyboard shortcut");
  view->setRecording(true);
  key(GDK_KEY_Delete);
  if (g_signal_lookup("announcement", ATK_TYPE_OBJECT) != 0) {
    EXPECT_EQ(announced, (std::vector<std::string>{"Shortcut set", "Shortcut cleared"}));
  }
}

TEST_F(ShortcutView, BoundValueLivesInTheDefaultsAsAnArchive) {
  view->setAssociatedUserDefaultsKey("showPalette");
  EXPECT_EQ(view->associatedUserDefaultsKey().value_or(""), "showPalette");
  view->setShortcutValue(shortcut(35, Command));
  const Value stored = platform::UserDefaults::standardUserDefaults().objectForKey("showPalette");
  ASSERT_TRUE(stored.isData());
  const auto unarchived = platform::unarchiveObjectWithData(stored.data());
  ASSERT_TRUE(unarchived && KSShortcut::in(unarchived.value()));
  EXPECT_EQ(*KSShortcut::in(unarchived.value()), KSShortcut(35, Command));
  // Changed in the defaults, the view follows; rebound to another key, it takes that one's value.
  platform::UserDefaultsController::shared().setValueForKeyPath(
      Value(platform::archivedDataWithRootObject(Value(KSShortcut::make(1, Control)))), "values.showPalette");
  EXPECT_EQ(*view->shortcutValue(), KSShortcut(1, Control));
  view->setAssociatedUserDefaultsKeyWithTransformerName("otherKey", "KSDictionaryTransformer");
  EXPECT_FALSE(view->shortcutValue());
  EXPECT_TRUE(platform::UserDefaults::standardUserDefaults().objectForKey("otherKey").isNil());  // not echoed back
  view->setShortcutValue(shortcut(35, Command));
  EXPECT_TRUE(platform::UserDefaults::standardUserDefaults().objectForKey("otherKey").isEqual(
      platform::Dictionary::make({{"keyCode", 35}, {"modifierFlags", Command}})));
  EXPECT_TRUE(platform::UserDefaults::standardUserDefaults().objectForKey("showPalette").isData());
  view->setAssociatedUserDefaultsKey("");
  EXPECT_FALSE(view->associatedUserDefaultsKey());
}

}  // namespace
}  // namespace shortcuts_testing

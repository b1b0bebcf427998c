// The preferences window through GTK's own dispatch: the display settings write their defaults (grid values kept
// between 1 and 10,000), the units follow the ruler box, a pending tab is chosen once the window is built, and a
// key pressed into a tool's recorder becomes that tool's key in the main window.

#include <gdk/gdkkeysyms.h>
#include <gtest/gtest.h>

#include <functional>

#include "app/CMKeyEqTextField.h"
#include "app/CMPreferenceWindowController.h"
#include "document/CMProject.h"
#include "platform/core/files.h"
#include "platform/core/property_list.h"
#include "platform/ui/button.h"
#include "platform/ui/pop_up_button.h"
#include "platform/ui/tab_view.h"
#include "platform/ui/text_field.h"
#include "platform/ui/window.h"
#include "shell_fixture.h"
#include "ui/CMToolbarButton.h"
#include "ui/CMToolsView.h"
#include "ui/CPMainView.h"
#include "ui_test_harness.h"

namespace shell_testing {
namespace {

using Preferences = ShellTest;

platform::UserDefaults& settings() { return CMProject::shareProject().settings(); }

int gridValue(const char* key) { return settings().dictionaryForKey("grid")->get(key).intValue(); }

void typeInto(platform::TextField& field, const std::string& text) {
  field.gtkEntry().set_text(text);
  field.gtkEntry().activate();
}

TEST_F(Preferences, DisplaySettingsWriteTheirDefaults) {
  CMPreferenceWindowController preferences;
  ASSERT_TRUE(platform::test::showAndSettle(preferences.window()));
  EXPECT_EQ(preferences.showGridBox().state(), 0);
  EXPECT_EQ(preferences.showRulerBox().state(), 1);
  EXPECT_TRUE(preferences.unitsPopUp().isEnabled());
  EXPECT_EQ(preferences.spacingField().stringValue(), "50");
  EXPECT_EQ(preferences.tickField().stringValue(), "5");

  platform::test::clickButton(preferences.showGridBox().gtkButton());
  settle();
  EXPECT_TRUE(settings().boolForKey("show_grid"));
  platform::test::clickButton(preferences.showRulerBox().gtkButton());
  settle();
  EXPECT_FALSE(settings().boolForKey("show_ruler"));
  EXPECT_FALSE(preferences.unitsPopUp().isEnabled());
  platform::test::clickButton(preferences.showRulerBox().gtkButton());
  settle();
  EXPECT_TRUE(preferences.unitsPopUp().isEnabled());

  preferences.unitsPopUp().gtkComboBox().set_active(3);
  EXPECT_EQ(settings().integerForKey("unit_index"), 3);

  const std::vector<std::pair<std::string, int>> typed{{"25", 25}, {"abc", 1}, {"0", 1}, {"-5", 1}, {"20000", 10000}};
  for (const auto& [text, stored] : typed) {
    typeInto(preferences.spacingField(), text);
    EXPECT_EQ(gridValue("spacing"), stored) << text;
    EXPECT_EQ(preferences.spacingField().stringValue(), std::to_string(stored)) << text;
  }
  typeInto(preferences.tickField(), "7");
  EXPECT_EQ(gridValue("tick_count"), 7);
  EXPECT_EQ(gridValue("spacing"), 10000);
}

// The settings file as the next start reads it.
platform::Value storedSetting(const char* key) {
  platform::Expected<platform::Bytes> bytes = platform::readFile(settings().filePath());
  if (!bytes) return {};
  platform::Expected<platform::Value> list = platform::propertyListFromData(bytes.value());
  return list && list.value().isDictionary() ? list.value().dictionary()->get(key) : platform::Value();
}

TEST_F(Preferences, EveryDisplaySettingReachesTheDiskAtOnce) {
  newDrawing();
  ASSERT_TRUE(platform::test::showAndSettle(window->window()));
  CMPreferenceWindowController preferences;
  ASSERT_TRUE(platform::test::showAndSettle(preferences.window()));
  const auto gridOnDisk = [](const char* key) {
    const platform::DictRef grid = storedSetting("grid").dictionary();
    return grid ? grid->get(key) : platform::Value();
  };
  const auto viewItem = [this](const std::string& what) {
    platform::MenuItem* shown = item("View", "Show " + what);
    return shown ? shown : item("View", "Hide " + what);
  };
  struct Case {
    const char* what;
    std::function<void()> change;
    std::function<platform::Value()> stored;
    platform::Value expected;
  } cases[] = {
      {"Show grid ticked", [&] { platform::test::clickButton(preferences.showGridBox().gtkButton()); },
       [] { return storedSetting("show_grid"); }, true},
      {"spacing typed", [&] { typeInto(preferences.spacingField(), "20"); }, [&] { return gridOnDisk("spacing"); },
       20},
      {"ticks typed", [&] { typeInto(preferences.tickField(), "4"); }, [&] { return gridOnDisk("tick_count"); }, 4},
      {"Show rulers unticked", [&] { platform::test::clickButton(preferences.showRulerBox().gtkButton()); },
       [] { return storedSetting("show_ruler"); }, false},
      {"units chosen", [&] { preferences.unitsPopUp().gtkComboBox().set_active(2); },
       [] { return storedSetting("unit_index"); }, 2},
      // The View menu's items toggle: the rulers were off and the grid on.
      {"View \u25b8 Show Ruler", [&] { viewItem("Ruler")->perform(); }, [] { return storedSetting("show_ruler"); },
       true},
      {"View \u25b8 Hide Grid", [&] { viewItem("Grid")->perform(); }, [] { return storedSetting("show_grid"); },
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    c.change();
    settle();
    EXPECT_TRUE(c.stored().isEqual(c.expected)) << c.stored().description();
  }
}

TEST_F(Preferences, APendingTabIsChosenOnceTheWindowIsBuilt) {
  CMPreferenceWindowController preferences;
  preferences.selectTab(1);
  EXPECT_FALSE(preferences.isWindowLoaded());
  preferences.window();
  EXPECT_EQ(preferences.tabView().indexOfSelectedTabViewItem(), 1);
  EXPECT_FALSE(preferences.tabView().viewOfItem(1).isHidden());
  EXPECT_TRUE(preferences.tabView().viewOfItem(0).isHidden());
  // Grid Settings… shows the shared window on its display tab.
  CMPreferenceWindowController::sharedPreference().selectTab(1);
  item("View", "Grid Settings")->perform();
  EXPECT_TRUE(CMPreferenceWindowController::sharedPreference().window().isVisible());
  EXPECT_EQ(CMPreferenceWindowController::sharedPreference().tabView().indexOfSelectedTabViewItem(), 0);
}

TEST_F(Preferences, AKeyPressedIntoARecorderChoosesThatToolInTheMainWindow) {
  newDrawing();
  ASSERT_TRUE(platform::test::showAndSettle(window->window()));
  item("Edit", "Preferences")->perform();
  CMPreferenceWindowController& preferences = CMPreferenceWindowController::sharedPreference();
  ASSERT_TRUE(platform::test::showAndSettle(preferences.window()));
  preferences.tabView().gtkNotebook().set_current_page(1);
  settle();
  KRRecorderControl* select = preferences.recorderForRow(0);
  ASSERT_NE(select, nullptr);
  Gtk::Widget& recorder = select->widget();
  const double x = recorder.get_allocated_width() / 3.0;
  const double y = recorder.get_allocated_height() / 2.0;
  platform::test::injectButton(recorder, GDK_BUTTON_PRESS, 1, x, y);
  platform::test::injectButton(recorder, GDK_BUTTON_RELEASE, 1, x, y);
  settle();
  platform::test::injectKey(recorder, GDK_KEY_PRESS, GDK_KEY_k);
  platform::test::injectKey(recorder, GDK_KEY_RELEASE, GDK_KEY_k);
  settle();
  CMKeyBindingManager& bindings = CMProject::shareProject().keyBindings();
  EXPECT_EQ(bindings.titleFor(1), "Select (K)");
  CMToolbarButton* selectButton = window->mainView()->toolsBar().buttonWithTag(0);
  ASSERT_NE(selectButton, nullptr);
  EXPECT_EQ(selectButton->toolTip(), "Select (K)");

  window->selectTool(3, nullptr);
  preferences.window().hide();
  window->window().gtkWindow().present();
  settle();
  platform::test::injectKey(window->window().gtkWindow(), GDK_KEY_PRESS, GDK_KEY_k);
  platform::test::injectKey(window->window().gtkWindow(), GDK_KEY_RELEASE, GDK_KEY_k);
  settle();
  EXPECT_EQ(window->selectedTool(), 0);
}

TEST(KeyEqFormatter, KeepsTheFirstCharacterInUpperCase) {
  const std::vector<std::pair<std::string, std::string>> cases{
      {"  ab ", "A"}, {"x", "X"}, {"", ""}, {"   ", ""}, {"\u00e9t\u00e9", "\u00c9"}, {"7", "7"}};
  for (const auto& [typed, shown] : cases) EXPECT_EQ(CMKeyEqFormatter::stringForObjectValue(typed), shown) << typed;
  std::string value;
  EXPECT_TRUE(CMKeyEqFormatter::getObjectValue(value, " q "));
  EXPECT_EQ(value, " q ");
}

}  // namespace
}  // namespace shell_testing

// The preferences window through GTK's own dispatch: the display settings write their defaults (grid values no
// more than 10,000, values below 1 refused), the units follow the ruler box, a pending tab is chosen once the
// window is built, and a key pressed into a tool's recorder becomes that tool's key in the main window unless a
// menu item answers it.

#include <gdk/gdkkeysyms.h>
#include <gtest/gtest.h>
#include <gtkmm/messagedialog.h>

#include <functional>
#include <string>

#include "app/CMKeyEqTextField.h"
#include "app/CMPreferenceWindowController.h"
#include "document/CMKeyBindingManager.h"
#include "document/CMProject.h"
#include "platform/core/files.h"
#include "platform/core/property_list.h"
#include "platform/core/main_queue.h"
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

class Preferences : public ShellTest {
 protected:
  // Clicks a tool's recorder on the shortcuts tab, which starts recording there.
  static KRRecorderControl* startRecording(CMPreferenceWindowController& preferences, int row) {
    preferences.tabView().gtkNotebook().set_current_page(1);
    settle();
    KRRecorderControl* control = preferences.recorderForRow(row);
    if (!control) return nullptr;
    Gtk::Widget& recorder = control->widget();
    const double x = recorder.get_allocated_width() / 3.0;
    const double y = recorder.get_allocated_height() / 2.0;
    platform::test::injectButton(recorder, GDK_BUTTON_PRESS, 1, x, y);
    platform::test::injectButton(recorder, GDK_BUTTON_RELEASE, 1, x, y);
    settle();
    return control;
  }
};

platform::UserDefaults& settings() { return CMProject::shareProject().settings(); }

int gridValue(const char* key) { return settings().dictionaryForKey("grid")->get(key).intValue(); }

void typeInto(platform::TextField& field, const std::string& text) {
  field.gtkEntry().set_text(text);
  field.gtkEntry().activate();
}

// The informative text of the next alert, answered with its first button as soon as it is up.
void answerNextAlert(std::string& informative) {
  platform::dispatchAsync([&informative] {
    for (Gtk::Window* shown : Gtk::Window::list_toplevels()) {
      auto* dialog = dynamic_cast<Gtk::MessageDialog*>(shown);
      if (!dialog || !dialog->get_visible()) continue;
      informative = dialog->property_secondary_text().get_value();
      dialog->response(0);
    }
  });
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

  const std::vector<std::pair<std::string, int>> typed{{"25", 25}, {"abc", 25}, {"0", 25}, {"-5", 25}, {"20000", 10000}};
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
  KRRecorderControl* select = startRecording(preferences, 0);
  ASSERT_NE(select, nullptr);
  Gtk::Widget& recorder = select->widget();
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

// A tool's key is refused when any menu item answers it: by its first key equivalent, by a further one, or from
// inside a submenu.
TEST_F(Preferences, EveryKeyEquivalentOfEveryMenuItemIsRefusedToATool) {
  constexpr int kStarRow = 5;
  constexpr int kStarKeyId = 10;
  newDrawing();
  // An item with a key inside a submenu, where the File menu keeps its samples.
  const platform::Menu* file = menuTitled("File");
  ASSERT_NE(file, nullptr);
  ASSERT_FALSE(file->submenus().empty());
  file->submenus().front()->addItem("Probe", nullptr, {"j", platform::modifier::Control});

  CMPreferenceWindowController preferences;
  ASSERT_TRUE(platform::test::showAndSettle(preferences.window()));
  KRRecorderControl* star = startRecording(preferences, kStarRow);
  ASSERT_NE(star, nullptr);
  Gtk::Widget& recorder = star->widget();
  ASSERT_TRUE(star->cell().isRecording());
  CMKeyBindingManager& bindings = CMProject::shareProject().keyBindings();
  const std::string before = bindings.titleFor(kStarKeyId);

  struct Case {
    unsigned keyval;
    unsigned state;
    const char* item;  // the menu item named by the refusal
  };
  for (const Case& c : {Case{GDK_KEY_equal, GDK_CONTROL_MASK, "Zoom In"}, Case{GDK_KEY_F1, 0, "Draftwork Help"},
                        Case{GDK_KEY_j, GDK_CONTROL_MASK, "Probe"}, Case{GDK_KEY_s, GDK_CONTROL_MASK, "Save"}}) {
    std::string refusal;
    answerNextAlert(refusal);
    platform::test::injectKey(recorder, GDK_KEY_PRESS, c.keyval, c.state);
    platform::test::injectKey(recorder, GDK_KEY_RELEASE, c.keyval, c.state);
    settle();
    EXPECT_NE(refusal.find(std::string("the menu item \"") + c.item + "\""), std::string::npos)
        << c.item << ": " << refusal;
    EXPECT_EQ(bindings.titleFor(kStarKeyId), before) << c.item;
    EXPECT_TRUE(star->cell().isRecording()) << c.item;
  }
  // A key no menu answers is taken.
  platform::test::injectKey(recorder, GDK_KEY_PRESS, GDK_KEY_k, GDK_CONTROL_MASK);
  platform::test::injectKey(recorder, GDK_KEY_RELEASE, GDK_KEY_k, GDK_CONTROL_MASK);
  settle();
  EXPECT_FALSE(star->cell().isRecording());
  EXPECT_NE(bindings.titleFor(kStarKeyId), before);
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

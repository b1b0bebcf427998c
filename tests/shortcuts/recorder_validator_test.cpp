// The recorder's validator: its delegate's word first, then the desktop's own
// shortcuts (a list of the test's, or GSettings' in-memory backend with the
// window manager's schema), then the application's real main menu.

#include <gio/gio.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/core/log.h"
#include "platform/ui/menu.h"
#include "platform/ui/menu_bar.h"
#include "platform/ui/window.h"
#include "recorder_fixture.h"
#include "shortcuts/KRValidator.h"
#include "ui/CMMainWindowController.h"

namespace shortcuts_testing {
namespace {

using platform::modifier::Command;
using platform::modifier::Control;
using platform::modifier::Shift;

constexpr std::uint32_t kCarbonCommand = 0x100;
constexpr std::uint32_t kCarbonControl = 0x1000;

struct ReasonGiver : KRValidatorDelegate {
  bool shortcutValidatorIsKeyCodeAndFlagsTaken(KRValidator&, std::int64_t code, std::uint64_t flags,
                                               std::optional<std::string>& reason) override {
    askedFlags = flags;
    if (code != 40) return false;
    reason = answer;
    return true;
  }
  std::optional<std::string> answer;
  std::uint64_t askedFlags = 0;
};

class RecorderValidator : public ::testing::Test {
 protected:
  FreshSettings settings;
};

TEST_F(RecorderValidator, DelegatesReasonReplacesTheStockOne) {
  ReasonGiver delegate;
  KRValidator validator(&delegate);
  platform::Error error;
  delegate.answer = "Rectangle has it";
  EXPECT_TRUE(validator.isKeyCodeAndFlagsTaken(40, kCarbonCommand, &error));
  EXPECT_EQ(delegate.askedFlags, Command);  // asked in Cocoa flags
  EXPECT_EQ(error.description, "The key combination \u2318K can't be used!");
  EXPECT_EQ(error.recoverySuggestion, "The key combination \"Command + K\" can't be used because Rectangle has it.");
  EXPECT_EQ(error.recoveryOptions, std::vector<std::string>{"OK"});
  EXPECT_EQ(error.domain, "NSCocoaErrorDomain");
  delegate.answer = "";
  EXPECT_TRUE(validator.isKeyCodeAndFlagsTaken(40, kCarbonCommand, &error));
  EXPECT_EQ(error.recoverySuggestion, "The key combination \"Command + K\" can't be used because it's already used.");
  EXPECT_TRUE(validator.isKeyCodeAndFlagsTaken(40, kCarbonCommand, nullptr));
  EXPECT_FALSE(validator.isKeyCodeAndFlagsTaken(41, kCarbonCommand, &error));
}

TEST_F(RecorderValidator, EnabledDesktopShortcutRefusesADisabledOneDoesNot) {
  KRValidator validator;
  FreshSettings::setSystemHotKeys(std::vector<KRSystemHotKey>{{40, kCarbonCommand, true}, {41, kCarbonCommand, false}});
  platform::Error error;
  EXPECT_TRUE(validator.isKeyCodeAndFlagsTaken(40, kCarbonCommand | 0x800000, &error));  // other bits do not count
  EXPECT_EQ(error.recoverySuggestion,
            "The key combination \"Command + K\" can't be used because it's already used by a system-wide keyboard "
            "shortcut. (If you really want to use this key combination, most shortcuts can be changed in your "
            "desktop's keyboard settings.)");
  EXPECT_FALSE(validator.isKeyCodeAndFlagsTaken(40, kCarbonCommand | kCarbonControl, nullptr));
  EXPECT_FALSE(validator.isKeyCodeAndFlagsTaken(41, kCarbonCommand, nullptr));
  // A key without a name is refused outright while any desktop shortcut is on.
  error = {};
  EXPECT_TRUE(validator.isKeyCodeAndFlagsTaken(52, kCarbonCommand, &error));
  EXPECT_TRUE(error.description.empty());
}

TEST_F(RecorderValidator, UnreadableDesktopListTakesNothingAndSaysSo) {
  KRValidator validator;
  FreshSettings::setSystemHotKeys(std::nullopt);
  std::vector<std::string> warnings;
  auto previous = platform::setLogSink([&](platform::LogLevel, std::string_view line) { warnings.emplace_back(line); });
  EXPECT_FALSE(validator.isKeyCodeAndFlagsTaken(40, kCarbonCommand, nullptr));
  platform::setLogSink(std::move(previous));
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_NE(warnings[0].find("cannot be read"), std::string::npos);
}

TEST_F(RecorderValidator, WindowManagerBindingFromGSettingsRefusesItsCombination) {
  // The test environment keeps GSettings in memory: this binding lives as long as the test program.
  GSettingsSchemaSource* source = g_settings_schema_source_get_default();
  GSettingsSchema* schema = source ? g_settings_schema_source_lookup(source, "org.gnome.desktop.wm.keybindings", TRUE)
                                   : nullptr;
  if (!schema) GTEST_SKIP() << "the window manager's keybinding schema is not installed";
  GSettings* wm = g_settings_new_full(schema, nullptr, nullptr);
  const gchar* binding[] = {"<Super>k", nullptr};
  ASSERT_TRUE(g_settings_set_strv(wm, "switch-to-workspace-1", binding));
  KRSystemHotKeys::setProvider(nullptr);  // the desktop's own list
  const auto list = KRSystemHotKeys::copy();
  ASSERT_TRUE(list);
  KRValidator validator;
  platform::Error error;
  EXPECT_TRUE(validator.isKeyCodeAndFlagsTaken(40, kCarbonCommand, &error));
  EXPECT_NE(error.recoverySuggestion.find("system-wide"), std::string::npos);
  EXPECT_FALSE(validator.isKeyCodeAndFlagsTaken(40, kCarbonControl, nullptr));
  g_settings_reset(wm, "switch-to-workspace-1");
  EXPECT_FALSE(validator.isKeyCodeAndFlagsTaken(40, kCarbonCommand, nullptr));
  g_object_unref(wm);
  g_settings_schema_unref(schema);
}

TEST_F(RecorderValidator, TheProgramsMainMenuRefusesItsOwnKeys) {
  auto controller = std::make_shared<CMMainWindowController>();
  ASSERT_EQ(platform::MenuBar::mainMenu(), &controller->mainMenu());
  KRValidator validator;
  platform::Error error;
  EXPECT_TRUE(validator.isKeyCodeAndFlagsTaken(1, kCarbonControl, &error));
  EXPECT_EQ(error.description, "The key combination \u2303S can't be used!");
  EXPECT_EQ(error.recoverySuggestion,
            "The key combination \"Control + S\" can't be used because it's already used by the menu item \"Save\".");
  EXPECT_TRUE(validator.isKeyCodeAndFlagsTaken(1, kCarbonControl | 0x200, &error));  // Save As…
  EXPECT_NE(error.recoverySuggestion.find("\"Control + Shift + S\""), std::string::npos);
  EXPECT_FALSE(validator.isKeyCodeAndFlagsTaken(1, kCarbonCommand, nullptr));
  EXPECT_FALSE(validator.isKeyCodeAndFlagsTaken(40, kCarbonControl, nullptr));
}

TEST_F(RecorderValidator, MenuItemsWithoutKeysNeverMatch) {
  platform::Menu menu;
  menu.addItem("Export\u2026", nullptr);
  menu.addItem("Copy", nullptr, {"c", Command});
  KRValidator validator;
  platform::Error error;
  for (std::int64_t code = 0; code < 128; ++code) {
    const bool taken = validator.isKeyCodeAndFlagsTakenInMenu(code, 0, menu, nullptr);
    EXPECT_FALSE(taken) << code;
  }
  EXPECT_TRUE(validator.isKeyCodeAndFlagsTakenInMenu(8, kCarbonCommand, menu, &error));
  EXPECT_EQ(error.recoverySuggestion,
            "The key combination \"Command + C\" can't be used because it's already used by the menu item \"Copy\".");
  EXPECT_FALSE(validator.isKeyCodeAndFlagsTakenInMenu(8, kCarbonCommand | 0x200, menu, nullptr));
}

}  // namespace
}  // namespace shortcuts_testing

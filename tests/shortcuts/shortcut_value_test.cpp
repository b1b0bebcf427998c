// Shortcut values: which are valid, their names and key equivalents, their
// archive as Python's plistlib writes and reads it, their dictionary form, and
// the validator's checks against the desktop and a menu.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/core/keyed_archive.h"
#include "platform/core/value_transformer.h"
#include "platform/ui/key_translation.h"
#include "platform/ui/menu.h"
#include "plistlib_oracle.h"
#include "recorder_fixture.h"
#include "scratch_folder.h"
#include "shortcuts/KSDictionaryTransformer.h"
#include "shortcuts/KSShortcut.h"
#include "shortcuts/KSShortcutValidator.h"

namespace shortcuts_testing {
namespace {

using platform::Dictionary;
using platform::Value;
using platform::modifier::CapsLock;
using platform::modifier::Command;
using platform::modifier::Control;
using platform::modifier::Function;
using platform::modifier::Option;
using platform::modifier::Shift;

TEST(ShortcutValue, ValidWithTheModifiersThatMakeAShortcut) {
  struct Case {
    const char* what;
    std::uint64_t code;
    std::uint64_t flags;
    bool valid;
    bool validWithAnyOption;
  };
  const Case cases[] = {
      {"F5 alone", 96, 0, true, true},       {"F20 alone", 90, 0, true, true},
      {"A alone", 0, 0, false, false},       {"Shift-A", 0, Shift, false, false},
      {"Option-A", 0, Option, false, true},  {"Shift-Option-A", 0, Shift | Option, false, true},
      {"Option-Space", 49, Option, true, true}, {"Option-Escape", 53, Option, true, true},
      {"Control-A", 0, Control, true, true}, {"Command-A", 0, Command, true, true},
  };
  KSShortcutValidator validator;
  for (const Case& c : cases) {
    const KSShortcut shortcut(c.code, c.flags);
    validator.setAllowAnyShortcutWithOptionModifier(false);
    EXPECT_EQ(validator.isShortcutValid(shortcut), c.valid) << c.what;
    validator.setAllowAnyShortcutWithOptionModifier(true);
    EXPECT_EQ(validator.isShortcutValid(shortcut), c.validWithAnyOption) << c.what;
  }
  EXPECT_EQ(&KSShortcutValidator::sharedValidator(), &KSShortcutValidator::sharedValidator());
}

TEST(ShortcutValue, KeepsOnlyTheFourModifiers) {
  const KSShortcut shortcut(0, Shift | Control | Option | Command | CapsLock | Function);
  EXPECT_EQ(shortcut.modifierFlags(), 0x1E0000u);
  EXPECT_EQ(shortcut.carbonFlags(), 0x1B00u);
  EXPECT_EQ(shortcut.description(), "\u2303\u2325\u21E7\u2318A");
  EXPECT_EQ(KSShortcut(KSShortcut::kNotFound, 0).carbonKeyCode(), 0u);
  EXPECT_EQ(KSShortcut(40, 0).carbonKeyCode(), 40u);
  EXPECT_EQ(KSShortcut(40, Command), KSShortcut(40, Command | CapsLock));
  EXPECT_EQ(KSShortcut(40, Command).hash(), 40u + Command);
  // From an event: the key code as an unsigned 16-bit value.
  platform::Event event;
  event.keyCode = 40;
  event.modifierFlags = Control | platform::modifier::NumericPad;
  EXPECT_EQ(KSShortcut::fromEvent(event), KSShortcut(40, Control));
}

TEST(ShortcutValue, NamesAndKeyEquivalents) {
  const std::tuple<std::uint64_t, const char*, std::string> keys[] = {
      {0, "A", "a"},
      {96, "F5", platform::utf8FromCodePoint(0xF708)},
      {122, "F1", platform::utf8FromCodePoint(0xF704)},
      {80, "F19", platform::utf8FromCodePoint(0xF716)},
      {51, "\u232B", "\u232B"},
      {36, "\u21A9", "\u21A9"},
      {49, "Space", " "},
      {78, "\u2013", "\u2013"},
      {92, "9", "9"},
      {50, "`", "`"},
      {90, "", ""},  // F20 has no name
      {KSShortcut::kNotFound, "", ""},
  };
  for (const auto& [code, name, equivalent] : keys) {
    const KSShortcut shortcut(code, 0);
    EXPECT_EQ(shortcut.keyCodeString().value_or("(none)"), name) << code;
    EXPECT_EQ(shortcut.keyCodeStringForKeyEquivalent(), equivalent) << code;
  }
}

class ShortcutArchive : public ::testing::Test {
 protected:
  std::filesystem::path file(bool xml = false) const { return folder_ / (xml ? "shortcut.xml" : "shortcut.plist"); }
  platform::Bytes fileBytes(bool xml = false) const {
    std::ifstream in(file(xml), std::ios::binary);
    return platform::Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  void writeFile(const platform::Bytes& bytes) const {
    std::ofstream out(file(), std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  }
  // What our reader makes of an archive plistlib wrote.
  Value readBack(const std::string& keyCode, const std::string& flags, bool xml) const {
    plistlib("write-shortcut", file(xml), keyCode, flags);
    auto value = platform::unarchiveObjectWithData(fileBytes(xml));
    return value ? value.value() : Value("unreadable");
  }

  platform::testing::ScratchFolder folder_;
};

TEST_F(ShortcutArchive, NoKeyIsStoredAsMinusOneAndReadBackAsNone) {
  writeFile(platform::archivedDataWithRootObject(Value(KSShortcut::make(KSShortcut::kNotFound, Command))));
  EXPECT_EQ(plistlib("archive", file(), "KSShortcut"), "{\"KeyCode\": -1, \"ModifierFlags\": 1048576}");
  writeFile(platform::archivedDataWithRootObject(Value(KSShortcut::make(40, Control))));
  EXPECT_EQ(plistlib("archive", file(), "KSShortcut"), "{\"KeyCode\": 40, \"ModifierFlags\": 262144}");

  struct Case {
    const char* keyCode;
    const char* flags;
    bool xml;
    std::optional<KSShortcut> read;
  };
  const Case cases[] = {
      {"-1", "1048576", false, KSShortcut(KSShortcut::kNotFound, Command)},
      {"-7", "0", false, KSShortcut(KSShortcut::kNotFound, 0)},
      {"9223372036854775808", "0", true, KSShortcut(KSShortcut::kNotFound, 0)},  // 2^63
      {"40", "2031616", false, KSShortcut(40, 0x1E0000)},                          // 0x1F0000: Caps Lock dropped
      {"forty", "0", false, std::nullopt},
      {"40", "Command", true, std::nullopt},
  };
  for (const Case& c : cases) {
    const Value value = readBack(c.keyCode, c.flags, c.xml);
    const KSShortcut* shortcut = KSShortcut::in(value);
    if (!c.read) {
      EXPECT_EQ(shortcut, nullptr) << c.keyCode << " " << c.flags;
      continue;
    }
    ASSERT_NE(shortcut, nullptr) << c.keyCode << " " << value;
    EXPECT_EQ(*shortcut, *c.read) << c.keyCode;
  }
}

TEST(ShortcutDictionary, IntegersBothWaysAndNothingElse) {
  const auto transformer = platform::valueTransformerForName(KSDictionaryTransformer::kName);
  ASSERT_TRUE(transformer);
  const Value shortcut = transformer->transformedValue(Dictionary::make({{"keyCode", 40}, {"modifierFlags", Command}}));
  ASSERT_TRUE(KSShortcut::in(shortcut));
  EXPECT_EQ(*KSShortcut::in(shortcut), KSShortcut(40, Command));
  EXPECT_TRUE(transformer->reverseTransformedValue(shortcut).isEqual(
      Dictionary::make({{"keyCode", 40}, {"modifierFlags", Command}})));
  EXPECT_TRUE(transformer->transformedValue(Dictionary::make({{"keyCode", 40}})).isNil());
  EXPECT_TRUE(transformer->transformedValue(Dictionary::make({{"keyCode", 40.5}, {"modifierFlags", 0}})).isNil());
  EXPECT_TRUE(transformer->transformedValue(Dictionary::make({{"keyCode", "40"}, {"modifierFlags", 0}})).isNil());
  EXPECT_TRUE(transformer->transformedValue(Value(40)).isNil());
  EXPECT_EQ(KSShortcut::in(transformer->transformedValue(Dictionary::make({{"keyCode", -3}, {"modifierFlags", 0}})))
                ->keyCode(),
            KSShortcut::kNotFound);
  EXPECT_TRUE(transformer->reverseTransformedValue(Value()).isEqual(Dictionary::make()));
  EXPECT_TRUE(transformer->reverseTransformedValue(Value("K")).isNil());
}

TEST(ShortcutTaken, DesktopShortcutsMatchEveryModifierMenusTheirEquivalents) {
  FreshSettings settings;
  FreshSettings::setSystemHotKeys(std::vector<KRSystemHotKey>{{40, 0x100, true}, {41, 0x100, false}});
  KSShortcutValidator validator;
  std::string explanation;
  EXPECT_TRUE(validator.isShortcutAlreadyTakenBySystem(KSShortcut(40, Command), &explanation));
  EXPECT_EQ(explanation,
            "This combination cannot be used because it is already used by a system-wide keyboard shortcut.\n"
            "If you really want to use this key combination, most shortcuts can be changed in your desktop's "
            "keyboard settings.");
  EXPECT_FALSE(validator.isShortcutAlreadyTakenBySystem(KSShortcut(40, Command | Shift), nullptr));
  EXPECT_FALSE(validator.isShortcutAlreadyTakenBySystem(KSShortcut(41, Command), nullptr));
  FreshSettings::setSystemHotKeys(std::nullopt);  // unreadable: nothing is taken
  EXPECT_FALSE(validator.isShortcutAlreadyTakenBySystem(KSShortcut(40, Command), nullptr));

  platform::Menu menu;
  menu.addItem("Select All", nullptr, {"A", Command});
  menu.addItem("Export\u2026", nullptr);
  menu.addItem("Next Page", nullptr, {platform::utf8FromCodePoint(0xF708), Control});
  EXPECT_TRUE(validator.isShortcutAlreadyTakenInMenu(KSShortcut(0, Shift | Command), menu, &explanation));
  EXPECT_EQ(explanation, "This shortcut cannot be used because it is already used by the menu item \u2018Select All\u2019.");
  EXPECT_FALSE(validator.isShortcutAlreadyTakenInMenu(KSShortcut(0, Command), menu, nullptr));
  EXPECT_TRUE(validator.isShortcutAlreadyTakenInMenu(KSShortcut(96, Control), menu, nullptr));
  // A key without an equivalent (F20) does not match the items that have none.
  EXPECT_FALSE(validator.isShortcutAlreadyTakenInMenu(KSShortcut(90, 0), menu, nullptr));
}

}  // namespace
}  // namespace shortcuts_testing

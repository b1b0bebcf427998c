// Key names against the key caps of the layouts xkeyboard-config ships: the
// fixed names, the keypad, letters that move between layouts, a reverse map
// that follows a switch of layout, and the first ASCII-capable layout. The
// layouts are set on this test's own X server.

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "platform/core/main_queue.h"
#include "platform/core/value.h"
#include "shortcuts/KRCommon.h"
#include "shortcuts/KRKeyCodeTransformer.h"
#include "shortcuts/KSShortcut.h"
#include "x_test_keyboard.h"
#include "x_test_pointer.h"

namespace {

using namespace std::chrono_literals;
using platform::Value;

// Sets the layouts and waits until GDK has read the new keymap: the key `code` is then named `expected`.
void useLayouts(const char* layouts, std::int64_t code, const char* expected) {
  ASSERT_TRUE(shortcuts::test::setKeyboardLayout(layouts)) << "setxkbmap " << layouts;
  const bool seen = platform::iterateMainLoopUntil(
      [&] {
        platform::test::syncWithXServer();
        return KRKeyNameForKeyCode(code).value_or("") == expected;
      },
      5s);
  ASSERT_TRUE(seen) << layouts;
}

TEST(KeyNames, UsLayoutAndFixedNames) {
  useLayouts("us", 0, "A");
  const std::pair<std::int64_t, const char*> names[] = {
      {49, "Space"}, {53, "\u238B"}, {114, "?"},  {122, "F1"},    {80, "F19"},    {83, "Pad 1"},
      {18, "1"},     {0, "A"},       {6, "Z"},    {16, "Y"},      {40, "K"},      {36, "\u21A9"},
      {92, "Pad 9"}, {78, "Pad -"},  {76, "\u2305"}, {71, "\u2327"}, {50, "`"},   {42, "\\"},
  };
  for (const auto& [code, name] : names) EXPECT_EQ(KRKeyNameForKeyCode(code).value_or("(none)"), name) << code;
  EXPECT_FALSE(KRKeyNameForKeyCode(-1));
  EXPECT_FALSE(KRKeyNameForKeyCode(52));  // no key has it
  EXPECT_FALSE(KRKeyNameForKeyCode(65535));  // read as a short: -1
  EXPECT_EQ(KRKeyNameForKeyCode(65536).value_or(""), "A");
  const auto& transformer = KRKeyCodeTransformer::shared();
  EXPECT_TRUE(transformer.transformedValue(Value("0")).isNil());
  EXPECT_EQ(transformer.transformedValue(Value(0)).string(), "A");
  EXPECT_EQ(transformer.reverseTransformedValue(Value("K")).integerValue(), 40);
  EXPECT_EQ(transformer.reverseTransformedValue(Value("Space")).integerValue(), 49);
  EXPECT_TRUE(transformer.reverseTransformedValue(Value("")).isNil());
  EXPECT_TRUE(transformer.reverseTransformedValue(Value(40)).isNil());
  // The characters keys type: letters capitalised, whatever modifiers are asked for.
  EXPECT_EQ(KRCharacterForKeyCodeAndCocoaFlags(0, kr_flags::Shift | kr_flags::Option), "A");
  EXPECT_EQ(KRCharacterForKeyCodeAndCarbonFlags(18, kr_flags::CarbonShift), "1");
  EXPECT_EQ(KRCharacterForKeyCodeAndCocoaFlags(122, 0), "F1");
  EXPECT_EQ(KRCharacterForKeyCodeAndCocoaFlags(56, 0), "");  // Shift types nothing and has no name
}

TEST(KeyNames, GermanLayoutSwapsYAndZAndTheReverseMapFollows) {
  useLayouts("us", 0, "A");
  EXPECT_EQ(KRKeyCodeTransformer::shared().reverseTransformedValue(Value("Z")).integerValue(), 6);
  useLayouts("de", 16, "Z");
  EXPECT_EQ(KRKeyNameForKeyCode(6).value_or(""), "Y");
  EXPECT_EQ(KRKeyNameForKeyCode(41).value_or(""), "\u00D6");
  EXPECT_EQ(KRKeyNameForKeyCode(24).value_or("(none)"), "");  // the dead acute types nothing by itself
  EXPECT_EQ(KRKeyCodeTransformer::shared().reverseTransformedValue(Value("Z")).integerValue(), 16);
  EXPECT_EQ(KRKeyCodeTransformer::shared().reverseTransformedValue(Value("Y")).integerValue(), 6);
  EXPECT_TRUE(KRKeyCodeTransformer::shared().reverseTransformedValue(Value("")).isNil());
  EXPECT_EQ(KRReadableKeyComboForCocoaFlags(kr_flags::Command, 16), "Command + Z");
  // Shortcut values name a dead key by its accent.
  EXPECT_EQ(KSShortcut(24, 0).keyCodeString().value_or(""), "\u00B4");
  EXPECT_EQ(KSShortcut(50, 0).keyCodeString().value_or(""), "^");
  EXPECT_EQ(KSShortcut(16, 0).keyCodeStringForKeyEquivalent(), "z");
}

TEST(KeyNames, RussianLayoutFirstNamesItsOwnLetters) {
  useLayouts("ru,us", 0, "\u0424");
  EXPECT_EQ(KRKeyNameForKeyCode(0).value_or(""), "\u0424");     // Ф
  EXPECT_EQ(KRKeyNameForKeyCode(40).value_or(""), "\u041B");    // Л
  EXPECT_EQ(KRCharacterForKeyCodeAndCocoaFlags(0, 0), "\u0424");
  EXPECT_EQ(KRKeyNameForKeyCode(83).value_or(""), "Pad 1");
  // Shortcut values take their names from the first layout that types ASCII there.
  EXPECT_EQ(KSShortcut(0, 0).keyCodeString().value_or(""), "A");
  EXPECT_EQ(KSShortcut(0, 0).keyCodeStringForKeyEquivalent(), "a");
  EXPECT_EQ(KSShortcut(41, 0).keyCodeString().value_or(""), ";");
  useLayouts("us", 0, "A");
}

}  // namespace

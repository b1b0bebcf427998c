// The parts of event translation that need no window: click counting, key
// identity and modifier bits.

#include <gdk/gdkkeysyms.h>
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <utility>

#include "platform/ui/click_counter.h"
#include "platform/ui/gdk_event_translation.h"
#include "platform/ui/key_translation.h"

namespace platform {
namespace {

TEST(ClickCounter, CountsPressesWithinTimeAndDistance) {
  ClickCounter counter(400, 5);
  EXPECT_EQ(counter.press(1000, {10, 10}, 0), 1);
  EXPECT_EQ(counter.press(1400, {15, 5}, 0), 2);  // exactly at both limits
  EXPECT_EQ(counter.press(1500, {15, 5}, 0), 3);
  EXPECT_EQ(counter.press(1901, {15, 5}, 0), 1);  // one millisecond too late
  EXPECT_EQ(counter.press(2000, {15, 5}, 0), 2);
}

TEST(ClickCounter, StartsAgainWhenFarOrAnotherButton) {
  ClickCounter counter(400, 5);
  EXPECT_EQ(counter.press(0, {0, 0}, 0), 1);
  EXPECT_EQ(counter.press(10, {5.5, 0}, 0), 1);  // too far
  EXPECT_EQ(counter.press(20, {5.5, 0}, 1), 1);  // right button after left
  EXPECT_EQ(counter.press(30, {5.5, 0}, 1), 2);
  counter.reset();
  EXPECT_EQ(counter.press(40, {5.5, 0}, 1), 1);
}

TEST(ClickCounter, MeasuresAcrossTheWrapOfGdkTime) {
  ClickCounter counter(400, 5);
  EXPECT_EQ(counter.press(0xFFFFFF00u, {0, 0}, 0), 1);
  EXPECT_EQ(counter.press(0x00000010u, {0, 0}, 0), 2);  // 272 ms later
}

TEST(ClickCounter, NonFiniteLocationsNeverCountAsNear) {
  ClickCounter counter(400, 5);
  EXPECT_EQ(counter.press(0, {std::nan(""), 0}, 0), 1);
  EXPECT_EQ(counter.press(1, {std::nan(""), 0}, 0), 1);
}

std::string utf8(char32_t c) { return utf8FromCodePoint(c); }

TEST(KeyIdentity, ArrowsFromEveryKeypadFormAreTheDownArrow) {
  for (unsigned keyval : {GDK_KEY_Down, GDK_KEY_KP_Down, GDK_KEY_KP_2}) {
    const KeyIdentity key = identifyKey(keyval, keyval, 0);
    EXPECT_EQ(key.characters, "\xEF\x9C\x81") << keyval;  // U+F701 in UTF-8
    EXPECT_EQ(key.keyCode, 125) << keyval;
    EXPECT_EQ(key.extraFlags, (1u << 21) | (1u << 23)) << keyval;
  }
  EXPECT_EQ(identifyKey(GDK_KEY_Up, GDK_KEY_Up, 0).characters, utf8(0xF700));
  EXPECT_EQ(identifyKey(GDK_KEY_KP_4, GDK_KEY_KP_4, 0).characters, utf8(0xF702));
  EXPECT_EQ(identifyKey(GDK_KEY_KP_6, GDK_KEY_KP_6, 0).keyCode, 124);
}

TEST(KeyIdentity, BackspaceAndDeleteAsAppKitReportsThem) {
  EXPECT_EQ(identifyKey(GDK_KEY_BackSpace, GDK_KEY_BackSpace, 0).characters, "\x7F");
  EXPECT_EQ(identifyKey(GDK_KEY_BackSpace, GDK_KEY_BackSpace, 0).keyCode, 51);
  for (unsigned keyval : {GDK_KEY_Delete, GDK_KEY_KP_Delete}) {
    EXPECT_EQ(identifyKey(keyval, keyval, 0).characters, "\xEF\x9C\xA8");  // U+F728
    EXPECT_EQ(identifyKey(keyval, keyval, 0).keyCode, 117);
  }
}

TEST(KeyIdentity, PrintableKeysTakeTheirCodeFromTheirPlace) {
  struct Case {
    unsigned keyval;
    unsigned unshifted;
    unsigned xKeycode;
    std::string characters;
    std::string ignoringModifiers;
    std::uint16_t keyCode;
  };
  const Case cases[] = {
      {GDK_KEY_A, GDK_KEY_a, 38, "A", "a", 0},
      {GDK_KEY_exclam, GDK_KEY_1, 10, "!", "1", 18},
      // The German layout's z sits where the ANSI layout has y, and the Russian ef where it has a.
      {GDK_KEY_z, GDK_KEY_z, 29, "z", "z", 16},
      {GDK_KEY_Cyrillic_ef, GDK_KEY_Cyrillic_ef, 38, "\xD1\x84", "\xD1\x84", 0},
      {GDK_KEY_eacute, GDK_KEY_eacute, 0, "\xC3\xA9", "\xC3\xA9", UnknownKeyCode},
      {GDK_KEY_space, GDK_KEY_space, 65, " ", " ", 49},
      {GDK_KEY_F1, GDK_KEY_F1, 67, utf8(0xF704), utf8(0xF704), 122},
      {GDK_KEY_F19, GDK_KEY_F19, 197, utf8(0xF716), utf8(0xF716), 80},
      {GDK_KEY_dead_acute, GDK_KEY_dead_acute, 21, "", "", 24},
      {GDK_KEY_Shift_L, GDK_KEY_Shift_L, 50, "", "", 56},
      {GDK_KEY_Control_R, GDK_KEY_Control_R, 105, "", "", 62},
  };
  for (const Case& c : cases) {
    const KeyIdentity key = identifyKey(c.keyval, c.unshifted, c.xKeycode);
    EXPECT_EQ(key.characters, c.characters) << c.keyval;
    EXPECT_EQ(key.charactersIgnoringModifiers, c.ignoringModifiers) << c.keyval;
    EXPECT_EQ(key.keyCode, c.keyCode) << c.keyval;
  }
}

TEST(KeyIdentity, PositionsMapBothWays) {
  // X keycodes are evdev codes + 8: A 38, Z 52, Y 29, space 65, Escape 9, keypad 1 87, F1 67.
  const std::pair<std::uint16_t, unsigned> places[] = {{0, 38},  {6, 52},  {16, 29}, {49, 65},
                                                       {53, 9},  {83, 87}, {122, 67}, {117, 119}};
  for (const auto& [mac, x] : places) {
    EXPECT_EQ(macKeyCodeForXKeycode(x), mac) << x;
    EXPECT_EQ(xKeycodeForMacKeyCode(mac), x) << mac;
  }
  // Every code with a place comes back from it.
  int placed = 0;
  for (std::int64_t code = 0; code < 128; ++code) {
    if (const unsigned x = xKeycodeForMacKeyCode(code)) {
      EXPECT_EQ(macKeyCodeForXKeycode(x), code);
      ++placed;
    }
  }
  EXPECT_GT(placed, 110);
  EXPECT_EQ(xKeycodeForMacKeyCode(-1), 0u);
  EXPECT_EQ(xKeycodeForMacKeyCode(52), 0u);  // no key has it
  EXPECT_EQ(macKeyCodeForXKeycode(0), UnknownKeyCode);
  EXPECT_EQ(macKeyCodeForXKeycode(146), 114);  // a Help key takes the Help code
}

TEST(KeyIdentity, RejectsCodePointsThatAreNotCharacters) {
  EXPECT_EQ(utf8FromCodePoint(0xD800), "");
  EXPECT_EQ(utf8FromCodePoint(0x110000), "");
  EXPECT_EQ(utf8FromCodePoint(0x10FFFF), "\xF4\x8F\xBF\xBF");
}

TEST(ModifierFlags, GdkStateMapsToAppKitBitPositions) {
  EXPECT_EQ(modifierFlagsFromGdk(GDK_SHIFT_MASK), 1u << 17);
  EXPECT_EQ(modifierFlagsFromGdk(GDK_LOCK_MASK), 1u << 16);
  EXPECT_EQ(modifierFlagsFromGdk(GDK_CONTROL_MASK), 1u << 18);
  EXPECT_EQ(modifierFlagsFromGdk(GDK_MOD1_MASK), 1u << 19);
  EXPECT_EQ(modifierFlagsFromGdk(GDK_SUPER_MASK), 1u << 20);
  EXPECT_EQ(modifierFlagsFromGdk(GDK_SHIFT_MASK | GDK_MOD1_MASK | GDK_BUTTON1_MASK), (1u << 17) | (1u << 19));
  EXPECT_EQ(modifierFlagsFromGdk(0), 0u);
}

TEST(EventMask, TypesMapToAppKitMaskBits) {
  // The canvas's tracking mask: left down, left up, right down, moved, left dragged.
  const EventMask canvas = eventMaskFromType(EventType::LeftMouseDown) | eventMaskFromType(EventType::LeftMouseUp) |
                           eventMaskFromType(EventType::RightMouseDown) | eventMaskFromType(EventType::MouseMoved) |
                           eventMaskFromType(EventType::LeftMouseDragged);
  EXPECT_EQ(canvas, 0x6Eu);
  EXPECT_EQ(eventMaskFromType(EventType::ScrollWheel), 1u << 22);
}

}  // namespace
}  // namespace platform

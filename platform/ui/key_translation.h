#pragma once

// GDK key values to what AppKit reports for a key: the characters (function
// keys as AppKit's private-use characters, Backspace as DEL 0x7F, Delete as
// U+F728), the macOS virtual key code that stored key combinations use, and the
// numeric-pad and function flags AppKit adds.
//
// A virtual key code names a place on the keyboard, not a character: the key
// right of Tab is 12 whether it types q, a or й. Printable keys take their code
// from the X hardware keycode (the evdev code + 8) through one table of the
// ANSI layout's positions; navigation and function keys from their key value.

#include <cstdint>
#include <string>

#include "platform/ui/event.h"

namespace platform {

// No virtual key code: a key that has none on the ANSI layout.
constexpr std::uint16_t UnknownKeyCode = 0xFFFF;

struct KeyIdentity {
  std::string characters;  // UTF-8; empty for keys that type nothing (modifiers)
  std::string charactersIgnoringModifiers;
  std::uint16_t keyCode = UnknownKeyCode;
  ModifierFlags extraFlags = 0;
};

// `keyval` is the GDK key value as delivered; `unshiftedKeyval` the one the same
// key gives with no modifiers; `xKeycode` the key's hardware keycode.
KeyIdentity identifyKey(unsigned keyval, unsigned unshiftedKeyval, unsigned xKeycode);

// The virtual key code of the key at an X hardware keycode, UnknownKeyCode for a place the
// ANSI layout has no code for; and back, 0 for a code no key has.
std::uint16_t macKeyCodeForXKeycode(unsigned xKeycode);
unsigned xKeycodeForMacKeyCode(std::int64_t macKeyCode);

// The AppKit function-key characters that come up in tests and key bindings.
namespace function_key {
constexpr char32_t UpArrow = 0xF700;
constexpr char32_t DownArrow = 0xF701;
constexpr char32_t LeftArrow = 0xF702;
constexpr char32_t RightArrow = 0xF703;
constexpr char32_t F1 = 0xF704;
constexpr char32_t Insert = 0xF727;
constexpr char32_t Delete = 0xF728;
constexpr char32_t Home = 0xF729;
constexpr char32_t End = 0xF72B;
constexpr char32_t PageUp = 0xF72C;
constexpr char32_t PageDown = 0xF72D;
constexpr char32_t Help = 0xF746;
}  // namespace function_key

std::string utf8FromCodePoint(char32_t codePoint);

// The GDK key value of a key equivalent's character: a function key's own (F1 for U+F704), else the character's.
unsigned keyvalForCharacter(char32_t character);

}  // namespace platform

#include "platform/ui/key_translation.h"

#include <gdk/gdk.h>
#include <gdk/gdkkeysyms.h>
#include <glib.h>

namespace platform {

namespace {

struct SpecialKey {
  unsigned keyval;
  char32_t character;
  std::uint16_t keyCode;
  ModifierFlags flags;
};

constexpr ModifierFlags kArrow = modifier::Function | modifier::NumericPad;
constexpr ModifierFlags kPad = modifier::NumericPad;
constexpr ModifierFlags kFn = modifier::Function;

// Keypad navigation keys and their digits give the same arrow either way
// NumLock stands, as the canvas expects of the numeric pad.
constexpr SpecialKey kSpecialKeys[] = {
    {GDK_KEY_Up, function_key::UpArrow, 126, kArrow},
    {GDK_KEY_Down, function_key::DownArrow, 125, kArrow},
    {GDK_KEY_Left, function_key::LeftArrow, 123, kArrow},
    {GDK_KEY_Right, function_key::RightArrow, 124, kArrow},
    {GDK_KEY_KP_Up, function_key::UpArrow, 126, kArrow},
    {GDK_KEY_KP_Down, function_key::DownArrow, 125, kArrow},
    {GDK_KEY_KP_Left, function_key::LeftArrow, 123, kArrow},
    {GDK_KEY_KP_Right, function_key::RightArrow, 124, kArrow},
    {GDK_KEY_KP_8, function_key::UpArrow, 126, kArrow},
    {GDK_KEY_KP_2, function_key::DownArrow, 125, kArrow},
    {GDK_KEY_KP_4, function_key::LeftArrow, 123, kArrow},
    {GDK_KEY_KP_6, function_key::RightArrow, 124, kArrow},
    {GDK_KEY_BackSpace, 0x7F, 51, 0},
    {GDK_KEY_Delete, function_key::Delete, 117, kFn},
    {GDK_KEY_KP_Delete, function_key::Delete, 117, kFn},
    {GDK_KEY_Return, 0x0D, 36, 0},
    {GDK_KEY_KP_Enter, 0x03, 76, kPad},
    {GDK_KEY_Tab, 0x09, 48, 0},
    {GDK_KEY_ISO_Left_Tab, 0x19, 48, 0},
    {GDK_KEY_Escape, 0x1B, 53, 0},
    {GDK_KEY_space, 0x20, 49, 0},
    {GDK_KEY_Home, function_key::Home, 115, kFn},
    {GDK_KEY_KP_Home, function_key::Home, 115, kFn},
    {GDK_KEY_End, function_key::End, 119, kFn},
    {GDK_KEY_KP_End, function_key::End, 119, kFn},
    {GDK_KEY_Page_Up, function_key::PageUp, 116, kFn},
    {GDK_KEY_KP_Page_Up, function_key::PageUp, 116, kFn},
    {GDK_KEY_Page_Down, function_key::PageDown, 121, kFn},
    {GDK_KEY_KP_Page_Down, function_key::PageDown, 121, kFn},
    {GDK_KEY_Insert, function_key::Insert, 114, kFn},
    {GDK_KEY_Help, function_key::Help, 114, kFn},
    {GDK_KEY_F1, 0xF704, 122, kFn},
    {GDK_KEY_F2, 0xF705, 120, kFn},
    {GDK_KEY_F3, 0xF706, 99, kFn},
    {GDK_KEY_F4, 0xF707, 118, kFn},
    {GDK_KEY_F5, 0xF708, 96, kFn},
    {GDK_KEY_F6, 0xF709, 97, kFn},
    {GDK_KEY_F7, 0xF70A, 98, kFn},
    {GDK_KEY_F8, 0xF70B, 100, kFn},
    {GDK_KEY_F9, 0xF70C, 101, kFn},
    {GDK_KEY_F10, 0xF70D, 109, kFn},
    {GDK_KEY_F11, 0xF70E, 103, kFn},
    {GDK_KEY_F12, 0xF70F, 111, kFn},
    {GDK_KEY_F13, 0xF710, 105, kFn},
    {GDK_KEY_F14, 0xF711, 107, kFn},
    {GDK_KEY_F15, 0xF712, 113, kFn},
    {GDK_KEY_F16, 0xF713, 106, kFn},
    {GDK_KEY_F17, 0xF714, 64, kFn},
    {GDK_KEY_F18, 0xF715, 79, kFn},
    {GDK_KEY_F19, 0xF716, 80, kFn},
    {GDK_KEY_KP_0, '0', 82, kPad},
    {GDK_KEY_KP_1, '1', 83, kPad},
    {GDK_KEY_KP_3, '3', 85, kPad},
    {GDK_KEY_KP_5, '5', 87, kPad},
    {GDK_KEY_KP_7, '7', 89, kPad},
    {GDK_KEY_KP_9, '9', 92, kPad},
    {GDK_KEY_KP_Decimal, '.', 65, kPad},
    {GDK_KEY_KP_Multiply, '*', 67, kPad},
    {GDK_KEY_KP_Add, '+', 69, kPad},
    {GDK_KEY_KP_Divide, '/', 75, kPad},
    {GDK_KEY_KP_Subtract, '-', 78, kPad},
    {GDK_KEY_KP_Equal, '=', 81, kPad},
};

// The ANSI layout's virtual key codes for the printable keys, by unshifted character.
struct PrintableKey {
  char character;
  std::uint16_t keyCode;
};
constexpr PrintableKey kPrintableKeys[] = {
    {'a', 0},   {'s', 1},  {'d', 2},  {'f', 3},  {'h', 4},  {'g', 5},  {'z', 6},  {'x', 7},   {'c', 8},  {'v', 9},
    {'b', 11},  {'q', 12}, {'w', 13}, {'e', 14}, {'r', 15}, {'y', 16}, {'t', 17}, {'1', 18},  {'2', 19}, {'3', 20},
    {'4', 21},  {'6', 22}, {'5', 23}, {'=', 24}, {'9', 25}, {'7', 26}, {'-', 27}, {'8', 28},  {'0', 29}, {']', 30},
    {'o', 31},  {'u', 32}, {'[', 33}, {'i', 34}, {'p', 35}, {'l', 37}, {'j', 38}, {'\'', 39}, {'k', 40}, {';', 41},
    {'\\', 42}, {',', 43}, {'/', 44}, {'n', 45}, {'m', 46}, {'.', 47}, {'`', 50},
};

const SpecialKey* findSpecial(unsigned keyval) {
  for (const auto& key : kSpecialKeys) {
    if (key.keyval == keyval) return &key;
  }
  return nullptr;
}

}  // namespace

std::string utf8FromCodePoint(char32_t codePoint) {
  if (codePoint == 0 || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF)) return {};
  char buffer[8] = {};
  const int length = g_unichar_to_utf8(static_cast<gunichar>(codePoint), buffer);
  return std::string(buffer, static_cast<std::size_t>(length));
}

KeyIdentity identifyKey(unsigned keyval, unsigned unshiftedKeyval) {
  KeyIdentity identity;
  if (const SpecialKey* special = findSpecial(keyval)) {
    identity.characters = utf8FromCodePoint(special->character);
    identity.keyCode = special->keyCode;
    identity.extraFlags = special->flags;
    return identity;
  }
  identity.characters = utf8FromCodePoint(gdk_keyval_to_unicode(keyval));
  const gunichar base = gdk_keyval_to_unicode(gdk_keyval_to_lower(unshiftedKeyval ? unshiftedKeyval : keyval));
  for (const auto& key : kPrintableKeys) {
    if (static_cast<gunichar>(key.character) == base) {
      identity.keyCode = key.keyCode;
      break;
    }
  }
  return identity;
}

}  // namespace platform

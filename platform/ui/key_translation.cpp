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

// Places on the keyboard: macOS virtual key code and Linux evdev code (the X keycode less 8).
struct KeyPosition {
  std::uint16_t macKeyCode;
  unsigned evdevCode;
};
constexpr KeyPosition kKeyPositions[] = {
    {0, 30},    {1, 31},    {2, 32},    {3, 33},    {4, 35},    {5, 34},    {6, 44},    {7, 45},    {8, 46},
    {9, 47},    {10, 86},   {11, 48},   {12, 16},   {13, 17},   {14, 18},   {15, 19},   {16, 21},   {17, 20},
    {18, 2},    {19, 3},    {20, 4},    {21, 5},    {22, 7},    {23, 6},    {24, 13},   {25, 10},   {26, 8},
    {27, 12},   {28, 9},    {29, 11},   {30, 27},   {31, 24},   {32, 22},   {33, 26},   {34, 23},   {35, 25},
    {36, 28},   {37, 38},   {38, 36},   {39, 40},   {40, 37},   {41, 39},   {42, 43},   {43, 51},   {44, 53},
    {45, 49},   {46, 50},   {47, 52},   {48, 15},   {49, 57},   {50, 41},   {51, 14},   {53, 1},    {54, 126},
    {55, 125},  {56, 42},   {57, 58},   {58, 56},   {59, 29},   {60, 54},   {61, 100},  {62, 97},   {64, 187},
    {65, 83},   {67, 55},   {69, 78},   {72, 115},  {73, 114},  {74, 113},  {75, 98},   {76, 96},   {78, 74},
    {79, 188},  {80, 189},  {81, 117},  {82, 82},   {83, 79},   {84, 80},   {85, 81},   {86, 75},   {87, 76},
    {88, 77},   {89, 71},   {90, 190},  {91, 72},   {92, 73},   {93, 124},  {94, 89},   {95, 121},  {96, 63},
    {97, 64},   {98, 65},   {99, 61},   {100, 66},  {101, 67},  {102, 123}, {103, 87},  {104, 122}, {105, 183},
    {106, 186}, {107, 184}, {109, 68},  {111, 88},  {113, 185}, {114, 110}, {115, 102}, {116, 104}, {117, 111},
    {118, 62},  {119, 107}, {120, 60},  {121, 109}, {122, 59},  {123, 105}, {124, 106}, {125, 108}, {126, 103},
};
constexpr unsigned kEvdevOffset = 8;
// The Help key of keyboards that have one sits where the ANSI layout has Insert (114).
constexpr unsigned kEvdevHelp = 138;

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

std::uint16_t macKeyCodeForXKeycode(unsigned xKeycode) {
  if (xKeycode < kEvdevOffset) return UnknownKeyCode;
  const unsigned evdev = xKeycode - kEvdevOffset;
  if (evdev == kEvdevHelp) return 114;
  for (const auto& key : kKeyPositions) {
    if (key.evdevCode == evdev) return key.macKeyCode;
  }
  return UnknownKeyCode;
}

unsigned xKeycodeForMacKeyCode(std::int64_t macKeyCode) {
  for (const auto& key : kKeyPositions) {
    if (key.macKeyCode == macKeyCode) return key.evdevCode + kEvdevOffset;
  }
  return 0;
}

unsigned keyvalForCharacter(char32_t character) {
  for (const auto& key : kSpecialKeys) {
    if (key.character == character) return key.keyval;
  }
  return gdk_unicode_to_keyval(static_cast<guint32>(character));
}

namespace {

std::string charactersOf(unsigned keyval) {
  if (const SpecialKey* special = findSpecial(keyval)) return utf8FromCodePoint(special->character);
  return utf8FromCodePoint(gdk_keyval_to_unicode(keyval));
}

}  // namespace

KeyIdentity identifyKey(unsigned keyval, unsigned unshiftedKeyval, unsigned xKeycode) {
  KeyIdentity identity;
  identity.characters = charactersOf(keyval);
  identity.charactersIgnoringModifiers = charactersOf(unshiftedKeyval ? unshiftedKeyval : keyval);
  if (const SpecialKey* special = findSpecial(keyval)) {
    identity.keyCode = special->keyCode;
    identity.extraFlags = special->flags;
  } else {
    identity.keyCode = macKeyCodeForXKeycode(xKeycode);
  }
  return identity;
}

}  // namespace platform

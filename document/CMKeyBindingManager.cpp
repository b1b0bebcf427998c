#include "document/CMKeyBindingManager.h"

#include <array>
#include <cctype>
#include <string_view>

namespace {

struct BuiltInBinding {
  const char* title;
  std::int32_t keyId;
  std::int32_t code;
};

// The classic nine first, then the tools the palette has no button for, so the keyboard reaches them too.
constexpr std::array<BuiltInBinding, 14> kBuiltIn{{
    {"Select", 1, 9},            // V
    {"Rectangle", 4, 15},        // R
    {"Round Rectangle", 5, 32},  // U
    {"Text", 6, 17},             // T
    {"Oval", 7, 31},             // O
    {"Star", 10, 1},             // S
    {"Line", 11, 37},            // L
    {"Polygon", 12, 16},         // Y
    {"Zoom", 15, 6},             // Z
    {"Edit Points", 2, 0},       // A
    {"Gradient", 3, 5},          // G
    {"Eraser", 9, 14},           // E
    {"Pen", 13, 35},             // P
    {"Pencil", 14, 45},          // N
}};

struct KeyName {
  std::int32_t code;
  std::string_view name;
};

// macOS virtual key codes of the ANSI layout's letters and digits.
constexpr std::array<KeyName, 36> kKeyNames{{
    {0, "A"},  {11, "B"}, {8, "C"},  {2, "D"},  {14, "E"}, {3, "F"},  {5, "G"},  {4, "H"},  {34, "I"},
    {38, "J"}, {40, "K"}, {37, "L"}, {46, "M"}, {45, "N"}, {31, "O"}, {35, "P"}, {12, "Q"}, {15, "R"},
    {1, "S"},  {17, "T"}, {32, "U"}, {9, "V"},  {13, "W"}, {7, "X"},  {16, "Y"}, {6, "Z"},  {29, "0"},
    {18, "1"}, {19, "2"}, {20, "3"}, {21, "4"}, {23, "5"}, {22, "6"}, {26, "7"}, {28, "8"}, {25, "9"},
}};

constexpr std::uint64_t kShift = 1u << 17;
constexpr std::uint64_t kControl = 1u << 18;
constexpr std::uint64_t kOption = 1u << 19;
constexpr std::uint64_t kCommand = 1u << 20;

}  // namespace

CMKeyBindingManager::CMKeyBindingManager() : items_(platform::Array::make()) {
  for (const BuiltInBinding& binding : kBuiltIn) {
    items_->add(platform::Dictionary::make(
        {{"title", binding.title}, {"keyId", binding.keyId}, {"code", binding.code}, {"flags", 0}}));
  }
}

platform::DictRef CMKeyBindingManager::boundRecord(std::int32_t keyId) const {
  for (const platform::Value& entry : *items_) {
    const platform::DictRef record = entry.dictionary();
    if (record && record->get("keyId").intValue() == keyId && record->get("code").integerValue() >= 0) return record;
  }
  return nullptr;
}

std::string CMKeyBindingManager::titleFor(std::int32_t keyId) const {
  for (const platform::Value& entry : *items_) {
    const platform::DictRef record = entry.dictionary();
    if (!record || record->get("keyId").intValue() != keyId) continue;
    const std::string title = record->get("title").string();
    const std::int64_t code = record->get("code").integerValue();
    if (code < 0) return title;
    return title + " (" + modifierGlyphs(record->get("flags").unsignedIntValue()) + keyNameForKeyCode(code) + ")";
  }
  return {};
}

std::string CMKeyBindingManager::valueFor(std::int32_t keyId) const {
  const platform::DictRef record = boundRecord(keyId);
  if (!record) return {};
  std::string name = keyNameForKeyCode(record->get("code").integerValue());
  for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return name;
}

std::uint64_t CMKeyBindingManager::flagsFor(std::int32_t keyId) const {
  const platform::DictRef record = boundRecord(keyId);
  return record ? record->get("flags").unsignedIntValue() : 0;
}

std::int32_t CMKeyBindingManager::keyIdForKey(std::uint16_t keyCode, std::uint64_t modifierFlags) const {
  const std::uint64_t modifiers = modifierFlags & kBindableModifiers;
  for (const platform::Value& entry : *items_) {
    const platform::DictRef record = entry.dictionary();
    if (!record || record->get("code").integerValue() != keyCode) continue;
    if ((record->get("flags").unsignedIntValue() & kBindableModifiers) != modifiers) continue;
    return record->get("keyId").intValue();
  }
  return 0;
}

bool CMKeyBindingManager::performKeyEquivalent(std::uint16_t keyCode, std::uint64_t modifierFlags) const {
  if (!handler_) return false;
  const std::int32_t keyId = keyIdForKey(keyCode, modifierFlags);
  if (keyId == 0) return false;
  // A copy: the receiver may rebind while it runs.
  const ToolHandler handler = handler_;
  handler(keyId);
  return true;
}

std::string CMKeyBindingManager::keyNameForKeyCode(std::int64_t keyCode) {
  for (const KeyName& key : kKeyNames)
    if (key.code == keyCode) return std::string(key.name);
  return "#" + std::to_string(keyCode);
}

std::string CMKeyBindingManager::modifierGlyphs(std::uint64_t flags) {
  std::string glyphs;
  if (flags & kControl) glyphs += "\u2303";
  if (flags & kOption) glyphs += "\u2325";
  if (flags & kShift) glyphs += "\u21E7";
  if (flags & kCommand) glyphs += "\u2318";
  return glyphs;
}

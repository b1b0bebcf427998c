#include "shortcuts/KRKeyCodeTransformer.h"

#include <glib.h>
#include <gdk/gdk.h>

#include <array>
#include <map>
#include <string_view>

#include "platform/core/string_utilities.h"
#include "platform/ui/key_translation.h"
#include "shortcuts/KRCommon.h"
#include "shortcuts/keyboard_layout.h"

namespace {

struct FixedName {
  std::int16_t code;
  const char* name;
};

// Keys whose names do not depend on the layout. Space is looked up in the strings table.
constexpr std::array<FixedName, 35> kFixedNames{{
    {122, "F1"},        {120, "F2"},        {99, "F3"},         {118, "F4"},        {96, "F5"},
    {97, "F6"},         {98, "F7"},         {100, "F8"},        {101, "F9"},        {109, "F10"},
    {103, "F11"},       {111, "F12"},       {105, "F13"},       {107, "F14"},       {113, "F15"},
    {106, "F16"},       {64, "F17"},        {79, "F18"},        {80, "F19"},        {51, "\u232B"},
    {117, "\u2326"},    {71, "\u2327"},     {123, "\u2190"},    {124, "\u2192"},    {126, "\u2191"},
    {125, "\u2193"},    {119, "\u2198"},    {115, "\u2196"},    {53, "\u238B"},     {121, "\u21DF"},
    {116, "\u21DE"},    {36, "\u21A9"},     {76, "\u2305"},     {48, "\u21E5"},     {114, "?"},
}};
constexpr std::int16_t kSpaceCode = 49;
constexpr std::array<std::int16_t, 16> kKeypadCodes{65, 67, 69, 75, 78, 81, 82, 83, 84, 85, 86, 87, 88, 89, 91, 92};

bool isKeypadCode(std::int16_t code) {
  for (std::int16_t keypad : kKeypadCodes) {
    if (keypad == code) return true;
  }
  return false;
}

std::map<std::string, std::int16_t>& reverseMap() {
  static std::map<std::string, std::int16_t> names;
  return names;
}

// Built on first use: the map, and a rebuild whenever the layout changes.
void prepareReverseMap() {
  static const bool prepared = [] {
    KRKeyCodeTransformer::regenerateStringToKeyCodeMapping();
    shortcuts::observeKeyboardLayoutChanges([] { KRKeyCodeTransformer::regenerateStringToKeyCodeMapping(); });
    return true;
  }();
  (void)prepared;
}

}  // namespace

const KRKeyCodeTransformer& KRKeyCodeTransformer::shared() {
  static const KRKeyCodeTransformer* transformer = new KRKeyCodeTransformer();  // never released
  return *transformer;
}

std::optional<std::string> KRKeyCodeTransformer::nameForKeyCode(std::int16_t code) {
  if (code < 0) return std::nullopt;
  if (code == kSpaceCode) return KRLocalizedString("Space");
  for (const FixedName& fixed : kFixedNames) {
    if (fixed.code == code) return std::string(fixed.name);
  }
  const bool keypad = isKeypadCode(code);
  const unsigned xKeycode = platform::xKeycodeForMacKeyCode(code);
  if (xKeycode == 0) return std::nullopt;
  const auto keyval = shortcuts::levelZeroKeyval(xKeycode, shortcuts::currentKeyboardGroup(), keypad);
  if (!keyval) return std::nullopt;
  // A whole character, whatever plane it is in; nothing for dead and modifier keys.
  const std::string character = KRUppercaseString(platform::utf8FromCodePoint(gdk_keyval_to_unicode(*keyval)));
  if (keypad) return platform::formatObjects(KRLocalizedString("Pad %@"), {character});
  return character;
}

platform::Value KRKeyCodeTransformer::transformedValue(const platform::Value& value) const {
  if (!value.isNumber()) return {};
  // Read as a short, as the key code's number is.
  const auto name = nameForKeyCode(static_cast<std::int16_t>(value.integerValue()));
  return name ? platform::Value(*name) : platform::Value();
}

platform::Value KRKeyCodeTransformer::reverseTransformedValue(const platform::Value& value) const {
  if (!value.isString()) return {};
  prepareReverseMap();
  const auto found = reverseMap().find(value.string());
  return found == reverseMap().end() ? platform::Value() : platform::Value(found->second);
}

void KRKeyCodeTransformer::regenerateStringToKeyCodeMapping() {
  auto& names = reverseMap();
  names.clear();
  // Ascending, so of two keys with one name the later code stays.
  for (std::int16_t code = 0; code < 128; ++code) {
    const auto name = nameForKeyCode(code);
    if (name && !name->empty()) names[*name] = code;
  }
}

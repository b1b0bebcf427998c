#include "shortcuts/KSShortcut.h"

#include <gdk/gdk.h>
#include <glib.h>

#include <array>
#include <memory>

#include "platform/core/class_coder_registry.h"
#include "platform/core/keyed_archive.h"
#include "platform/core/strings_table.h"
#include "platform/ui/key_translation.h"
#include "shortcuts/KRCommon.h"
#include "shortcuts/KSDictionaryTransformer.h"
#include "shortcuts/keyboard_layout.h"

using platform::Value;

namespace {

struct FixedName {
  std::uint64_t code;
  const char* name;
};

constexpr std::array<FixedName, 51> kFixedNames{{
    {122, "F1"},     {120, "F2"},     {99, "F3"},      {118, "F4"},     {96, "F5"},      {97, "F6"},
    {98, "F7"},      {100, "F8"},     {101, "F9"},     {109, "F10"},    {103, "F11"},    {111, "F12"},
    {105, "F13"},    {107, "F14"},    {113, "F15"},    {106, "F16"},    {64, "F17"},     {79, "F18"},
    {80, "F19"},     {36, "\u21A9"},  {48, "\u21E5"},  {51, "\u232B"},  {53, "\u238B"},  {71, "\u2327"},
    {76, "\u2305"},  {114, "?"},      {115, "\u2196"}, {116, "\u21DE"}, {117, "\u2326"}, {119, "\u2198"},
    {121, "\u21DF"}, {123, "\u2190"}, {124, "\u2192"}, {125, "\u2193"}, {126, "\u2191"}, {65, "."},
    {67, "*"},       {69, "+"},       {75, "/"},       {78, "\u2013"},  {81, "="},       {82, "0"},
    {83, "1"},       {84, "2"},       {85, "3"},       {86, "4"},       {87, "5"},       {88, "6"},
    {89, "7"},       {91, "8"},       {92, "9"},
}};
constexpr std::uint64_t kSpaceCode = 49;
// F1 to F19 in F-number order, for their key-equivalent characters U+F704 onwards.
constexpr std::array<std::uint64_t, 19> kFunctionKeyCodes{122, 120, 99, 118, 96, 97, 98, 100, 101, 109,
                                                           103, 111, 105, 107, 113, 106, 64, 79, 80};

const char* fixedName(std::uint64_t code) {
  for (const FixedName& fixed : kFixedNames) {
    if (fixed.code == code) return fixed.name;
  }
  return nullptr;
}

bool nameable(const std::string& text) {
  for (const char* p = text.c_str(); *p; p = g_utf8_next_char(p)) {
    const gunichar character = g_utf8_get_char(p);
    // GLib's punctuation includes the symbols.
    if (!g_unichar_isalnum(character) && !g_unichar_ispunct(character)) return false;
  }
  return true;
}

class KSShortcutCoder : public platform::ClassCoder {
 public:
  std::vector<std::string> decodedClassNames() const override { return {std::string(KSShortcut::kClassName)}; }
  std::vector<std::string> classChain() const override { return {std::string(KSShortcut::kClassName), "NSObject"}; }
  void encode(const Value& value, platform::KeyedEncoder& encoder) const override {
    const KSShortcut* shortcut = KSShortcut::in(value);
    if (!shortcut) return;
    const bool noKey = shortcut->keyCode() == KSShortcut::kNotFound;
    encoder.encode("KeyCode", noKey ? Value(-1) : Value(shortcut->keyCode()));
    encoder.encode("ModifierFlags", Value(shortcut->modifierFlags()));
  }
  // A stored -1, or any code past the signed range, reads back as no key; what cannot be read is nil.
  platform::Expected<Value> decode(platform::KeyedDecoder& decoder) const override {
    const platform::Expected<Value> code = decoder.decode("KeyCode");
    const platform::Expected<Value> flags = decoder.decode("ModifierFlags");
    if (!code || !flags || !code.value().isNumber() || !flags.value().isNumber()) return Value();
    const std::int64_t stored = code.value().integerValue();
    const std::uint64_t keyCode = stored < 0 ? KSShortcut::kNotFound : static_cast<std::uint64_t>(stored);
    return Value(KSShortcut::make(keyCode, static_cast<std::uint64_t>(flags.value().integerValue())));
  }
};

[[maybe_unused]] const bool archiveCoderRegistered = [] {
  KSShortcut::registerArchiveCoder();
  return true;
}();

}  // namespace

KSShortcut::KSShortcut(std::uint64_t keyCode, std::uint64_t modifierFlags)
    : keyCode_(keyCode), modifierFlags_(modifierFlags & kr_flags::Modifiers) {}

KSShortcut KSShortcut::fromEvent(const platform::Event& event) { return {event.keyCode, event.modifierFlags}; }

platform::ObjectRef KSShortcut::make(std::uint64_t keyCode, std::uint64_t modifierFlags) {
  return std::make_shared<KSShortcut>(keyCode, modifierFlags);
}

const KSShortcut* KSShortcut::in(const Value& value) { return dynamic_cast<const KSShortcut*>(value.object().get()); }

void KSShortcut::registerArchiveCoder() {
  platform::registerClassCoder(std::make_shared<KSShortcutCoder>());
  platform::setValueTransformer(std::make_shared<KSDictionaryTransformer>(), KSDictionaryTransformer::kName);
}

std::uint32_t KSShortcut::carbonKeyCode() const {
  return keyCode_ == kNotFound ? 0 : static_cast<std::uint32_t>(keyCode_);
}

std::uint32_t KSShortcut::carbonFlags() const { return KRCocoaToCarbonFlags(modifierFlags_ & kr_flags::Modifiers); }

std::string KSShortcut::modifierFlagsString() const { return KRModifierGlyphsForCocoaFlags(modifierFlags_); }

std::optional<std::string> KSShortcut::keyCodeString() const {
  if (keyCode_ == kSpaceCode) return platform::localizedString("Space");
  if (const char* name = fixedName(keyCode_)) return std::string(name);
  if (keyCode_ == kNotFound) return std::string();
  if (!gdk_display_get_default()) return std::nullopt;
  const unsigned xKeycode = platform::xKeycodeForMacKeyCode(static_cast<std::int64_t>(keyCode_));
  if (xKeycode == 0) return std::string();
  const int group = shortcuts::asciiCapableGroup(xKeycode).value_or(0);
  const auto keyval = shortcuts::levelZeroKeyval(xKeycode, group);
  if (!keyval) return std::string();
  // A dead key is named by its accent as it stands alone.
  const char32_t accent = shortcuts::spacingAccentOfDeadKey(*keyval);
  const std::string character = platform::utf8FromCodePoint(accent ? accent : gdk_keyval_to_unicode(*keyval));
  if (character.empty() || !nameable(character)) return std::string();
  return KRUppercaseString(character);
}

std::string KSShortcut::keyCodeStringForKeyEquivalent() const {
  const std::string name = keyCodeString().value_or("");
  if (g_utf8_strlen(name.c_str(), -1) < 2) return KRLowercaseString(name);
  if (keyCode_ == kSpaceCode) return " ";
  for (std::size_t i = 0; i < kFunctionKeyCodes.size(); ++i) {
    if (kFunctionKeyCodes[i] == keyCode_) return platform::utf8FromCodePoint(0xF704 + static_cast<char32_t>(i));
  }
  return {};
}

std::string KSShortcut::description() const { return modifierFlagsString() + keyCodeString().value_or(""); }

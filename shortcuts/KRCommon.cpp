#include "shortcuts/KRCommon.h"

#include <glib.h>
#include <gdk/gdk.h>

#include <cmath>
#include <numbers>

#include "platform/core/strings_table.h"
#include "platform/ui/key_translation.h"
#include "shortcuts/KRKeyCodeTransformer.h"
#include "shortcuts/keyboard_layout.h"

std::string KRLocalizedString(std::string_view key) { return platform::localizedString(key, kKeyRecorderStringsTable); }

std::string KRUppercaseString(std::string_view text) {
  gchar* upper = g_utf8_strup(text.data(), static_cast<gssize>(text.size()));
  std::string result = upper ? upper : "";
  g_free(upper);
  return result;
}

std::string KRLowercaseString(std::string_view text) {
  gchar* lower = g_utf8_strdown(text.data(), static_cast<gssize>(text.size()));
  std::string result = lower ? lower : "";
  g_free(lower);
  return result;
}

std::optional<std::string> KRKeyNameForKeyCode(std::int64_t code) {
  return KRKeyCodeTransformer::nameForKeyCode(static_cast<std::int16_t>(code));
}

std::string KRModifierGlyphsForCocoaFlags(std::uint64_t flags) {
  std::string glyphs;
  if (flags & kr_flags::Control) glyphs += "\u2303";
  if (flags & kr_flags::Option) glyphs += "\u2325";
  if (flags & kr_flags::Shift) glyphs += "\u21E7";
  if (flags & kr_flags::Command) glyphs += "\u2318";
  return glyphs;
}

std::string KRModifierGlyphsForCarbonFlags(std::uint32_t flags) {
  return KRModifierGlyphsForCocoaFlags(KRCarbonToCocoaFlags(flags));
}

std::string KRKeyComboStringForCocoaFlags(std::uint64_t flags, std::int64_t code) {
  return KRModifierGlyphsForCocoaFlags(flags) + KRKeyNameForKeyCode(code).value_or("");
}

std::string KRKeyComboStringForCarbonFlags(std::uint32_t flags, std::int64_t code) {
  return KRKeyComboStringForCocoaFlags(KRCarbonToCocoaFlags(flags), code);
}

std::string KRReadableKeyComboForCocoaFlags(std::uint64_t flags, std::int64_t code) {
  // Words in another order than the glyphs.
  std::string text;
  if (flags & kr_flags::Command) text += KRLocalizedString("Command + ");
  if (flags & kr_flags::Option) text += KRLocalizedString("Option + ");
  if (flags & kr_flags::Control) text += KRLocalizedString("Control + ");
  if (flags & kr_flags::Shift) text += KRLocalizedString("Shift + ");
  return text + KRKeyNameForKeyCode(code).value_or("");
}

std::string KRReadableKeyComboForCarbonFlags(std::uint32_t flags, std::int64_t code) {
  return KRReadableKeyComboForCocoaFlags(KRCarbonToCocoaFlags(flags), code);
}

std::uint32_t KRCocoaToCarbonFlags(std::uint64_t flags) {
  std::uint32_t carbon = 0;
  if (flags & kr_flags::Command) carbon |= kr_flags::CarbonCommand;
  if (flags & kr_flags::Option) carbon |= kr_flags::CarbonOption;
  if (flags & kr_flags::Control) carbon |= kr_flags::CarbonControl;
  if (flags & kr_flags::Shift) carbon |= kr_flags::CarbonShift;
  if (flags & kr_flags::Function) carbon |= kr_flags::Function;
  return carbon;
}

std::uint64_t KRCarbonToCocoaFlags(std::uint32_t flags) {
  std::uint64_t cocoa = 0;
  if (flags & kr_flags::CarbonCommand) cocoa |= kr_flags::Command;
  if (flags & kr_flags::CarbonOption) cocoa |= kr_flags::Option;
  if (flags & kr_flags::CarbonControl) cocoa |= kr_flags::Control;
  if (flags & kr_flags::CarbonShift) cocoa |= kr_flags::Shift;
  if (flags & kr_flags::Function) cocoa |= kr_flags::Function;
  return cocoa;
}

// The modifiers never reach the translation (they always came out as no modifier at all): the key at level 0.
std::string KRCharacterForKeyCodeAndCocoaFlags(std::int64_t code, std::uint64_t /*flags*/) {
  const unsigned xKeycode = code >= 0 ? platform::xKeycodeForMacKeyCode(code) : 0;
  const auto keyval =
      xKeycode ? shortcuts::levelZeroKeyval(xKeycode, shortcuts::currentKeyboardGroup()) : std::nullopt;
  const gunichar character = keyval ? gdk_keyval_to_unicode(*keyval) : 0;
  if (character == 0) return KRKeyNameForKeyCode(code).value_or("");
  return platform::utf8FromCodePoint(g_unichar_totitle(character));
}

std::string KRCharacterForKeyCodeAndCarbonFlags(std::int64_t code, std::uint32_t flags) {
  return KRCharacterForKeyCodeAndCocoaFlags(code, KRCarbonToCocoaFlags(flags));
}

double KRAnimationEaseInOut(double t) { return (std::sin(t * std::numbers::pi - std::numbers::pi / 2) + 1) / 2; }

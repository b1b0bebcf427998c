#pragma once

// The halves of a key combination as text: key names, modifier glyphs
// (⌃⌥⇧⌘) and spelled-out modifiers ("Command + "), the conversions between
// Cocoa modifier flags (events, menus, the recorder) and Carbon ones (the
// validator, system shortcuts), the character a key types, and the recorder's
// ease curve. Texts come from the strings table "KeyRecorder".

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kr_flags {
// Cocoa modifier flags.
constexpr std::uint64_t Shift = 0x20000;
constexpr std::uint64_t Control = 0x40000;
constexpr std::uint64_t Option = 0x80000;
constexpr std::uint64_t Command = 0x100000;
constexpr std::uint64_t Function = 0x800000;
constexpr std::uint64_t Modifiers = Shift | Control | Option | Command;  // 0x1E0000
// Carbon modifier flags.
constexpr std::uint32_t CarbonCommand = 0x100;
constexpr std::uint32_t CarbonShift = 0x200;
constexpr std::uint32_t CarbonOption = 0x800;
constexpr std::uint32_t CarbonControl = 0x1000;
}  // namespace kr_flags

inline constexpr std::string_view kKeyRecorderStringsTable = "KeyRecorder";
// A text of the recorder's strings table ("KeyRecorder"), the key itself where the table has none.
std::string KRLocalizedString(std::string_view key);

// Full Unicode upper and lower case ("ß" becomes "SS").
std::string KRUppercaseString(std::string_view text);
std::string KRLowercaseString(std::string_view text);

// Nothing for a negative code or a key without a name.
std::optional<std::string> KRKeyNameForKeyCode(std::int64_t code);
std::string KRModifierGlyphsForCocoaFlags(std::uint64_t flags);
std::string KRModifierGlyphsForCarbonFlags(std::uint32_t flags);
// Glyphs then key name; a key without a name adds nothing.
std::string KRKeyComboStringForCocoaFlags(std::uint64_t flags, std::int64_t code);
std::string KRKeyComboStringForCarbonFlags(std::uint32_t flags, std::int64_t code);
// "Command + Option + Control + Shift + " (those present) then the key name.
std::string KRReadableKeyComboForCocoaFlags(std::uint64_t flags, std::int64_t code);
std::string KRReadableKeyComboForCarbonFlags(std::uint32_t flags, std::int64_t code);
std::uint32_t KRCocoaToCarbonFlags(std::uint64_t flags);
std::uint64_t KRCarbonToCocoaFlags(std::uint32_t flags);
// What the key types with no modifier in the current layout, capitalised; the key's name when it types nothing.
std::string KRCharacterForKeyCodeAndCocoaFlags(std::int64_t code, std::uint64_t flags);
std::string KRCharacterForKeyCodeAndCarbonFlags(std::int64_t code, std::uint32_t flags);
// (sin(t·π − π/2) + 1) / 2: 0 at 0, 1 at 1, slow at both ends.
double KRAnimationEaseInOut(double t);

#pragma once

// A shortcut value: a virtual key code (or none) with Shift, Control, Option
// and Command, its Carbon forms, its display strings and its archive
// ("KeyCode", -1 for no key, and "ModifierFlags").

#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

#include "platform/core/value.h"
#include "platform/ui/event.h"

class KSShortcut : public platform::Object {
 public:
  static constexpr std::string_view kClassName = "KSShortcut";
  // NSNotFound: no key.
  static constexpr std::uint64_t kNotFound = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());

  // Keeps only Shift, Control, Option and Command of the flags (Cocoa form).
  KSShortcut(std::uint64_t keyCode, std::uint64_t modifierFlags);
  // shortcutWithEvent: the event's key code as an unsigned 16-bit value and its modifiers.
  static KSShortcut fromEvent(const platform::Event& event);
  static platform::ObjectRef make(std::uint64_t keyCode, std::uint64_t modifierFlags);
  // The shortcut a value holds, or null.
  static const KSShortcut* in(const platform::Value& value);
  std::string_view className() const noexcept override { return kClassName; }

  std::uint64_t keyCode() const { return keyCode_; }
  std::uint64_t modifierFlags() const { return modifierFlags_; }
  // 0 for no key.
  std::uint32_t carbonKeyCode() const;
  std::uint32_t carbonFlags() const;
  // ⌃⌥⇧⌘, those present.
  std::string modifierFlagsString() const;
  // The key's name: fixed for the special keys and the keypad, otherwise what it types at level 0 of the first
  // layout group where it types ASCII, upper-cased; "" for no key or one that types nothing nameable; nothing
  // when there is no keyboard layout to ask.
  std::optional<std::string> keyCodeString() const;
  // The key as a menu's key equivalent: a one-character name lower-cased, a space, a function key's character, or "".
  std::string keyCodeStringForKeyEquivalent() const;
  // Glyphs then name.
  std::string description() const;
  std::size_t hash() const { return static_cast<std::size_t>(keyCode_ + modifierFlags_); }
  friend bool operator==(const KSShortcut& a, const KSShortcut& b) {
    return a.keyCode_ == b.keyCode_ && a.modifierFlags_ == b.modifierFlags_;
  }

  // Makes shortcuts readable from keyed archives and registers the dictionary transformer; done before any
  // shortcut is made.
  static void registerArchiveCoder();

 private:
  std::uint64_t keyCode_;
  std::uint64_t modifierFlags_;
};

struct KSShortcutHash {
  std::size_t operator()(const KSShortcut& shortcut) const { return shortcut.hash(); }
};

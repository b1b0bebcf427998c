#pragma once

// The tool key-binding table: one record per tool key id ({"title", "keyId",
// "code", "flags"}), "code" a macOS virtual key code (-1 for no key) and
// "flags" the Cocoa modifier bits that go with it. Every tool gets a default
// key, the ones without a palette button included, so each tool is reachable
// from the keyboard. The main window binds itself once and then hands every
// key down here; a bound key chooses its tool.

#include <cstdint>
#include <functional>
#include <string>

#include "platform/core/value.h"

class CMKeyBindingManager {
 public:
  using ToolHandler = std::function<void(std::int32_t keyId)>;
  // Shift, Control, Option and Command: the modifiers a binding may ask for.
  static constexpr std::uint64_t kBindableModifiers = 0x1E0000;
  // Posted (no object) when the table changed, so the tool buttons show the new keys.
  static constexpr const char* kUpdateNotification = "NSNotificationUpdateKeyBindings";

  // The built-in table.
  CMKeyBindingManager();
  CMKeyBindingManager(const CMKeyBindingManager&) = delete;
  CMKeyBindingManager& operator=(const CMKeyBindingManager&) = delete;

  const platform::ArrayRef& items() const noexcept { return items_; }

  // "title" alone without a key, else "title (key)"; empty when no record has the id.
  std::string titleFor(std::int32_t keyId) const;
  // The bound key's name in lower case; empty without a key.
  std::string valueFor(std::int32_t keyId) const;
  std::uint64_t flagsFor(std::int32_t keyId) const;

  // The one receiver of tool keys; a later call replaces it, null unbinds.
  void bindKeys(ToolHandler handler) { handler_ = std::move(handler); }
  // The tool key id bound to that key with those modifiers (others ignored), 0 for none.
  std::int32_t keyIdForKey(std::uint16_t keyCode, std::uint64_t modifierFlags) const;
  // Sends the bound tool to the receiver; false when the key is no tool's or nothing is bound.
  bool performKeyEquivalent(std::uint16_t keyCode, std::uint64_t modifierFlags) const;

  // The key's name on a US layout (letters upper-case), "#code" for keys this table does not name.
  static std::string keyNameForKeyCode(std::int64_t keyCode);
  // ⌃⌥⇧⌘ for the modifiers set, in that order.
  static std::string modifierGlyphs(std::uint64_t flags);

 private:
  // The first record with that id and a key, or null.
  platform::DictRef boundRecord(std::int32_t keyId) const;

  platform::ArrayRef items_;
  ToolHandler handler_;
};

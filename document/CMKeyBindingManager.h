#pragma once

// The tool key-binding table: one record per tool key id ({"title", "keyId",
// "code", "flags"}), "code" a macOS virtual key code (-1 for no key) and
// "flags" the Cocoa modifier bits that go with it. Every tool gets a default
// key, the ones without a palette button included, so each tool is reachable
// from the keyboard. The table is read from the "keyshorts" default when the
// manager is made and written back by save() only, when the user changes a
// key: a damaged stored table stays as it was until then, and the user is
// told of it once (the table told of is kept under kToldKey). The main window
// binds itself once and then hands every key down here; a bound key chooses
// its tool.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/core/value.h"

class CMKeyBindingManager {
 public:
  using ToolHandler = std::function<void(std::int32_t keyId)>;
  // Names keys and modifiers for tool tips. The program installs the keyboard layout's names at start-up; the
  // document layer knows no keyboard.
  struct KeyNames {
    std::function<std::optional<std::string>(std::int64_t code)> keyName;
    std::function<std::string(std::uint64_t flags)> modifierGlyphs;
  };
  // Shift, Control, Option and Command: the modifiers a binding may ask for.
  static constexpr std::uint64_t kBindableModifiers = 0x1E0000;
  // Posted (no object) when the table changed, so the tool buttons show the new keys.
  static constexpr const char* kUpdateNotification = "NSNotificationUpdateKeyBindings";
  // The user default holding the table as keyed-archive data.
  static constexpr const char* kStoreKey = "keyshorts";
  // The user default holding the damaged stored table the user was last told of.
  static constexpr const char* kToldKey = "keyshorts_told";

  // The valid records of the stored table, else the built-in table; the user is told (CMUserNotices) of records
  // left out and of a stored table that could not be used at all.
  CMKeyBindingManager();
  CMKeyBindingManager(const CMKeyBindingManager&) = delete;
  CMKeyBindingManager& operator=(const CMKeyBindingManager&) = delete;

  // The records, edited in place by the preferences window.
  const platform::ArrayRef& items() const noexcept { return items_; }
  // The built-in table, new records every call.
  static platform::ArrayRef builtInItems();
  // What a stored "keyshorts" value holds: its valid records, each tool's first, deep copies in order, with a
  // record of its built-in key (none where another tool holds that key) at its built-in place for each tool that
  // has none, and a description of each record left out (the first few, then how many more); no records, and the
  // reason, when the table is unusable as a whole (not keyed-archive data of an array, or no valid record).
  struct StoredTable {
    platform::ArrayRef items;
    std::vector<std::string> dropped;
    std::string unreadable;
  };
  static StoredTable readStoredTable(const platform::Value& stored);

  // "title" alone without a key, else "title (key)"; empty when no record has the id.
  std::string titleFor(std::int32_t keyId) const;
  // The bound key's name in lower case; empty without a key.
  std::string valueFor(std::int32_t keyId) const;
  std::uint64_t flagsFor(std::int32_t keyId) const;
  // Archives the table under "keyshorts", writes the defaults and posts kUpdateNotification.
  void save();

  // The one receiver of tool keys; a later call replaces it, null unbinds.
  void bindKeys(ToolHandler handler) { handler_ = std::move(handler); }
  // The tool key id bound to that key with those modifiers (others ignored), 0 for none.
  std::int32_t keyIdForKey(std::uint16_t keyCode, std::uint64_t modifierFlags) const;
  // Sends the bound tool to the receiver; false when the key is no tool's or nothing is bound.
  bool performKeyEquivalent(std::uint16_t keyCode, std::uint64_t modifierFlags) const;

  // The names tool tips use; without any installed a key has no name and modifiers no glyphs.
  static void setKeyNames(KeyNames names);
  static std::string keyNameForKeyCode(std::int64_t keyCode);
  static std::string modifierGlyphs(std::uint64_t flags);

 private:
  // The first record with that id and a key, or null.
  platform::DictRef boundRecord(std::int32_t keyId) const;

  platform::ArrayRef items_;
  ToolHandler handler_;
};

#include "document/CMKeyBindingManager.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string_view>

#include "document/CMUserNotices.h"
#include "platform/core/keyed_archive.h"
#include "platform/core/log.h"
#include "platform/core/notification_center.h"
#include "platform/core/user_defaults.h"

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

CMKeyBindingManager::KeyNames& installedKeyNames() {
  static CMKeyBindingManager::KeyNames names;
  return names;
}

bool isToolKeyId(const platform::Value& keyId) {
  return keyId.isInteger() && std::any_of(kBuiltIn.begin(), kBuiltIn.end(), [&keyId](const BuiltInBinding& tool) {
           return tool.keyId == keyId.integerValue();
         });
}

// A stored record the table can use: a string title, a tool's key id, a key code or -1, and modifier flags.
bool isValidRecord(const platform::Value& entry) {
  const platform::DictRef record = entry.dictionary();
  if (!record) return false;
  const platform::Value code = record->get("code");
  const platform::Value flags = record->get("flags");
  return record->get("title").isString() && isToolKeyId(record->get("keyId")) && code.isInteger() &&
         code.integerValue() >= -1 && code.integerValue() <= 127 && flags.isInteger() && flags.integerValue() >= 0;
}

// The records left out that a notice names one by one; the rest are counted.
constexpr std::size_t kNamedRecords = 10;

bool holdsKeyId(const platform::Array& records, const platform::Value& keyId) {
  return std::any_of(records.begin(), records.end(), [&keyId](const platform::Value& entry) {
    return entry.dictionary()->get("keyId").integerValue() == keyId.integerValue();
  });
}

// "record 3 (“Oval”)": the position counted from 1, and the title when there is one.
std::string describeRecord(std::size_t index, const platform::Value& entry) {
  const platform::DictRef record = entry.dictionary();
  const platform::Value title = record ? record->get("title") : platform::Value();
  std::string text = "record " + std::to_string(index + 1);
  if (title.isString() && !title.string().empty()) text += " (\u201c" + title.string() + "\u201d)";
  return text;
}

// A tool without a record gets one with its built-in key, at its built-in place, or with no key where another
// tool holds that key: a record dropped from the stored table does not take the tool's row and key with it.
void addMissingTools(platform::Array& records) {
  for (std::size_t place = 0; place < kBuiltIn.size(); ++place) {
    const BuiltInBinding& tool = kBuiltIn[place];
    bool present = false, keyTaken = false;
    for (const platform::Value& entry : records) {
      const platform::DictRef record = entry.dictionary();
      present = present || record->get("keyId").intValue() == tool.keyId;
      keyTaken = keyTaken || (record->get("code").integerValue() == tool.code &&
                              (record->get("flags").unsignedIntValue() & CMKeyBindingManager::kBindableModifiers) == 0);
    }
    if (present) continue;
    const platform::Value added(platform::Dictionary::make(
        {{"title", tool.title}, {"keyId", tool.keyId}, {"code", keyTaken ? -1 : tool.code}, {"flags", 0}}));
    records.insert(std::min(place, records.size()), added);
  }
}

std::string joined(const std::vector<std::string>& parts) {
  std::string text;
  for (const std::string& part : parts) text += (text.empty() ? "" : ", ") + part;
  return text;
}

}  // namespace

CMKeyBindingManager::CMKeyBindingManager() {
  platform::UserDefaults& defaults = platform::UserDefaults::standardUserDefaults();
  const platform::Value stored = defaults.objectForKey(kStoreKey);
  if (!stored.isNil()) {
    StoredTable table = readStoredTable(stored);
    items_ = std::move(table.items);
    std::string notice;
    if (!table.unreadable.empty()) {
      notice =
          "The tool keys you set could not be read (" + table.unreadable + "), so every tool has its built-in key.";
    } else if (!table.dropped.empty()) {
      notice = "Some of the tool keys you set could not be read and were left out: " + joined(table.dropped) +
               ". A tool left without a key of its own has its built-in key again; the others keep the keys you set.";
    }
    // The damaged table stays stored until the user sets a key: what was said of it is not said again.
    if (!notice.empty() && !defaults.objectForKey(kToldKey).isEqual(stored)) {
      CMUserNotices::post(notice);
      defaults.setObject(stored, kToldKey);
      if (platform::Status written = defaults.synchronize(); !written) {
        platform::logWarning("the damaged tool keys will be reported again: " + written.error().description);
      }
    }
  }
  if (!items_) items_ = builtInItems();
}

platform::ArrayRef CMKeyBindingManager::builtInItems() {
  platform::ArrayRef items = platform::Array::make();
  for (const BuiltInBinding& binding : kBuiltIn) {
    items->add(platform::Dictionary::make(
        {{"title", binding.title}, {"keyId", binding.keyId}, {"code", binding.code}, {"flags", 0}}));
  }
  return items;
}

CMKeyBindingManager::StoredTable CMKeyBindingManager::readStoredTable(const platform::Value& stored) {
  StoredTable table;
  if (!stored.isData()) {
    table.unreadable = "they are not archived data";
    return table;
  }
  platform::Expected<platform::Value> archived = platform::unarchiveObjectWithData(stored.data());
  if (!archived || !archived.value().isArray()) {
    table.unreadable = "they are not an archived table";
    return table;
  }
  const platform::Array& records = *archived.value().array();
  platform::ArrayRef kept = platform::Array::make();
  std::size_t unnamed = 0;
  for (std::size_t i = 0; i < records.size(); ++i) {
    // A tool's second record would bind a second key, and the table would outgrow the tools: a record past them
    // is left out as a damaged one is, and the tools' own records are kept.
    if (isValidRecord(records.at(i)) && !holdsKeyId(*kept, records.at(i).dictionary()->get("keyId"))) {
      kept->add(platform::Value(platform::dictionaryCopy(records.at(i).dictionary())));
    } else if (table.dropped.size() < kNamedRecords) {
      table.dropped.push_back(describeRecord(i, records.at(i)));
    } else {
      ++unnamed;
    }
  }
  // A notice naming thousands of records would be read by nobody.
  if (unnamed > 0) table.dropped.push_back("and " + std::to_string(unnamed) + " more");
  if (kept->empty()) {
    table.unreadable = records.empty() ? "the table is empty" : "no record of the table is valid";
    table.dropped.clear();
    return table;
  }
  addMissingTools(*kept);
  table.items = std::move(kept);
  return table;
}

void CMKeyBindingManager::save() {
  platform::UserDefaults& defaults = platform::UserDefaults::standardUserDefaults();
  defaults.setObject(platform::Value(platform::archivedDataWithRootObject(platform::Value(items_))), kStoreKey);
  defaults.removeObjectForKey(kToldKey);
  if (platform::Status written = defaults.synchronize(); !written) {
    platform::logWarning("the tool keys were not saved: " + written.error().description);
  }
  platform::NotificationCenter::defaultCenter().post(kUpdateNotification);
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

void CMKeyBindingManager::setKeyNames(KeyNames names) { installedKeyNames() = std::move(names); }

std::string CMKeyBindingManager::keyNameForKeyCode(std::int64_t keyCode) {
  const KeyNames& names = installedKeyNames();
  if (!names.keyName) return {};
  return names.keyName(keyCode).value_or(std::string());
}

std::string CMKeyBindingManager::modifierGlyphs(std::uint64_t flags) {
  const KeyNames& names = installedKeyNames();
  return names.modifierGlyphs ? names.modifierGlyphs(flags) : std::string();
}

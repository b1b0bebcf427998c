#include "platform/core/strings_table.h"

#include <map>

#include "platform/core/resources.h"

namespace platform {

std::string localizedString(std::string_view key, std::string_view table) {
  // Read once per table; a missing one is remembered as empty (its warning logged once).
  static std::map<std::string, DictRef, std::less<>> tables;
  auto found = tables.find(table);
  if (found == tables.end()) {
    found = tables.emplace(std::string(table), dictionaryResource(std::string(table) + ".strings")).first;
  }
  if (found->second) {
    if (const Value* text = found->second->find(key); text && text->isString()) return text->string();
  }
  return std::string(key);
}

}  // namespace platform

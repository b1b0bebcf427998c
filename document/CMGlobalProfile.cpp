#include "document/CMGlobalProfile.h"

#include <string>
#include <utility>

#include "platform/core/log.h"

CMGlobalProfile::CMGlobalProfile(std::filesystem::path folder) : defaults_(kSuiteName, std::move(folder)) {}

std::int32_t CMGlobalProfile::integerForKey(std::string_view key) const {
  return defaults_.objectForKey(key).intValue();
}

void CMGlobalProfile::setInteger(std::int32_t value, std::string_view key) {
  defaults_.setInteger(value, key);
  writeThrough();
}

float CMGlobalProfile::floatForKey(std::string_view key) const { return defaults_.floatForKey(key); }

void CMGlobalProfile::setFloat(float value, std::string_view key) {
  defaults_.setFloat(value, key);
  writeThrough();
}

bool CMGlobalProfile::boolForKey(std::string_view key) const { return defaults_.boolForKey(key); }

void CMGlobalProfile::setBool(bool value, std::string_view key) {
  defaults_.setBool(value, key);
  writeThrough();
}

void CMGlobalProfile::writeThrough() {
  if (platform::Status written = defaults_.synchronize(); !written) {
    platform::logWarning("profile not saved: " + written.error().description);
  }
}

#pragma once

// Window and tool state kept in its own defaults domain, "parlew.state". Every
// setter writes through to disk at once, so state survives a crash. Keys never
// stored read as 0 or NO: the application's registered settings do not apply here.

#include <cstdint>
#include <filesystem>
#include <string_view>

#include "platform/core/folders.h"
#include "platform/core/user_defaults.h"

class CMGlobalProfile {
 public:
  static constexpr const char* kSuiteName = "parlew.state";

  explicit CMGlobalProfile(std::filesystem::path folder = platform::configFolder());
  CMGlobalProfile(const CMGlobalProfile&) = delete;
  CMGlobalProfile& operator=(const CMGlobalProfile&) = delete;

  std::int32_t getState(std::string_view key) const { return integerForKey(key); }
  void setState(std::string_view key, std::int32_t value) { setInteger(value, key); }

  std::int32_t integerForKey(std::string_view key) const;
  void setInteger(std::int32_t value, std::string_view key);
  float floatForKey(std::string_view key) const;
  void setFloat(float value, std::string_view key);
  bool boolForKey(std::string_view key) const;
  void setBool(bool value, std::string_view key);

  const std::filesystem::path& filePath() const noexcept { return defaults_.filePath(); }

 private:
  void writeThrough();

  platform::UserDefaults defaults_;
};

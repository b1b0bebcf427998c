#pragma once

// NSUserDefaults' stand-in: preferences kept as an XML property list per
// domain in the config folder.
//
// A lookup sees the persistent domain first and then, for the standard domain
// only, the registered defaults. Values are copied deeply when set, so callers
// may go on editing their own records; containers read back are the stored
// ones, to be copied before editing. Setters change memory only: synchronize()
// writes the domain to disk.
//
// A file that cannot be read, does not parse or does not hold a dictionary is
// renamed "<file>.corrupt-<UTC time>" with a logged warning, and the domain
// starts empty; if it cannot be moved aside, synchronize() refuses to write
// over it. takeDamagedFile() tells the caller, who tells the user.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "platform/core/error.h"
#include "platform/core/folders.h"
#include "platform/core/value.h"

namespace platform {

class UserDefaults {
 public:
  // The standard domain (named after the bundle identifier) in the config folder.
  static UserDefaults& standardUserDefaults();
  // Drops the shared instance without writing it; the next standardUserDefaults()
  // starts afresh over the config folder of that moment. For tests.
  static void resetStandardUserDefaults();

  // The domain <suiteName> kept as <folder>/<suiteName>.plist, without
  // registered defaults. An empty suite name means the standard domain, with them.
  explicit UserDefaults(std::string suiteName, std::filesystem::path folder = configFolder());
  UserDefaults(const UserDefaults&) = delete;
  UserDefaults& operator=(const UserDefaults&) = delete;

  // Later registrations override earlier ones key by key. Ignored, with a
  // warning, by a suite.
  void registerDefaults(const DictRef& defaults);

  // Missing keys read nil, NO, 0, an empty string or a null container.
  Value objectForKey(std::string_view key) const;
  bool boolForKey(std::string_view key) const { return objectForKey(key).boolValue(); }
  std::int64_t integerForKey(std::string_view key) const { return objectForKey(key).integerValue(); }
  float floatForKey(std::string_view key) const { return objectForKey(key).floatValue(); }
  double doubleForKey(std::string_view key) const { return objectForKey(key).doubleValue(); }
  // The text of a string value; empty for any other kind.
  std::string stringForKey(std::string_view key) const { return objectForKey(key).string(); }
  DictRef dictionaryForKey(std::string_view key) const { return objectForKey(key).dictionary(); }
  ArrayRef arrayForKey(std::string_view key) const { return objectForKey(key).array(); }

  // Setting nil removes the key.
  void setObject(const Value& value, std::string_view key);
  void setBool(bool value, std::string_view key) { setObject(Value(value), key); }
  void setInteger(std::int64_t value, std::string_view key) { setObject(Value(value), key); }
  // Stored as a 32-bit real.
  void setFloat(float value, std::string_view key) { setObject(Value(value), key); }
  void setDouble(double value, std::string_view key) { setObject(Value(value), key); }
  // Uncovers the registered default, if any.
  void removeObjectForKey(std::string_view key);

  // Writes the persistent domain atomically, creating the folder if need be.
  Status synchronize();

  const std::filesystem::path& filePath() const noexcept { return file_; }

  // Why the domain's file could not be read and where it was moved (empty when it could not be), once: the file is
  // read first if it was not yet, and a later call answers none.
  struct DamagedFile {
    std::string reason;
    std::filesystem::path keptAs;
  };
  std::optional<DamagedFile> takeDamagedFile();

 private:
  Dictionary& persistentDomain() const;
  DictRef loadPersistentDomain() const;
  void setAside(const std::string& reason) const;

  std::filesystem::path file_;
  bool hasRegistration_;
  DictRef registration_;
  mutable DictRef persistent_;    // loaded on first use
  mutable bool mayWrite_ = true;  // false while a damaged file could not be moved out of the way
  mutable std::optional<DamagedFile> damaged_;
};

}  // namespace platform

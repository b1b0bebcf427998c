#include "platform/core/user_defaults.h"

#include <memory>
#include <system_error>
#include <utility>

#include "platform/core/bundle.h"
#include "platform/core/files.h"
#include "platform/core/log.h"
#include "platform/core/property_list.h"

namespace platform {
namespace {

std::unique_ptr<UserDefaults>& standardInstance() {
  static std::unique_ptr<UserDefaults> instance;
  return instance;
}

}  // namespace

UserDefaults& UserDefaults::standardUserDefaults() {
  std::unique_ptr<UserDefaults>& instance = standardInstance();
  if (!instance) instance = std::make_unique<UserDefaults>(std::string());
  return *instance;
}

void UserDefaults::resetStandardUserDefaults() { standardInstance().reset(); }

UserDefaults::UserDefaults(std::string suiteName, std::filesystem::path folder)
    : hasRegistration_(suiteName.empty()), registration_(Dictionary::make()) {
  const std::string domain = suiteName.empty() ? std::string(bundleIdentifier()) : std::move(suiteName);
  file_ = std::move(folder) / (domain + ".plist");
}

void UserDefaults::registerDefaults(const DictRef& defaults) {
  if (!hasRegistration_) {
    logWarning("Registered defaults are ignored by the suite " + file_.stem().string());
    return;
  }
  if (!defaults) return;
  for (const auto& [key, value] : *defaults) registration_->set(key, deepCopy(value));
}

Value UserDefaults::objectForKey(std::string_view key) const {
  if (const Value* stored = persistentDomain().find(key)) return *stored;
  return hasRegistration_ ? registration_->get(key) : Value();
}

void UserDefaults::setObject(const Value& value, std::string_view key) { persistentDomain().set(key, deepCopy(value)); }

void UserDefaults::removeObjectForKey(std::string_view key) { persistentDomain().remove(key); }

Status UserDefaults::synchronize() {
  persistentDomain();  // a damaged file must be dealt with before anything is written over it
  if (!mayWrite_) {
    return Error::make(Error::cocoaDomain, 512,
                       "Not writing \"" + file_.string() + "\": its damaged contents could not be moved aside");
  }
  Expected<Bytes> bytes = dataFromPropertyList(Value(persistent_), PropertyListFormat::Xml);
  if (!bytes) return bytes.error();
  if (Status created = createDirectories(file_.parent_path()); !created) return created;
  return writeFileAtomically(file_, bytes.value());
}

std::optional<UserDefaults::DamagedFile> UserDefaults::takeDamagedFile() {
  persistentDomain();
  return std::exchange(damaged_, std::nullopt);
}

Dictionary& UserDefaults::persistentDomain() const {
  if (!persistent_) persistent_ = loadPersistentDomain();
  return *persistent_;
}

DictRef UserDefaults::loadPersistentDomain() const {
  std::error_code error;
  if (std::filesystem::status(file_, error).type() == std::filesystem::file_type::not_found) return Dictionary::make();
  Expected<Bytes> bytes = readFile(file_);
  if (!bytes) {
    setAside(bytes.error().description);
    return Dictionary::make();
  }
  Expected<Value> contents = propertyListFromData(bytes.value());
  if (!contents) {
    setAside("it is not a property list (" + contents.error().description + ")");
    return Dictionary::make();
  }
  if (!contents.value().isDictionary()) {
    setAside("its root is not a dictionary");
    return Dictionary::make();
  }
  return contents.value().dictionary();
}

void UserDefaults::setAside(const std::string& reason) const {
  const Expected<std::filesystem::path> asideName = setAsideCorruptFile(file_, AsideMethod::Move);
  damaged_ = DamagedFile{reason, asideName ? asideName.value() : std::filesystem::path()};
  if (!asideName) {
    mayWrite_ = false;
    logWarning("Could not read the defaults in \"" + file_.string() + "\": " + reason + ". Moving it aside failed (" +
               asideName.error().description + "), so it will be left as it is; starting from the defaults.");
    return;
  }
  logWarning("Could not read the defaults in \"" + file_.string() + "\": " + reason + ". Moved it to \"" +
             asideName.value().string() + "\"; starting from the defaults.");
}

}  // namespace platform

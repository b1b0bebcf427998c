#include "platform/core/user_defaults_controller.h"

#include <optional>
#include <string>

#include "platform/core/log.h"
#include "platform/core/user_defaults.h"

namespace platform {
namespace {

constexpr std::string_view kValuesPrefix = "values.";

std::optional<std::string_view> defaultsKey(std::string_view keyPath) {
  if (keyPath.substr(0, kValuesPrefix.size()) != kValuesPrefix || keyPath.size() == kValuesPrefix.size()) {
    return std::nullopt;
  }
  return keyPath.substr(kValuesPrefix.size());
}

}  // namespace

UserDefaultsController& UserDefaultsController::shared() {
  static UserDefaultsController* controller = new UserDefaultsController();  // lives as long as the process
  return *controller;
}

Value UserDefaultsController::valueForKeyPath(std::string_view keyPath) const {
  const auto key = defaultsKey(keyPath);
  if (!key) return {};
  Value value = UserDefaults::standardUserDefaults().objectForKey(*key);
  if (value.isNil() && initialValues_) value = initialValues_->get(*key);
  return value;
}

void UserDefaultsController::setValueForKeyPath(const Value& value, std::string_view keyPath) {
  const auto key = defaultsKey(keyPath);
  if (!key) {
    logWarning("The user defaults have no key path \"" + std::string(keyPath) + "\"");
    return;
  }
  UserDefaults& defaults = UserDefaults::standardUserDefaults();
  if (value.isNil()) {
    defaults.removeObjectForKey(*key);
  } else {
    defaults.setObject(value, *key);
  }
  if (const Status written = defaults.synchronize(); !written) {
    logWarning("The user defaults could not be saved: " + written.error().description);
  }
  observers_.post(*key);
}

ObserverToken UserDefaultsController::observeKeyPath(std::string_view keyPath, std::function<void()> handler) {
  const auto key = defaultsKey(keyPath);
  return observers_.addObserver(std::string(key ? *key : keyPath),
                                [handler = std::move(handler)](const Notification&) { handler(); });
}

void UserDefaultsController::setInitialValues(const DictRef& values) {
  initialValues_ = values ? dictionaryCopy(values) : nullptr;
}

}  // namespace platform

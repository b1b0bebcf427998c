#pragma once

// NSUserDefaultsController's shared instance: the standard user defaults as
// the key paths "values.<key>" for bindings. A value set through it is
// written to the standard defaults and synchronized at once; observers of a
// key hear of every change made through it. Initial values stand in for keys
// the defaults do not hold.

#include <functional>
#include <string_view>

#include "platform/core/binding.h"
#include "platform/core/notification_center.h"
#include "platform/core/value.h"

namespace platform {

class UserDefaultsController : public KeyValueObserving {
 public:
  static UserDefaultsController& shared();

  // Key paths other than "values.<key>" read nil and are not written.
  Value valueForKeyPath(std::string_view keyPath) const override;
  // Nil removes the key from the defaults.
  void setValueForKeyPath(const Value& value, std::string_view keyPath) override;
  [[nodiscard]] ObserverToken observeKeyPath(std::string_view keyPath, std::function<void()> handler) override;

  // Kept as a copy.
  void setInitialValues(const DictRef& values);

 private:
  UserDefaultsController() = default;

  NotificationCenter observers_;
  DictRef initialValues_;
};

}  // namespace platform

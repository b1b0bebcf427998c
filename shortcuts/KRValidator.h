#pragma once

// Whether a key combination may be used: not when the validator's delegate
// says so, nor when a desktop shortcut or an item of the application's main
// menu has it. A refusal comes with an error worded for an alert.

#include <cstdint>
#include <optional>
#include <string>

#include "platform/core/error.h"

namespace platform {
class Menu;
}

class KRValidator;

class KRValidatorDelegate {
 public:
  // Answers whether the combination (Cocoa flags) is taken; `reason` words why when it is. Default: never.
  virtual bool shortcutValidatorIsKeyCodeAndFlagsTaken(KRValidator& validator, std::int64_t code, std::uint64_t flags,
                                                       std::optional<std::string>& reason);

 protected:
  ~KRValidatorDelegate() = default;
};

class KRValidator {
 public:
  explicit KRValidator(KRValidatorDelegate* delegate = nullptr) : delegate_(delegate) {}

  KRValidatorDelegate* delegate() const { return delegate_; }
  void setDelegate(KRValidatorDelegate* delegate) { delegate_ = delegate; }

  // Carbon flags. `error`, when given, receives the refusal's texts (left alone when there is none to give).
  bool isKeyCodeAndFlagsTaken(std::int64_t code, std::uint32_t flags, platform::Error* error);
  bool isKeyCodeAndFlagsTakenInMenu(std::int64_t code, std::uint32_t flags, const platform::Menu& menu,
                                    platform::Error* error);

 private:
  KRValidatorDelegate* delegate_;  // not owned
};

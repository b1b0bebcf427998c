#pragma once

// Sets or unsets an environment variable for one scope, restoring it after.

#include <stdlib.h>

#include <optional>
#include <string>

namespace platform::testing {

class ScopedEnvironment {
 public:
  // A null value unsets the variable.
  ScopedEnvironment(std::string name, const char* value) : name_(std::move(name)) {
    if (const char* previous = ::getenv(name_.c_str())) previous_ = previous;
    if (value != nullptr) {
      ::setenv(name_.c_str(), value, 1);
    } else {
      ::unsetenv(name_.c_str());
    }
  }
  ~ScopedEnvironment() {
    if (previous_) {
      ::setenv(name_.c_str(), previous_->c_str(), 1);
    } else {
      ::unsetenv(name_.c_str());
    }
  }
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

 private:
  std::string name_;
  std::optional<std::string> previous_;
};

}  // namespace platform::testing

#pragma once

// Error values, and a result that holds either a value or an error.

#include <cstdint>
#include <exception>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace platform {

struct Error {
  std::string domain;
  std::int64_t code = 0;
  std::string description;
  // What an alert about the error suggests (informative text) and its buttons' titles, first the default.
  std::string recoverySuggestion;
  std::vector<std::string> recoveryOptions;

  static constexpr const char* cocoaDomain = "NSCocoaErrorDomain";
  static constexpr const char* osStatusDomain = "NSOSStatusErrorDomain";

  static Error make(std::string domain, std::int64_t code, std::string description) {
    Error error;
    error.domain = std::move(domain);
    error.code = code;
    error.description = std::move(description);
    return error;
  }
  // "The operation couldn't be completed." with the status as its code.
  static Error osStatus(std::int64_t status);
};

template <class T>
class Expected {
 public:
  Expected(T value) : state_(std::in_place_index<0>, std::move(value)) {}
  Expected(Error error) : state_(std::in_place_index<1>, std::move(error)) {}

  bool ok() const noexcept { return state_.index() == 0; }
  explicit operator bool() const noexcept { return ok(); }
  T& value() & { return std::get<0>(state_); }
  const T& value() const& { return std::get<0>(state_); }
  T&& value() && { return std::get<0>(std::move(state_)); }
  const Error& error() const { return std::get<1>(state_); }

 private:
  std::variant<T, Error> state_;
};

// For operations that return nothing but may fail.
struct Done {};
using Status = Expected<Done>;
inline Status success() { return Done{}; }

}  // namespace platform

namespace platform {

// What the design raises as an exception (a failed path operation on a layer
// without a shape): name and reason.
class Exception : public std::exception {
 public:
  Exception(std::string name, std::string reason) : name_(std::move(name)), reason_(std::move(reason)) {}
  const std::string& name() const noexcept { return name_; }
  const std::string& reason() const noexcept { return reason_; }
  const char* what() const noexcept override { return reason_.c_str(); }

 private:
  std::string name_;
  std::string reason_;
};

}  // namespace platform

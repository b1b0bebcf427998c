#pragma once

// NSUserCancelledError: an operation the user stopped. It ends without an alert, as AppKit's presentError does.

#include <cstdint>
#include <string>
#include <utility>

#include "platform/core/error.h"

namespace platform {

inline constexpr std::int64_t kUserCancelledError = 3072;

inline Error userCancelledError(std::string description) {
  return Error::make(Error::cocoaDomain, kUserCancelledError, std::move(description));
}

inline bool isUserCancelled(const Error& error) {
  return error.domain == Error::cocoaDomain && error.code == kUserCancelledError;
}

}  // namespace platform

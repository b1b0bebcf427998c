#pragma once

// The error a damaged keyed archive reads as.

#include <string>
#include <string_view>

#include "platform/core/error.h"
#include "platform/core/keyed_archive.h"

namespace platform {

inline Error archiveError(std::string_view what) {
  return Error::make(Error::cocoaDomain, kCoderReadCorruptError, "The archive is damaged: " + std::string(what) + ".");
}

}  // namespace platform

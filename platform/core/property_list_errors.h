#pragma once

// The errors property-list readers and writers report, in Foundation's domain
// and numbering.

#include <string>
#include <string_view>

#include "platform/core/error.h"
#include "platform/core/property_list.h"

namespace platform {

// kind: "binary" or "XML".
inline Error propertyListReadError(std::string_view kind, std::string_view what) {
  return Error::make(Error::cocoaDomain, kPropertyListReadCorruptError,
                     "The " + std::string(kind) + " property list is damaged: " + std::string(what) + ".");
}

inline Error propertyListWriteError(std::string_view what) {
  return Error::make(Error::cocoaDomain, kPropertyListWriteInvalidError,
                     "The value cannot be written as a property list: " + std::string(what) + ".");
}

}  // namespace platform

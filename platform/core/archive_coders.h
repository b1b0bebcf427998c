#pragma once

// The coders of the property-list classes in keyed archives: dictionaries and
// arrays both ways; NSString and NSData wrappers (as Foundation writes
// mutable strings and data) read only, since plain strings and data are
// archived inline.

#include "platform/core/class_coder_registry.h"

namespace platform {

ClassCoderTable propertyListClassCoders();

}  // namespace platform

#pragma once

// Our value tree to libplist nodes and back, so that libplist can be timed on
// the same documents as our codec.

#include <memory>

#include <plist/plist.h>

#include "platform/core/value.h"

namespace platform {

struct PlistFree {
  void operator()(void* node) const noexcept { plist_free(node); }
};
using PlistNode = std::unique_ptr<void, PlistFree>;

// Integers are stored as libplist's unsigned 64-bit kind, program objects and
// nil are left out: the benchmark trees hold none of them.
PlistNode plistFromValue(const Value& value);
Value valueFromPlist(plist_t node);

}  // namespace platform

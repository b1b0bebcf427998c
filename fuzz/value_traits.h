#pragma once

// What a fuzz target must know about a decoded tree before it may demand an
// exact round trip: NaN is never equal to itself, program objects compare by
// identity, a cycle cannot be compared at all, and XML 1.0 cannot carry every
// string.

#include "platform/core/value.h"

namespace platform {

struct ValueTraits {
  bool hasNaN = false;
  bool hasObject = false;
  bool cyclic = false;
  // Every string and key is well-formed UTF-8, the only text a tree may hold.
  bool utf8 = true;
  // Every string and key is UTF-8 holding only characters XML 1.0 allows.
  bool xmlSafe = true;
};

// Walks without recursion, so a hostile nesting depth cannot overflow the stack here.
ValueTraits valueTraits(const Value& root);

}  // namespace platform

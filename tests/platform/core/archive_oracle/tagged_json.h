#pragma once

// The value tree as JSON with an explicit type on every node, for a reader
// that knows nothing of our codec: {"t":"dict","id":N,"v":[[key,node],...]},
// {"t":"array","id":N,"v":[...]}, {"t":"string","v":"..."},
// {"t":"int","v":-5}, {"t":"bool","v":true}, {"t":"real32","v":"0x1.8p+1"},
// {"t":"real64","v":"-0x0p+0"} (hex floats, exact) and {"t":"data","v":"00ff"}.
// A container reached twice carries the same id both times.

#include <string>

#include "platform/core/value.h"

namespace platform {

// A deliberate lie in the description, to prove the checker notices one.
enum class JsonCorruption {
  None,
  RealWidth,    // the first 32-bit real is described as 64-bit
  RealBits,     // the first 64-bit real has its lowest mantissa bit flipped
  BoolAsInt,    // the first boolean is described as an integer
  SharedSplit,  // the second sighting of a shared container gets a new id
};

struct TaggedJson {
  std::string text;
  bool corrupted = false;  // false when the requested corruption found nothing to change
};

TaggedJson taggedJson(const Value& root, JsonCorruption corruption = JsonCorruption::None);

}  // namespace platform

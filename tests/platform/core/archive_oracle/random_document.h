#pragma once

// A random document-shaped value tree for checking keyed archives against an
// independent reader: a root dictionary, a "layers" array of layer
// dictionaries, nested "shape" dictionaries with style dictionaries and
// "points" arrays. It mixes every scalar kind with the awkward values (negative
// zero, subnormals, extremes, integers past 32 bits, empty and non-BMP
// strings, data with zero bytes, empty containers) and holds one style
// dictionary in two places.

#include <cstdint>

#include "platform/core/value.h"

namespace platform {

DictRef makeRandomDocument(std::uint64_t seed);

}  // namespace platform

#pragma once

// A large document-shaped tree for timing archive codecs: a root dictionary
// whose "layers" array holds layer dictionaries of about twenty keys, each with
// a "shape" dictionary holding "fill" and "stroke" styles and a "points" array.

#include <cstddef>

#include "platform/core/value.h"

namespace platform {

DictRef makeLayerDocument(std::size_t layerCount, std::size_t pointsPerShape);

}  // namespace platform

#pragma once

// Reducing an image to a palette of at most 256 entries for GIF: median cut over the opaque colours, with every
// pixel under half alpha sharing one transparent entry. An image with few enough colours keeps them exactly.

#include <cstdint>
#include <vector>

#include "platform/graphics/pixel_conversion.h"

namespace platform {

struct PalettedImage {
  std::vector<StraightRgba> palette;  // opaque colours, then the transparent entry if there is one
  std::vector<std::uint8_t> indices;  // one per pixel, in the order given
  int transparentIndex = -1;          // -1 when no pixel is transparent
};

// `pixels` are straight RGBA; `maxColours` (2…256) counts the transparent entry.
PalettedImage quantize(const std::vector<StraightRgba>& pixels, int maxColours);

}  // namespace platform

#pragma once

// Cairo's premultiplied ARGB32 pixels and the straight (non-premultiplied) RGBA bytes of image files.
// Premultiplied → straight → premultiplied gives back the same pixel; the other way round is exact for opaque
// pixels and loses what low alpha cannot hold.

#include <cairo.h>

#include <cstdint>
#include <vector>

namespace platform {

struct StraightRgba {
  std::uint8_t r = 0, g = 0, b = 0, a = 0;
  friend bool operator==(const StraightRgba&, const StraightRgba&) = default;
};

// The native-endian 32-bit word Cairo stores for a pixel: alpha in the top byte, each colour rounded c · a / 255.
std::uint32_t premultipliedPixel(StraightRgba colour);
// Colours rounded c · 255 / a and clamped; a transparent pixel is transparent black.
StraightRgba straightFromPremultiplied(std::uint32_t pixel);

// Every pixel of an ARGB32 (or RGB24, read as opaque) image surface, row by row; empty for other surfaces.
std::vector<StraightRgba> straightPixels(cairo_surface_t* image);

}  // namespace platform

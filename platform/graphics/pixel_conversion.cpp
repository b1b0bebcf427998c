#include "platform/graphics/pixel_conversion.h"

#include <algorithm>

namespace platform {

namespace {

std::uint32_t premultiply(std::uint32_t c, std::uint32_t a) { return (c * a + 127) / 255; }

std::uint8_t unpremultiply(std::uint32_t c, std::uint32_t a) {
  return static_cast<std::uint8_t>(std::min<std::uint32_t>(255, (c * 255 + a / 2) / a));
}

}  // namespace

std::uint32_t premultipliedPixel(StraightRgba colour) {
  const std::uint32_t a = colour.a;
  return a << 24 | premultiply(colour.r, a) << 16 | premultiply(colour.g, a) << 8 | premultiply(colour.b, a);
}

StraightRgba straightFromPremultiplied(std::uint32_t pixel) {
  const std::uint32_t a = pixel >> 24;
  if (a == 0) return {};
  return {unpremultiply((pixel >> 16) & 0xff, a), unpremultiply((pixel >> 8) & 0xff, a), unpremultiply(pixel & 0xff, a),
          static_cast<std::uint8_t>(a)};
}

std::vector<StraightRgba> straightPixels(cairo_surface_t* image) {
  if (image == nullptr || cairo_surface_get_type(image) != CAIRO_SURFACE_TYPE_IMAGE) return {};
  const cairo_format_t format = cairo_image_surface_get_format(image);
  if (format != CAIRO_FORMAT_ARGB32 && format != CAIRO_FORMAT_RGB24) return {};
  cairo_surface_flush(image);
  const int width = cairo_image_surface_get_width(image);
  const int height = cairo_image_surface_get_height(image);
  const int stride = cairo_image_surface_get_stride(image);
  const unsigned char* data = cairo_image_surface_get_data(image);
  // RGB24 leaves the top byte undefined.
  const std::uint32_t alphaMask = format == CAIRO_FORMAT_RGB24 ? 0xff000000u : 0;
  std::vector<StraightRgba> pixels;
  pixels.reserve(static_cast<std::size_t>(width) * height);
  for (int y = 0; y < height; ++y) {
    const auto* row = reinterpret_cast<const std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
    for (int x = 0; x < width; ++x) pixels.push_back(straightFromPremultiplied(row[x] | alphaMask));
  }
  return pixels;
}

}  // namespace platform

#pragma once

// Premultiplied ARGB32 image surfaces for pixel probes.

#include <cairo.h>

#include <cstdint>
#include <memory>

namespace platform::testing {

struct SurfaceDeleter {
  void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};
using SurfacePtr = std::unique_ptr<cairo_surface_t, SurfaceDeleter>;

struct ContextDeleter {
  void operator()(cairo_t* cr) const { cairo_destroy(cr); }
};
using ContextPtr = std::unique_ptr<cairo_t, ContextDeleter>;

struct Argb {
  int a = 0, r = 0, g = 0, b = 0;
  friend bool operator==(const Argb&, const Argb&) = default;
};

inline SurfacePtr makeArgbSurface(int width, int height) {
  return SurfacePtr(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height));
}

inline std::uint32_t* pixelAddress(cairo_surface_t* surface, int x, int y) {
  unsigned char* data = cairo_image_surface_get_data(surface);
  return reinterpret_cast<std::uint32_t*>(data + y * cairo_image_surface_get_stride(surface)) + x;
}

inline Argb pixelAt(cairo_surface_t* surface, int x, int y) {
  cairo_surface_flush(surface);
  const std::uint32_t p = *pixelAddress(surface, x, y);
  return {int(p >> 24), int((p >> 16) & 0xff), int((p >> 8) & 0xff), int(p & 0xff)};
}

inline void setPixel(cairo_surface_t* surface, int x, int y, Argb c) {
  cairo_surface_flush(surface);
  *pixelAddress(surface, x, y) =
      std::uint32_t(c.a) << 24 | std::uint32_t(c.r) << 16 | std::uint32_t(c.g) << 8 | std::uint32_t(c.b);
  cairo_surface_mark_dirty(surface);
}

}  // namespace platform::testing

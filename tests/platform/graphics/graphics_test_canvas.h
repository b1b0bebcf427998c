#pragma once

// A small ARGB32 image with a graphics context on it, for probing drawn pixels.

#include <cairo.h>

#include <cstdint>
#include <cstring>
#include <memory>

#include "platform/graphics/graphics_context.h"

namespace platform::testing {

// Premultiplied components, 0…255.
struct Pixel {
  int r = 0;
  int g = 0;
  int b = 0;
  int a = 0;
};

class GraphicsCanvas {
 public:
  GraphicsCanvas(int width, int height, bool flipped = false)
      : surface_(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height), cairo_surface_destroy),
        context_(std::make_unique<GraphicsContext>(surface_.get(), height, flipped)) {}

  GraphicsContext& context() { return *context_; }
  cairo_surface_t* surface() const { return surface_.get(); }

  // Device pixel (x, y), row 0 at the top of the image.
  Pixel at(int x, int y) const {
    cairo_surface_flush(surface_.get());
    const unsigned char* data = cairo_image_surface_get_data(surface_.get());
    std::uint32_t v = 0;
    std::memcpy(&v, data + y * cairo_image_surface_get_stride(surface_.get()) + x * 4, sizeof v);
    return {static_cast<int>((v >> 16) & 0xFF), static_cast<int>((v >> 8) & 0xFF), static_cast<int>(v & 0xFF),
            static_cast<int>(v >> 24)};
  }

  // Fills the whole image with an opaque or translucent colour, bypassing the context.
  void paintBackdrop(double r, double g, double b, double a) {
    cairo_t* cr = cairo_create(surface_.get());
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_rgba(cr, r, g, b, a);
    cairo_paint(cr);
    cairo_destroy(cr);
  }

 private:
  std::unique_ptr<cairo_surface_t, void (*)(cairo_surface_t*)> surface_;
  std::unique_ptr<GraphicsContext> context_;
};

}  // namespace platform::testing

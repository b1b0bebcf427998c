#pragma once

// A small alpha-only image surface with a context on it, for probing what was drawn.

#include <cairo.h>

#include <memory>

namespace platform::testing {

class TestSurface {
 public:
  TestSurface(int width, int height)
      : surface_(cairo_image_surface_create(CAIRO_FORMAT_A8, width, height)), cr_(cairo_create(surface_.get())) {}

  cairo_t* cr() const { return cr_.get(); }

  // Coverage 0..255 of the device pixel at (x, y).
  int alphaAt(int x, int y) const {
    cairo_surface_flush(surface_.get());
    const unsigned char* data = cairo_image_surface_get_data(surface_.get());
    return data[y * cairo_image_surface_get_stride(surface_.get()) + x];
  }

  int paintedPixels() const {
    int count = 0;
    for (int y = 0; y < cairo_image_surface_get_height(surface_.get()); ++y) {
      for (int x = 0; x < cairo_image_surface_get_width(surface_.get()); ++x) count += alphaAt(x, y) > 0;
    }
    return count;
  }

 private:
  struct Deleter {
    void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
    void operator()(cairo_t* cr) const { cairo_destroy(cr); }
  };
  std::unique_ptr<cairo_surface_t, Deleter> surface_;
  std::unique_ptr<cairo_t, Deleter> cr_;
};

}  // namespace platform::testing

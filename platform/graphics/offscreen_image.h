#pragma once

// Offscreen images in device space, where shadows and blend modes Cairo cannot
// apply while drawing are worked out before compositing onto the target.

#include <cairo.h>

#include <memory>

#include "platform/graphics/blend_modes.h"
#include "platform/graphics/device_region.h"

namespace platform {

struct CairoSurfaceDeleter {
  void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};
struct CairoContextDeleter {
  void operator()(cairo_t* cr) const { cairo_destroy(cr); }
};
using CairoSurfacePtr = std::unique_ptr<cairo_surface_t, CairoSurfaceDeleter>;
using CairoContextPtr = std::unique_ptr<cairo_t, CairoContextDeleter>;

// An image surface covering `area` of device space: its device offset makes drawing at device
// (x, y) land on pixel (x − area.x0, y − area.y0), and using it as a source at (0, 0) puts it back.
struct OffscreenImage {
  CairoSurfacePtr surface;
  DeviceRect area;
  explicit operator bool() const { return surface != nullptr; }
};

// The largest offscreen image made, in pixels (a 8192 × 8192 square).
inline constexpr long long kMaxOffscreenPixels = 1LL << 26;

// A transparent image over `area`; empty when the area is empty, over kMaxOffscreenPixels or Cairo fails.
OffscreenImage makeOffscreenImage(const DeviceRect& area, cairo_format_t format);

// Composites `image` onto the target of `cr` (its current group, if any) at its device position,
// through the clip of `cr` and only within the image's area, with `mode` and `alpha`.
// The image's own pixels are scaled by `alpha` on the way.
void compositeOffscreenImage(cairo_t* cr, const OffscreenImage& image, BlendMode mode, double alpha);

}  // namespace platform

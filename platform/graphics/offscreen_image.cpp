#include "platform/graphics/offscreen_image.h"

#include "platform/graphics/plus_darker.h"

namespace platform {

OffscreenImage makeOffscreenImage(const DeviceRect& area, cairo_format_t format) {
  if (area.isEmpty() || area.width() * area.height() > kMaxOffscreenPixels) return {};
  CairoSurfacePtr surface(
      cairo_image_surface_create(format, static_cast<int>(area.width()), static_cast<int>(area.height())));
  if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) return {};
  cairo_surface_set_device_offset(surface.get(), static_cast<double>(-area.x0), static_cast<double>(-area.y0));
  return {std::move(surface), area};
}

void compositeOffscreenImage(cairo_t* cr, const OffscreenImage& image, BlendMode mode, double alpha) {
  if (!image) return;
  if (alpha < 1) {
    // Alpha is folded into the image rather than given as a mask: Cairo treats a mask as coverage,
    // which turns copy into a mix with the backdrop and upsets the HSL modes.
    const CairoContextPtr scale(cairo_create(image.surface.get()));
    cairo_set_operator(scale.get(), CAIRO_OPERATOR_DEST_IN);
    cairo_set_source_rgba(scale.get(), 0, 0, 0, alpha);
    cairo_paint(scale.get());
  }
  cairo_surface_flush(image.surface.get());
  const std::optional<cairo_operator_t> op = cairoOperator(mode);
  if (!op && compositePlusDarker(cr, image)) return;
  cairo_save(cr);
  cairo_identity_matrix(cr);
  // Operators such as copy and source-in also act where the source is transparent: keep them to the image.
  cairo_rectangle(cr, static_cast<double>(image.area.x0), static_cast<double>(image.area.y0),
                  static_cast<double>(image.area.width()), static_cast<double>(image.area.height()));
  cairo_clip(cr);
  // Plus-darker off an image target falls back to multiply, its nearest Cairo operator.
  cairo_set_operator(cr, op.value_or(CAIRO_OPERATOR_MULTIPLY));
  cairo_set_source_surface(cr, image.surface.get(), 0, 0);
  cairo_paint(cr);
  cairo_restore(cr);
}

}  // namespace platform

#include "platform/graphics/shadow_rendering.h"

#include <cmath>

#include "platform/core/numeric.h"
#include "platform/graphics/gaussian_blur.h"

namespace platform {

long long shadowSpread(double sigma) {
  // The kernel's whole reach, so that a shadow drawn in parts is the shadow drawn whole; one more for the fraction of
  // the offset. Device rectangles stay within ±2^30, so a wider spread changes nothing, and callers can add to it
  // without overflow.
  return blurReach(sigma) + 1;
}

OffscreenImage renderShadow(const OffscreenImage& content, double dx, double dy, double sigma, const Color& color,
                            const DeviceRect& visible) {
  const long long spread = shadowSpread(sigma);
  const long long shiftX = saturatingTruncate<long long>(std::floor(dx));
  const long long shiftY = saturatingTruncate<long long>(std::floor(dy));
  // The blur needs the moved alpha with a margin around it, wherever a visible pixel can draw from.
  const DeviceRect moved = grownBy(translatedBy(content.area, shiftX, shiftY), spread + 1);
  const DeviceRect area = intersection(moved, grownBy(visible, spread));
  OffscreenImage mask = makeOffscreenImage(area, CAIRO_FORMAT_A8);
  if (!mask) return {};
  {
    const CairoContextPtr cr(cairo_create(mask.surface.get()));
    cairo_set_source_surface(cr.get(), content.surface.get(), dx, dy);
    cairo_paint(cr.get());
  }
  cairo_surface_flush(mask.surface.get());
  gaussianBlur(mask.surface.get(), sigma);
  cairo_surface_mark_dirty(mask.surface.get());

  OffscreenImage tinted = makeOffscreenImage(intersection(area, visible), CAIRO_FORMAT_ARGB32);
  if (!tinted) return {};
  const CairoContextPtr cr(cairo_create(tinted.surface.get()));
  cairo_set_source_rgba(cr.get(), color.red(), color.green(), color.blue(), color.alpha());
  cairo_mask_surface(cr.get(), mask.surface.get(), 0, 0);
  return tinted;
}

}  // namespace platform

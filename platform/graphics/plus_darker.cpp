#include "platform/graphics/plus_darker.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace platform {

namespace {

std::uint32_t pixelAt(const unsigned char* data, int stride, long long x, long long y) {
  std::uint32_t pixel = 0;
  std::memcpy(&pixel, data + y * stride + x * 4, sizeof pixel);
  return pixel;
}

double channel(std::uint32_t pixel, int shift) { return static_cast<double>((pixel >> shift) & 0xFF) / 255.0; }

std::uint32_t plusDarker(std::uint32_t source, std::uint32_t backdrop) {
  const double sa = channel(source, 24);
  const double da = channel(backdrop, 24);
  std::uint32_t result = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    const double s = channel(source, shift);
    const double d = channel(backdrop, shift);
    const double r = std::max(0.0, da * s + sa * d - sa * da) + s * (1 - da) + d * (1 - sa);
    result |= static_cast<std::uint32_t>(std::clamp(r, 0.0, 1.0) * 255.0 + 0.5) << shift;
  }
  const double ra = sa + da - sa * da;
  result |= static_cast<std::uint32_t>(std::clamp(ra, 0.0, 1.0) * 255.0 + 0.5) << 24;
  return result;
}

}  // namespace

bool compositePlusDarker(cairo_t* cr, const OffscreenImage& source) {
  cairo_surface_t* target = cairo_get_group_target(cr);
  if (cairo_surface_get_type(target) != CAIRO_SURFACE_TYPE_IMAGE ||
      cairo_image_surface_get_format(target) != CAIRO_FORMAT_ARGB32 ||
      cairo_image_surface_get_format(source.surface.get()) != CAIRO_FORMAT_ARGB32) {
    return false;
  }
  cairo_surface_flush(target);
  cairo_surface_flush(source.surface.get());
  double offsetX = 0, offsetY = 0;
  cairo_surface_get_device_offset(target, &offsetX, &offsetY);
  const long long ox = static_cast<long long>(offsetX);
  const long long oy = static_cast<long long>(offsetY);
  // The source's area in the target's pixels, cut to the target.
  const DeviceRect onTarget = intersection(
      translatedBy(source.area, ox, oy),
      DeviceRect{0, 0, cairo_image_surface_get_width(target), cairo_image_surface_get_height(target)});
  if (onTarget.isEmpty()) return true;

  OffscreenImage result = makeOffscreenImage(source.area, CAIRO_FORMAT_ARGB32);
  if (!result) return true;
  const unsigned char* targetData = cairo_image_surface_get_data(target);
  const int targetStride = cairo_image_surface_get_stride(target);
  const unsigned char* sourceData = cairo_image_surface_get_data(source.surface.get());
  const int sourceStride = cairo_image_surface_get_stride(source.surface.get());
  unsigned char* resultData = cairo_image_surface_get_data(result.surface.get());
  const int resultStride = cairo_image_surface_get_stride(result.surface.get());
  for (long long ty = onTarget.y0; ty < onTarget.y1; ++ty) {
    const long long sy = ty - oy - source.area.y0;
    for (long long tx = onTarget.x0; tx < onTarget.x1; ++tx) {
      const long long sx = tx - ox - source.area.x0;
      const std::uint32_t out =
          plusDarker(pixelAt(sourceData, sourceStride, sx, sy), pixelAt(targetData, targetStride, tx, ty));
      std::memcpy(resultData + sy * resultStride + sx * 4, &out, sizeof out);
    }
  }
  cairo_surface_mark_dirty(result.surface.get());

  cairo_save(cr);
  cairo_identity_matrix(cr);
  cairo_rectangle(cr, static_cast<double>(onTarget.x0 - ox), static_cast<double>(onTarget.y0 - oy),
                  static_cast<double>(onTarget.width()), static_cast<double>(onTarget.height()));
  cairo_clip(cr);
  cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
  cairo_set_source_surface(cr, result.surface.get(), 0, 0);
  cairo_paint(cr);
  cairo_restore(cr);
  return true;
}

}  // namespace platform

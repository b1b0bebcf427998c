#include "platform/graphics/device_region.h"

#include <algorithm>
#include <cmath>

#include "platform/core/numeric.h"

namespace platform {

namespace {

constexpr long long kLimit = 1LL << 30;

long long clampEdge(long long v) { return std::clamp(v, -kLimit, kLimit); }

DeviceRect clamped(long long x0, long long y0, long long x1, long long y1) {
  return {clampEdge(x0), clampEdge(y0), clampEdge(x1), clampEdge(y1)};
}

DeviceRect outwardFromDeviceBox(double minX, double minY, double maxX, double maxY) {
  if (!std::isfinite(minX) || !std::isfinite(minY) || !std::isfinite(maxX) || !std::isfinite(maxY)) return {};
  return clamped(saturatingTruncate<long long>(std::floor(minX)), saturatingTruncate<long long>(std::floor(minY)),
                 saturatingTruncate<long long>(std::ceil(maxX)), saturatingTruncate<long long>(std::ceil(maxY)));
}

DeviceRect deviceBoxOfUserBox(cairo_t* cr, double x0, double y0, double x1, double y1) {
  double xs[4] = {x0, x1, x1, x0};
  double ys[4] = {y0, y0, y1, y1};
  for (int i = 0; i < 4; ++i) cairo_user_to_device(cr, &xs[i], &ys[i]);
  return outwardFromDeviceBox(*std::min_element(xs, xs + 4), *std::min_element(ys, ys + 4),
                              *std::max_element(xs, xs + 4), *std::max_element(ys, ys + 4));
}

}  // namespace

DeviceRect deviceBounds(cairo_t* cr, const Rect& r) {
  return deviceBoxOfUserBox(cr, r.origin.x, r.origin.y, r.origin.x + r.size.width, r.origin.y + r.size.height);
}

DeviceRect deviceClipBounds(cairo_t* cr) {
  double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
  cairo_clip_extents(cr, &x0, &y0, &x1, &y1);
  return deviceBoxOfUserBox(cr, x0, y0, x1, y1);
}

DeviceRect intersection(const DeviceRect& a, const DeviceRect& b) {
  const DeviceRect r{std::max(a.x0, b.x0), std::max(a.y0, b.y0), std::min(a.x1, b.x1), std::min(a.y1, b.y1)};
  return r.isEmpty() ? DeviceRect{} : r;
}

DeviceRect unionOf(const DeviceRect& a, const DeviceRect& b) {
  if (a.isEmpty()) return b;
  if (b.isEmpty()) return a;
  return {std::min(a.x0, b.x0), std::min(a.y0, b.y0), std::max(a.x1, b.x1), std::max(a.y1, b.y1)};
}

DeviceRect grownBy(const DeviceRect& r, long long margin) {
  if (r.isEmpty()) return r;
  const long long m = std::clamp(margin, -kLimit, kLimit);
  return clamped(r.x0 - m, r.y0 - m, r.x1 + m, r.y1 + m);
}

DeviceRect translatedBy(const DeviceRect& r, long long dx, long long dy) {
  if (r.isEmpty()) return r;
  const long long tx = std::clamp(dx, -kLimit, kLimit);
  const long long ty = std::clamp(dy, -kLimit, kLimit);
  return clamped(r.x0 + tx, r.y0 + ty, r.x1 + tx, r.y1 + ty);
}

}  // namespace platform

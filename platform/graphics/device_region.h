#pragma once

// Whole-pixel rectangles of device space, for sizing offscreen images.
// Edges are kept within ±2^30 so that sums and sizes cannot overflow.

#include <cairo.h>

#include "platform/core/geometry.h"

namespace platform {

struct DeviceRect {
  long long x0 = 0;
  long long y0 = 0;
  long long x1 = 0;
  long long y1 = 0;

  bool isEmpty() const { return x1 <= x0 || y1 <= y0; }
  long long width() const { return isEmpty() ? 0 : x1 - x0; }
  long long height() const { return isEmpty() ? 0 : y1 - y0; }
  friend bool operator==(const DeviceRect&, const DeviceRect&) = default;
};

// The pixels a user-space rectangle touches under the context's CTM, rounded outward.
// A non-finite rectangle covers nothing.
DeviceRect deviceBounds(cairo_t* cr, const Rect& userRect);
// The pixels of the current clip's bounding box.
DeviceRect deviceClipBounds(cairo_t* cr);

DeviceRect intersection(const DeviceRect& a, const DeviceRect& b);
// The smallest rectangle holding both; an empty one is ignored.
DeviceRect unionOf(const DeviceRect& a, const DeviceRect& b);
DeviceRect grownBy(const DeviceRect& r, long long margin);
DeviceRect translatedBy(const DeviceRect& r, long long dx, long long dy);

}  // namespace platform

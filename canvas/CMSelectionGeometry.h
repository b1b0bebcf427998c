#pragma once

// The arithmetic of selection and direct manipulation, kept free of views so it
// can be checked by hand: the rubber band's rectangle, the rotation handle's
// angle, the size and origin a resize handle gives, the page's snap targets and
// the red helper lines that show them.

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/core/geometry.h"

namespace selection_geometry {

// The band between two canvas points: origin at the smaller coordinates, sides
// the differences truncated toward zero, made positive.
platform::Rect bandRect(platform::Point first, platform::Point second);

// Clockwise degrees from straight up (y grows downwards) of `point` about `center`, in [0, 360); level gives 180.
float angleBetweenPoints(platform::Point point, platform::Point center);

struct HandleResize {
  platform::Size size;      // in view-zoom units divided by k: what setOriginSize takes
  platform::Point origin;   // the new origin, meaningful when movesOrigin
  bool movesOrigin = false;
};

// What dragging resize handle `kind` (1 to 8) by (dx, dy) does to a frame whose
// origin is `origin` and size `size` (view units); k is the view zoom. A side
// dragged past the opposite edge ends one unit wide; "saveratio" applies to the
// edge handles only and is skipped when a side is 0.
HandleResize resizeByHandle(std::int32_t kind, platform::Point origin, platform::Size size, float dx, float dy,
                            float k, bool saveRatio);

// The first of the five snap positions of an edge (left at 0, right at the page
// end, centred, left on the centre line, right on the centre line) that lies
// within 2 units, as the new left (top) coordinate in canvas units.
std::optional<double> snapTarget(double start, double length, double pageLength);

struct HelperLine {
  bool vertical = false;  // a vertical line at x = at, else a horizontal one at y = at
  double at = 0;
};

// The red lines that show which page edge or centre line a frame `bounds` touches on a page of `page` size.
std::vector<HelperLine> helperLines(const platform::Rect& bounds, platform::Size page);

}  // namespace selection_geometry

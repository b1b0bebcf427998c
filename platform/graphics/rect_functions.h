#pragma once

// The platform's rectangle functions with their exact edge rules. Rectangles are
// never normalised: min is the origin, max is origin + size, and a rectangle whose
// width or height is not positive is empty and contains nothing.

#include "platform/core/geometry.h"

namespace platform {

constexpr double minX(const Rect& r) { return r.origin.x; }
constexpr double minY(const Rect& r) { return r.origin.y; }
constexpr double maxX(const Rect& r) { return r.origin.x + r.size.width; }
constexpr double maxY(const Rect& r) { return r.origin.y + r.size.height; }
constexpr double midX(const Rect& r) { return r.origin.x + r.size.width * 0.5; }
constexpr double midY(const Rect& r) { return r.origin.y + r.size.height * 0.5; }

// True when the width or height is not positive (NaN included).
constexpr bool isEmptyRect(const Rect& r) { return !(r.size.width > 0 && r.size.height > 0); }

constexpr bool equalPoints(Point a, Point b) { return a == b; }
constexpr bool equalSizes(Size a, Size b) { return a == b; }
constexpr bool equalRects(const Rect& a, const Rect& b) { return a == b; }

// Min edges inclusive, max edges exclusive.
bool pointInRect(Point point, const Rect& rect);
// Both must be non-empty and overlap openly on both axes.
bool intersectsRect(const Rect& a, const Rect& b);
// True when `inner` is non-empty and lies within `outer` (edges may touch).
bool containsRect(const Rect& outer, const Rect& inner);
// The other rectangle when one is empty; the zero rectangle when both are.
Rect unionRect(const Rect& a, const Rect& b);
// The overlap, or the zero rectangle when it has no positive area.
Rect intersectionRect(const Rect& a, const Rect& b);
// Origin moves by (dx, dy), size shrinks by 2(dx, dy); negative values grow it.
Rect insetRect(const Rect& rect, double dx, double dy);
Rect offsetRect(const Rect& rect, double dx, double dy);
// The smallest rectangle with integral edges that holds `rect`; the zero rectangle when `rect` is empty.
Rect integralRect(const Rect& rect);

}  // namespace platform

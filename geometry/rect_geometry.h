#pragma once

// Rectangle arithmetic for the path operations: pieces and differences, mapping
// between rectangles, aspect fitting. Rectangles are the platform's (origin and
// size, never normalised unless a function says so). Rectangle sets are vectors
// holding each rectangle once (exact equality).

#include <vector>

#include "platform/core/geometry.h"

platform::Rect rectFromPoints(platform::Point a, platform::Point b);
platform::Rect rectCentredOnPoint(platform::Point centre, platform::Size size);
platform::Rect rectMovedToCentre(const platform::Rect& rect, platform::Point centre);
// The zero rectangle counts as empty here (unlike a rectangle that is merely flat).
platform::Rect unionOfRects(const platform::Rect& r1, const platform::Rect& r2);
bool rectsNearlyEqual(const platform::Rect& r1, const platform::Rect& r2, float tolerance);
// The parts of a outside b (b lying within a): up to four pieces with positive width and height.
std::vector<platform::Rect> rectMinusRect(const platform::Rect& a, const platform::Rect& b);
// The parts covered by exactly one of a and b.
std::vector<platform::Rect> differenceOfRects(const platform::Rect& a, const platform::Rect& b);
// (p − origin) / size per axis; an axis of zero extent maps to 0.
platform::Point normalisedPointInRect(platform::Point p, const platform::Rect& rect);
platform::Point pointFromNormalisedPoint(platform::Point p, const platform::Rect& rect);
platform::Point mapPointBetweenRects(platform::Point p, const platform::Rect& source, const platform::Rect& destination);
platform::Rect mapRectBetweenRects(const platform::Rect& rect, const platform::Rect& source,
                                   const platform::Rect& destination);
platform::Rect scaleRectAboutCentre(const platform::Rect& rect, float factor);
// The largest rectangle with the aspect of `size` centred in `rect`, touching two opposite
// sides. A size without a positive, finite aspect gives an empty rectangle at the centre.
platform::Rect fitRectWithAspect(const platform::Rect& rect, platform::Size size);
platform::Rect centreSizeInRect(platform::Size size, const platform::Rect& rect);
platform::Rect normaliseRect(const platform::Rect& rect);

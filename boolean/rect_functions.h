#pragma once

// Rectangle helpers of the engine. Rectangles here keep origin = min and size = max - min.

#include "platform/core/geometry.h"

// Lowers `minimum` and raises `maximum` so that they include `point`.
void PBExpandBoundsByPoint(platform::Point* minimum, platform::Point* maximum, platform::Point point);
// Smallest rectangle holding both; a rectangle of zero width or height still counts.
platform::Rect PBUnionRect(const platform::Rect& rect1, const platform::Rect& rect2);
// The x spans and the y spans each overlap, a gap of at most 1e-6 counting as overlap.
bool PBRectsOverlap(const platform::Rect& rect1, const platform::Rect& rect2);

#pragma once

// Measuring a path along its length: arc lengths in the path's units, in single
// precision, with a bound on the error of curve lengths; slopes in radians. A path
// holding non-finite coordinates (or ones beyond kMaximumCoordinate) measures as empty.

#include "geometry/element_walk.h"
#include "platform/graphics/bezier_path.h"

// An error that is not positive (or NaN) counts as 1e-6.
float usableLengthError(float error);
// The length of a cubic segment: halved until its control polygon exceeds its chord by no
// more than `error` (or by less than single precision resolves, or 48 levels deep), each
// piece measuring (chord + polygon) / 2.
float cubicSegmentLength(const platform::Point segment[4], float error);
// The length of one walked element: 0 for a move, the straight distance for a line or close.
float walkedElementLength(const WalkedElement& element, float error);

float length(const platform::BezierPath& path);
float lengthWithMaximumError(const platform::BezierPath& path, float error);
// −1 for an index outside the path, 0 for element 0 and moves.
float lengthOfElement(const platform::BezierPath& path, int element);
// Sum over first…last (inclusive, clamped to the path); 0 when first > last.
float lengthOfPathFromElement(const platform::BezierPath& path, int first, int last);
// The point at arc length `distance` (element 0's point at 0 or less); `slope` receives
// the direction there when given. A path of fewer than 2 elements (or a NaN length) gives
// (0, 0) and leaves the slope alone.
platform::Point pointOnPathAtLength(const platform::BezierPath& path, float distance, float* slope = nullptr);
float slopeStartingPath(const platform::BezierPath& path);
// The arc length from the start to the point hit within `tolerance`; −1 when the point
// is not on the path.
float distanceFromStartOfPathAtPoint(const platform::BezierPath& path, platform::Point p, float tolerance);
// End point of element 0, of the last element (a close: its subpath's start); (0, 0) when empty.
platform::Point firstPoint(const platform::BezierPath& path);
platform::Point lastPoint(const platform::BezierPath& path);

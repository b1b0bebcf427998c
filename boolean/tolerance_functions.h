#pragma once

// The engine's fixed tolerances. Every comparison of coordinates or parameters
// goes through these so the thresholds stay in one place.

#include <cmath>

#include "platform/core/geometry.h"

constexpr double PBPointCloseThreshold = 1e-10;
constexpr double PBParameterCloseThreshold = 1e-12;
// A point this near a line lies on it, so edges this near each other overlap.
constexpr double PBCollinearDistanceThreshold = 1e-6;
// Rectangles of edges that may overlap must pass the overlap pre-tests, so their gap may be as wide.
constexpr double PBRectOverlapThreshold = PBCollinearDistanceThreshold;
constexpr double PBIsPointThreshold = 1e-5;

// Inline: the clipping and the convex hull compare values in their innermost loops.
inline bool PBAreValuesCloseWithOptions(double value1, double value2, double threshold) {
  return std::fabs(value1 - value2) <= threshold;
}

inline bool PBAreValuesClose(double value1, double value2) {
  return PBAreValuesCloseWithOptions(value1, value2, PBPointCloseThreshold);
}

// Both coordinates differ by at most `threshold`.
inline bool PBArePointsCloseWithOptions(platform::Point point1, platform::Point point2, double threshold) {
  return PBAreValuesCloseWithOptions(point1.x, point2.x, threshold) &&
         PBAreValuesCloseWithOptions(point1.y, point2.y, threshold);
}

// Both coordinates differ by at most 1e-10.
inline bool PBArePointsClose(platform::Point point1, platform::Point point2) {
  return PBArePointsCloseWithOptions(point1, point2, PBPointCloseThreshold);
}

// Strict comparisons that ignore differences within 1e-12.
inline bool PBIsValueGreaterThan(double value, double minimum) {
  return value > minimum && !PBAreValuesCloseWithOptions(value, minimum, PBParameterCloseThreshold);
}

inline bool PBIsValueLessThan(double value, double maximum) {
  return value < maximum && !PBAreValuesCloseWithOptions(value, maximum, PBParameterCloseThreshold);
}

inline bool PBIsValueGreaterThanEqual(double value, double minimum) {
  return value >= minimum || PBAreValuesCloseWithOptions(value, minimum, PBParameterCloseThreshold);
}

inline bool PBIsValueLessThanEqual(double value, double maximum) {
  return value <= maximum || PBAreValuesCloseWithOptions(value, maximum, PBParameterCloseThreshold);
}

// Both values times 10^places, truncated towards zero to 64-bit integers, are equal.
bool PBAreValuesEqualAtDecimalPlaces(double value1, double value2, int places);

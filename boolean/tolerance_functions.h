#pragma once

// The engine's fixed tolerances. Every comparison of coordinates or parameters
// goes through these so the thresholds stay in one place.

#include "platform/core/geometry.h"

constexpr double PBPointCloseThreshold = 1e-10;
constexpr double PBParameterCloseThreshold = 1e-12;
// A point this near a line lies on it, so edges this near each other overlap.
constexpr double PBCollinearDistanceThreshold = 1e-6;
// Rectangles of edges that may overlap must pass the overlap pre-tests, so their gap may be as wide.
constexpr double PBRectOverlapThreshold = PBCollinearDistanceThreshold;
constexpr double PBIsPointThreshold = 1e-5;

// Both coordinates differ by at most 1e-10.
bool PBArePointsClose(platform::Point point1, platform::Point point2);
// Both coordinates differ by at most `threshold`.
bool PBArePointsCloseWithOptions(platform::Point point1, platform::Point point2, double threshold);
bool PBAreValuesClose(double value1, double value2);
bool PBAreValuesCloseWithOptions(double value1, double value2, double threshold);
// Strict comparisons that ignore differences within 1e-12.
bool PBIsValueGreaterThan(double value, double minimum);
bool PBIsValueLessThan(double value, double maximum);
bool PBIsValueGreaterThanEqual(double value, double minimum);
bool PBIsValueLessThanEqual(double value, double maximum);
// Both values times 10^places, truncated towards zero to 64-bit integers, are equal.
bool PBAreValuesEqualAtDecimalPlaces(double value1, double value2, int places);

#pragma once

// Where a layer's place or size is written in whole units (moves and resizes with the pointer), a value within a
// hundredth of a whole unit is that unit: the float arithmetic of a drag leaves a hair below it, and the panels show
// it rounded to hundredths, so cutting it toward zero would lose a unit the user sees. Anything else is cut.

#include <cmath>
#include <cstdint>

#include "platform/core/numeric.h"

inline constexpr double kCMUnitTolerance = 0.01;

inline double CMWithoutNoise(double value) {
  const double whole = std::round(value);
  return std::fabs(value - whole) < kCMUnitTolerance ? whole : value;
}

inline std::int32_t CMWholeUnits(double value) {
  return platform::saturatingTruncate<std::int32_t>(CMWithoutNoise(value));
}

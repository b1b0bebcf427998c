#pragma once

// The one way to truncate a real to an integer: toward zero, saturating at the
// target's limits, NaN to 0. A plain cast is undefined behaviour out of range.
// And the one way to round a real to single precision where that is meant.

#include <cmath>
#include <concepts>
#include <limits>

namespace platform {

template <std::integral T>
constexpr T saturatingTruncate(double value) noexcept {
  if (std::isnan(value)) return 0;
  constexpr double lowest = static_cast<double>(std::numeric_limits<T>::lowest());
  // max() may not be representable as a double (64-bit types): compare against
  // the first power of two above it, which is.
  constexpr double aboveMax = static_cast<double>(std::numeric_limits<T>::max() / 2 + 1) * 2.0;
  if (value <= lowest) return std::numeric_limits<T>::lowest();
  if (value >= aboveMax) return std::numeric_limits<T>::max();
  return static_cast<T>(value);
}

// `value` rounded to single precision (out of its range: infinite). It is read back from a float the optimiser must
// keep: GCC 12 turns two neighbouring double to float to double round trips, an x and a y, into one vector
// conversion each way and then drops both as if nothing were lost, so a plain cast keeps single precision only in
// unoptimised builds.
inline float singlePrecision(double value) noexcept {
  volatile float stored = static_cast<float>(value);
  return stored;
}

}  // namespace platform

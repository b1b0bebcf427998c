#pragma once

// A gradient record's "type": along the box from left to right, about a centre, or along a line at an angle.

#include <cstdint>

inline constexpr std::int64_t kCMGradientLeftToRight = 0;
inline constexpr std::int64_t kCMGradientRadial = 1;
inline constexpr std::int64_t kCMGradientAngled = 2;

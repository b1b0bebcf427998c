#pragma once

// Bits of a point record's "type" (and of its "virtual_type", which wins when non-zero).

#include <cstdint>

inline constexpr std::int64_t kCMPointMove = 1;
inline constexpr std::int64_t kCMPointLine = 2;
inline constexpr std::int64_t kCMPointCurve = 4;
inline constexpr std::int64_t kCMPointClose = 8;

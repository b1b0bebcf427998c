#pragma once

// The largest raster image accepted from outside or made on request: beyond these a decoder's claim is taken as
// hostile or broken rather than allocated.

#include "platform/core/error.h"

namespace platform {

inline constexpr long long kMaxImageSide = 32767;
inline constexpr long long kMaxImageBytes = 256LL << 20;  // at four bytes a pixel

// An error naming the size when either side is not positive or past the limits.
Status checkImageSize(long long width, long long height);

}  // namespace platform

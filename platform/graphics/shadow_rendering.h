#pragma once

// The shadow an offscreen drawing casts: its alpha moved by the shadow offset,
// blurred, and tinted with the shadow colour, all in device space.

#include "platform/graphics/color.h"
#include "platform/graphics/offscreen_image.h"

namespace platform {

// How far past a drawing its shadow's blur reaches, in whole pixels, for a Gaussian of `sigma`.
long long shadowSpread(double sigma);

// The shadow of `content` (ARGB32) moved by (dx, dy) device pixels and blurred with `sigma`,
// as an ARGB32 image cut to `visible`. Empty when nothing of it lands there.
OffscreenImage renderShadow(const OffscreenImage& content, double dx, double dy, double sigma, const Color& color,
                            const DeviceRect& visible);

}  // namespace platform

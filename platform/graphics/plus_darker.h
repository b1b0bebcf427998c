#pragma once

// Plus-darker compositing, which Cairo has no operator for.
//
// Where source and backdrop are opaque the result is, per channel,
// max(0, 1 − ((1 − D) + (1 − S))). For partly transparent pixels the blend is
// composited by the usual separable rule, in premultiplied terms
//   R = max(0, Da·S + Sa·D − Sa·Da) + S·(1 − Da) + D·(1 − Sa),  Ra = Sa + Da − Sa·Da,
// so a transparent source (outside the shape, or a soft edge) leaves the backdrop
// as it was instead of darkening it.
//
// The result is worked out by hand on the target's pixels within the source's area,
// then written back with the copy operator through the clip, so an antialiased clip
// edge mixes it with the backdrop as any other operator's result would be.

#include <cairo.h>

#include "platform/graphics/offscreen_image.h"

namespace platform {

// Composites an ARGB32 `source` onto the target of `cr` (its current group, if any).
// Returns false, drawing nothing, when that target is not an ARGB32 image surface.
bool compositePlusDarker(cairo_t* cr, const OffscreenImage& source);

}  // namespace platform

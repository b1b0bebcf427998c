#pragma once

// How an image fill lays its image into the box of the path's size that starts at the
// origin of the current coordinates (not at the path's corner).

#include "platform/core/geometry.h"
#include "platform/graphics/affine_transform.h"

// "image_draw_type" values; 3 (tile) paints with a pattern colour and needs no placement.
enum class CMImageDrawType : int { Stretch = 0, Centre = 1, Fit = 2, Tile = 3 };

// The transform that maps the image drawn at the origin at its own size into the box:
// stretch scales by (W/w, H/h); centre translates by ((W − w)/2, (H − h)/2); fit scales
// uniformly by the smaller ratio (in single precision) and puts the image against the
// far corner, (W − w·s, H − h·s). Any other value leaves the image where it is.
platform::AffineTransform imagePlacement(int drawType, platform::Size box, platform::Size image);

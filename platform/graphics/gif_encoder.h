#pragma once

// GIF output through giflib: one GIF89a frame, the image quantised to 256 colours (see color_quantizer.h), pixels
// under half alpha transparent.

#include <cairo.h>

#include "platform/core/error.h"
#include "platform/core/value.h"

namespace platform {

// `image`: an ARGB32 or RGB24 image surface of 1…32,767 pixels a side.
Expected<Bytes> encodeGif(cairo_surface_t* image);

}  // namespace platform

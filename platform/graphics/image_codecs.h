#pragma once

// Reading and writing raster image files: gdk-pixbuf decodes whatever it knows (PNG, JPEG, GIF, TIFF, BMP, ...)
// and writes PNG, JPEG, TIFF and BMP; GIF is written through giflib. In memory images are premultiplied ARGB32
// Cairo surfaces.

#include <cairo.h>

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/core/error.h"
#include "platform/core/value.h"

namespace platform {

enum class ImageFileType { Png, Jpeg, Tiff, Bmp, Gif };

// The first frame of the image, upright by its embedded orientation. Unknown or broken data, and images over the
// limits of image_limits.h (checked before any pixel is allocated), are errors. So is SVG, plain or compressed: a
// drawing is read by the program's own SVG reader, never rendered as a picture.
Expected<std::shared_ptr<cairo_surface_t>> decodeImage(std::span<const std::uint8_t> bytes);
// The file extensions of the picture formats decodeImage reads, lower case, without the dot.
std::vector<std::string> readableImageFileTypes();

// `image`: an ARGB32 or RGB24 image surface. PNG and TIFF keep alpha; JPEG and BMP, which have none, get the
// premultiplied colours, as if composited over black. `compressionFactor` (0…1, NSImageCompressionFactor) sets
// JPEG's quality and is ignored otherwise.
Expected<Bytes> encodeImage(cairo_surface_t* image, ImageFileType type, double compressionFactor = 0.9);

}  // namespace platform

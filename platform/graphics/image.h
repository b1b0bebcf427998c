#pragma once

// A raster image as AppKit's NSImage: pixels in a premultiplied ARGB32 Cairo surface with a size in points (one
// pixel a point unless made with a fractional size), read from files or data, drawn into the current graphics
// context, drawn into through lockFocus, and written out in the usual file formats.

#include <cairo.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>

#include "platform/core/error.h"
#include "platform/core/geometry.h"
#include "platform/core/value.h"
#include "platform/graphics/compositing_operation.h"
#include "platform/graphics/image_codecs.h"

namespace platform {

class GraphicsContext;

class Image {
 public:
  // initWithSize: transparent, ⌈width⌉ × ⌈height⌉ pixels. A size that is negative or not finite counts as zero; one
  // past the limits of image_limits.h gives no pixels at all (drawing it or into it does nothing).
  explicit Image(Size size);
  // Adopts an ARGB32 image surface; its size in points is its size in pixels.
  explicit Image(std::shared_ptr<cairo_surface_t> surface);
  // The largest picture file read: past it, or for anything but a regular file (a device, a pipe), fromFile fails
  // before reading.
  static constexpr std::uint64_t kLargestFile = 256u << 20;
  // initWithData: / initWithContentsOfFile: through decodeImage.
  static Expected<Image> fromData(std::span<const std::uint8_t> data);
  static Expected<Image> fromFile(const std::filesystem::path& path);

  Image(Image&&) noexcept;
  Image& operator=(Image&&) noexcept;
  Image(const Image&) = delete;
  Image& operator=(const Image&) = delete;
  // Still focused: the image's context is taken off the current-context stack if it is on top.
  ~Image();

  Size size() const { return size_; }
  int pixelsWide() const;
  int pixelsHigh() const;
  // The pixels, shared (for pattern colours and direct access).
  const std::shared_ptr<cairo_surface_t>& surface() const { return surface_; }

  // lockFocus / unlockFocus: the image becomes the current graphics context, y-up (origin at its bottom-left, one
  // unit a point), not flipped. Calls nest; each unlock pops once, the last one flushes the pixels.
  void lockFocus();
  void unlockFocus();

  // drawInRect:fromRect:operation:fraction: into the current graphics context (nothing without one).
  // `fromRect` is in the image's own y-up points; the zero rectangle means the whole image, parts outside the image
  // are transparent. `fraction` (0…1) multiplies the context's alpha. The context's shadow, clip and CTM apply.
  //
  // Orientation, as AppKit's: the image is laid into `rect` in the context's user space with its bottom row at the
  // rectangle's minimum y and its top row at its maximum y. In an unflipped (y-up) context it shows upright; in a
  // flipped one, where y grows downward, its top row lands at the bottom of the rectangle on screen, so the image
  // shows upside down unless the caller flips the CTM around it, as code written for AppKit does.
  void drawInRect(const Rect& rect, const Rect& fromRect, CompositingOperation operation, double fraction) const;
  // drawAtPoint:fromRect:operation:fraction: — the source at its own size with its bottom-left corner at `point`.
  void drawAtPoint(Point point, const Rect& fromRect, CompositingOperation operation, double fraction) const;

  // representationUsingType:properties: on the image's pixels.
  Expected<Bytes> representation(ImageFileType type, double compressionFactor = 0.9) const;

 private:
  Image(std::shared_ptr<cairo_surface_t> surface, Size size);
  Rect sourceRectFor(const Rect& fromRect) const;
  void paint(cairo_t* cr, const Rect& rect, const Rect& source) const;

  std::shared_ptr<cairo_surface_t> surface_;
  Size size_;
  std::unique_ptr<GraphicsContext> focus_;
  int focusDepth_ = 0;
};

}  // namespace platform

#include "platform/graphics/image.h"

#include <algorithm>
#include <cmath>

#include "platform/core/files.h"
#include "platform/core/numeric.h"
#include "platform/graphics/graphics_context.h"
#include "platform/graphics/image_limits.h"
#include "platform/graphics/offscreen_image.h"

namespace platform {

namespace {

double sanitisedLength(double length) { return std::isfinite(length) && length > 0 ? length : 0; }

bool isFinite(const Rect& r) {
  return std::isfinite(r.origin.x) && std::isfinite(r.origin.y) && std::isfinite(r.size.width) &&
         std::isfinite(r.size.height);
}

std::shared_ptr<cairo_surface_t> blankSurface(Size size) {
  long long width = saturatingTruncate<long long>(std::ceil(size.width));
  long long height = saturatingTruncate<long long>(std::ceil(size.height));
  if (width > 0 && height > 0 && !checkImageSize(width, height)) width = height = 0;
  return {cairo_image_surface_create(CAIRO_FORMAT_ARGB32, static_cast<int>(width), static_cast<int>(height)),
          cairo_surface_destroy};
}

}  // namespace

Image::Image(Size size)
    : Image(blankSurface({sanitisedLength(size.width), sanitisedLength(size.height)}),
            {sanitisedLength(size.width), sanitisedLength(size.height)}) {}

Image::Image(std::shared_ptr<cairo_surface_t> surface) : surface_(std::move(surface)) {
  size_ = {static_cast<double>(pixelsWide()), static_cast<double>(pixelsHigh())};
}

Image::Image(std::shared_ptr<cairo_surface_t> surface, Size size) : surface_(std::move(surface)), size_(size) {}

Expected<Image> Image::fromData(std::span<const std::uint8_t> data) {
  Expected<std::shared_ptr<cairo_surface_t>> decoded = decodeImage(data);
  if (!decoded) return decoded.error();
  return Image(std::move(decoded).value());
}

Expected<Image> Image::fromFile(const std::filesystem::path& path) {
  Expected<Bytes> bytes = readFile(path, kLargestFile);
  if (!bytes) return bytes.error();
  return fromData(bytes.value());
}

Image::Image(Image&&) noexcept = default;
Image& Image::operator=(Image&&) noexcept = default;

Image::~Image() {
  while (focus_ && focusDepth_ > 0 && GraphicsContext::current() == focus_.get()) {
    GraphicsContext::pop();
    --focusDepth_;
  }
}

int Image::pixelsWide() const { return surface_ ? cairo_image_surface_get_width(surface_.get()) : 0; }
int Image::pixelsHigh() const { return surface_ ? cairo_image_surface_get_height(surface_.get()) : 0; }

void Image::lockFocus() {
  if (!surface_) return;
  if (!focus_) {
    focus_ = std::make_unique<GraphicsContext>(surface_.get(), pixelsHigh(), false);
    // Points to pixels, for an image made with a fractional size.
    if (size_.width > 0 && size_.height > 0) focus_->scaleCTM(pixelsWide() / size_.width, pixelsHigh() / size_.height);
  }
  GraphicsContext::push(*focus_);
  ++focusDepth_;
}

void Image::unlockFocus() {
  if (focusDepth_ == 0) return;
  GraphicsContext::pop();
  if (--focusDepth_ == 0) {
    focus_.reset();
    cairo_surface_flush(surface_.get());
  }
}

Rect Image::sourceRectFor(const Rect& fromRect) const {
  return fromRect == Rect{} ? Rect{0, 0, size_.width, size_.height} : fromRect;
}

void Image::drawInRect(const Rect& rect, const Rect& fromRect, CompositingOperation operation, double fraction) const {
  GraphicsContext* context = GraphicsContext::current();
  const Rect source = sourceRectFor(fromRect);
  if (context == nullptr || !surface_ || pixelsWide() == 0 || pixelsHigh() == 0 || !isFinite(rect) ||
      !isFinite(source) || rect.size.width <= 0 || rect.size.height <= 0 || source.size.width <= 0 ||
      source.size.height <= 0 || !(fraction > 0)) {
    return;
  }
  context->saveGraphicsState();
  context->setBlendMode(blendModeFor(operation));
  context->setAlpha(context->alpha() * std::min(fraction, 1.0));
  context->drawWithEffects([&](cairo_t* cr) { paint(cr, rect, source); }, rect);
  context->restoreGraphicsState();
}

void Image::drawAtPoint(Point point, const Rect& fromRect, CompositingOperation operation, double fraction) const {
  const Rect source = sourceRectFor(fromRect);
  drawInRect({point, source.size}, fromRect, operation, fraction);
}

void Image::paint(cairo_t* cr, const Rect& rect, const Rect& source) const {
  // The source in pixels (rows counted from the top), rounded outward and cut to the image. Sampling only this
  // part keeps neighbouring pixels from bleeding in at its edges when it is scaled.
  const double pointsToPixelsX = pixelsWide() / size_.width;
  const double pointsToPixelsY = pixelsHigh() / size_.height;
  const double left = source.origin.x * pointsToPixelsX;
  const double right = (source.origin.x + source.size.width) * pointsToPixelsX;
  const double top = pixelsHigh() - (source.origin.y + source.size.height) * pointsToPixelsY;
  const double bottom = pixelsHigh() - source.origin.y * pointsToPixelsY;
  const int x0 = saturatingTruncate<int>(std::floor(std::max(0.0, left)));
  const int x1 = saturatingTruncate<int>(std::ceil(std::min<double>(pixelsWide(), right)));
  const int y0 = saturatingTruncate<int>(std::floor(std::max(0.0, top)));
  const int y1 = saturatingTruncate<int>(std::ceil(std::min<double>(pixelsHigh(), bottom)));
  if (x1 <= x0 || y1 <= y0) return;  // the source lies wholly outside the image

  // User space → pixels of that part: x scales from the rectangle onto the source; y does too, and turns over
  // because pixel rows run top-down while the image's points run bottom-up.
  const double sx = (right - left) / rect.size.width;
  const double sy = (bottom - top) / rect.size.height;
  cairo_matrix_t toPixels;
  cairo_matrix_init(&toPixels, sx, 0, 0, -sy, left - rect.origin.x * sx - x0, bottom + rect.origin.y * sy - y0);
  cairo_matrix_t check = toPixels;
  // A singular matrix would put the context into Cairo's permanent error state.
  if (cairo_matrix_invert(&check) != CAIRO_STATUS_SUCCESS) return;

  const CairoSurfacePtr part(cairo_surface_create_for_rectangle(surface_.get(), x0, y0, x1 - x0, y1 - y0));
  cairo_pattern_t* pattern = cairo_pattern_create_for_surface(part.get());
  cairo_pattern_set_matrix(pattern, &toPixels);
  cairo_pattern_set_filter(pattern, CAIRO_FILTER_GOOD);
  // Inside the image the edge pixels are repeated so that scaling keeps crisp edges; beyond it is transparent.
  const bool withinImage = left >= 0 && top >= 0 && right <= pixelsWide() && bottom <= pixelsHigh();
  cairo_pattern_set_extend(pattern, withinImage ? CAIRO_EXTEND_PAD : CAIRO_EXTEND_NONE);
  cairo_save(cr);
  cairo_rectangle(cr, rect.origin.x, rect.origin.y, rect.size.width, rect.size.height);
  cairo_clip(cr);
  cairo_set_source(cr, pattern);
  cairo_paint(cr);
  cairo_restore(cr);
  cairo_pattern_destroy(pattern);
}

Expected<Bytes> Image::representation(ImageFileType type, double compressionFactor) const {
  return encodeImage(surface_.get(), type, compressionFactor);
}

}  // namespace platform

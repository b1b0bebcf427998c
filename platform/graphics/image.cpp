#include "platform/graphics/image.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

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

// Beyond this many device pixels per image pixel Cairo's fixed-point image transforms lose the scale (and have been
// seen to crash inside cairo_paint), so such a picture is drawn as one filled rectangle per image pixel instead.
constexpr double kLargestMagnification = 4096;

double deviceMagnification(cairo_t* cr, const cairo_matrix_t& toPixels) {
  double ux = 1 / std::abs(toPixels.xx), uy = 0, vx = 0, vy = 1 / std::abs(toPixels.yy);
  cairo_user_to_device_distance(cr, &ux, &uy);
  cairo_user_to_device_distance(cr, &vx, &vy);
  return std::max(std::hypot(ux, uy), std::hypot(vx, vy));
}

// Fills, cut to `rect` and the clip, the user-space cell of every image pixel of `part` the clip can show. At this
// magnification only a handful of pixels are visible, and no coordinate handed to Cairo exceeds the clip's.
void paintPixelCells(cairo_t* cr, cairo_surface_t* part, const cairo_matrix_t& toPixels, const Rect& rect) {
  double clipX0, clipY0, clipX1, clipY1;
  cairo_clip_extents(cr, &clipX0, &clipY0, &clipX1, &clipY1);
  clipX0 = std::max(clipX0, rect.origin.x);
  clipY0 = std::max(clipY0, rect.origin.y);
  clipX1 = std::min(clipX1, rect.origin.x + rect.size.width);
  clipY1 = std::min(clipY1, rect.origin.y + rect.size.height);
  if (!(clipX1 > clipX0 && clipY1 > clipY0)) return;
  cairo_surface_t* image = cairo_surface_map_to_image(part, nullptr);
  const cairo_format_t format = cairo_image_surface_get_format(image);
  const int width = cairo_image_surface_get_width(image), height = cairo_image_surface_get_height(image);
  // toPixels only scales and translates, so the clip's corners bound the pixels it meets.
  double px0 = clipX0, py0 = clipY0, px1 = clipX1, py1 = clipY1;
  cairo_matrix_transform_point(&toPixels, &px0, &py0);
  cairo_matrix_transform_point(&toPixels, &px1, &py1);
  const int i0 = std::clamp(saturatingTruncate<int>(std::floor(std::min(px0, px1))), 0, width);
  const int i1 = std::clamp(saturatingTruncate<int>(std::ceil(std::max(px0, px1))), 0, width);
  const int j0 = std::clamp(saturatingTruncate<int>(std::floor(std::min(py0, py1))), 0, height);
  const int j1 = std::clamp(saturatingTruncate<int>(std::ceil(std::max(py0, py1))), 0, height);
  if (format == CAIRO_FORMAT_ARGB32 || format == CAIRO_FORMAT_RGB24) {
    cairo_matrix_t toUser = toPixels;
    cairo_matrix_invert(&toUser);
    const unsigned char* data = cairo_image_surface_get_data(image);
    const int stride = cairo_image_surface_get_stride(image);
    for (int j = j0; j < j1; ++j) {
      for (int i = i0; i < i1; ++i) {
        std::uint32_t argb;
        std::memcpy(&argb, data + static_cast<std::ptrdiff_t>(j) * stride + 4 * i, sizeof argb);
        const double alpha = format == CAIRO_FORMAT_RGB24 ? 1 : (argb >> 24) / 255.0;
        if (alpha == 0) continue;
        const auto channel = [&](int shift) { return ((argb >> shift) & 0xff) / 255.0 / alpha; };
        double x0 = i, y0 = j, x1 = i + 1, y1 = j + 1;
        cairo_matrix_transform_point(&toUser, &x0, &y0);
        cairo_matrix_transform_point(&toUser, &x1, &y1);
        const double left = std::max(std::min(x0, x1), clipX0), right = std::min(std::max(x0, x1), clipX1);
        const double top = std::max(std::min(y0, y1), clipY0), bottom = std::min(std::max(y0, y1), clipY1);
        if (!(right > left && bottom > top)) continue;
        cairo_set_source_rgba(cr, channel(16), channel(8), channel(0), alpha);
        cairo_rectangle(cr, left, top, right - left, bottom - top);
        cairo_fill(cr);
      }
    }
  }
  cairo_surface_unmap_image(part, image);
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
  if (deviceMagnification(cr, toPixels) > kLargestMagnification) {
    paintPixelCells(cr, part.get(), toPixels, rect);
    return;
  }
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

#include <algorithm>
#include <cmath>
#include <functional>
#include <optional>

#include "platform/core/numeric.h"
#include "platform/graphics/bezier_path_drawing.h"
#include "platform/graphics/finite_geometry.h"
#include "platform/graphics/graphics_context.h"
#include "platform/graphics/offscreen_image.h"
#include "platform/graphics/shadow_rendering.h"

namespace platform {

namespace {

// Operators that Cairo applies outside the drawn shape too.
bool isUnbounded(cairo_operator_t op) {
  return op == CAIRO_OPERATOR_IN || op == CAIRO_OPERATOR_OUT || op == CAIRO_OPERATOR_DEST_IN ||
         op == CAIRO_OPERATOR_DEST_ATOP;
}

// What a path's ink can cover in user space: its bounds, widened for a stroke by the
// farthest a miter or square cap reaches.
Rect inkBounds(const BezierPath& path, bool stroke) {
  Rect box = path.controlPointBounds();
  if (!stroke) return box;
  const double width = path.lineWidth() > 0 ? path.lineWidth() : 0;
  const double miter = std::isfinite(path.miterLimit()) ? std::max(path.miterLimit(), std::sqrt(2.0)) : 10.0;
  const double reach = width / 2 * miter;
  return {box.origin.x - reach, box.origin.y - reach, box.size.width + 2 * reach, box.size.height + 2 * reach};
}

struct ShadowInDevice {
  double dx = 0;
  double dy = 0;
  double sigma = 0;
};

// Pictures on a page (a shadow's blur, a blend mode Cairo lacks) are made at print resolution, 300 ppi, or as near as
// the largest offscreen image allows over `area`.
double pagePixelsPerUnit(const DeviceRect& area) {
  const double pixels = static_cast<double>(area.width()) * static_cast<double>(area.height());
  return std::min(300.0 / 72, std::sqrt(static_cast<double>(kMaxOffscreenPixels) / std::max(pixels, 1.0)));
}

DeviceRect scaledBy(const DeviceRect& r, double k) {
  const auto whole = [](double v) { return saturatingTruncate<long long>(v); };
  return {whole(std::floor(r.x0 * k)), whole(std::floor(r.y0 * k)), whole(std::ceil(r.x1 * k)),
          whole(std::ceil(r.y1 * k))};
}

// The content painted into a picture of `area` of device space at `k` pixels a device unit.
OffscreenImage pagePicture(cairo_t* cr, const std::function<void(cairo_t*)>& paint, const DeviceRect& area, double k) {
  OffscreenImage image = makeOffscreenImage(scaledBy(area, k), CAIRO_FORMAT_ARGB32);
  if (!image) return image;
  const CairoContextPtr offscreen(cairo_create(image.surface.get()));
  cairo_matrix_t ctm, scale;
  cairo_get_matrix(cr, &ctm);
  cairo_matrix_init_scale(&scale, k, k);
  cairo_matrix_multiply(&ctm, &ctm, &scale);
  cairo_set_matrix(offscreen.get(), &ctm);
  cairo_set_antialias(offscreen.get(), cairo_get_antialias(cr));
  cairo_set_tolerance(offscreen.get(), cairo_get_tolerance(cr));
  paint(offscreen.get());
  return image;
}

// A picture made at `k` pixels a device unit laid onto the page in its place.
void paintPagePicture(cairo_t* cr, const OffscreenImage& image, double k, cairo_operator_t op, double alpha) {
  if (!image) return;
  cairo_surface_flush(image.surface.get());
  cairo_surface_set_device_offset(image.surface.get(), 0, 0);
  cairo_pattern_t* pattern = cairo_pattern_create_for_surface(image.surface.get());
  cairo_matrix_t toPixels;
  cairo_matrix_init(&toPixels, k, 0, 0, k, -static_cast<double>(image.area.x0), -static_cast<double>(image.area.y0));
  cairo_pattern_set_matrix(pattern, &toPixels);
  cairo_save(cr);
  cairo_identity_matrix(cr);
  cairo_rectangle(cr, static_cast<double>(image.area.x0) / k, static_cast<double>(image.area.y0) / k,
                  static_cast<double>(image.area.width()) / k, static_cast<double>(image.area.height()) / k);
  cairo_clip(cr);
  cairo_set_operator(cr, op);
  cairo_set_source(cr, pattern);
  cairo_paint_with_alpha(cr, alpha);
  cairo_restore(cr);
  cairo_pattern_destroy(pattern);
}

// A page keeps as vectors what Cairo can draw: the content goes through a group composited with the mode and alpha,
// and only what needs pixels (a shadow's blur, a mode Cairo lacks) becomes a picture, at print resolution.
void drawOnPage(cairo_t* cr, const std::function<void(cairo_t*)>& paint, const DeviceRect& area,
                const DeviceRect& clip, const std::optional<ShadowInDevice>& shadow, const Color& shadowColor,
                std::optional<cairo_operator_t> op, double alpha) {
  const double k = pagePixelsPerUnit(area);
  if (shadow) {
    const OffscreenImage content = pagePicture(cr, paint, area, k);
    if (content) {
      const OffscreenImage cast =
          renderShadow(content, shadow->dx * k, shadow->dy * k, shadow->sigma * k, shadowColor, scaledBy(clip, k));
      paintPagePicture(cr, cast, k, op.value_or(CAIRO_OPERATOR_MULTIPLY), alpha);
    }
  }
  if (!op) {
    // Plus-darker reads the backdrop, which a page cannot give: multiply is its nearest Cairo operator.
    return paintPagePicture(cr, pagePicture(cr, paint, area, k), k, CAIRO_OPERATOR_MULTIPLY, alpha);
  }
  cairo_save(cr);
  cairo_matrix_t ctm;
  cairo_get_matrix(cr, &ctm);
  cairo_identity_matrix(cr);
  // Operators such as copy and source-in also act where the content is transparent: keep them to what it covers.
  cairo_rectangle(cr, static_cast<double>(area.x0), static_cast<double>(area.y0), static_cast<double>(area.width()),
                  static_cast<double>(area.height()));
  cairo_clip(cr);
  cairo_set_matrix(cr, &ctm);
  cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
  cairo_push_group(cr);
  paint(cr);
  cairo_pop_group_to_source(cr);
  cairo_set_operator(cr, *op);
  cairo_paint_with_alpha(cr, alpha);
  cairo_restore(cr);
}

bool isPage(cairo_t* cr) {
  const cairo_surface_type_t type = cairo_surface_get_type(cairo_get_target(cr));
  return type == CAIRO_SURFACE_TYPE_PDF || type == CAIRO_SURFACE_TYPE_PS || type == CAIRO_SURFACE_TYPE_SVG;
}

}  // namespace

void GraphicsContext::setSource(cairo_t* cr, const Color& color) const {
  if (!color.isPattern()) {
    cairo_set_source_rgba(cr, color.red(), color.green(), color.blue(), color.alpha());
    return;
  }
  cairo_pattern_t* pattern = cairo_pattern_create_for_surface(color.patternImage().get());
  cairo_pattern_set_extend(pattern, CAIRO_EXTEND_REPEAT);
  // User → device → base, then y turned down: image rows run downward from the top of each tile,
  // tiles sit on the base origin, and one image pixel spans one base unit whatever the CTM.
  cairo_matrix_t userToDevice;
  cairo_get_matrix(cr, &userToDevice);
  cairo_matrix_t deviceToBase = base_;
  if (cairo_matrix_invert(&deviceToBase) != CAIRO_STATUS_SUCCESS) cairo_matrix_init_identity(&deviceToBase);
  cairo_matrix_t baseToImage;
  cairo_matrix_init_scale(&baseToImage, 1, -1);
  cairo_matrix_t userToBase, userToImage;
  cairo_matrix_multiply(&userToBase, &userToDevice, &deviceToBase);
  cairo_matrix_multiply(&userToImage, &userToBase, &baseToImage);
  cairo_pattern_set_matrix(pattern, &userToImage);
  cairo_set_source(cr, pattern);
  cairo_pattern_destroy(pattern);
}

void GraphicsContext::fillPath(const BezierPath& path) { drawPath(path, false, state_.fill); }

void GraphicsContext::strokePath(const BezierPath& path) { drawPath(path, true, state_.stroke); }

void GraphicsContext::drawPath(const BezierPath& path, bool strokeIt, const Color& color) {
  const Rect bounds = inkBounds(path, strokeIt);
  if (path.isEmpty() || !isFinitePath(path) || !isFiniteRect(bounds)) return;
  drawPrimitive(
      [&](cairo_t* cr) {
        setSource(cr, color);
        strokeIt ? stroke(path, cr) : fill(path, cr);
      },
      bounds, true);
}

void GraphicsContext::rectFill(const Rect& rect) { rectFillUsingBlendMode(rect, BlendMode::Copy); }

void GraphicsContext::rectFillUsingBlendMode(const Rect& rect, BlendMode mode) {
  if (!isFiniteRect(rect)) return;
  const BlendMode previous = state_.blendMode;
  state_.blendMode = mode;
  drawPrimitive(
      [&](cairo_t* cr) {
        setSource(cr, state_.fill);
        cairo_rectangle(cr, rect.origin.x, rect.origin.y, rect.size.width, rect.size.height);
        cairo_fill(cr);
      },
      rect, true);
  state_.blendMode = previous;
}

void GraphicsContext::drawWithEffects(const std::function<void(cairo_t*)>& paint, std::optional<Rect> userBounds) {
  if (userBounds && !isFiniteRect(*userBounds)) return;
  drawPrimitive(paint, userBounds, false);
}

void GraphicsContext::drawPrimitive(const std::function<void(cairo_t*)>& paint, std::optional<Rect> userBounds,
                                    bool singleOperation) {
  if (cairo_status(cr_) != CAIRO_STATUS_SUCCESS) return;
  const State& s = state_;
  const std::optional<cairo_operator_t> op = cairoOperator(s.blendMode);
  std::optional<ShadowInDevice> shadow;
  if (s.shadow && s.shadow->color.alpha() > 0 && std::isfinite(s.shadow->offset.width) &&
      std::isfinite(s.shadow->offset.height) && std::isfinite(s.shadow->blurRadius)) {
    // The offset is a base-space displacement: only the base space's own flip applies, never the CTM.
    const Size o = s.shadow->offset;
    shadow = ShadowInDevice{base_.xx * o.width + base_.xy * o.height, base_.yx * o.width + base_.yy * o.height,
                            std::max(0.0, s.shadow->blurRadius / 2)};
  }
  if (s.blendMode == BlendMode::Normal && s.alpha == 0 && !shadow) return;

  // One Cairo operation composites exactly as the mode asks; anything else goes through an offscreen image.
  const bool direct = !shadow && s.alpha == 1 && op &&
                      (*op == CAIRO_OPERATOR_OVER || (singleOperation && !isUnbounded(*op)));
  const DeviceRect clip = deviceClipBounds(cr_);
  DeviceRect reach = clip;
  if (shadow) {
    // Content off the clip can still cast a shadow into it.
    const long long margin = shadowSpread(shadow->sigma) + 2;
    // Saturated before the shift: an offset past the integers' range must not overflow on the way.
    const long long dx = saturatingTruncate<long long>(std::round(-shadow->dx));
    const long long dy = saturatingTruncate<long long>(std::round(-shadow->dy));
    reach = unionOf(clip, grownBy(translatedBy(clip, dx, dy), margin));
  }
  const DeviceRect drawn = userBounds ? grownBy(deviceBounds(cr_, *userBounds), 2) : clip;
  const DeviceRect area = intersection(drawn, reach);
  if (area.isEmpty() && !direct) return;
  if (!direct && isPage(cr_)) {
    return drawOnPage(cr_, paint, area, clip, shadow, shadow ? s.shadow->color : Color(), op, s.alpha);
  }
  OffscreenImage content = direct ? OffscreenImage{} : makeOffscreenImage(area, CAIRO_FORMAT_ARGB32);
  if (!content) {
    // Directly, or (when an offscreen image would be absurdly large) without the effects.
    cairo_save(cr_);
    cairo_set_operator(cr_, op.value_or(CAIRO_OPERATOR_OVER));
    paint(cr_);
    cairo_restore(cr_);
    return;
  }
  {
    const CairoContextPtr offscreen(cairo_create(content.surface.get()));
    cairo_matrix_t ctm;
    cairo_get_matrix(cr_, &ctm);
    cairo_set_matrix(offscreen.get(), &ctm);
    cairo_set_antialias(offscreen.get(), cairo_get_antialias(cr_));
    cairo_set_tolerance(offscreen.get(), cairo_get_tolerance(cr_));
    paint(offscreen.get());
  }
  if (shadow) {
    const OffscreenImage cast = renderShadow(content, shadow->dx, shadow->dy, shadow->sigma, s.shadow->color, clip);
    compositeOffscreenImage(cr_, cast, s.blendMode, s.alpha);
  }
  compositeOffscreenImage(cr_, content, s.blendMode, s.alpha);
}

}  // namespace platform

#include <algorithm>
#include <cmath>

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

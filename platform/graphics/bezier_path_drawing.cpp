#include "platform/graphics/bezier_path_drawing.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/graphics/cairo_path.h"
#include "platform/graphics/device_region.h"

namespace platform {

namespace {

cairo_fill_rule_t fillRule(WindingRule rule) {
  return rule == WindingRule::EvenOdd ? CAIRO_FILL_RULE_EVEN_ODD : CAIRO_FILL_RULE_WINDING;
}

// Cairo rejects a dash with a negative or non-finite entry or with no positive one
// by entering a permanent error state; such a dash strokes solid instead.
bool dashIsDrawable(const LineDash& dash) {
  const auto& pattern = dash.pattern;
  if (pattern.empty() || !std::isfinite(dash.phase)) return false;
  const bool allValid =
      std::all_of(pattern.begin(), pattern.end(), [](double d) { return std::isfinite(d) && d >= 0; });
  return allValid && std::any_of(pattern.begin(), pattern.end(), [](double d) { return d > 0; });
}

// A width that is not positive means the thinnest visible line: one device pixel.
double drawableLineWidth(double width, cairo_t* cr) {
  if (width > 0 && std::isfinite(width)) return width;
  double dx = 1, dy = 0, ex = 0, ey = 1;
  cairo_device_to_user_distance(cr, &dx, &dy);
  cairo_device_to_user_distance(cr, &ex, &ey);
  return std::max(std::hypot(dx, dy), std::hypot(ex, ey));
}

cairo_line_cap_t cairoCap(LineCap cap) {
  switch (cap) {
    case LineCap::Round:
      return CAIRO_LINE_CAP_ROUND;
    case LineCap::Square:
      return CAIRO_LINE_CAP_SQUARE;
    case LineCap::Butt:
      break;
  }
  return CAIRO_LINE_CAP_BUTT;
}

cairo_line_join_t cairoJoin(LineJoin join) {
  switch (join) {
    case LineJoin::Round:
      return CAIRO_LINE_JOIN_ROUND;
    case LineJoin::Bevel:
      return CAIRO_LINE_JOIN_BEVEL;
    case LineJoin::Miter:
      break;
  }
  return CAIRO_LINE_JOIN_MITER;
}

void setPath(const BezierPath& path, cairo_t* cr) {
  cairo_new_path(cr);
  appendToCairo(cr, path);
}

}  // namespace

void fill(const BezierPath& path, cairo_t* cr) {
  const cairo_fill_rule_t previousRule = cairo_get_fill_rule(cr);
  setPath(path, cr);
  cairo_set_fill_rule(cr, fillRule(path.windingRule()));
  cairo_fill(cr);
  cairo_set_fill_rule(cr, previousRule);
}

void stroke(const BezierPath& path, cairo_t* cr) {
  // save/restore puts the context's own line attributes back; the path is not part of the saved state.
  cairo_save(cr);
  setPath(path, cr);
  cairo_set_line_width(cr, drawableLineWidth(path.lineWidth(), cr));
  cairo_set_line_cap(cr, cairoCap(path.lineCapStyle()));
  cairo_set_line_join(cr, cairoJoin(path.lineJoinStyle()));
  cairo_set_miter_limit(cr, std::isfinite(path.miterLimit()) ? path.miterLimit() : 10.0);
  const LineDash& dash = path.lineDash();
  if (dashIsDrawable(dash)) {
    cairo_set_dash(cr, dash.pattern.data(), static_cast<int>(dash.pattern.size()), dash.phase);
  } else {
    cairo_set_dash(cr, nullptr, 0, 0);
  }
  cairo_stroke(cr);
  cairo_restore(cr);
}

void addClip(const BezierPath& path, cairo_t* cr) {
  // Cairo's clipper can fail on a path far beyond its fixed-point range (a layer placed at 1e19 crashed
  // it). A path that cannot meet the clip leaves nothing anyway, so the clip is emptied without it.
  cairo_matrix_t matrix;
  cairo_get_matrix(cr, &matrix);
  cairo_identity_matrix(cr);
  const DeviceRect clip = deviceClipBounds(cr);
  cairo_set_matrix(cr, &matrix);
  const bool meets = !path.isEmpty() && !intersection(deviceBounds(cr, path.controlPointBounds()), clip).isEmpty();
  if (!meets) {
    cairo_identity_matrix(cr);
    cairo_new_path(cr);
    cairo_rectangle(cr, 0, 0, 0, 0);
    cairo_clip(cr);
    cairo_set_matrix(cr, &matrix);
    return;
  }
  const cairo_fill_rule_t previousRule = cairo_get_fill_rule(cr);
  setPath(path, cr);
  cairo_set_fill_rule(cr, fillRule(path.windingRule()));
  cairo_clip(cr);
  cairo_set_fill_rule(cr, previousRule);
}

void fillRect(const Rect& rect, cairo_t* cr) { fill(BezierPath::rect(rect), cr); }

void strokeRect(const Rect& rect, cairo_t* cr) { stroke(BezierPath::rect(rect), cr); }

}  // namespace platform

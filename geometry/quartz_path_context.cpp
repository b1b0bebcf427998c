#include "geometry/quartz_path_context.h"

#include <cmath>

#include "geometry/quartz_path_conversion.h"
#include "platform/graphics/cairo_path.h"
#include "platform/graphics/finite_geometry.h"

using platform::BezierPath;
using platform::GraphicsContext;

namespace {

// Cairo enters a permanent error state on such dashes, so they go through as solid.
bool isDrawableDash(const platform::LineDash& dash) {
  if (!std::isfinite(dash.phase)) return false;
  bool anyPositive = false;
  for (const double length : dash.pattern) {
    if (!std::isfinite(length) || length < 0) return false;
    anyPositive = anyPositive || length > 0;
  }
  return anyPositive;
}

cairo_line_cap_t cairoCap(platform::LineCap cap) {
  switch (cap) {
    case platform::LineCap::Round:
      return CAIRO_LINE_CAP_ROUND;
    case platform::LineCap::Square:
      return CAIRO_LINE_CAP_SQUARE;
    case platform::LineCap::Butt:
      break;
  }
  return CAIRO_LINE_CAP_BUTT;
}

cairo_line_join_t cairoJoin(platform::LineJoin join) {
  switch (join) {
    case platform::LineJoin::Round:
      return CAIRO_LINE_JOIN_ROUND;
    case platform::LineJoin::Bevel:
      return CAIRO_LINE_JOIN_BEVEL;
    case platform::LineJoin::Miter:
      break;
  }
  return CAIRO_LINE_JOIN_MITER;
}

}  // namespace

void setQuartzPathInContext(const BezierPath& path, GraphicsContext& context, bool isNewPath) {
  cairo_t* cr = context.cairo();
  if (isNewPath) cairo_new_path(cr);
  if (const auto converted = quartzPath(path); converted && platform::isFinitePath(path)) {
    platform::appendToCairo(cr, *converted);
  }
  const double width = path.lineWidth();
  cairo_set_line_width(cr, std::isfinite(width) && width > 0 ? width : 0);
  cairo_set_line_cap(cr, cairoCap(path.lineCapStyle()));
  cairo_set_line_join(cr, cairoJoin(path.lineJoinStyle()));
  const double miter = path.miterLimit();
  if (std::isfinite(miter)) cairo_set_miter_limit(cr, miter);
  const platform::LineDash& dash = path.lineDash();
  if (isDrawableDash(dash)) {
    cairo_set_dash(cr, dash.pattern.data(), static_cast<int>(dash.pattern.size()), dash.phase);
  } else {
    cairo_set_dash(cr, nullptr, 0, 0);
  }
}

GraphicsContext* setQuartzPath(const BezierPath& path) {
  GraphicsContext* context = GraphicsContext::current();
  if (context) setQuartzPathInContext(path, *context, true);
  return context;
}

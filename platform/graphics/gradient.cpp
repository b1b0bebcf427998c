#include "platform/graphics/gradient.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "platform/graphics/bezier_path_drawing.h"
#include "platform/graphics/finite_geometry.h"
#include "platform/graphics/graphics_context.h"

namespace platform {

namespace {

struct PatternDeleter {
  void operator()(cairo_pattern_t* pattern) const { cairo_pattern_destroy(pattern); }
};
using PatternPtr = std::unique_ptr<cairo_pattern_t, PatternDeleter>;

PatternPtr withStops(PatternPtr pattern, const std::vector<GradientStop>& stops) {
  for (const GradientStop& s : stops) {
    cairo_pattern_add_color_stop_rgba(pattern.get(), s.location, s.red, s.green, s.blue, s.alpha);
  }
  cairo_pattern_set_extend(pattern.get(), CAIRO_EXTEND_PAD);
  return pattern;
}

// The segment a gradient at `angleDegrees` runs along across `rect`: through its centre,
// long enough that the perpendiculars at its ends touch opposite corners.
std::pair<Point, Point> axisAcross(const Rect& rect, double angleDegrees) {
  const double radians = angleDegrees * std::numbers::pi / 180;
  const double cx = std::cos(radians), sy = std::sin(radians);
  const double half = std::abs(rect.size.width) / 2 * std::abs(cx) + std::abs(rect.size.height) / 2 * std::abs(sy);
  const Point centre{rect.origin.x + rect.size.width / 2, rect.origin.y + rect.size.height / 2};
  return {{centre.x - cx * half, centre.y - sy * half}, {centre.x + cx * half, centre.y + sy * half}};
}

}  // namespace

Gradient::Gradient(std::vector<GradientStop> stops) {
  for (GradientStop s : stops) {
    if (!std::isfinite(s.location)) continue;
    s.location = std::clamp(s.location, 0.0, 1.0);
    const Color clamped(s.red, s.green, s.blue, s.alpha);
    s.red = clamped.red();
    s.green = clamped.green();
    s.blue = clamped.blue();
    s.alpha = clamped.alpha();
    stops_.push_back(s);
  }
  std::stable_sort(stops_.begin(), stops_.end(),
                   [](const GradientStop& a, const GradientStop& b) { return a.location < b.location; });
}

Gradient::Gradient(const Color& start, const Color& end)
    : Gradient(std::vector<GradientStop>{{0, start.red(), start.green(), start.blue(), start.alpha()},
                                         {1, end.red(), end.green(), end.blue(), end.alpha()}}) {}

void Gradient::drawLinear(GraphicsContext& context, Point start, Point end) const {
  if (stops_.empty() || !isFinitePoint(start) || !isFinitePoint(end)) return;
  context.drawWithEffects([&](cairo_t* cr) {
    const PatternPtr pattern = withStops(PatternPtr(cairo_pattern_create_linear(start.x, start.y, end.x, end.y)), stops_);
    cairo_set_source(cr, pattern.get());
    cairo_paint(cr);
  });
}

void Gradient::drawRadial(GraphicsContext& context, Point startCenter, double startRadius, Point endCenter,
                          double endRadius) const {
  if (stops_.empty() || !isFinitePoint(startCenter) || !isFinitePoint(endCenter) || !(startRadius >= 0) ||
      !(endRadius >= 0) || !std::isfinite(startRadius) || !std::isfinite(endRadius)) {
    return;
  }
  context.drawWithEffects([&](cairo_t* cr) {
    const PatternPtr pattern = withStops(PatternPtr(cairo_pattern_create_radial(
                                             startCenter.x, startCenter.y, startRadius, endCenter.x, endCenter.y, endRadius)),
                                         stops_);
    cairo_set_source(cr, pattern.get());
    cairo_paint(cr);
  });
}

void Gradient::drawInRect(GraphicsContext& context, const Rect& rect, double angleDegrees) const {
  drawInBezierPath(context, BezierPath::rect(rect), angleDegrees);
}

void Gradient::drawInBezierPath(GraphicsContext& context, const BezierPath& path, double angleDegrees) const {
  const Rect box = path.bounds();
  if (stops_.empty() || path.isEmpty() || !std::isfinite(angleDegrees) || !isFinitePath(path) || !isFiniteRect(box)) {
    return;
  }
  const auto axis = axisAcross(box, angleDegrees);
  context.drawWithEffects(
      [&](cairo_t* cr) {
        const auto& [start, end] = axis;
        const PatternPtr pattern =
            withStops(PatternPtr(cairo_pattern_create_linear(start.x, start.y, end.x, end.y)), stops_);
        cairo_set_source(cr, pattern.get());
        fill(path, cr);
      },
      box);
}

}  // namespace platform

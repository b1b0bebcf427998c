#include <algorithm>
#include <cmath>
#include <numbers>

#include "platform/core/numeric.h"
#include "platform/graphics/bezier_path.h"
#include "platform/graphics/rect_functions.h"

namespace platform {

namespace {

// Control distance, as a fraction of the radius, of a cubic quarter circle.
constexpr double kKappa = 0.5522847498;

double radians(double degrees) { return degrees * (std::numbers::pi / 180); }

}  // namespace

BezierPath BezierPath::rect(const Rect& rect) {
  BezierPath path;
  path.appendRect(rect);
  return path;
}

BezierPath BezierPath::ovalInRect(const Rect& rect) {
  BezierPath path;
  path.appendOvalInRect(rect);
  return path;
}

BezierPath BezierPath::roundedRect(const Rect& rect, double xRadius, double yRadius) {
  BezierPath path;
  path.appendRoundedRect(rect, xRadius, yRadius);
  return path;
}

void BezierPath::appendRect(const Rect& r) {
  moveTo({minX(r), minY(r)});
  lineTo({maxX(r), minY(r)});
  lineTo({maxX(r), maxY(r)});
  lineTo({minX(r), maxY(r)});
  closePath();
}

void BezierPath::appendOvalInRect(const Rect& r) {
  // Half sizes keep their sign, so a rectangle with a negative size runs the other way round.
  const double cx = midX(r), cy = midY(r);
  const double kx = r.size.width * 0.5 * kKappa, ky = r.size.height * 0.5 * kKappa;
  moveTo({maxX(r), cy});
  curveTo({cx, maxY(r)}, {maxX(r), cy + ky}, {cx + kx, maxY(r)});
  curveTo({minX(r), cy}, {cx - kx, maxY(r)}, {minX(r), cy + ky});
  curveTo({cx, minY(r)}, {minX(r), cy - ky}, {cx - kx, minY(r)});
  curveTo({maxX(r), cy}, {cx + kx, minY(r)}, {maxX(r), cy - ky});
  closePath();
}

void BezierPath::appendRoundedRect(const Rect& r, double xRadius, double yRadius) {
  if (!(xRadius > 0 && yRadius > 0)) {
    appendRect(r);
    return;
  }
  // Radii take the sign of the size they are measured along, so every corner turns inwards.
  const double rx = std::copysign(std::min(xRadius, std::abs(r.size.width) * 0.5), r.size.width);
  const double ry = std::copysign(std::min(yRadius, std::abs(r.size.height) * 0.5), r.size.height);
  const double kx = rx * kKappa, ky = ry * kKappa;
  const double x0 = minX(r), x1 = maxX(r), y0 = minY(r), y1 = maxY(r);
  moveTo({x0 + rx, y0});
  lineTo({x1 - rx, y0});
  curveTo({x1, y0 + ry}, {x1 - rx + kx, y0}, {x1, y0 + ry - ky});
  lineTo({x1, y1 - ry});
  curveTo({x1 - rx, y1}, {x1, y1 - ry + ky}, {x1 - rx + kx, y1});
  lineTo({x0 + rx, y1});
  curveTo({x0, y1 - ry}, {x0 + rx - kx, y1}, {x0, y1 - ry + ky});
  lineTo({x0, y0 + ry});
  curveTo({x0 + rx, y0}, {x0, y0 + ry - ky}, {x0 + rx - kx, y0});
  closePath();
}

void BezierPath::appendArc(Point center, double radius, double startDegrees, double endDegrees, bool clockwise) {
  // Sweep in the drawing direction, brought into (0, 360]; equal angles sweep nothing
  // and more than a turn is one full turn.
  double sweep = clockwise ? startDegrees - endDegrees : endDegrees - startDegrees;
  if (sweep < 0) sweep = std::fmod(sweep, 360.0) + 360.0;
  sweep = std::min(sweep, 360.0);
  const double direction = clockwise ? -1.0 : 1.0;

  const double start = radians(startDegrees);
  const Point first{center.x + radius * std::cos(start), center.y + radius * std::sin(start)};
  if (isEmpty()) {
    moveTo(first);
  } else {
    lineTo(first);
  }
  const int pieces = saturatingTruncate<int>(std::ceil(sweep / 90.0));
  if (pieces <= 0) return;
  const double step = direction * radians(sweep) / pieces;
  // Control arm of a cubic spanning `step` radians of a circle.
  const double arm = radius * 4.0 / 3.0 * std::tan(step / 4);
  double angle = start;
  for (int i = 0; i < pieces; ++i) {
    const double next = angle + step;
    const double c0 = std::cos(angle), s0 = std::sin(angle), c1 = std::cos(next), s1 = std::sin(next);
    curveTo({center.x + radius * c1, center.y + radius * s1},
            {center.x + radius * c0 - arm * s0, center.y + radius * s0 + arm * c0},
            {center.x + radius * c1 + arm * s1, center.y + radius * s1 - arm * c1});
    angle = next;
  }
}

}  // namespace platform

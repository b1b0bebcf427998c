#include "geometry/quartz_path_conversion.h"

#include "platform/graphics/cairo_path.h"

using platform::BezierPath;
using platform::PathElement;
using platform::Point;
using platform::QuartzElement;
using platform::QuartzPathBuilder;
using platform::QuartzPathElement;

std::optional<QuartzPathBuilder> mutableQuartzPath(const BezierPath& path) {
  const int count = path.elementCount();
  if (count < 1) return std::nullopt;
  QuartzPathBuilder builder;
  Point points[3];
  for (int index = 0; index < count; ++index) {
    switch (path.elementAt(index, points)) {
      case PathElement::Move:
        builder.moveTo(points[0]);
        break;
      case PathElement::Line:
        builder.lineTo(points[0]);
        break;
      case PathElement::Curve:
        builder.curveTo(points[0], points[1], points[2]);
        break;
      case PathElement::Close:
        builder.closeSubpath();
        break;
    }
  }
  return builder;
}

std::optional<platform::QuartzPath> quartzPath(const BezierPath& path) {
  const std::optional<QuartzPathBuilder> builder = mutableQuartzPath(path);
  if (!builder) return std::nullopt;
  return builder->copy();
}

BezierPath bezierPathWithCGPath(const platform::QuartzPath& path) {
  BezierPath result;
  path.apply([&result](const QuartzPathElement& element) {
    const Point* p = element.points;
    switch (element.kind) {
      case QuartzElement::Move:
        result.moveTo(p[0]);
        break;
      case QuartzElement::Line:
        result.lineTo(p[0]);
        break;
      case QuartzElement::Quad:
        // Deliberately not a degree elevation: the drawing program this follows
        // keeps the quadratic's control point as both cubic controls.
        result.curveTo(p[1], p[0], p[0]);
        break;
      case QuartzElement::Cubic:
        result.curveTo(p[2], p[0], p[1]);
        break;
      case QuartzElement::Close:
        result.closePath();
        break;
    }
  });
  return result;
}

BezierPath bezierPathWithPathFromContext(platform::GraphicsContext& context) {
  return bezierPathWithCGPath(platform::quartzPathFromCairo(context.cairo()));
}

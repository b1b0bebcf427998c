#include "document/CMLineShape.h"

#include <cmath>
#include <numbers>

#include "document/CMProject.h"
#include "document/CMShapeRecordValues.h"

using platform::BezierPath;
using platform::Point;

namespace {

Point offset(Point p, Point direction, double scale) { return {p.x + direction.x * scale, p.y + direction.y * scale}; }

}  // namespace

void CMLineShape::recordToolOptions() {
  CMGlobalProfile& profile = CMProject::shareProject().profile();
  if (const platform::Value* chosen = data()->find("line_arrow_type")) {
    data()->set("type", chosen->intValue());
  } else if (!data()->contains("type")) {
    data()->set("type", profile.integerForKey("line_arrow_type"));
  }
  if (!data()->contains("style")) data()->set("style", profile.integerForKey("line_arrow_style"));
  if (!data()->contains("def_width")) data()->set("def_width", profile.integerForKey("line_width"));
}

Point CMLineShape::startPoint() const { return {data()->get("x1").floatValue(), data()->get("y1").floatValue()}; }

Point CMLineShape::endPoint() const { return {data()->get("x2").floatValue(), data()->get("y2").floatValue()}; }

void CMLineShape::setLineStartPoint(Point point) {
  setShapeFloat(data(), "x1", point.x);
  setShapeFloat(data(), "y1", point.y);
  updateShape();
}

void CMLineShape::setLineEndPoint(Point point) {
  setShapeFloat(data(), "x2", point.x);
  setShapeFloat(data(), "y2", point.y);
  updateShape();
}

void CMLineShape::setLinePosition(Point point) {
  float x = 0;
  float y = 0;
  // In single precision, as the coordinates are stored.
  const Point start = startPoint();
  const Point end = endPoint();
  if (toSingle(point.x, x) && toSingle(point.y, y)) {
    const float x2 = static_cast<float>(end.x) - static_cast<float>(start.x) + x;
    const float y2 = static_cast<float>(end.y) - static_cast<float>(start.y) + y;
    if (std::isfinite(x2) && std::isfinite(y2)) {
      setShapeFloat(data(), "x1", x);
      setShapeFloat(data(), "y1", y);
      setShapeFloat(data(), "x2", x2);
      setShapeFloat(data(), "y2", y2);
    }
  }
  updateShape();
}

BezierPath CMLineShape::createSimplePath() {
  recordToolOptions();  // a stored "line_arrow_type" chosen since creation takes over
  return outline();
}

void CMLineShape::updateShape() { setPath(outline()); }

BezierPath CMLineShape::outline() {
  const platform::DictRef stroke = data()->dictionary("stroke");
  // Whole from the tool, fractional from an imported drawing.
  const platform::Value lineWidth = data()->get("def_width");
  if (stroke) {
    stroke->set("lineWidth", lineWidth.isReal() ? lineWidth.floatValue() : static_cast<float>(lineWidth.intValue()));
  }
  const float width = stroke ? stroke->get("lineWidth").floatValue() : 0.0f;
  const std::int64_t type = data()->get("type").integerValue();
  const std::int64_t style = data()->get("style").integerValue();
  const Point start = startPoint();
  const Point end = endPoint();
  CMArrowOptions options;
  options.length = 10.0 * width;  // in double: ten times the widest float stays finite

  BezierPath path;
  if (type == 1 || type == 2) {
    Point startBase = start;
    path = bezierPathWithArrowOnSegment(start, end, style, options, startBase);
    Point endBase = end;
    if (type == 2) path.appendPath(bezierPathWithArrowOnSegment(end, start, style, options, endBase));
    path.moveTo(startBase);
    path.lineTo(endBase);
    return path;
  }
  path.moveTo(start);
  path.lineTo(end);
  return path;
}

BezierPath CMLineShape::bezierPathWithArrowOnSegment(Point tip, Point other, std::int64_t style,
                                                     const CMArrowOptions& options, Point& base) {
  BezierPath path;
  const double dx = other.x - tip.x;
  const double dy = other.y - tip.y;
  const double distance = std::hypot(dx, dy);
  if (!(distance > 0) || !std::isfinite(distance)) return path;  // no direction: no arrowhead
  const Point along{dx / distance, dy / distance};
  // The unit normal with positive x; for a horizontal segment (x 0) either will do.
  const Point normal = along.y > 0 ? Point{along.y, -along.x} : Point{-along.y, along.x};
  const double length = options.length;
  const double halfWidth = length * std::tan(options.angle / 2 * std::numbers::pi / 180);
  const Point back = offset(tip, along, length);
  const Point corner1 = offset(back, normal, halfWidth);
  const Point corner2 = offset(back, normal, -halfWidth);
  switch (style) {
    case 0:
      path.moveTo(tip);
      path.lineTo(corner1);
      path.lineTo(corner2);
      path.closePath();
      base = back;
      break;
    case 1:
      path.appendArc({(tip.x + back.x) / 2, (tip.y + back.y) / 2}, length / 2, 0, 360, false);
      base = back;
      break;
    case 2:
      path.moveTo(corner1);
      path.lineTo(tip);
      path.lineTo(corner2);
      break;
    case 3: {
      const Point half{(tip.x - back.x) / 2, (tip.y - back.y) / 2};
      path.moveTo(offset(corner1, half, 1));
      path.lineTo(tip);
      path.lineTo(offset(corner2, half, 1));
      path.lineTo(back);
      path.closePath();
      base = back;
      break;
    }
    case 4: {
      const Point twice{2 * (tip.x - back.x), 2 * (tip.y - back.y)};
      path.moveTo(offset(corner1, twice, 1));
      path.lineTo(tip);
      path.lineTo(offset(corner2, twice, 1));
      break;
    }
    default:
      break;
  }
  return path;
}

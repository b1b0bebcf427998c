// Moving, inserting and removing the anchors and control points of a path shape.
// Anchors are mapped back without the view zoom, control points with it.

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

#include "document/CMPathShape.h"
#include "document/CMPointRecordInsertion.h"
#include "document/CMPointTypes.h"
#include "document/CMShapeLayer.h"
#include "document/CMShapeRecordValues.h"
#include "platform/core/geometry_strings.h"

using platform::ArrayRef;
using platform::DictRef;
using platform::Point;

namespace {

// How far a control point stands from its anchor when the neighbours give no slope.
constexpr double kFallbackHandleLength = 50;

std::int32_t handleId(const DictRef& handle, const char* key) { return handle ? handle->get(key).intValue() : 0; }

Point handlePoint(const DictRef& handle, const char* key) { return shapePoint(handle, key); }

DictRef recordWithId(const ArrayRef& points, std::int64_t id) {
  if (!points) return nullptr;
  for (const platform::Value& entry : *points) {
    const DictRef record = entry.dictionary();
    if (record && record->get("id").integerValue() == id) return record;
  }
  return nullptr;
}

// A displacement in single precision; a component that does not fit moves nothing.
Point singleDelta(Point to, Point from) {
  float dx = 0;
  float dy = 0;
  if (!toSingle(to.x - from.x, dx)) dx = 0;
  if (!toSingle(to.y - from.y, dy)) dy = 0;
  return {dx, dy};
}

bool isFinite(Point p) { return std::isfinite(p.x) && std::isfinite(p.y); }

}  // namespace

std::optional<std::int64_t> CMShapeLayer::freePointId(const ArrayRef& points) {
  std::int64_t largest = 0;
  for (const platform::Value& entry : *points) {
    if (const DictRef record = entry.dictionary()) largest = std::max(largest, record->get("id").integerValue());
  }
  // At the top of the range no id is new: adding a point with an old id would make edits ambiguous.
  if (largest == std::numeric_limits<std::int64_t>::max()) return std::nullopt;
  return largest + 1;
}

ArrayRef CMShapeLayer::bezierPoints() {
  CMPathShape* shape = pathShape();
  if (!shape) return nullptr;
  // The outline keeps its place on the page as it becomes points.
  if (!shape->isBezier()) saveAsBezierInPlace();
  return shape->points();
}

void CMShapeLayer::setPathPoint(Point point, const DictRef& handle) {
  CMPathShape* shape = pathShape();
  if (!shape) return;
  const Point q = backTransform2().transformPoint(point);
  const std::int32_t id = handleId(handle, "id");
  Point delta;
  std::int32_t linked = 0;
  if (const DictRef record = recordWithId(shape->points(), id)) {
    delta = singleDelta(q, shapePoint(record, "point"));
    linked = record->get("linked_point_id").intValue();
  }
  shape->setPathPoint(q, id);
  if (linked != 0) shape->setPathPoint(q, linked);  // the hidden copy of a contour's first point

  // The control points beside the anchor travel with it.
  const platform::AffineTransform back = backTransform2();
  const platform::AffineTransform forward = transform();
  const std::int32_t control1 = handleId(handle, "control_point1_id");
  if (control1 != 0) {
    const Point c = back.transformPoint(handlePoint(handle, "control_point1"));
    const Point moved{c.x + delta.x, c.y + delta.y};
    setShapePoint(handle, "control_point1", forward.transformPoint(moved));
    shape->setPathControlPoint1(moved, control1);
  }
  const std::int32_t control2 = handleId(handle, "control_point2_id");
  if (control2 != 0) {
    const Point c = back.transformPoint(handlePoint(handle, "control_point2"));
    const Point moved{c.x + delta.x, c.y + delta.y};
    setShapePoint(handle, "control_point2", forward.transformPoint(moved));
    shape->setPathControlPoint2(moved, control2);
  }
  markChanged();  // the style panel shows the outline's place and size as it moves
}

void CMShapeLayer::setPathControlPoint1(Point point, const DictRef& handle) {
  CMPathShape* shape = pathShape();
  if (!shape) return;
  const platform::AffineTransform back = backTransform();
  const Point q = back.transformPoint(point);
  shape->setPathControlPoint1(q, handleId(handle, "id"));
  const Point owner = back.transformPoint(handlePoint(handle, "owner_point"));
  // The opposite handle stays in line through the anchor.
  if (handle && handle->contains("id_friend")) {
    shape->setPathControlPoint2({2 * owner.x - q.x, 2 * owner.y - q.y}, handleId(handle, "id_friend"));
  }
  markChanged();
}

void CMShapeLayer::setPathControlPoint2(Point point, const DictRef& handle) {
  CMPathShape* shape = pathShape();
  if (!shape) return;
  const platform::AffineTransform back = backTransform();
  const Point q = back.transformPoint(point);
  shape->setPathControlPoint2(q, handleId(handle, "id"));
  const Point owner = back.transformPoint(handlePoint(handle, "owner_point"));
  if (handle && handle->contains("id_friend")) {
    shape->setPathControlPoint1({2 * owner.x - q.x, 2 * owner.y - q.y}, handleId(handle, "id_friend"));
  }
  markChanged();
}

void CMShapeLayer::addPoint(Point point) {
  if (CMPathShape* shape = pathShape()) {
    const ArrayRef points = bezierPoints();
    // The place on the page, in the layer's own unturned frame.
    platform::AffineTransform unturn = pageRotation();
    const Point unturned = unturn.invert() ? unturn.transformPoint(point) : point;
    const Point origin = CMLayer::originPoint();
    const Point q{unturned.x - origin.x, unturned.y - origin.y};
    if (points && points->size() >= 2 && isFinite(q)) {
      if (const std::optional<std::int64_t> id = freePointId(points)) insertPointOnOutline(points, q, *id);
    }
    shape->update();
  }
  markChanged();
}

void CMShapeLayer::removePoint(const DictRef& handle) {
  if (CMPathShape* shape = pathShape()) {
    const ArrayRef points = bezierPoints();
    const std::int64_t id = handleId(handle, "id");
    for (std::size_t index = 0; points && points->size() >= 2 && index < points->size(); ++index) {
      const DictRef record = points->at(index).dictionary();
      if (!record || record->get("id").integerValue() != id) continue;
      // The following point takes over the start of the sub-path.
      const DictRef following = points->at(index + 1).dictionary();
      if ((record->get("type").integerValue() & kCMPointMove) && following) {
        following->set("type", following->get("type").integerValue() | kCMPointMove);
      }
      points->removeAt(index);
      break;
    }
    shape->update();
  }
  markChanged();
}

void CMShapeLayer::setTypeCurveForPoint(const DictRef& point, bool isVirtual) {
  if (!point) return;
  const std::int64_t type = point->get("type").integerValue();
  const std::int64_t curve = (type & kCMPointClose) ? kCMPointCurve | kCMPointClose : (type & kCMPointMove) + kCMPointCurve;
  point->set("virtual_type", curve);
  if (!isVirtual) point->set("type", curve);
}

Point CMShapeLayer::findControlPoint(Point point, Point next, Point prev, Point centralPoint) {
  const bool upperSide = !(point.y <= centralPoint.y);  // an unordered comparison counts as above
  const double run = next.x - prev.x;
  const double rise = next.y - prev.y;
  if (run != 0) {
    const double slope = rise / run;
    const double intercept = (run * point.y - rise * point.x) / run;
    const double b = slope - 2 * point.x;
    const double a = point.x * point.x + intercept - point.y - 2500;
    const double discriminant = b * b - 4 * a;
    if (discriminant >= 0) {
      const double root = std::sqrt(discriminant);
      const double x = upperSide ? (root - b) / 2 : (-b - root) / 2;
      const Point found{x, slope * x + intercept};
      if (isFinite(found)) return found;
    }
  }
  // No usable slope: stand off along the neighbours' direction, vertically when they share x.
  Point direction{0, 1};
  const double length = std::hypot(run, rise);
  if (run != 0 && std::isfinite(length) && length > 0) {
    direction = {run / length, rise / length};
    if (direction.x < 0) direction = {-direction.x, -direction.y};  // the upper side lies toward larger x
  }
  const double side = upperSide ? kFallbackHandleLength : -kFallbackHandleLength;
  const Point handle{point.x + direction.x * side, point.y + direction.y * side};
  return isFinite(handle) ? handle : (isFinite(point) ? point : Point{});
}

// Building a path shape from its point records, and editing those records.

#include <cmath>

#include "document/CMPathShape.h"
#include "document/CMPointTypes.h"
#include "document/CMShapeRecordValues.h"
#include "platform/core/geometry_strings.h"
#include "platform/graphics/affine_transform.h"

using platform::Array;
using platform::ArrayRef;
using platform::BezierPath;
using platform::Dictionary;
using platform::DictRef;
using platform::Point;

namespace {

Point moveTarget(const ArrayRef& points, const DictRef& record, Point own) {
  const platform::Value* link = record->find("correction_point_id");
  if (!link) return own;
  const std::int64_t wanted = link->integerValue();
  for (const platform::Value& entry : *points) {
    const DictRef other = entry.dictionary();
    if (other && other->get("id").integerValue() == wanted) return shapePoint(other, "point");
  }
  return own;  // a link to nothing starts the contour at the point itself
}

}  // namespace

BezierPath CMPathShape::pathFromPointRecords(const ArrayRef& points) {
  BezierPath path;
  if (!points) return path;
  for (const platform::Value& entry : *points) {
    const DictRef record = entry.dictionary();
    if (!record) continue;
    const Point point = shapePoint(record, "point");
    const std::int64_t virtualType = record->get("virtual_type").integerValue();
    const std::int64_t kind = virtualType != 0 ? virtualType : record->get("type").integerValue();
    if (kind & kCMPointMove) path.moveTo(moveTarget(points, record, point));
    // A segment with nothing to start from starts the subpath instead.
    if ((kind & (kCMPointLine | kCMPointCurve)) && path.isEmpty()) {
      path.moveTo(point);
    } else if (kind & kCMPointLine) {
      path.lineTo(point);
    } else if (kind & kCMPointCurve) {
      path.curveTo(point, shapePoint(record, "control_point1"), shapePoint(record, "control_point2"));
    }
    if ((kind & kCMPointClose) && !path.isEmpty()) path.closePath();
  }
  return path;
}

ArrayRef CMPathShape::defaultOutline() {
  return Array::make({
      Dictionary::make({{"id", 1}, {"point", "{0, 0}"}, {"type", 1}}),
      Dictionary::make({{"id", 2}, {"point", "{0, 100}"}, {"type", 2}}),
      Dictionary::make({{"id", 4}, {"point", "{100, 100}"}, {"type", 2}}),
      Dictionary::make({{"id", 5}, {"point", "{100, 0}"}, {"type", 10}}),
  });
}

void CMPathShape::initPath() {
  isBezier_ = data()->get("isbezier").boolValue();
  points_ = data()->array("points");
  if (!points_) {
    points_ = defaultOutline();
    data()->set("points", points_);
  }
  updatePath();
}

void CMPathShape::updatePath() { setPath(pathFromPointRecords(points_)); }

ArrayRef CMPathShape::pointRecordsFromPath(const BezierPath& path) {
  ArrayRef records = Array::make();
  Point contourStart;
  const int count = path.elementCount();
  for (int index = 0; index < count; ++index) {
    Point element[3];
    const platform::PathElement kind = path.elementAt(index, element);
    const bool last = index == count - 1;
    const std::int64_t close = !last && path.elementAt(index + 1) == platform::PathElement::Close ? kCMPointClose : 0;
    const std::int64_t id = index + 1;
    auto record = Dictionary::make({{"id", id}});
    switch (kind) {
      case platform::PathElement::Move:
        if (last) continue;  // a trailing move starts nothing
        setShapePoint(record, "point", element[0]);
        record->set("type", 1 + close);
        contourStart = element[0];
        break;
      case platform::PathElement::Line:
        setShapePoint(record, "point", element[0]);
        record->set("type", last && element[0] == contourStart ? 10 : 2 + close);
        break;
      case platform::PathElement::Curve:
        setShapePoint(record, "point", element[2]);
        record->set("type", last && element[2] == contourStart ? 12 : 4 + close);
        setShapePoint(record, "control_point1", element[0]);
        setShapePoint(record, "control_point2", element[1]);
        break;
      case platform::PathElement::Close:
        continue;
    }
    records->add(record);
  }
  return records;
}

void CMPathShape::storePathAsPoints(BezierPath path, bool fromOrigin) {
  const platform::Rect bounds = path.isEmpty() ? platform::Rect{} : path.bounds();
  // An overflowing outline must not carry an infinite offset into the record.
  const bool finite = std::isfinite(bounds.origin.x) && std::isfinite(bounds.origin.y);
  const Point origin = finite && fromOrigin ? bounds.origin : Point{};
  data()->set("x_offset", origin.x);
  data()->set("y_offset", origin.y);
  platform::AffineTransform shift;
  shift.translate(-origin.x, -origin.y);
  path.transformUsingAffineTransform(shift);
  ArrayRef records = pointRecordsFromPath(path);
  setPath(std::move(path));
  setPoints(records);
}

void CMPathShape::saveShapeAsBezier(bool bezier) {
  isBezier_ = bezier;
  data()->set("isbezier", bezier);
  // The points being edited become the record's own (a parametric shape held them apart).
  if (bezier && points_) data()->set("points", points_);
}

void CMPathShape::setPathPointKey(std::string_view key, Point point, std::int32_t pointId) {
  if (points_) {
    for (const platform::Value& entry : *points_) {
      const DictRef record = entry.dictionary();
      if (record && record->get("id").integerValue() == pointId) {
        setShapePoint(record, key, point);
        break;
      }
    }
  }
  saveShapeAsBezier(true);
  updatePath();
}

void CMPathShape::setPathPoint(Point point, std::int32_t pointId) { setPathPointKey("point", point, pointId); }

void CMPathShape::setPathControlPoint1(Point point, std::int32_t pointId) {
  setPathPointKey("control_point1", point, pointId);
}

void CMPathShape::setPathControlPoint2(Point point, std::int32_t pointId) {
  setPathPointKey("control_point2", point, pointId);
}

void CMPathShape::setSize(platform::Size size) {
  const platform::Rect bounds = path_.isEmpty() ? platform::Rect{} : path_.bounds();
  // Each point keeps its fraction of the bounds, so the far edges land on the size itself rather than on the bounds
  // times a rounded factor, which drifted a little with every resize. An axis without extent, or without a finite
  // factor, keeps its scale.
  const auto scales = [](double to, double from) { return from != 0 && std::isfinite(to / from); };
  const bool sx = scales(size.width, bounds.size.width);
  const bool sy = scales(size.height, bounds.size.height);
  // The size it has already: mapping by 1 would only round the points (an aligned layer keeps its size).
  if ((!sx || size.width == bounds.size.width) && (!sy || size.height == bounds.size.height)) return;
  const Point origin = bounds.origin;
  const auto along = [](double p, double from, double extent, double to, bool scaled) {
    return scaled ? from + (p - from) / extent * to : p;
  };
  auto map = [&](Point p) {
    return Point{along(p.x, origin.x, bounds.size.width, size.width, sx),
                 along(p.y, origin.y, bounds.size.height, size.height, sy)};
  };

  const ArrayRef list = points_ && !points_->empty() ? points_ : data()->array("points");
  if (list) {
    ArrayRef samples = Array::make();
    for (const platform::Value& entry : *list) {
      if (entry.isString()) {
        const Point mapped = map(shapePointValue(entry));
        // An overflowing sample keeps its old place rather than turning infinite.
        const bool finite = std::isfinite(mapped.x) && std::isfinite(mapped.y);
        samples->add(finite ? platform::Value(platform::stringFromPoint(mapped)) : entry);
        continue;
      }
      const DictRef record = entry.dictionary();
      if (!record) continue;
      for (const char* key : {"point", "control_point1", "control_point2"}) {
        if (record->contains(key)) setShapePoint(record, key, map(shapePoint(record, key)));
      }
    }
    if (!samples->empty()) data()->set("points", samples);
  }
  updatePath();
}

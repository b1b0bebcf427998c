// Turning a path point into a corner or a curve point. A contour whose last segment
// becomes a curve gets a hidden temporary copy of its first point to carry that curve.

#include <initializer_list>
#include <optional>

#include "document/CMPathShape.h"
#include "document/CMPointTypes.h"
#include "document/CMShapeLayer.h"
#include "document/CMShapeRecordValues.h"
#include "platform/graphics/rect_functions.h"

using platform::ArrayRef;
using platform::DictRef;
using platform::Point;

namespace {

constexpr std::int64_t kClosingCurve = kCMPointCurve | kCMPointClose;

std::int64_t typeOf(const DictRef& record) { return record ? record->get("type").integerValue() : 0; }

bool isCurve(const DictRef& record) { return (typeOf(record) & kCMPointCurve) != 0; }

DictRef recordAt(const ArrayRef& points, std::ptrdiff_t index) {
  return index < 0 ? nullptr : points->at(static_cast<std::size_t>(index)).dictionary();
}

std::ptrdiff_t countOf(const ArrayRef& points) { return static_cast<std::ptrdiff_t>(points->size()); }

// The last record, or the one before it when the last is a hidden copy.
DictRef lastVisible(const ArrayRef& points) {
  const std::ptrdiff_t last = countOf(points) - 1;
  const DictRef record = recordAt(points, last);
  return record && record->get("hide").boolValue() ? recordAt(points, last - 1) : record;
}

DictRef previousOf(const ArrayRef& points, std::ptrdiff_t index) {
  return index == 0 ? lastVisible(points) : recordAt(points, index - 1);
}

Point mirrored(Point point, Point through) { return {2 * through.x - point.x, 2 * through.y - point.y}; }

void setInteger(const DictRef& record, const char* key, std::int64_t value) {
  if (record) record->set(key, value);
}

void setPoint(const DictRef& record, const char* key, Point point) { setShapePoint(record, key, point); }

void removeKeys(const DictRef& record, std::initializer_list<const char*> keys) {
  if (!record) return;
  for (const char* key : keys) record->remove(key);
}

}  // namespace

// Appends a hidden copy of the first point that closes the contour with a curve
// starting at `control1`, and links the first point to it.
void CMShapeLayer::appendClosingCopy(const ArrayRef& points, Point control1) {
  const DictRef first = recordAt(points, 0);
  const std::optional<std::int64_t> id = freePointId(points);
  if (!first || !id) return;
  DictRef copy = first->mutableCopy();
  copy->set("id", *id);
  copy->set("temp", 1);
  setPoint(copy, "control_point1", control1);
  setPoint(copy, "control_point2", shapePoint(copy, "point"));
  copy->set("virtual_type", kClosingCurve);
  copy->set("type", kClosingCurve);
  copy->set("hide", 1);
  points->add(copy);
  first->set("linked_point_id", *id);
}

void CMShapeLayer::changePointType(std::int32_t type, const DictRef& handle) {
  if (CMPathShape* shape = pathShape()) {
    const ArrayRef points = bezierPoints();
    const Point center = shape->path().isEmpty()
                             ? Point{}
                             : Point{platform::midX(shape->path().bounds()), platform::midY(shape->path().bounds())};
    const std::int64_t id = handle ? handle->get("id").integerValue() : 0;
    if (points && points->size() >= 2) {
      // An index loop: a corner may remove the temporary point after it and step back,
      // so the scan reaches the changed point once more.
      for (std::ptrdiff_t index = 0; index < countOf(points); ++index) {
        const DictRef record = recordAt(points, index);
        if (!record || record->get("id").integerValue() != id) continue;
        if (type == 0) {
          changeToCorner(points, index);
        } else {
          changeToCurve(points, index, center);
        }
      }
    }
    if (points && !points->empty()) {
      const DictRef last = recordAt(points, countOf(points) - 1);
      if (last) {
        last->set("type", typeOf(last) | kCMPointClose);
        const std::int64_t virtualType = last->get("virtual_type").integerValue();
        if (virtualType != 0) last->set("virtual_type", virtualType | kCMPointClose);
      }
    }
    shape->update();
  }
  markChanged();
}

void CMShapeLayer::changeToCorner(const ArrayRef& points, std::ptrdiff_t& index) {
  const DictRef point = recordAt(points, index);
  const std::int64_t type = typeOf(point);
  std::int64_t corner = (type & kCMPointClose) ? kCMPointLine | kCMPointClose : (type & kCMPointMove) + kCMPointLine;
  const bool isLast = index == countOf(points) - 1;

  if (const DictRef following = isLast ? nullptr : recordAt(points, index + 1)) {
    if (!following->get("temp").boolValue()) {
      following->set("virtual_type", 0);
      if (typeOf(following) & kCMPointLine) removeKeys(following, {"control_point1", "control_point2"});
    } else {
      corner |= typeOf(following) & kCMPointClose;
      points->removeAt(static_cast<std::size_t>(index + 1));
      --index;
    }
  } else if (isLast) {
    setInteger(recordAt(points, 0), "virtual_type", 0);
  }
  point->set("type", corner);

  if (index >= 0) {  // a step back past the start leaves the point's curve state alone
    const DictRef previous = previousOf(points, index);
    if (!isCurve(previous)) {
      point->set("virtual_type", 0);
      removeKeys(point, {"control_point1", "control_point2"});
    } else if (index == 0) {
      setTypeCurveForPoint(point, true);
    } else {
      point->set("virtual_type", kCMPointCurve);
    }
  }
  removeKeys(point, {"correction_point_id", "linked_point_id"});

  const DictRef last = recordAt(points, countOf(points) - 1);
  if ((corner & kCMPointMove) && isCurve(last)) {
    last->set("type", kCMPointCurve);
    appendClosingCopy(points, mirrored(shapePoint(last, "control_point2"), shapePoint(last, "point")));
    point->set("type", kCMPointMove);
    point->set("virtual_type", 0);
    removeKeys(point, {"control_point1", "control_point2"});
  }
}

void CMShapeLayer::changeToCurve(const ArrayRef& points, std::ptrdiff_t index, Point center) {
  const DictRef point = recordAt(points, index);
  const std::int64_t type = typeOf(point);
  const bool isLast = index == countOf(points) - 1;
  std::int64_t curve = (type & kCMPointMove) + kCMPointCurve;
  if (type & kCMPointClose) curve = isLast ? kCMPointCurve : kClosingCurve;
  point->set("virtual_type", curve);
  point->set("type", curve);

  const Point anchor = shapePoint(point, "point");
  const DictRef previous = previousOf(points, index);
  if (!isCurve(previous)) setPoint(point, "control_point1", shapePoint(previous, "point"));

  const DictRef after = isLast ? recordAt(points, 0) : recordAt(points, index + 1);
  const Point control2 = findControlPoint(anchor, shapePoint(after, "point"), shapePoint(previous, "point"), center);
  setPoint(point, "control_point2", control2);
  const Point opposite = mirrored(control2, anchor);

  if (!isLast) {
    const DictRef following = recordAt(points, index + 1);
    setPoint(following, "control_point1", opposite);
    if (following && !isCurve(following)) {
      setPoint(following, "control_point2", shapePoint(following, "point"));
      setTypeCurveForPoint(following, true);
    }
  } else if (isCurve(recordAt(points, 0))) {
    setPoint(recordAt(points, 0), "control_point1", opposite);
  } else {
    appendClosingCopy(points, opposite);
  }

  if (curve & kCMPointMove) {
    const DictRef last = lastVisible(points);
    setInteger(point, "correction_point_id", last ? last->get("id").integerValue() : 0);
    if (isCurve(last) && !point->contains("control_point1")) {
      setPoint(point, "control_point1", mirrored(shapePoint(last, "control_point2"), shapePoint(last, "point")));
    }
    const DictRef tail = recordAt(points, countOf(points) - 1);
    if (tail && tail->get("hide").boolValue()) points->removeAt(points->size() - 1);
  }
}

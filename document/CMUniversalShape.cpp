#include "document/CMUniversalShape.h"

#include <cmath>

#include "document/CMPointTypes.h"
#include "document/CMProject.h"
#include "document/CMShapeRecordValues.h"
#include "platform/graphics/affine_transform.h"

using platform::Array;
using platform::ArrayRef;
using platform::BezierPath;
using platform::Dictionary;
using platform::Point;
using platform::PathElement;

void CMUniversalShape::initPath() {
  recordToolOptions();
  CMPathShape::initPath();
}

void CMUniversalShape::recordProfileOption(std::string_view key) const {
  if (data()->contains(key)) return;
  data()->set(key, CMProject::shareProject().profile().integerForKey(key));
}

platform::Rect CMUniversalShape::frame() const {
  const ArrayRef list = points();
  const Point first = list ? shapePoint(list->at(0).dictionary(), "point") : Point{};
  const Point third = list ? shapePoint(list->at(2).dictionary(), "point") : Point{};
  return {first.x, first.y, third.x - first.x, third.y - first.y};
}

void CMUniversalShape::updatePath() {
  if (!pathEditing_ && !isBezier()) {
    setPath(createSimplePath());
  } else {
    CMPathShape::updatePath();
  }
}

void CMUniversalShape::prepareEditing() {
  pathEditing_ = true;
  if (data()->get("isbezier").boolValue()) return;
  hasKeptPoints_ = true;
  keptRecordPoints_ = data()->array("points");
  keptPointsField_ = points();

  BezierPath moved = path();
  const platform::Rect bounds = moved.isEmpty() ? platform::Rect{} : moved.bounds();
  // An overflowing outline must not carry an infinite offset into the record.
  const bool finite = std::isfinite(bounds.origin.x) && std::isfinite(bounds.origin.y);
  const Point origin = finite ? bounds.origin : Point{};
  data()->set("x_offset", origin.x);
  data()->set("y_offset", origin.y);
  platform::AffineTransform shift;
  shift.translate(-origin.x, -origin.y);
  moved.transformUsingAffineTransform(shift);
  setPath(moved);

  ArrayRef records = Array::make();
  Point contourStart;
  const int count = moved.elementCount();
  for (int index = 0; index < count; ++index) {
    Point element[3];
    const PathElement kind = moved.elementAt(index, element);
    const bool last = index == count - 1;
    const std::int64_t close = !last && moved.elementAt(index + 1) == PathElement::Close ? kCMPointClose : 0;
    const std::int64_t id = index + 1;
    auto record = Dictionary::make({{"id", id}});
    switch (kind) {
      case PathElement::Move:
        if (last) continue;  // a trailing move starts nothing
        setShapePoint(record, "point", element[0]);
        record->set("type", 1 + close);
        contourStart = element[0];
        break;
      case PathElement::Line:
        setShapePoint(record, "point", element[0]);
        record->set("type", last && element[0] == contourStart ? 10 : 2 + close);
        break;
      case PathElement::Curve:
        setShapePoint(record, "point", element[2]);
        record->set("type", last && element[2] == contourStart ? 12 : 4 + close);
        setShapePoint(record, "control_point1", element[0]);
        setShapePoint(record, "control_point2", element[1]);
        break;
      case PathElement::Close:
        continue;
    }
    records->add(record);
  }
  setPoints(records);
  data()->set("points", records);
}

void CMUniversalShape::endEditing() {
  pathEditing_ = false;
  if (hasKeptPoints_ && !isBezier()) {
    data()->set("points", keptRecordPoints_);
    setPoints(keptPointsField_);
  }
  hasKeptPoints_ = false;
  keptRecordPoints_.reset();
  keptPointsField_.reset();
}

void CMUniversalShape::saveAsBezier() {
  prepareEditing();
  saveShapeAsBezier(true);
  endEditing();
}

// The handles a shape layer shows: the frame, the two ends of a line, the anchors and
// control points of a path, and the clicks of a pen curve.

#include "document/CMLineShape.h"
#include "document/CMPathShape.h"
#include "document/CMPointTypes.h"
#include "document/CMShapeLayer.h"
#include "document/CMShapeRecordValues.h"

using platform::Array;
using platform::ArrayRef;
using platform::Dictionary;
using platform::DictRef;
using platform::Point;

namespace {

// A position that overflowed is left out (it reads as (0, 0)) rather than written as infinity.
DictRef handleAt(Point point, std::int32_t type) {
  DictRef handle = Dictionary::make();
  setShapePoint(handle, "point", point);
  handle->set("type", type);
  return handle;
}

// The control point beside an anchor that belongs to another point record.
struct Companion {
  Point point;
  std::int64_t id = 0;
  bool found = false;
};

Companion controlPointOf(const DictRef& record, const char* key, const platform::AffineTransform& t) {
  if (!record || !record->contains(key)) return {};
  return {t.transformPoint(shapePoint(record, key)), record->get("id").integerValue(), true};
}

}  // namespace

ArrayRef CMShapeLayer::editingPoints() { return isLineShape() ? lineEditingPoints() : CMLayer::editingPoints(); }

ArrayRef CMShapeLayer::lineEditingPoints() {
  const CMLineShape* line = lineShape();
  if (!line) return nullptr;
  const platform::AffineTransform t = transform();
  return Array::make({handleAt(t.transformPoint(line->startPoint()), kCMHandleLineStart),
                      handleAt(t.transformPoint(line->endPoint()), kCMHandleLineEnd)});
}

ArrayRef CMShapeLayer::pathEditingPoints() {
  const CMPathShape* shape = pathShape();
  if (!shape || !shape->hasEditingPoint()) return nullptr;
  ArrayRef handles = Array::make();
  const ArrayRef points = shape->points();
  if (!points) return handles;
  const platform::AffineTransform t = transform();
  const std::size_t count = points->size();
  for (std::size_t index = 0; index < count; ++index) {
    const DictRef record = points->at(index).dictionary();
    if (!record || record->get("hide").boolValue()) continue;
    const std::int64_t type = record->get("type").integerValue();
    const std::int64_t id = record->get("id").integerValue();
    const Point anchor = t.transformPoint(shapePoint(record, "point"));
    const bool last = index + 1 == count;

    // The two handles beside the anchor: the next point's "control_point1" and its own "control_point2".
    Companion next;
    Companion own;
    if (type & kCMPointCurve) {
      next = controlPointOf(points->at(last ? 0 : index + 1).dictionary(), "control_point1", t);
      own = controlPointOf(record, "control_point2", t);
    } else if ((type & (kCMPointMove | kCMPointLine)) && !last) {
      next = controlPointOf(points->at(index + 1).dictionary(), "control_point1", t);
    }

    if (type & kCMPointCurve) {
      if (next.found) {
        DictRef handle = handleAt(next.point, kCMHandleControlPoint1);
        handle->set("id", next.id);
        setShapePoint(handle, "owner_point", anchor);
        handle->set("owner_id", id);
        handle->set("id_friend", id);
        handles->add(handle);
      }
      if (own.found) {
        DictRef handle = handleAt(own.point, kCMHandleControlPoint2);
        handle->set("id", id);
        setShapePoint(handle, "owner_point", anchor);
        handle->set("owner_id", id);
        // The last anchor's opposite handle mirrors only when the contour closes with a curve.
        const DictRef first = points->at(0).dictionary();
        const bool closesWithCurve = first && (first->get("type").integerValue() & kCMPointCurve);
        if (next.id != 0 && (!last || closesWithCurve)) handle->set("id_friend", next.id);
        handles->add(handle);
      }
    }

    DictRef anchorHandle = handleAt(anchor, kCMHandlePathPoint);
    anchorHandle->set("id", id);
    anchorHandle->set("subtype", type);
    anchorHandle->set("control_point1_id", next.found ? next.id : 0);
    anchorHandle->set("control_point2_id", own.found ? own.id : 0);
    if (next.found) setShapePoint(anchorHandle, "control_point1", next.point);
    if (own.found) setShapePoint(anchorHandle, "control_point2", own.point);
    handles->add(anchorHandle);
  }
  return handles;
}

ArrayRef CMShapeLayer::bezierEditingPoints() const {
  ArrayRef handles = Array::make();
  const DictRef record = shapeRecord();
  const ArrayRef clicks = record ? record->array("points") : nullptr;
  if (!clicks) return handles;
  for (std::size_t index = 0; index < clicks->size(); ++index) {
    const DictRef click = clicks->at(index).dictionary();
    handles->add(handleAt(shapePoint(click, "point"), kCMHandleBezierPoint));
    handles->add(handleAt(shapePoint(click, "control_point1"), kCMHandleBezierControl1));
    // The first click has no curve arriving at it.
    if (index > 0) handles->add(handleAt(shapePoint(click, "control_point2"), kCMHandleBezierControl2));
  }
  return handles;
}

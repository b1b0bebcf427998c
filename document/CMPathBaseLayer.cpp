// The outline of text and image layers and its editing handles.

#include "document/CMPathBaseLayer.h"

#include <cmath>

#include "document/CMPathShape.h"
#include "document/CMShapeRecordValues.h"
#include "platform/core/geometry_strings.h"
#include "platform/graphics/graphics_context.h"

using platform::Array;
using platform::ArrayRef;
using platform::BezierPath;
using platform::Dictionary;
using platform::DictRef;
using platform::Point;

namespace {

ArrayRef outlineRecords(const DictRef& data) {
  ArrayRef points = data->array("points");
  return points && !points->empty() ? points : nullptr;
}

DictRef handle(Point point, std::int32_t type, const platform::Value& pointId) {
  return Dictionary::make({{"point", platform::stringFromPoint(point)}, {"type", type}, {"id", pointId}});
}

// A layer-local length; a view zoom that cannot divide keeps the view length.
double localLength(double viewLength, float viewZoom) {
  const double local = viewLength / viewZoom;
  if (std::isfinite(local)) return local;
  return std::isfinite(viewLength) ? viewLength : 0;
}

}  // namespace

BezierPath CMPathBaseLayer::path() {
  const ArrayRef points = outlineRecords(data_);
  if (!points) return {};
  BezierPath outline = CMPathShape::pathFromPointRecords(points);
  outline.transformUsingAffineTransform(transform());
  return outline;
}

void CMPathBaseLayer::clipToOutline(platform::GraphicsContext& context) {
  BezierPath outline = path();
  if (outline.isEmpty()) return;
  outline.transformUsingAffineTransform(backTransform());
  context.clipToPath(outline);
}

void CMPathBaseLayer::setPointKey(std::string_view key, Point point, std::int32_t pointId) {
  const Point local = backTransform().transformPoint(point);
  if (const ArrayRef points = data_->array("points")) {
    for (const platform::Value& entry : *points) {
      const DictRef record = entry.dictionary();
      if (record && record->get("id").integerValue() == pointId) setShapePoint(record, key, local);
    }
  }
  setDirty(true);
}

void CMPathBaseLayer::setPathPoint(Point point, std::int32_t pointId) { setPointKey("point", point, pointId); }

void CMPathBaseLayer::setPathControlPoint1(Point point, std::int32_t pointId) {
  setPointKey("control_point1", point, pointId);
}

void CMPathBaseLayer::setPathControlPoint2(Point point, std::int32_t pointId) {
  setPointKey("control_point2", point, pointId);
}

ArrayRef CMPathBaseLayer::defaultOutline() {
  // The layer rect is in view units; the records are read back through `transform`,
  // which multiplies by the view zoom again.
  const platform::Size size = layerRect().size;
  const double w = localLength(size.width, viewZoom_);
  const double h = localLength(size.height, viewZoom_);
  const auto corner = [](Point point, int type, int pointId) {
    return Dictionary::make({{"point", platform::stringFromPoint(point)}, {"type", type}, {"id", pointId}});
  };
  return Array::make({corner({0, 0}, 1, 1), corner({0, h}, 2, 2), corner({w, h}, 2, 4), corner({w, 0}, 10, 5)});
}

ArrayRef CMPathBaseLayer::pathEditingPoints() {
  ArrayRef points = outlineRecords(data_);
  if (!points) {
    points = defaultOutline();
    data_->set("points", points);
  }
  const platform::AffineTransform toView = transform();
  ArrayRef handles = Array::make();
  for (const platform::Value& entry : *points) {
    const DictRef record = entry.dictionary();
    if (!record) continue;
    const platform::Value pointId = record->get("id");
    handles->add(handle(toView.transformPoint(shapePoint(record, "point")), kCMHandlePathPoint, pointId));
    if (record->contains("control_point1")) {
      handles->add(
          handle(toView.transformPoint(shapePoint(record, "control_point1")), kCMHandleControlPoint1, pointId));
    }
    if (record->contains("control_point2")) {
      handles->add(
          handle(toView.transformPoint(shapePoint(record, "control_point2")), kCMHandleControlPoint2, pointId));
    }
  }
  return handles;
}

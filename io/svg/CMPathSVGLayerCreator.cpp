// The geometry half of the layer creator: points of paths, polygons, rectangles and circles, lines and text places.

#include "io/svg/CMPathSVGLayerCreator.h"

#include <cmath>
#include <vector>

#include "document/CMBaseDocument.h"
#include "document/CMPointTypes.h"
#include "document/CMShapeRecordValues.h"
#include "io/svg/VDSVGNumberList.h"
#include "io/svg/VDSVGTransformList.h"
#include "platform/core/geometry_strings.h"
#include "platform/graphics/bezier_path.h"

using platform::AffineTransform;
using platform::DictRef;
using platform::Point;
using platform::Value;

namespace {

// A quarter circle as a cubic: its control points lie this far along the tangents, in radii.
constexpr double kQuarterCircle = 0.5522847498307936;

float attributeFloat(const DictRef& attributes, std::string_view key) { return attributes->get(key).floatValue(); }

// A transform that turns or skews, which no upright rectangle can follow.
bool turnsOrSkews(const AffineTransform& t) { return t.m12 != 0 || t.m21 != 0; }

}  // namespace

CMPathSVGLayerCreator::CMPathSVGLayerCreator(const DictRef& attributes, std::string_view shape,
                                             CMBaseDocument& document, platform::Size size,
                                             const platform::ArrayRef& gradients, const platform::ArrayRef& styles,
                                             bool closed)
    : size_(size), gradients_(gradients), styles_(styles), closed_(closed) {
  // A rectangle or circle that the transform turns keeps its shape only as a path of its outline.
  AffineTransform transform;
  const bool outline = (shape == "rect" || shape == "oval") &&
                       findTransform(attributes->array("transform"), transform) && turnsOrSkews(transform);
  object_ = document.createObject(outline ? "path" : shape, {0, 0});
  if (!object_) return;
  createPoints(attributes, shape, outline);
  createFill(attributes);
  createStroke(attributes);
  setLayerAttributes(attributes);
}

bool CMPathSVGLayerCreator::findTransform(const platform::ArrayRef& transforms, AffineTransform& transform) {
  if (!transforms) return false;
  AffineTransform composed;
  bool found = false;
  for (const Value& entry : *transforms) applySVGTransformList(entry.string(), composed, found);
  if (found) transform = composed;
  return found;
}

platform::Rect CMPathSVGLayerCreator::rectFromPoints(const platform::ArrayRef& points) {
  return pathFromPoints(points).bounds();
}

platform::BezierPath CMPathSVGLayerCreator::pathFromPoints(const platform::ArrayRef& points) {
  platform::BezierPath path;
  for (const Value& entry : *points) {
    const DictRef point = entry.dictionary();
    if (!point) continue;
    const std::int64_t type = point->get("type").integerValue();
    const Point p = shapePoint(point, "point");
    if (type & kCMPointMove) {
      path.moveTo(p);
    } else if (type & kCMPointLine) {
      path.lineTo(p);
    } else if (type & kCMPointCurve) {
      path.curveTo(p, shapePoint(point, "control_point1"), shapePoint(point, "control_point2"));
    }
    if (type & kCMPointClose) path.closePath();
  }
  return path;
}

void CMPathSVGLayerCreator::createPoints(const DictRef& attributes, std::string_view shape, bool outline) {
  if (outline) {
    createOutlinePoints(attributes, shape);
  } else if (shape == "path" || shape == "path_polygon") {
    createPathPoints(attributes, shape);
  } else if (shape == "oval" || shape == "rect") {
    createCornerPoints(attributes, shape);
  } else if (shape == "text") {
    setFloat(object_, "x", attributeFloat(attributes, "x"));
    setFloat(object_, "y", attributeFloat(attributes, "y"));
    createFont(attributes);
  } else if (shape == "line") {
    createLine(attributes);
  }
  // The common tail.
  if (const Value* anchor = attributes->find("text-anchor")) object_->set("text-anchor", *anchor);
  if (const Value* transforms = attributes->find("transform")) object_->set("transforms", *transforms);
}

void CMPathSVGLayerCreator::createPathPoints(const DictRef& attributes, std::string_view shape) {
  const DictRef shapeRecord = object_->dictionary("shape");
  points_ = shapeRecord ? shapeRecord->array("points") : nullptr;
  if (!points_) return;
  if (shape == "path_polygon") {
    if (const Value* points = attributes->find("points")) parsePolygon(points->string());
  } else if (const Value* data = attributes->find("d")) {
    VDSVGStringParser(*this).parseString(data->string());
  }
  if (points_->empty()) return;
  AffineTransform transform;
  const bool transformed = findTransform(attributes->array("transform"), transform);
  placePoints(transformed ? &transform : nullptr);
}

void CMPathSVGLayerCreator::createCornerPoints(const DictRef& attributes, std::string_view shape) {
  platform::Rect r;
  if (shape == "oval") {
    if (!attributes->contains("cx") || !attributes->contains("cy")) return;
    const float radius = attributeFloat(attributes, "r");
    r = {attributeFloat(attributes, "cx") - radius, attributeFloat(attributes, "cy") - radius, 2.0f * radius,
         2.0f * radius};
  } else {
    r = {attributeFloat(attributes, "x"), attributeFloat(attributes, "y"), attributeFloat(attributes, "width"),
         attributeFloat(attributes, "height")};
  }
  const DictRef shapeRecord = object_->dictionary("shape");
  if (!shapeRecord) return;
  points_ = platform::Array::make();
  shapeRecord->set("points", points_);
  setFloat(object_, "width", r.size.width);
  setFloat(object_, "height", r.size.height);
  AffineTransform transform;
  if (findTransform(attributes->array("transform"), transform)) {
    platform::BezierPath outline = platform::BezierPath::rect(r);
    outline.transformUsingAffineTransform(transform);
    r = outline.bounds();
  }
  const Point corners[] = {{r.origin.x, r.origin.y},
                           {r.origin.x, r.origin.y + r.size.height},
                           {r.origin.x + r.size.width, r.origin.y + r.size.height},
                           {r.origin.x + r.size.width, r.origin.y}};
  const std::int64_t types[] = {kCMPointMove, kCMPointLine, kCMPointLine, kCMPointLine | kCMPointClose};
  const int ids[] = {1, 2, 4, 5};
  for (int i = 0; i < 4; ++i) {
    if (!std::isfinite(corners[i].x) || !std::isfinite(corners[i].y)) finite_ = false;
    points_->add(platform::Dictionary::make(
        {{"point", platform::stringFromPoint(corners[i])}, {"type", types[i]}, {"id", ids[i]}}));
  }
}

void CMPathSVGLayerCreator::createOutlinePoints(const DictRef& attributes, std::string_view shape) {
  const DictRef shapeRecord = object_->dictionary("shape");
  points_ = shapeRecord ? shapeRecord->array("points") : nullptr;
  if (!points_) return;
  if (shape == "rect") {
    const double x = attributeFloat(attributes, "x"), y = attributeFloat(attributes, "y");
    const double w = attributeFloat(attributes, "width"), h = attributeFloat(attributes, "height");
    SVGMoveTo({x, y});
    SVGLineTo({x, y + h});
    SVGLineTo({x + w, y + h});
    SVGLineTo({x + w, y});
  } else {
    if (!attributes->contains("cx") || !attributes->contains("cy")) return;
    const double cx = attributeFloat(attributes, "cx"), cy = attributeFloat(attributes, "cy");
    const double r = attributeFloat(attributes, "r"), k = kQuarterCircle * r;
    SVGMoveTo({cx + r, cy});
    SVGCurveToPoint({cx, cy + r}, {cx + r, cy + k}, {cx + k, cy + r});
    SVGCurveToPoint({cx - r, cy}, {cx - k, cy + r}, {cx - r, cy + k});
    SVGCurveToPoint({cx, cy - r}, {cx - r, cy - k}, {cx - k, cy - r});
    SVGCurveToPoint({cx + r, cy}, {cx + k, cy - r}, {cx + r, cy - k});
  }
  SVGClosePath();
  AffineTransform transform;
  findTransform(attributes->array("transform"), transform);
  placePoints(&transform);
}

void CMPathSVGLayerCreator::createLine(const DictRef& attributes) {
  const float x1 = attributeFloat(attributes, "x1"), y1 = attributeFloat(attributes, "y1");
  setFloat(object_, "x", x1);
  setFloat(object_, "y", y1);
  const DictRef shape = object_->dictionary("shape");
  if (!shape) return;
  setFloat(shape, "x1", 0);
  setFloat(shape, "y1", 0);
  setFloat(shape, "x2", attributeFloat(attributes, "x2") - x1);
  setFloat(shape, "y2", attributeFloat(attributes, "y2") - y1);
  shape->set("line_arrow_type", 0);
}

void CMPathSVGLayerCreator::parsePolygon(std::string_view text) {
  const std::vector<double> numbers = SVGNumberList(text);
  for (std::size_t i = 0; i + 1 < numbers.size(); i += 2) {
    const DictRef point = addPoint({numbers[i], numbers[i + 1]}, i == 0 ? kCMPointMove : kCMPointLine);
    point->set("id", static_cast<std::int64_t>(i / 2 + 1));
  }
  if (closed_) SVGClosePath();
}

void CMPathSVGLayerCreator::placePoints(const AffineTransform* transform) {
  const Point p0 = shapePoint(points_->at(0).dictionary(), "point");
  setFloat(object_, "x", p0.x);
  setFloat(object_, "y", p0.y);
  for (const Value& entry : *points_) {
    const DictRef point = entry.dictionary();
    for (const std::string_view key : {"point", "control_point1", "control_point2"}) {
      if (!point->contains(key)) continue;
      Point p = shapePoint(point, key);
      if (transform) p = transform->transformPoint(p);
      p = {p.x - p0.x, p.y - p0.y};
      if (!std::isfinite(p.x) || !std::isfinite(p.y)) finite_ = false;
      point->set(key, platform::stringFromPoint(p));
    }
  }
  const platform::Rect bounds = rectFromPoints(points_);
  setFloat(object_, "width", bounds.size.width);
  setFloat(object_, "height", bounds.size.height);
}

void CMPathSVGLayerCreator::SVGMoveTo(Point point) { addPoint(point, kCMPointMove); }

void CMPathSVGLayerCreator::SVGLineTo(Point point) { addPoint(point, kCMPointLine); }

void CMPathSVGLayerCreator::SVGCurveToPoint(Point end, Point c1, Point c2) {
  const DictRef point = addPoint(end, kCMPointCurve);
  point->set("control_point1", platform::stringFromPoint(c1));
  point->set("control_point2", platform::stringFromPoint(c2));
}

void CMPathSVGLayerCreator::SVGClosePath() {
  if (points_->empty()) return;
  const DictRef last = points_->last().dictionary();
  last->set("type", last->get("type").integerValue() | kCMPointClose);
}

DictRef CMPathSVGLayerCreator::addPoint(Point point, std::int64_t type) {
  DictRef record = platform::Dictionary::make({{"point", platform::stringFromPoint(point)}, {"type", type}});
  points_->add(record);
  return record;
}

void CMPathSVGLayerCreator::setFloat(const DictRef& record, std::string_view key, double value) {
  const float single = static_cast<float>(value);
  if (!std::isfinite(single)) finite_ = false;
  record->set(key, Value(single));
}

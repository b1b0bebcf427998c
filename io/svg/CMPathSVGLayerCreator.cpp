// The geometry half of the layer creator: points of paths, polygons, rectangles and circles, lines and text places.

#include "io/svg/CMPathSVGLayerCreator.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

#include "document/CMBaseDocument.h"
#include "document/CMPointTypes.h"
#include "document/CMShapeRecordValues.h"
#include "io/svg/VDSVGLength.h"
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

// A transform that turns or skews, which no upright rectangle can follow.
bool turnsOrSkews(const AffineTransform& t) { return t.m12 != 0 || t.m21 != 0; }

bool finiteSingle(Point p) { return std::isfinite(static_cast<float>(p.x)) && std::isfinite(static_cast<float>(p.y)); }

}  // namespace

// One radius missing (or negative) takes the other's value, and neither passes half the side.
platform::Size CMPathSVGLayerCreator::cornerRadii(const DictRef& attributes, double width, double height) const {
  const auto radius = [&](std::string_view key) -> std::optional<double> {
    if (!attributes->contains(key)) return std::nullopt;
    const double r = attributeFloat(attributes, key);
    return r >= 0 ? std::optional<double>(r) : std::nullopt;
  };
  const std::optional<double> rx = radius("rx"), ry = radius("ry");
  const double x = rx ? *rx : ry ? *ry : 0;
  const double y = ry ? *ry : x;
  return {std::min(x, width / 2), std::min(y, height / 2)};
}

CMPathSVGLayerCreator::CMPathSVGLayerCreator(const DictRef& attributes, std::string_view shape,
                                             CMBaseDocument& document, platform::Size size,
                                             CMSVGGradients& gradients, const platform::ArrayRef& styles,
                                             bool closed)
    : size_(size), gradients_(gradients), styles_(styles), closed_(closed) {
  AffineTransform transform;
  const bool transformed = findTransform(attributes->array("transform"), transform);
  // Strokes and dashes grow with the transform's linear scale.
  if (transformed) strokeScale_ = std::sqrt(std::fabs(transform.m11 * transform.m22 - transform.m12 * transform.m21));
  // A rectangle or circle that the transform turns, or a rounded rectangle, keeps its shape only as a path of its
  // outline.
  const platform::Size radii = cornerRadii(attributes, attributeFloat(attributes, "width"),
                                           attributeFloat(attributes, "height"));
  const bool outline = (shape == "rect" || shape == "oval") &&
                       ((transformed && turnsOrSkews(transform)) ||
                        (shape == "rect" && radii.width > 0 && radii.height > 0));
  object_ = document.createObject(outline ? "path" : shape, {0, 0});
  if (!object_) return;
  createPoints(attributes, shape, outline);
  createFill(attributes);
  createStroke(attributes);
  // A line takes its stroke width back from "def_width" whenever it is rebuilt.
  if (const DictRef stroke = shape == "line" ? shapeEntry("stroke") : nullptr) {
    object_->dictionary("shape")->set("def_width", stroke->get("lineWidth"));
  }
  setLayerAttributes(attributes);
}

SVGLengthBasis CMPathSVGLayerCreator::lengthBasis(const DictRef& attributes, std::string_view key) const {
  // A percentage is of the viewport's width for horizontal lengths, its height for vertical ones and its
  // normalised diagonal for the rest.
  const bool horizontal = key == "x" || key == "cx" || key == "x1" || key == "x2" || key == "width" || key == "rx";
  const bool vertical = key == "y" || key == "cy" || key == "y1" || key == "y2" || key == "height" || key == "ry";
  const double w = size_.width, h = size_.height;
  SVGLengthBasis basis{horizontal ? w : vertical ? h : std::sqrt((w * w + h * h) / 2)};
  if (key != "font-size" && attributes->contains("font-size")) basis.fontSize = attributeFloat(attributes, "font-size");
  if (!(basis.fontSize > 0)) basis.fontSize = kSVGInitialFontSize;
  return basis;
}

float CMPathSVGLayerCreator::attributeFloat(const DictRef& attributes, std::string_view key) const {
  const Value* value = attributes->find(key);
  if (!value || !value->isString()) return value ? value->floatValue() : 0.0f;
  return static_cast<float>(SVGLength(value->string(), lengthBasis(attributes, key)).value_or(0));
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

bool CMPathSVGLayerCreator::hasArea(const DictRef& attributes, std::string_view shape) {
  // A missing, zero or negative size draws nothing; so does a number that reads as none.
  const auto positive = [&](std::string_view key) { return attributeFloat(attributes, key) > 0; };
  drawsNothing_ = shape == "oval" ? !positive("r") : !positive("width") || !positive("height");
  return !drawsNothing_;
}

void CMPathSVGLayerCreator::createCornerPoints(const DictRef& attributes, std::string_view shape) {
  if (!hasArea(attributes, shape)) return;
  platform::Rect r;
  if (shape == "oval") {
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
    // The corners are read back in single precision.
    if (!finiteSingle(corners[i])) finite_ = false;
    points_->add(platform::Dictionary::make(
        {{"point", platform::stringFromPoint(corners[i])}, {"type", types[i]}, {"id", ids[i]}}));
  }
}

void CMPathSVGLayerCreator::createOutlinePoints(const DictRef& attributes, std::string_view shape) {
  const DictRef shapeRecord = object_->dictionary("shape");
  points_ = shapeRecord ? shapeRecord->array("points") : nullptr;
  if (!points_ || !hasArea(attributes, shape)) return;
  if (shape == "rect") {
    const double x = attributeFloat(attributes, "x"), y = attributeFloat(attributes, "y");
    const double w = attributeFloat(attributes, "width"), h = attributeFloat(attributes, "height");
    const platform::Size radii = cornerRadii(attributes, w, h);
    if (radii.width > 0 && radii.height > 0) {
      addRoundedRect(x, y, w, h, radii);
    } else {
      SVGMoveTo({x, y});
      SVGLineTo({x, y + h});
      SVGLineTo({x + w, y + h});
      SVGLineTo({x + w, y});
    }
  } else {
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

// Each quarter turns through a cubic from the end of one side to the start of the next.
void CMPathSVGLayerCreator::addRoundedRect(double x, double y, double w, double h, platform::Size radii) {
  const double rx = radii.width, ry = radii.height, kx = kQuarterCircle * rx, ky = kQuarterCircle * ry;
  SVGMoveTo({x + rx, y});
  SVGLineTo({x + w - rx, y});
  SVGCurveToPoint({x + w, y + ry}, {x + w - rx + kx, y}, {x + w, y + ry - ky});
  SVGLineTo({x + w, y + h - ry});
  SVGCurveToPoint({x + w - rx, y + h}, {x + w, y + h - ry + ky}, {x + w - rx + kx, y + h});
  SVGLineTo({x + rx, y + h});
  SVGCurveToPoint({x, y + h - ry}, {x + rx - kx, y + h}, {x, y + h - ry + ky});
  SVGLineTo({x, y + ry});
  SVGCurveToPoint({x + rx, y}, {x, y + ry - ky}, {x + rx - kx, y});
}

void CMPathSVGLayerCreator::createLine(const DictRef& attributes) {
  Point start{attributeFloat(attributes, "x1"), attributeFloat(attributes, "y1")};
  Point end{attributeFloat(attributes, "x2"), attributeFloat(attributes, "y2")};
  AffineTransform transform;
  if (findTransform(attributes->array("transform"), transform)) {
    start = transform.transformPoint(start);
    end = transform.transformPoint(end);
  }
  setFloat(object_, "x", start.x);
  setFloat(object_, "y", start.y);
  const DictRef shape = object_->dictionary("shape");
  if (!shape) return;
  setFloat(shape, "x1", 0);
  setFloat(shape, "y1", 0);
  setFloat(shape, "x2", end.x - start.x);
  setFloat(shape, "y2", end.y - start.y);
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
      // The points are read back in single precision.
      if (!finiteSingle(p)) finite_ = false;
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

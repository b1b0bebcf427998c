// The canvas handles of the first fill's gradient: a centre handle for the focal
// offset and a radius handle for the extent and, for the angled gradient, the angle.

#include <algorithm>
#include <cmath>
#include <numbers>

#include "document/CMGradientEditorService.h"
#include "document/CMGradientTypes.h"
#include "document/CMShapeLayer.h"
#include "document/CMShapeRecordValues.h"
#include "platform/graphics/rect_functions.h"

using platform::DictRef;
using platform::Point;
using platform::Rect;

namespace {

constexpr std::int64_t kGradientFill = 3;
// The radius handle stands this fraction of the frame's width from the centre at a radius factor of 1.
constexpr double kRadiusShare = 0.4;

double radiusFactor(const DictRef& gradient) {
  const platform::Value* factor = gradient->find("radius_factor");
  return factor ? factor->floatValue() : 1.0;
}

bool isFinite(Point p) { return std::isfinite(p.x) && std::isfinite(p.y); }

DictRef handleAt(Point point, std::int32_t type) {
  DictRef handle = platform::Dictionary::make();
  setShapePoint(handle, "point", point);
  handle->set("type", type);
  return handle;
}

// In the layer's own units, as the handles are drawn and hit (through the zoom) and as the canvas hands in the
// pointer: the canvas's zoom applied here as well put the handles at the square of the zoom.
Rect frameBounds(const platform::BezierPath& frame) { return frame.isEmpty() ? Rect{} : frame.bounds(); }

}  // namespace

platform::AffineTransform CMShapeLayer::transformRotatingAroundPoint(Point center, double degrees) {
  platform::AffineTransform turn;
  turn.translate(center.x, center.y);
  turn.rotateByDegrees(degrees);
  turn.translate(-center.x, -center.y);
  return turn;
}

DictRef CMShapeLayer::fillGradient() const {
  const DictRef record = shapeRecord();
  const DictRef fill = record ? record->dictionary("fill") : nullptr;
  if (!fill || fill->get("type").integerValue() != kGradientFill) return nullptr;
  return fill->dictionary("gradient");
}

Point CMShapeLayer::gradientCenter(const DictRef& gradient, const Rect& frame) const {
  return {platform::midX(frame) + gradient->get("fx").floatValue() * frame.size.width,
          platform::midY(frame) + gradient->get("fy").floatValue() * frame.size.height};
}

platform::ArrayRef CMShapeLayer::gradientEditingPoints() {
  const DictRef gradient = fillGradient();
  if (!gradient) return nullptr;
  const std::int64_t type = gradient->get("type").integerValue();
  if (type != kCMGradientLeftToRight && type != kCMGradientRadial && type != kCMGradientAngled) return nullptr;
  const Rect frame = frameBounds(framePath(false));
  const Point center = gradientCenter(gradient, frame);
  Point radius{center.x + radiusFactor(gradient) * frame.size.width * kRadiusShare, center.y};
  if (type == kCMGradientAngled) {
    const double angle = gradient->get("angle").floatValue();
    radius = transformRotatingAroundPoint(center, 360 - angle).transformPoint(radius);
  }
  if (!isFinite(center) || !isFinite(radius)) return nullptr;  // a hostile record has no place to show
  return platform::Array::make({handleAt(radius, kCMHandleGradientRadius), handleAt(center, kCMHandleGradientCentre)});
}

Point CMShapeLayer::findPoint(std::int32_t handleType) {
  const platform::ArrayRef handles = gradientEditingPoints();
  if (!handles) return {};
  for (const platform::Value& entry : *handles) {
    const DictRef handle = entry.dictionary();
    if (handle && handle->get("type").intValue() == handleType) return shapePoint(handle, "point");
  }
  return {};
}

void CMShapeLayer::setGradientPoint(Point point) {
  const DictRef gradient = fillGradient();
  if (!gradient) return;
  const std::int64_t type = gradient->get("type").integerValue();
  if (type != kCMGradientLeftToRight && type != kCMGradientRadial && type != kCMGradientAngled) return;
  const Rect frame = frameBounds(framePath(false));
  // A frame without width or height has no finite radius factor or offset.
  if (frame.size.width == 0 || frame.size.height == 0) return;

  float dx = 0;
  float dy = 0;
  float distance = 0;
  if (type == kCMGradientAngled) {
    const Point center = gradientCenter(gradient, frame);
    if (!toSingle(point.x - center.x, dx) || !toSingle(point.y - center.y, dy)) return;
    distance = std::sqrt(dx * dx + dy * dy);
  } else if (!toSingle(point.x - findPoint(kCMHandleGradientCentre).x, distance)) {
    return;
  }
  // Below 1 (negative, too) the extent is 1; else at most a hundred frame widths.
  const double extent = distance >= 1 ? std::min<double>(distance, frame.size.width * 100) : 1.0;
  setShapeFloat(gradient, "radius_factor", extent / (frame.size.width * kRadiusShare));
  if (type == kCMGradientAngled) {
    // The direction measured from (0, -1) towards (1, 0), in [0, 360).
    float direction = dx == 0 && dy == 0 ? 0.0f : std::atan2(dx, -dy) * 180.0f / std::numbers::pi_v<float>;
    if (direction < 0) direction += 360.0f;
    setShapeFloat(gradient, "angle", 90.0f - direction);
  }
  gradientChanged();
}

void CMShapeLayer::setGradientCentralPoint(Point point) {
  const DictRef gradient = fillGradient();
  if (!gradient) return;
  const Rect frame = frameBounds(framePath(false));
  if (frame.size.width == 0 || frame.size.height == 0) return;
  setShapeFloat(gradient, "fx", (point.x - platform::midX(frame)) / frame.size.width);
  // A left-to-right gradient has no vertical offset.
  if (gradient->get("type").integerValue() != kCMGradientLeftToRight) {
    setShapeFloat(gradient, "fy", (point.y - platform::midY(frame)) / frame.size.height);
  }
  gradientChanged();
}

void CMShapeLayer::gradientChanged() {
  CMGradientEditorService::sharedGradient().update();
  setDirty(true);
}

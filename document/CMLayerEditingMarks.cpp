// Editing marks of a selected layer on the canvas: dashed frames, the rotation circle,
// the path outline, the gradient line and the editing handles with their control lines.
// Marks are drawn without the drawer's zoom transform, so every point in layer
// coordinates is mapped through the layer's own zoom transform first.

#include <cmath>
#include <vector>

#include "document/CMLayer.h"
#include "document/CMProject.h"
#include "document/CMShapeRecordValues.h"
#include "platform/graphics/graphics_context.h"
#include "platform/graphics/rect_functions.h"

namespace {

using platform::BezierPath;
using platform::Color;
using platform::DictRef;
using platform::GraphicsContext;
using platform::Point;
using platform::Rect;

constexpr double kHandleSize = 8;
constexpr double kRotateCircleRoom = 20;
constexpr std::int32_t kRoundHandleBit = 4;

Color frameColor() { return Color::calibrated(60 / 255.0, 160 / 255.0, 255 / 255.0, 1); }
Color rotateCircleColor() { return Color::calibrated(60 / 255.0, 180 / 255.0, 255 / 255.0, 1); }
Color handleOutlineColor() { return Color::calibrated(0, 50 / 255.0, 255 / 255.0, 1); }

void strokeDashed(GraphicsContext& context, BezierPath path, const Color& color) {
  static constexpr double kDash[] = {6, 4};
  path.setLineWidth(1);
  path.setLineDash(kDash, 2, 0);
  context.setStrokeColor(color);
  context.strokePath(path);
}

bool isControlPoint(std::int32_t type) { return type == kCMHandleControlPoint1 || type == kCMHandleControlPoint2; }
bool isRotationHandle(std::int32_t type) { return type == kCMHandleRotateTop || type == kCMHandleRotateBottom; }

std::int32_t pointType(const DictRef& point) { return point->get("type").intValue(); }

// A control point counts as its anchor.
std::int32_t selectionKey(const DictRef& point) {
  return point->get(isControlPoint(pointType(point)) ? "owner_id" : "id").intValue();
}

Rect handleRect(Point center) {
  return {center.x - kHandleSize / 2, center.y - kHandleSize / 2, kHandleSize, kHandleSize};
}

// The dragged point's own entries first, then the rest, each in list order.
std::vector<DictRef> orderedPoints(const platform::ArrayRef& points, const DictRef& dragged) {
  std::vector<DictRef> first;
  std::vector<DictRef> rest;
  for (const platform::Value& value : *points) {
    DictRef point = value.dictionary();
    if (!point) continue;
    const bool isDragged = dragged && point->get("id").intValue() == dragged->get("id").intValue();
    (isDragged ? first : rest).push_back(std::move(point));
  }
  first.insert(first.end(), rest.begin(), rest.end());
  return first;
}

}  // namespace

void CMLayer::drawEditing(platform::GraphicsContext& context, const platform::Rect& rect) {
  if (hidden_) return;
  switch (CMProject::shareProject().editMode()) {
    case kCMEditModeObject:
      switch (selectedFrameType()) {
        case 0:
          drawSelectedFrame(context, rect);
          drawRotateFrame(context, rect);
          drawEditingPoint(context, rect);
          break;
        case 1:
          drawSelectedLine(context);
          drawLineEditingPoint(context, rect);
          break;
        case 2:
          drawSelectedFrame(context, rect);
          break;
        default:
          break;
      }
      break;
    case kCMEditModePathPoints:
      drawPathFrame(context, rect);
      drawEditingPoint(context, rect);
      break;
    case kCMEditModeGradient:
      drawGradientEditing(context, rect);
      drawEditingPoint(context, rect);
      break;
    case kCMEditModePenCurve:
      drawEditingPoint(context, rect);
      break;
    default:
      break;
  }
}

void CMLayer::drawSelectedFrame(platform::GraphicsContext& context, const platform::Rect& /*rect*/) {
  const BezierPath frame = framePath();
  if (platform::isEmptyRect(frame.bounds())) return;
  context.saveGraphicsState();
  if (data_->contains("rotate")) context.concatCTM(rotateTransform(&frame));
  strokeDashed(context, frame, frameColor());
  context.restoreGraphicsState();
}

void CMLayer::drawPathFrame(platform::GraphicsContext& context, const platform::Rect& /*rect*/) {
  if (editingType_ != 0) return;
  const BezierPath outline = path();
  if (outline.elementCount() == 0) return;
  context.saveGraphicsState();
  if (data_->contains("rotate")) {
    const BezierPath frame = framePath();
    context.concatCTM(rotateTransform(&frame));
  }
  strokeDashed(context, zoomTransform_.transformBezierPath(outline), frameColor());
  context.restoreGraphicsState();
}

void CMLayer::drawSelectedLine(platform::GraphicsContext& context) {
  const platform::ArrayRef points = lineEditingPoints();
  if (!points || points->empty()) return;
  BezierPath line;
  for (const platform::Value& value : *points) {
    const DictRef point = value.dictionary();
    if (!point) continue;
    const Point at = zoomTransform_.transformPoint(shapePointValue(point->get("point")));
    if (line.elementCount() == 0) {
      line.moveTo(at);
    } else {
      line.lineTo(at);
    }
  }
  if (line.elementCount() == 0) return;
  line.closePath();
  context.saveGraphicsState();
  strokeDashed(context, line, frameColor());
  context.restoreGraphicsState();
}

void CMLayer::drawRotateFrame(platform::GraphicsContext& context, const platform::Rect& /*rect*/) {
  if (lockCenterPoint_ && editingType_ != kCMEditingTypeRotating) return;
  const Rect bounds = framePath().bounds();
  // The circle passes through the rotation handles, which stand 10 layer units beyond the half-diagonal.
  const float width = static_cast<float>(bounds.size.width);
  const float height = static_cast<float>(bounds.size.height);
  // The handles' room is in layer units, so it grows with the zoom transform (the zoom in cached mode).
  const float scale = static_cast<float>(std::hypot(zoomTransform_.m11, zoomTransform_.m12));
  const float room = static_cast<float>(kRotateCircleRoom) * scale;
  const float diameter = std::sqrt(width * width + height * height) + room;
  if (!std::isfinite(diameter)) return;
  const double centerX = platform::midX(bounds);
  const double centerY = platform::midY(bounds);
  context.saveGraphicsState();
  strokeDashed(context, BezierPath::ovalInRect({centerX - diameter / 2.0, centerY - diameter / 2.0, diameter, diameter}),
               rotateCircleColor());
  context.restoreGraphicsState();
}

void CMLayer::drawGradientEditing(platform::GraphicsContext& context, const platform::Rect& /*rect*/) {
  const platform::ArrayRef points = gradientEditingPoints();
  if (!points || points->size() < 2) return;
  const DictRef start = points->at(0).dictionary();
  const DictRef end = points->at(1).dictionary();
  if (!start || !end) return;
  BezierPath line;
  line.moveTo(zoomTransform_.transformPoint(shapePointValue(start->get("point"))));
  line.lineTo(zoomTransform_.transformPoint(shapePointValue(end->get("point"))));
  context.saveGraphicsState();
  if (data_->contains("rotate")) {
    const BezierPath frame = framePath();
    context.concatCTM(rotateTransform(&frame));
  }
  strokeDashed(context, line, Color::blackColor());
  context.restoreGraphicsState();
}

void CMLayer::drawEditingPoint(platform::GraphicsContext& context, const platform::Rect& rect) {
  switch (CMProject::shareProject().editMode()) {
    case kCMEditModeObject:
      drawEditingPoint(context, rect, false, editingPoints());
      break;
    case kCMEditModePathPoints: {
      const platform::ArrayRef points = pathEditingPoints();
      drawEditingPoint(context, rect, true, points);
      drawEditingPoint(context, rect, false, points);
      break;
    }
    case kCMEditModeGradient:
      drawEditingPoint(context, rect, false, gradientEditingPoints());
      break;
    default:
      break;
  }
}

void CMLayer::drawLineEditingPoint(platform::GraphicsContext& context, const platform::Rect& rect) {
  platform::ArrayRef points;
  switch (CMProject::shareProject().editMode()) {
    case kCMEditModeObject:
      points = lineEditingPoints();
      break;
    case kCMEditModePathPoints:
      points = pathEditingPoints();
      break;
    case kCMEditModeGradient:
      points = gradientEditingPoints();
      break;
    default:
      return;
  }
  drawEditingPoint(context, rect, true, points);
  drawEditingPoint(context, rect, false, points);
}

void CMLayer::drawEditingPoint(platform::GraphicsContext& context, const platform::Rect& /*rect*/, bool drawLine,
                               const platform::ArrayRef& editingPoints) {
  if (!editingPoints) return;
  platform::AffineTransform rotation;
  if (data_->contains("rotate")) {
    const BezierPath frame = framePath();
    rotation = rotateTransform(&frame);
  }
  std::vector<Rect> drawn;
  // Control points of an anchor whose handle was hidden stay hidden with it.
  bool previousHidden = false;
  for (const DictRef& point : orderedPoints(editingPoints, selEditingPoint_)) {
    const std::int32_t type = pointType(point);
    if (isRotationHandle(type) && lockCenterPoint_ && editingType_ != kCMEditingTypeRotating) continue;
    const Point center = zoomTransform_.transformPoint(shapePointValue(point->get("point")));
    const Rect square = handleRect(center);
    bool overlaps = false;
    for (const Rect& other : drawn) overlaps = overlaps || platform::intersectsRect(square, other);
    if (overlaps) {
      previousHidden = true;
      continue;
    }
    if (previousHidden && isControlPoint(type)) continue;
    drawn.push_back(square);
    previousHidden = false;

    const bool selected = isSelectedEditPoint(point);
    context.saveGraphicsState();
    context.concatCTM(rotation);
    if (drawLine) {
      if (isControlPoint(type)) {
        BezierPath line;
        line.setLineWidth(1);
        line.moveTo(center);
        line.lineTo(zoomTransform_.transformPoint(shapePointValue(point->get("owner_point"))));
        context.setStrokeColor(frameColor());
        context.strokePath(line);
      }
    } else {
      const bool round = isControlPoint(type) || (point->get("subtype").intValue() & kRoundHandleBit) != 0;
      BezierPath handle = round ? BezierPath::ovalInRect(square) : BezierPath::rect(square);
      handle.setLineWidth(1);
      if (isControlPoint(type)) {
        context.setAlpha(selected ? 1 : 0.5);
        context.setFillColor(frameColor());
      } else {
        context.setFillColor(selected ? frameColor() : Color::whiteColor());
      }
      context.fillPath(handle);
      context.setStrokeColor(handleOutlineColor());
      context.strokePath(handle);
    }
    context.restoreGraphicsState();
  }
}

bool CMLayer::isSelectedEditPoint(const platform::DictRef& editingPoint) const {
  if (!editingPoint || !selEditingPoint_) return false;
  return selectionKey(editingPoint) == selectionKey(selEditingPoint_);
}

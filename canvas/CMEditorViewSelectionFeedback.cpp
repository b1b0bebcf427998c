// What the canvas draws over the layers: the rubber band, the guide line, the
// arms and handles of the pen curve being built, and the red helper lines that
// show where a dragged frame meets the page edges and centre lines.

#include <cstddef>
#include <vector>

#include "canvas/CMEditorView.h"
#include "canvas/CMSelectionGeometry.h"
#include "document/CMLayer.h"
#include "platform/core/geometry_strings.h"
#include "platform/graphics/bezier_path.h"
#include "platform/graphics/graphics_context.h"

namespace {

constexpr double kDash[] = {6, 4};
constexpr double kCurveHandleDiameter = 8;

platform::Color rgb(int r, int g, int b) { return platform::Color::calibrated(r / 255.0, g / 255.0, b / 255.0, 1); }

void strokeDashed(platform::GraphicsContext& context, platform::BezierPath path, const platform::Color& colour) {
  path.setLineWidth(1);
  path.setLineDash(kDash, 2, 0);
  context.saveGraphicsState();
  context.setStrokeColor(colour);
  context.strokePath(path);
  context.restoreGraphicsState();
}

void drawCurveHandle(platform::GraphicsContext& context, platform::Point centre, const platform::Color& fill,
                     const platform::Color& stroke) {
  const double r = kCurveHandleDiameter / 2;
  platform::BezierPath circle = platform::BezierPath::ovalInRect({centre.x - r, centre.y - r, 2 * r, 2 * r});
  circle.setLineWidth(1);
  context.setFillColor(fill);
  context.fillPath(circle);
  context.setStrokeColor(stroke);
  context.strokePath(circle);
}

platform::Point pointOf(const platform::DictRef& record, const char* key) {
  return platform::pointFromString(record->get(key).string());
}

}  // namespace

void CMEditorView::drawSel(platform::GraphicsContext& context) {
  if (showSelRect_) {
    strokeDashed(context, platform::BezierPath::rect(selRect_), platform::Color::blackColor());
    return;
  }
  if (showSelLine_) {
    platform::BezierPath line;
    line.moveTo(showPoint1_);
    line.lineTo(showPoint2_);
    strokeDashed(context, line, rgb(60, 160, 255));
    return;
  }
  if (!showCurvePoint_ || !curveAddedLayer_) return;
  const platform::DictRef shape = curveAddedLayer_->data()->dictionary("shape");
  const platform::ArrayRef list = shape ? shape->array("points") : nullptr;
  if (!list || list->empty()) return;
  std::vector<platform::DictRef> points;
  for (const platform::Value& value : *list)
    if (platform::DictRef point = value.dictionary()) points.push_back(point);
  const std::size_t n = points.size();
  if (n == 0) return;
  const bool lastClosed = points[n - 1]->get("closed").boolValue();
  const bool prevClosed = n >= 3 && points[n - 2]->get("closed").boolValue();
  std::size_t lastStart = n;
  for (std::size_t i = 0; i < n; ++i)
    if (points[i]->get("start").boolValue()) lastStart = i;
  // Active by position: the last point, or the one before it while its handle is dragged.
  const auto activeByPosition = [&](std::size_t i) {
    return !lastClosed && (i == n - 1 || (i + 2 == n && !prevClosed && isDraggingCurve_));
  };
  const auto active = [&](std::size_t i) {
    return activeByPosition(i) || (!lastClosed && closedPointMoved_ && i == lastStart);
  };
  const platform::AffineTransform zoom = zoomTransform();
  platform::BezierPath arms;
  for (std::size_t i = 0; i < n; ++i) {
    if (!active(i)) continue;
    const bool fromAnchor = i == 0 && activeByPosition(i);
    arms.moveTo(pointOf(points[i], fromAnchor ? "point" : "control_point1"));
    arms.lineTo(pointOf(points[i], fromAnchor ? "control_point1" : "control_point2"));
  }
  arms.transformUsingAffineTransform(zoom);
  strokeDashed(context, arms, rgb(60, 160, 255));
  context.saveGraphicsState();
  for (std::size_t i = 0; i < n; ++i) {
    if (active(i)) {
      drawCurveHandle(context, zoom.transformPoint(pointOf(points[i], "control_point1")),
                      platform::Color::whiteColor(), rgb(0, 50, 255));
      if (!(i == 0 && activeByPosition(i)))
        drawCurveHandle(context, zoom.transformPoint(pointOf(points[i], "control_point2")),
                        platform::Color::whiteColor(), rgb(0, 50, 255));
    }
    drawCurveHandle(context, zoom.transformPoint(pointOf(points[i], "point")), rgb(60, 160, 255),
                    rgb(250, 50, 255));
  }
  context.restoreGraphicsState();
}

void CMEditorView::drawHelperLines(platform::GraphicsContext& context) {
  if (!selectedLayer_ || !showCenterMarkers_) return;
  const platform::Size page = frame().size;
  const platform::Rect bounds = selectedLayer_->framePath().bounds();
  context.saveGraphicsState();
  context.setStrokeColor(platform::Color::calibrated(1, 0, 0, 1));
  for (const selection_geometry::HelperLine& helper : selection_geometry::helperLines(bounds, page)) {
    platform::BezierPath line;
    line.setLineWidth(1);
    line.moveTo(helper.vertical ? platform::Point{helper.at, 0} : platform::Point{0, helper.at});
    line.lineTo(helper.vertical ? platform::Point{helper.at, page.height} : platform::Point{page.width, helper.at});
    context.strokePath(line);
  }
  context.restoreGraphicsState();
}

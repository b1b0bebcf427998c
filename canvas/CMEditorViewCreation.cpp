// What every creation tool shares: the tracking loop, the rubber band and guide
// line it shows, the conversion to document units, and how a new layer object is
// set up and reported to the main window.

#include <utility>

#include "canvas/CMEditorView.h"
#include "canvas/CMEditorViewDelegate.h"
#include "canvas/CMSelectionGeometry.h"
#include "document/CMLayer.h"

namespace {

// Left mouse down and up, right mouse down, mouse moved and left mouse dragged.
constexpr platform::EventMask kCreationMask = platform::eventMaskFromType(platform::EventType::LeftMouseDown) |
                                              platform::eventMaskFromType(platform::EventType::LeftMouseUp) |
                                              platform::eventMaskFromType(platform::EventType::RightMouseDown) |
                                              platform::eventMaskFromType(platform::EventType::MouseMoved) |
                                              platform::eventMaskFromType(platform::EventType::LeftMouseDragged);

}  // namespace

void CMEditorView::trackCreation(const platform::Event& start, std::function<void(const platform::Event&)> onDrag,
                                 std::function<void(const platform::Event&)> onUp) {
  if (!host()) {
    // Off screen nothing can follow the press: the gesture ends where it began.
    onUp(start);
    return;
  }
  trackMouse(kCreationMask, [this, onDrag = std::move(onDrag), onUp = std::move(onUp)](const platform::Event& event) {
    if (delegate_) delegate_->updateRules(event);
    if (event.type == platform::EventType::LeftMouseDragged) {
      onDrag(event);
    } else if (event.type == platform::EventType::LeftMouseUp) {
      onUp(event);
    }
  });
}

void CMEditorView::trackRubberBand(const platform::Event& start, std::function<void()> onUp) {
  const platform::Point origin = canvasPoint(start);
  // A band left over from an earlier gesture must not stand in for a click without a drag.
  selRect_ = {origin.x, origin.y, 0, 0};
  trackCreation(
      start,
      [this, origin](const platform::Event& event) {
        showSel(origin, canvasPoint(event));
        setNeedsDisplay();
      },
      [onUp = std::move(onUp)](const platform::Event&) { onUp(); });
}

void CMEditorView::trackGuideLine(const platform::Event& start, std::function<void()> onUp) {
  const platform::Point origin = canvasPoint(start);
  // Ends left over from an earlier gesture must not stand in for a click without a drag.
  showPoint1_ = showPoint2_ = origin;
  trackCreation(
      start,
      [this, origin](const platform::Event& event) {
        showLine(origin, canvasPoint(event));
        setNeedsDisplay();
      },
      [onUp = std::move(onUp)](const platform::Event&) { onUp(); });
}

void CMEditorView::showSel(platform::Point first, platform::Point second) {
  showSelRect_ = true;
  selRect_ = selection_geometry::bandRect(first, second);
}

void CMEditorView::showLine(platform::Point first, platform::Point second) {
  showSelLine_ = true;
  showPoint1_ = first;
  showPoint2_ = second;
}

platform::Point CMEditorView::canvasPoint(const platform::Event& event) const {
  return convertPointFromWindow(event.locationInWindow);
}

platform::Point CMEditorView::documentPoint(platform::Point canvasPoint) const {
  return backZoomTransform().transformPoint(canvasPoint);
}

platform::Rect CMEditorView::transformedRect() const {
  const platform::AffineTransform back = backZoomTransform();
  platform::Rect rect{back.transformPoint(selRect_.origin), back.transformSize(selRect_.size)};
  // The shape layer divides the origin by its zoom in vector view mode.
  if (viewMode_) rect.origin = {rect.origin.x * zoom_, rect.origin.y * zoom_};
  return rect;
}

void CMEditorView::setUpCreatedLayer(CMLayer& layer) const {
  layer.setZoom(zoom_);
  layer.setVectorViewMode(viewMode_);
  layer.setViewZoom(viewMode_ ? zoom_ : 1.0f);
}

void CMEditorView::reportCreatedLayer(const std::shared_ptr<CMLayer>& layer) { selectNewLayers({layer->data()}); }

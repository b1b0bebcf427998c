// The drag that follows a press on a layer: moves the layer (with the other
// members of the multi-selection) or drags the handle that was hit. The first
// drag event registers one undo step before anything changes, holding every
// record the drag moves, so one undo puts them all back; a press released
// without motion registers nothing.

#include <cmath>
#include <memory>
#include <utility>
#include <vector>

#include "canvas/CMEditorView.h"
#include "canvas/CMEditorViewDelegate.h"
#include "canvas/CMSelectionGeometry.h"
#include "document/CMDocument.h"
#include "document/CMLayer.h"
#include "platform/graphics/bezier_path.h"
#include "platform/graphics/rect_functions.h"
#include "platform/ui/event.h"

namespace {

// Left down and up, right down, moved and left dragged: the events a tool loop takes.
constexpr platform::EventMask kToolLoopMask = 0x6E;

bool rotates(std::int32_t kind) { return kind == kCMHandleRotateTop || kind == kCMHandleRotateBottom; }
bool resizes(std::int32_t kind) { return kind >= 1 && kind <= 9; }
bool editsPathPoints(std::int32_t kind) { return kind >= kCMHandlePathPoint && kind <= kCMHandleControlPoint2; }
bool editsGradient(std::int32_t kind) { return kind == kCMHandleGradientCentre || kind == kCMHandleGradientRadius; }

}  // namespace

struct CMEditorView::HandleDrag {
  std::shared_ptr<CMLayer> layer;
  platform::DictRef handle;
  platform::Point start;  // the press in document units
  platform::Point origin;
  platform::Size size;
  std::vector<std::pair<std::shared_ptr<CMLayer>, platform::Point>> group;  // members and their first origins
  bool registered = false;
  bool centerLocked = false;
};

bool CMEditorView::moveItem(const platform::Event& event) {
  if (pressIsOnTextEditor(event)) return false;
  const platform::Point press = convertPointFromWindow(event.locationInWindow);
  const std::optional<HitRecord> hit = findLayerAt(press);
  if (hit && hit->layer->data()->get("lock").boolValue()) return false;
  showCenterMarkers_ = true;
  if (!hit || !document_) {
    showCenterMarkers_ = false;
    setNeedsDisplay();
    return false;
  }
  auto drag = std::make_shared<HandleDrag>();
  drag->layer = hit->layer;
  drag->handle = hit->editingPoint;
  drag->start = backZoomTransform().transformPoint(press);
  drag->origin = hit->layer->originPoint();
  drag->size = hit->layer->originalSize();
  for (const auto& member : hit->group) drag->group.emplace_back(member, member->originPoint());
  hit->layer->setSelEditingPoint(hit->editingPoint);
  if (!drag->handle) {
    const platform::Rect bounds = hit->layer->framePath().bounds();
    saveMovingX(bounds, drag->origin, drag->origin, false);
    saveMovingY(bounds, drag->origin, drag->origin, false);
  }
  std::weak_ptr<platform::View> weak = weak_from_this();
  trackMouse(kToolLoopMask, [weak, drag](const platform::Event& next) {
    if (const auto view = weak.lock()) static_cast<CMEditorView&>(*view).dragStep(*drag, next);
  });
  return true;
}

void CMEditorView::dragStep(HandleDrag& drag, const platform::Event& event) {
  if (delegate_) delegate_->updateRules(event);
  if (event.type == platform::EventType::LeftMouseUp) {
    endDrag(drag);
    return;
  }
  if (event.type != platform::EventType::LeftMouseDragged || !document_) return;
  if (!drag.registered) {
    drag.registered = true;
    if (drag.handle || drag.group.empty()) {
      document_->undoManager().regUndoDictionary(0, drag.layer->data());
    } else {
      std::vector<platform::DictRef> records{drag.layer->data()};
      for (const auto& member : drag.group) records.push_back(member.first->data());
      document_->undoManager().regUndoLayers(0, records);
    }
  }
  const platform::Point pointer = convertPointFromWindow(event.locationInWindow);
  const OwnEdit own(*this);
  if (drag.handle)
    dragHandle(drag, pointer);
  else
    dragWhole(drag, pointer);
  document_->setDirty(true);
  setLayersNeedDisplay(dragged(drag));
}

CMEditorView::Layers CMEditorView::dragged(const HandleDrag& drag) {
  Layers layers{drag.layer};
  for (const auto& member : drag.group) layers.push_back(member.first);
  return layers;
}

void CMEditorView::dragHandle(HandleDrag& drag, platform::Point pointer) {
  CMLayer& layer = *drag.layer;
  const platform::BezierPath frame = layer.framePath();
  if (!drag.centerLocked) {
    layer.lockCenter(&frame);
    drag.centerLocked = true;
  }
  const std::int32_t kind = drag.handle->get("type").intValue();
  const platform::AffineTransform backZoom = backZoomTransform();
  const platform::Point pointerInDocument = backZoom.transformPoint(pointer);
  if (rotates(kind)) {
    const platform::Rect bounds = frame.bounds();
    const platform::Point centre = backZoom.transformPoint({platform::midX(bounds), platform::midY(bounds)});
    float angle = selection_geometry::angleBetweenPoints(pointerInDocument, centre);
    if (kind == kCMHandleRotateTop) angle -= 180;
    layer.setRotation(angle);
    return;
  }
  // A handle put where the pointer is turns back about the frame's centre in document units, as the pointer is; the
  // centre locked on the canvas is in canvas units. Resizing takes differences, which the centre does not change.
  const platform::AffineTransform back = editsPathPoints(kind) || editsGradient(kind)
                                             ? layer.backRotateTransform(&frame, &backZoom)
                                             : layer.backRotateTransform(&frame);
  const platform::Point q = back.transformPoint(pointerInDocument);
  const platform::Point q0 = back.transformPoint(drag.start);
  const bool zoomed = viewMode_ && zoom_ > 0 && std::isfinite(zoom_);
  const float k = zoomed ? zoom_ : 1.0f;
  if (resizes(kind)) {
    const float dx = static_cast<float>((q.x - q0.x) * k);
    const float dy = static_cast<float>((q.y - q0.y) * k);
    const bool saveRatio = layer.data()->get("saveratio").boolValue();
    const selection_geometry::HandleResize resize =
        selection_geometry::resizeByHandle(kind, drag.origin, drag.size, dx, dy, k, saveRatio);
    layer.setOriginSize(resize.size);
    if (resize.movesOrigin) layer.setOriginPoint(resize.origin);
    return;
  }
  // The layers keep their points in view units: document units times the zoom in vector view mode.
  const platform::Point target{q.x * k, q.y * k};
  switch (kind) {
    case kCMHandlePathPoint:
      layer.setPathPoint(target, drag.handle);
      break;
    case kCMHandleControlPoint1:
      layer.setPathControlPoint1(target, drag.handle);
      break;
    case kCMHandleControlPoint2:
      layer.setPathControlPoint2(target, drag.handle);
      break;
    case kCMHandleLineStart:
      layer.setLineStartPoint(target);
      break;
    case kCMHandleLineEnd:
      layer.setLineEndPoint(target);
      break;
    case kCMHandleGradientCentre:
      layer.setGradientCentralPoint(target);
      break;
    case kCMHandleGradientRadius:
      layer.setGradientPoint(target);
      break;
    default:
      break;
  }
}

void CMEditorView::dragWhole(HandleDrag& drag, platform::Point pointer) {
  const platform::Point q = backZoomTransform().transformPoint(pointer);
  platform::Point lockedX, lockedY;
  const bool xLocked = isXMovingLock(&lockedX);
  const bool yLocked = isYMovingLock(&lockedY);
  const float dx = static_cast<float>(q.x - drag.start.x);
  const float dy = static_cast<float>(q.y - drag.start.y);
  const platform::Point free{drag.origin.x + dx, drag.origin.y + dy};
  const platform::Point next{xLocked ? lockedX.x : free.x, yLocked ? lockedY.y : free.y};
  drag.layer->setOriginPoint(next);
  const platform::Rect bounds = drag.layer->framePath().bounds();
  saveMovingX(bounds, next, free, true);
  saveMovingY(bounds, next, free, true);
  // The other members follow the pointer, whatever the lock does.
  for (const auto& member : drag.group) member.first->setOriginPoint({member.second.x + dx, member.second.y + dy});
}

void CMEditorView::endDrag(HandleDrag& drag) {
  const OwnEdit own(*this);
  showCenterMarkers_ = false;
  finishMoving();
  if (drag.centerLocked) drag.layer->unlockCenter();
  setLayersNeedDisplay(dragged(drag));
}

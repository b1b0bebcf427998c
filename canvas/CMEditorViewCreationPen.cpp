// The pen: a curve built click by click. A click adds a point (a drag right after
// shapes its handles, mirrored through the point), a click on the start of the
// subpath closes it, a click on another point deletes that point. The pointer's
// hover chooses the sub-mode, and so the cursor, that says which of these a
// click would do. The curve is finished when it is closed or when the tool
// changes.

#include <utility>

#include "canvas/CMEditorView.h"
#include "canvas/CMEditorViewCreationRecords.h"
#include "canvas/CMEditorViewDelegate.h"
#include "document/CMDocument.h"
#include "document/CMDrawer.h"
#include "document/CMNotificationNames.h"
#include "document/CMProject.h"
#include "document/CMShapeLayer.h"
#include "platform/core/geometry_strings.h"
#include "platform/core/main_queue.h"

using creation_records::isClosed;
using creation_records::isNear;
using creation_records::isStart;
using creation_records::pointValue;

namespace {

enum PenMode : int { kPenAdd = 0, kPenShaping = 1, kPenClose = 2, kPenDelete = 3 };

// Whether `point` is near the start of the open subpath at the end of the list.
bool closesLastSubpath(const platform::ArrayRef& points, platform::Point point) {
  if (!points || points->size() < 2 || isClosed(points->last())) return false;
  const platform::DictRef start = points->at(creation_records::subpathStart(points, points->size() - 1)).dictionary();
  return start && isNear(point, pointValue(start, "point"));
}

}  // namespace

void CMEditorView::addBetheier(const platform::Event& event, Completion done) {
  addBetheier(event, "betheier", std::move(done));
}

void CMEditorView::addBetheier(const platform::Event& event, const char* key, Completion done) {
  const platform::Point click = canvasPoint(event);
  curvePoint_ = curveControlPoint1_ = curveControlPoint2_ = click;
  showLastCurvePoint_ = true;
  isDraggingCurve_ = true;
  // A closed curve was finished when it closed.
  if (needToCreateNewLayer_) curveAddedLayer_ = nullptr;
  needToCreateNewLayer_ = false;
  if (!curveAddedLayer_ || !penPoints()) {
    startPenCurve(key, documentPoint(click));
    return;
  }
  addPenPoint(documentPoint(click), std::move(done));
}

void CMEditorView::startPenCurve(const char* key, platform::Point point) {
  curveAddedLayer_ = nullptr;
  const platform::DictRef record = document_ ? document_->addObject(key, point) : nullptr;
  if (!record) return;
  const platform::DictRef shape = creation_records::shapeOf(record);
  creation_records::applyToolLineWidth(shape);
  platform::DictRef first = creation_records::penPoint(point);
  first->set("start", true);
  shape->set("points", platform::Array::make({first}));
  shape->set("start_point", platform::stringFromPoint(point));
  curveAddedLayer_ = drawer_->addObject(record);
  if (curveAddedLayer_) setUpCreatedLayer(*curveAddedLayer_);
  firstPoint_ = true;
  CMProject::shareProject().setEditMode(kCMEditModePenCurve);
  platform::NotificationCenter::defaultCenter().post(kNotificationLayersChanged);
  // After the announcement, which makes the main window forget its current layer.
  if (curveAddedLayer_) selectNewLayers({record});
  setBezierMode(kPenShaping);
  showControlPoints_ = true;
  showCurvePoint_ = true;
  setNeedsDisplay();
}

void CMEditorView::addPenPoint(platform::Point point, Completion done) {
  const platform::ArrayRef points = penPoints();
  const bool closing = closesLastSubpath(points, point);
  bool hit = false;
  if (closing) {
    const platform::DictRef start =
        points->at(creation_records::subpathStart(points, points->size() - 1)).dictionary();
    platform::DictRef closer = platform::Dictionary::make({{"point", start->get("point")},
                                                           {"control_point1", start->get("control_point1")},
                                                           {"control_point2", start->get("control_point2")},
                                                           {"closed", true}});
    points->add(closer);
  } else {
    for (std::size_t index = points->size(); index-- > 0;) {
      const platform::Value candidate = points->at(index);
      const bool opensSubpath = index > 0 && isClosed(points->at(index - 1));
      const bool startsRun = isStart(candidate) && index + 1 < points->size() && !isStart(points->at(index + 1));
      if (opensSubpath || startsRun || !candidate.dictionary()) continue;
      if (!isNear(point, pointValue(candidate.dictionary(), "point"))) continue;
      hit = true;
      if (points->size() >= 2) points->remove(candidate);
    }
    if (!hit) {
      platform::DictRef added = creation_records::penPoint(point);
      if (points->size() >= 2 && isClosed(points->last())) added->set("start", true);
      points->add(added);
    }
  }
  curveAddedLayer_->update();
  curveAddedLayer_->setDirty(true);
  if (closing) {
    // The closed curve is complete: finished now, it holds the place, size and fill the panels show for it, and the
    // next pen click starts a new one.
    const std::shared_ptr<CMLayer> closed = std::exchange(curveAddedLayer_, nullptr);
    creation_records::useShownFill(creation_records::shapeOf(closed->data()));
    finishPenCurve(*closed);
    needToCreateNewLayer_ = true;
  }
  firstPoint_ = false;
  if (closing || hit) {
    showControlPoints_ = false;
    setNeedsDisplay();
    hideSel();
    platform::dispatchAsync(std::move(done));
    return;
  }
  setBezierMode(kPenShaping);
  showControlPoints_ = true;
  showCurvePoint_ = true;
  setNeedsDisplay();
}

void CMEditorView::mouseDraggedBezheir(const platform::Event& event) {
  if (delegate_) delegate_->updateRules(event);
  if (event.type != platform::EventType::LeftMouseDragged) return;
  const platform::ArrayRef points = penPoints();
  const platform::DictRef last = points ? points->last().dictionary() : nullptr;
  if (!last || last->get("closed").boolValue()) return;
  curveControlPoint1_ = canvasPoint(event);
  curveControlPoint2_ = {2 * curvePoint_.x - curveControlPoint1_.x, 2 * curvePoint_.y - curveControlPoint1_.y};
  last->set("control_point1", platform::stringFromPoint(documentPoint(curveControlPoint1_)));
  last->set("control_point2", platform::stringFromPoint(documentPoint(curveControlPoint2_)));
  curveAddedLayer_->update();
  curveAddedLayer_->setDirty(true);
  setNeedsDisplay();
}

void CMEditorView::mouseUpBezheir(const platform::Event&) {
  isDraggingCurve_ = false;
  setNeedsDisplay();
  hideSel();
  setBezierMode(kPenAdd);
}

void CMEditorView::mouseMovedBezheir(const platform::Event& event) {
  const platform::Point point = documentPoint(canvasPoint(event));
  const platform::ArrayRef points = penPoints();
  const bool wasOverStart = closedPointMoved_;
  if (closesLastSubpath(points, point)) {
    if (!wasOverStart) setNeedsDisplay();
    closedPointMoved_ = true;
    setBezierMode(kPenClose);
    return;
  }
  bool overPoint = false;
  for (std::size_t index = 1; points && points->size() >= 2 && index < points->size() && !overPoint; ++index)
    overPoint = !isClosed(points->at(index - 1)) && isNear(point, pointValue(points->at(index).dictionary(), "point"));
  if (wasOverStart) setNeedsDisplay();
  closedPointMoved_ = false;
  setBezierMode(overPoint ? kPenDelete : kPenAdd);
}

void CMEditorView::saveCurve() {
  if (!showCurvePoint_) return;
  if (curveAddedLayer_) finishPenCurve(*curveAddedLayer_);
  curveAddedLayer_ = nullptr;
  showCurvePoint_ = false;
}

void CMEditorView::finishPenCurve(CMLayer& layer) {
  layer.saveAsBezier();
  if (auto* shapeLayer = dynamic_cast<CMShapeLayer*>(&layer)) shapeLayer->setSize();
  if (const platform::DictRef shape = creation_records::shapeOf(layer.data())) shape->set("isFlipped", 1);
  // The panels read the place and size the curve has now.
  layer.update();
  layer.storedSizeChanged();
}

platform::ArrayRef CMEditorView::penPoints() const {
  if (!curveAddedLayer_ || !curveAddedLayer_->data()) return nullptr;
  const platform::DictRef shape = curveAddedLayer_->data()->dictionary("shape");
  return shape ? shape->array("points") : nullptr;
}

// The eraser: a guide line drawn across a layer splits it into two "path" layers
// made from its outline pushed sideways, which take the erased layer's place.

#include "canvas/CMEditorView.h"
#include "canvas/CMEditorViewCreationRecords.h"
#include "document/CMDocument.h"
#include "document/CMDrawer.h"
#include "document/CMEraser.h"
#include "document/CMLayer.h"
#include "document/CMUndoManager.h"
#include "platform/core/geometry_strings.h"
#include "platform/graphics/bezier_path.h"

using platform::PathElement;
using platform::Point;

namespace {

platform::DictRef pointRecord(Point point, int type, int id) {
  return platform::Dictionary::make({{"point", platform::stringFromPoint(point)}, {"type", type}, {"id", id}});
}

Point minus(Point point, Point origin) { return {point.x - origin.x, point.y - origin.y}; }

// The point of the first move, else the first point of the last element.
Point pathOrigin(const platform::BezierPath& path) {
  Point points[3] = {};
  for (int index = 0; index < path.elementCount(); ++index)
    if (path.elementAt(index, points) == PathElement::Move) return points[0];
  Point last[3] = {};
  if (!path.isEmpty()) path.elementAt(path.elementCount() - 1, last);
  return last[0];
}

}  // namespace

void CMEditorView::erase(const platform::Event& event, Completion done) {
  trackGuideLine(event, [this, done = std::move(done)]() {
    const Point point1 = showPoint1_;
    const Point point2 = showPoint2_;
    std::weak_ptr<platform::View> weak = weak_from_this();
    CMEraser().split(point1, point2, *drawer_,
                     [weak, done, point1, point2](const Layers& erased, const platform::BezierPath& offset10,
                                                  const platform::BezierPath& offset20) {
                       const auto view = weak.lock();
                       if (!view) return;
                       static_cast<CMEditorView&>(*view).finishEraser(erased, offset10, offset20, point1, point2);
                       done();
                     });
  });
}

void CMEditorView::finishEraser(const Layers& erased, const platform::BezierPath& offset10,
                                const platform::BezierPath& offset20, Point point1, Point point2) {
  if (!document_ || erased.empty() || !erased.front() || !erased.front()->data()) return;
  // Two adds and a removal are one edit for the user: one undo brings the erased layer back alone.
  CMUndoManager& undoManager = document_->undoManager();
  undoManager.startTransaction();
  const platform::DictRef first = document_->addObject("path", documentPoint(point1));
  if (first) {
    copyPoints(first, offset10);
    if (const std::shared_ptr<CMLayer> layer = drawer_->addObject(first)) setUpCreatedLayer(*layer);
  }
  if (const platform::DictRef second = document_->addObject("path", documentPoint(point2))) {
    copyPoints(second, offset20);
    if (const std::shared_ptr<CMLayer> layer = drawer_->addObject(second)) setUpCreatedLayer(*layer);
  }
  document_->deleteLayers({erased.front()->data()});
  undoManager.endTransaction();
  // The erased layer's object must not outlive its record, whoever refreshes the window.
  update();
  if (first) selectNewLayers({first});
  hideSel();
}

void CMEditorView::copyPoints(const platform::DictRef& record, const platform::BezierPath& path) {
  const platform::ArrayRef list = platform::Array::make({pointRecord({0, 0}, 1, 1)});
  const Point origin = pathOrigin(path);
  const int count = path.elementCount();
  Point subpathStart{0, 0};
  for (int index = 0; index < count; ++index) {
    Point points[3] = {};
    const PathElement kind = path.elementAt(index, points);
    const int closes = index + 1 < count && path.elementAt(index + 1) == PathElement::Close ? 8 : 0;
    const bool last = index == count - 1;
    switch (kind) {
      case PathElement::Move:
        if (last) break;
        subpathStart = minus(points[0], origin);
        list->add(pointRecord(subpathStart, 1 + closes, index + 1));
        break;
      case PathElement::Line: {
        const Point point = minus(points[0], origin);
        list->add(pointRecord(point, last && point == subpathStart ? 10 : 2 + closes, index + 1));
        break;
      }
      case PathElement::Curve: {
        const Point point = minus(points[2], origin);
        platform::DictRef curve = pointRecord(point, last && point == subpathStart ? 12 : 4 + closes, index + 1);
        curve->set("control_point1", platform::stringFromPoint(minus(points[0], origin)));
        curve->set("control_point2", platform::stringFromPoint(minus(points[1], origin)));
        list->add(curve);
        break;
      }
      case PathElement::Close:
        break;
    }
  }
  if (const platform::DictRef shape = creation_records::shapeOf(record)) shape->set("points", list);
}

// Shapes drawn by a rubber band (rectangle, rounded rectangle, oval, star,
// polygon) and the line drawn along a guide line, each built from the project's
// default object of its name.

#include "canvas/CMEditorView.h"
#include "document/CMDocument.h"
#include "document/CMDrawer.h"
#include "document/CMLayer.h"
#include "platform/core/main_queue.h"

void CMEditorView::addRectangle(const platform::Event& event, Completion done) {
  addSimpleShape(event, "rect", std::move(done));
}

void CMEditorView::addRoundRectangle(const platform::Event& event, Completion done) {
  addSimpleShape(event, "roundrect", std::move(done));
}

void CMEditorView::addOval(const platform::Event& event, Completion done) {
  addSimpleShape(event, "oval", std::move(done));
}

void CMEditorView::addStar(const platform::Event& event, Completion done) {
  addSimpleShape(event, "star", std::move(done));
}

void CMEditorView::addPolygon(const platform::Event& event, Completion done) {
  addSimpleShape(event, "polygon", std::move(done));
}

void CMEditorView::addSimpleShape(const platform::Event& event, const char* key, Completion done) {
  trackRubberBand(event, [this, key, done = std::move(done)] {
    if (selRect_.size.width > 0 && selRect_.size.height > 0 && document_) {
      // The record's place is written again from the band once the layer object exists.
      if (const platform::DictRef record = document_->addObject(key, selRect_.origin)) {
        if (const platform::DictRef shape = record->dictionary("shape")) shape->set("isFlipped", 1);
        if (const std::shared_ptr<CMLayer> layer = drawer_->addObject(record)) {
          layer->setSelected(true);
          setUpCreatedLayer(*layer);
          layer->setLayerRect(transformedRect());
          reportCreatedLayer(layer);
        }
        hideSel();
        selRect_.size = {0, 0};
      }
    }
    setNeedsDisplay();
    platform::dispatchAsync(done);
  });
}

void CMEditorView::addLine(const platform::Event& event, Completion done) {
  trackGuideLine(event, [this, done = std::move(done)]() {
    const platform::Point start = documentPoint(showPoint1_);
    const platform::Point end = documentPoint(showPoint2_);
    const platform::DictRef record = start == end || !document_ ? nullptr : document_->addObject("line", showPoint1_);
    if (record) {
      if (const platform::DictRef shape = record->dictionary("shape")) {
        shape->set("x1", platform::Value::real32(start.x));
        shape->set("y1", platform::Value::real32(start.y));
        shape->set("x2", platform::Value::real32(end.x));
        shape->set("y2", platform::Value::real32(end.y));
      }
      if (const std::shared_ptr<CMLayer> layer = drawer_->addObject(record)) {
        layer->setSelected(true);
        setUpCreatedLayer(*layer);
        // The line's geometry lives in its shape; the record's own frame stays empty.
        layer->setLayerRect({0, 0, 0, 0});
        layer->setSelected(true);
        reportCreatedLayer(layer);
      }
      hideSel();
    }
    setNeedsDisplay();
    platform::dispatchAsync(done);
  });
}

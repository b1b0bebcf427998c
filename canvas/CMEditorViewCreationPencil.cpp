// The pencil: a free line that takes one point string per mouse position and is
// turned into Bezier points when the mouse goes up. Its record is added at the
// press, so a click alone leaves a one-point line.

#include "canvas/CMEditorView.h"
#include "canvas/CMEditorViewCreationRecords.h"
#include "document/CMDocument.h"
#include "document/CMDrawer.h"
#include "document/CMShapeLayer.h"
#include "platform/core/geometry_strings.h"
#include "platform/core/main_queue.h"

void CMEditorView::addPencil(const platform::Event& event, Completion done) {
  addMultyPoints(event, "freeline", std::move(done));
}

void CMEditorView::addMultyPoints(const platform::Event& event, const char* key, Completion done) {
  const platform::Point start = documentPoint(canvasPoint(event));
  const platform::DictRef record = document_ ? document_->addObject(key, start) : nullptr;
  platform::ArrayRef points;
  if (record) {
    const platform::DictRef shape = creation_records::shapeOf(record);
    creation_records::applyToolLineWidth(shape);
    points = platform::Array::make({platform::stringFromPoint(start)});
    shape->set("points", points);
  }
  const std::shared_ptr<CMLayer> layer = record ? drawer_->addObject(record) : nullptr;
  if (layer) setUpCreatedLayer(*layer);
  trackCreation(
      event,
      [this, layer, points](const platform::Event& drag) {
        if (!points) return;
        points->add(platform::stringFromPoint(documentPoint(canvasPoint(drag))));
        if (layer) {
          layer->setDirty(true);
          layer->update();
        }
        setNeedsDisplay();
      },
      [this, layer, record, done = std::move(done)](const platform::Event&) {
        if (layer) {
          layer->setSelected(true);
          layer->saveAsBezier();
          if (auto* shapeLayer = dynamic_cast<CMShapeLayer*>(layer.get())) shapeLayer->setSize();
          if (const platform::DictRef shape = record->dictionary("shape")) shape->set("isFlipped", 1);
          reportCreatedLayer(layer);
        }
        hideSel();
        setNeedsDisplay();
        platform::dispatchAsync(done);
      });
}

// Library shapes: dropped from the library panel (centred on the drop point) or
// drawn with the library tool (tool 7) into a band; and the add-point tool
// (tool 17), which adds a point to the current path where the mouse goes up.

#include <gdkmm/window.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "canvas/CMEditorView.h"
#include "canvas/CMEditorViewCreationRecords.h"
#include "document/CMDocument.h"
#include "document/CMDrawer.h"
#include "document/CMLayer.h"
#include "platform/core/geometry_strings.h"
#include "platform/core/main_queue.h"
#include "platform/core/numeric.h"
#include "platform/ui/view_host.h"

namespace {

constexpr const char* kPointKeys[] = {"point", "control_point1", "control_point2"};

// Free lines, pen curves and paths are placed where the mouse goes up; other shapes by a rubber band.
bool isPlacedByPoint(std::int32_t shapeType) { return shapeType >= 5 && shapeType <= 7; }

}  // namespace

platform::Point CMEditorView::canvasPointFromScreen(platform::Point screenPoint) const {
  platform::Point inWindow{0, 0};
  platform::ViewHost* window = host();
  if (window && window->contentView() && window->get_window()) {
    int originX = 0;
    int originY = 0;
    window->get_window()->get_origin(originX, originY);
    inWindow = window->contentView()->gtkToLocal({screenPoint.x - originX, screenPoint.y - originY});
  }
  return convertPointFromWindow(inWindow);
}

void CMEditorView::addShare(const platform::DictRef& data, platform::Point screenPoint, Completion done) {
  if (!canAddShape(screenPoint)) return;
  const platform::Point point = documentPoint(canvasPointFromScreen(screenPoint));
  if (const platform::DictRef record = document_ ? document_->addObjectWithData(data, point, true) : nullptr) {
    // Centred on the drop point: the place the document gave the copy is the one its points are set out from.
    flipAndPositionForObject(record, {record->get("x").doubleValue(), record->get("y").doubleValue()});
    creation_records::shapeOf(record)->set("isFlipped", 1);
    addLibraryShape(record);
  }
  hideSel();
  selRect_.size = {0, 0};
  setNeedsDisplay();
  platform::dispatchAsync(std::move(done));
}

void CMEditorView::addShare(const platform::Event& event, const platform::DictRef& data, Completion done) {
  const platform::DictRef shape = data;  // the tool data stays with the gesture even if the tool changes meanwhile
  const bool placedByClick = isPlacedByPoint(shape ? shape->get("shape_type").intValue() : 0);
  trackRubberBand(event, [this, shape, placedByClick, done = std::move(done)] {
    // A band drawn: the copy fills it, as a shape drawn with its own tool fills its band. A click places a free line,
    // pen curve or path there at its library size; other shapes need a band.
    const bool band = selRect_.size.width > 0 && selRect_.size.height > 0;
    if (document_ && (band || placedByClick)) {
      if (const platform::DictRef record = document_->addObjectWithData(shape, documentPoint(selRect_.origin))) {
        addLibraryShape(record, band ? std::optional(transformedRect()) : std::nullopt);
        hideSel();
      }
    }
    selRect_.size = {0, 0};
    setNeedsDisplay();
    platform::dispatchAsync(done);
  });
}

void CMEditorView::addLibraryShape(const platform::DictRef& record, std::optional<platform::Rect> band) {
  const std::shared_ptr<CMLayer> layer = drawer_->addObject(record);
  if (!layer) return;
  layer->update();
  setUpCreatedLayer(*layer);
  if (band) layer->setLayerRect(*band);
  layer->setSelected(true);
  layer->saveAsBezier();
  reportCreatedLayer(layer);
}

void CMEditorView::flipAndPositionForObject(const platform::DictRef& record, platform::Point point) {
  if (!record) return;
  const platform::DictRef shape = record->dictionary("shape");
  if (shape && shape->get("isFlipped").boolValue()) return;  // already top-down: the centred place stays
  if (std::isfinite(point.x) && std::isfinite(point.y)) {
    record->set("x", point.x);
    record->set("y", point.y);
  }
  if (record->get("isFlipped").boolValue()) return;
  const platform::ArrayRef points = shape ? shape->array("points") : nullptr;
  if (!points) return;
  const double height = platform::saturatingTruncate<std::int32_t>(record->get("height").floatValue());
  float minX = std::numeric_limits<float>::max();
  float minY = std::numeric_limits<float>::max();
  for (const platform::Value& value : *points) {
    const platform::DictRef entry = value.dictionary();
    if (!entry) continue;
    for (const char* key : kPointKeys) {
      if (!entry->contains(key)) continue;
      const platform::Point original = creation_records::pointValue(entry, key);
      if (!std::isfinite(original.x) || !std::isfinite(original.y)) continue;
      const platform::Point flipped{original.x, height - original.y};
      minX = std::min(minX, static_cast<float>(flipped.x));
      minY = std::min(minY, static_cast<float>(flipped.y));
      entry->set(key, platform::stringFromPoint(flipped));
    }
  }
  if (minX == std::numeric_limits<float>::max()) return;  // no point to move
  for (const platform::Value& value : *points) {
    const platform::DictRef entry = value.dictionary();
    if (!entry) continue;
    for (const char* key : kPointKeys) {
      if (!entry->contains(key)) continue;
      const platform::Point flipped = creation_records::pointValue(entry, key);
      if (!std::isfinite(flipped.x) || !std::isfinite(flipped.y)) continue;
      entry->set(key, platform::stringFromPoint({flipped.x - minX, flipped.y - minY}));
    }
  }
}

void CMEditorView::addBetherPoint(const platform::Event& event, Completion done) {
  trackCreation(
      event, [](const platform::Event&) {},
      [this, done = std::move(done)](const platform::Event& up) {
        addPoint(canvasPoint(up));
        setNeedsDisplay();
        platform::dispatchAsync(done);
      });
}

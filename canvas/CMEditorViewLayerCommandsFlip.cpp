// Flipping the primary layers inside their own bounds: an image by its "flip_h" or "flip_v" mark, a shape by
// mirroring its point records (a parametric shape is written as points first, in place); a turned image or shape
// turns the other way. A text layer is only marked for redrawing.

#include "canvas/CMEditorView.h"
#include "document/CMDocument.h"
#include "document/CMLayer.h"
#include "document/CMLayerTree.h"
#include "document/CMMainWindowService.h"
#include "document/CMNotificationNames.h"
#include "document/CMShapeLayer.h"
#include "document/CMShapeRecordValues.h"
#include "document/CMUndoActionType.h"
#include "platform/core/notification_center.h"

namespace {

constexpr std::int32_t kShapeLayerType = 0;
constexpr std::int32_t kImageLayerType = 1;

platform::Point corrected(platform::Point point, platform::Point correction) {
  return {point.x + correction.x, point.y + correction.y};
}

// A layer is mirrored as it is seen on the page: its content mirrored in its own frame about the frame's centre, the
// centre it turns about, and the mirror of a turn by r is a turn by −r.
void mirrorRotation(const platform::DictRef& record) {
  const float degrees = record->get("rotate").floatValue();
  if (record->contains("rotate") && degrees != 0) record->set("rotate", -degrees);
}

}  // namespace

void CMEditorView::flipH() { flipSelectedLayers(true); }

void CMEditorView::flipV() { flipSelectedLayers(false); }

void CMEditorView::flipSelectedLayers(bool horizontal) {
  const Records records = layerSelected();
  if (!document_ || records.empty()) return;
  document_->undoManager().regUndoLayers(kCMUndoEditing, records);
  const char* imageKey = horizontal ? "flip_h" : "flip_v";
  for (const platform::DictRef& record : records) {
    if (record->get("type").intValue() == kImageLayerType) {
      record->set(imageKey, record->get(imageKey).boolValue() ? 0 : 1);
      mirrorRotation(record);
      record->set("dirty", 1);
      continue;
    }
    const std::shared_ptr<CMLayer> layer = layerFromDictionary(record);
    if (!layer) continue;
    if (auto* shape = dynamic_cast<CMShapeLayer*>(layer.get())) shape->saveAsBezierInPlace();
    if (horizontal) {
      flipHorizontalLayers({record}, layer->layerRect());
    } else {
      flipVerticalLayers({record}, layer->layerRect());
    }
  }
  // The style panel shows a turn the other way.
  platform::NotificationCenter::defaultCenter().post(kNotificationLayerChanged);
  CMMainWindowService::shared().updateEditor();
}

void CMEditorView::flipHorizontalLayers(const Records& records, const platform::Rect& rect) {
  if (records.empty()) return;
  // x → width − x.
  platform::AffineTransform mirror;
  mirror.translate(rect.size.width, 0);
  mirror.scaleXBy(-1, 1);
  const float x = records.front()->get("x").floatValue() - static_cast<float>(rect.origin.x);
  const float y = records.front()->get("y").floatValue() - static_cast<float>(rect.origin.y);
  flipLayers(records, {x, y}, mirror);
}

void CMEditorView::flipVerticalLayers(const Records& records, const platform::Rect& rect) {
  if (records.empty()) return;
  // y → height − y.
  platform::AffineTransform mirror;
  mirror.translate(0, rect.size.height);
  mirror.scaleXBy(1, -1);
  const float x = records.front()->get("x").floatValue() - static_cast<float>(rect.origin.x);
  const float y = records.front()->get("y").floatValue() - static_cast<float>(rect.origin.y);
  flipLayers(records, {x, y}, mirror);
}

void CMEditorView::flipLayers(const Records& records, platform::Point correction,
                              const platform::AffineTransform& transform) {
  if (records.empty() || !records.front()) return;
  const platform::DictRef& record = records.front();
  if (const platform::ArrayRef items = CMLayerTree::groupItems(record)) {
    Records members;
    for (const platform::Value& item : *items) {
      if (platform::DictRef member = item.dictionary()) members.push_back(std::move(member));
    }
    flipLayers(members, correction, transform);
  } else if (record->get("type").intValue() == kShapeLayerType) {
    // Points are kept in the shape's own frame: a pen curve's "start_point" was taken out when it was written
    // as points, so it takes no part here.
    const platform::DictRef shape = record->dictionary("shape");
    const platform::ArrayRef points = shape ? shape->array("points") : nullptr;
    for (std::size_t index = 0; points && index < points->size(); ++index) {
      const platform::DictRef point = points->at(index).dictionary();
      if (!point) continue;
      for (const char* key : {"point", "control_point1", "control_point2"}) {
        if (!point->contains(key)) continue;
        const platform::Point mirrored = transform.transformPoint(corrected(shapePoint(point, key), correction));
        setShapePoint(point, key, corrected(mirrored, {-correction.x, -correction.y}));
      }
    }
    mirrorRotation(record);
  }
  record->set("dirty", 1);
}

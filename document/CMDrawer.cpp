#include "document/CMDrawer.h"

#include <cmath>

#include "document/CMBaseDocument.h"
#include "document/CMImageLayer.h"
#include "document/CMLayer.h"
#include "document/CMLayerTree.h"
#include "document/CMShapeLayer.h"
#include "document/CMTextLayer.h"

namespace {

enum LayerKind : std::int32_t { kShapeLayer = 0, kImageLayer = 1, kTextLayer = 2 };

}  // namespace

std::shared_ptr<CMLayer> CMDrawer::makeLayer(const platform::DictRef& record, float viewZoom) {
  switch (record->get("type").intValue()) {
    case kShapeLayer:
      return std::make_shared<CMShapeLayer>(record, viewZoom);
    case kImageLayer:
      return std::make_shared<CMImageLayer>(record, viewZoom);
    case kTextLayer:
      return std::make_shared<CMTextLayer>(record, viewZoom);
    default:
      return nullptr;
  }
}

CMDrawer::CMDrawer() : topGroup_(std::make_shared<GroupNode>()) {}

void CMDrawer::setDocument(std::shared_ptr<CMBaseDocument> document) {
  document_ = std::move(document);
  topGroup_ = std::make_shared<GroupNode>();
  layers_.clear();
  index_.reset({});
  indexGroups_.clear();
  indexStale_ = true;
  if (const platform::DictRef root = rootRecord()) addGroup(root->array("layers"), *topGroup_);
}

platform::DictRef CMDrawer::rootRecord() const { return document_ ? document_->data() : nullptr; }

std::shared_ptr<CMLayer> CMDrawer::addObject(const platform::DictRef& record) { return addObject(record, *topGroup_); }

std::shared_ptr<CMLayer> CMDrawer::addObject(const platform::DictRef& record, GroupNode& group) {
  if (!record) return nullptr;
  std::shared_ptr<CMLayer> layer = makeLayer(record, viewZoom_);
  if (!layer) return nullptr;
  layer->setVectorViewMode(vectorViewMode_);
  layer->setZoom(viewZoom_);
  layer->setViewZoom(viewZoom_);
  // The canvas's zoom from the start, as the next drawing gives it: a click before then hits the layer where it shows.
  layer->setZoomTransform(zoomTransform());
  group.items.emplace_back(layer);
  layers_.push_back(layer);
  // Added on top of the drawing, it goes on top of the index; anywhere else the index is taken anew.
  if (&group != topGroup_.get())
    indexStale_ = true;
  else if (!indexStale_) {
    index_.append(layer);
    indexGroups_.push_back(&group);
  }
  // Each mask follows the layer it masks, in the same node.
  if (const platform::ArrayRef masks = record->array("masks")) {
    for (const platform::Value& mask : *masks) addObject(mask.dictionary(), group);
  }
  return layer;
}

void CMDrawer::addGroup(const platform::ArrayRef& records, GroupNode& group) {
  if (!records) return;
  indexStale_ = true;
  for (const platform::Value& value : *records) {
    const platform::DictRef record = value.dictionary();
    if (!record) continue;
    if (record->get("type").intValue() != CMLayerTree::kGroupType) {
      addObject(record, group);
      continue;
    }
    // A hidden group takes its members with it.
    if (!record->get("visible").boolValue()) continue;
    auto node = std::make_shared<GroupNode>();
    node->visible = true;
    node->id = CMLayerTree::layerId(record);
    node->record = record;
    node->parent = &group;
    group.items.emplace_back(node);
    addGroup(record->array("items"), *node);
  }
}

void CMDrawer::setZoom(float zoom) {
  const float usable = std::isfinite(zoom) && zoom > 0 ? zoom : 1.0f;
  viewZoom_ = vectorViewMode_ ? usable : 1.0f;
  for (const std::shared_ptr<CMLayer>& layer : layers_) {
    if (vectorViewMode_) layer->setViewZoom(viewZoom_);
    layer->setDirty(true);
  }
}

float CMDrawer::documentZoom() const {
  const platform::DictRef root = rootRecord();
  const float zoom = root ? root->get("zoom").floatValue() : 1.0f;
  return std::isfinite(zoom) && zoom > 0 ? zoom : 1.0f;
}

platform::AffineTransform CMDrawer::zoomTransform() const {
  platform::AffineTransform transform;
  if (designMode_ && !vectorViewMode_) transform.scaleBy(documentZoom());
  return transform;
}

platform::AffineTransform CMDrawer::backZoomTransform() const {
  platform::AffineTransform transform;
  if (designMode_ && !vectorViewMode_) transform.scaleBy(1.0 / documentZoom());
  return transform;
}

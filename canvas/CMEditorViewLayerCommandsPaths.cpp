// The boolean path commands: the other shapes of the multi-selection are combined, topmost first, into the
// primary shape, which stays; they leave the drawing. One undo step gives back every record as it was.

#include <unordered_map>

#include "canvas/CMEditorView.h"
#include "document/CMDocument.h"
#include "document/CMLayer.h"
#include "document/CMMainWindowService.h"
#include "document/CMNotificationNames.h"
#include "document/CMShapeLayer.h"
#include "document/CMUndoActionType.h"
#include "platform/core/notification_center.h"

namespace {

// The drawer's first layer object of each id, among those that are shape layers with a shape to combine.
std::unordered_map<std::int32_t, CMShapeLayer*> shapeLayersById(const CMEditorView::Layers& layers) {
  std::unordered_map<std::int32_t, CMLayer*> first;
  for (const auto& layer : layers) first.try_emplace(layer->layerId(), layer.get());
  std::unordered_map<std::int32_t, CMShapeLayer*> shapes;
  for (const auto& [id, layer] : first) {
    auto* shape = dynamic_cast<CMShapeLayer*>(layer);
    if (shape && shape->shape()) shapes.emplace(id, shape);
  }
  return shapes;
}

}  // namespace

void CMEditorView::pathUnion() { combineSelectedPaths(CMShapeLayer::kPathUnion, "Union"); }

void CMEditorView::pathSubtract() { combineSelectedPaths(CMShapeLayer::kPathSubtract, "Subtract"); }

void CMEditorView::pathIntersect() { combineSelectedPaths(CMShapeLayer::kPathIntersection, "Intersect"); }

void CMEditorView::pathDifference() { combineSelectedPaths(CMShapeLayer::kPathDifference, "Difference"); }

void CMEditorView::combineSelectedPaths(std::int32_t operation, const char* name) {
  const Records primary = layerSelected();
  if (!document_ || primary.empty()) return;
  // Only shapes take part: a primary layer without one does nothing, other kinds stay where they are.
  const std::unordered_map<std::int32_t, CMShapeLayer*> shapes = shapeLayersById(layers());
  const auto shapeOf = [&shapes](const platform::DictRef& record) -> CMShapeLayer* {
    const auto found = shapes.find(record->get("id").intValue());
    return found == shapes.end() ? nullptr : found->second;
  };
  CMShapeLayer* receiver = shapeOf(primary.front());
  if (!receiver) return;
  std::vector<CMShapeLayer*> operands;
  Records registered{receiver->data()};
  for (const platform::DictRef& record : layers2()) {
    CMShapeLayer* operand = shapeOf(record);
    if (!operand || operand == receiver) continue;
    operands.push_back(operand);
    registered.push_back(operand->data());
  }
  CMUndoManager& undo = document_->undoManager();
  {
    CMUndoManager::Transaction transaction(undo, name);
    // Every record as it is before any of them is written as points.
    undo.regUndoLayers(kCMUndoEditing, registered);
    // All at once: the primary's records are written once, not after every member.
    const std::vector<bool> taken = receiver->combineWith(operands, operation);
    Records combined;
    for (std::size_t index = 0; index < operands.size(); ++index) {
      if (taken[index]) combined.push_back(operands[index]->data());
    }
    if (!operands.empty() && combined.empty()) {
      // No result the records could hold: nothing changed.
      transaction.discard();
      return;
    }
    primary.front()->set("isDirty", 1);
    if (!combined.empty()) document_->remove(combined);
  }
  CMMainWindowService::shared().updateEditor();
  platform::NotificationCenter::defaultCenter().post(kNotificationLayersChanged);
}

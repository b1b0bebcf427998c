#include "document/CMUndoReplay.h"

#include <algorithm>
#include <utility>

#include "document/CMLayerTree.h"
#include "document/CMMainWindowService.h"
#include "document/CMNotificationNames.h"
#include "document/CMUndoActionType.h"
#include "platform/core/notification_center.h"

CMUndoReplay::CMUndoReplay(platform::DictRef root) : root_(std::move(root)) {}

platform::DictRef CMUndoReplay::makeAction(const platform::DictRef& record) {
  if (!record || !root_) return nullptr;
  switch (record->get("type").intValue()) {
    case kCMUndoEditing:
      return replayEditing(record);
    case kCMUndoAdding:
      return replayAdding(record);
    case kCMUndoDeleting:
      return replayDeleting(record);
    case kCMUndoAddingLayers:
      return replayAddingLayers(record);
    case kCMUndoRootKeys:
    case kCMUndoPageSize:
      return replayRootKeys(record);
    case kCMUndoLayerKeys:
    case kCMUndoVisibility:
      return replayLayerKeys(record);
    case kCMUndoStacking:
      return replayStacking(record);
    case kCMUndoTransaction:
      return replayTransaction(record);
    default:
      return nullptr;
  }
}

platform::DictRef CMUndoReplay::replayTransaction(const platform::DictRef& record) {
  platform::ArrayRef inverses = platform::Array::make();
  // Last to first; redoing the inverse, again from its last element, applies the
  // inverses in the order the transaction recorded them.
  if (platform::ArrayRef items = record->array("items")) {
    std::size_t k = items->size();
    while (k > 0) {
      // A command that added many layers (a group's members) is undone in one walk of the tree.
      std::size_t start = k;
      while (start > 0 && isUndoOfAdding(items->at(start - 1).dictionary())) --start;
      if (k - start > 1) {
        std::vector<platform::DictRef> added;
        for (std::size_t j = k; j-- > start;) added.push_back(items->at(j).dictionary());
        for (platform::DictRef& inverse : removeAddedLayers(added)) inverses->add(std::move(inverse));
        k = start;
        continue;
      }
      --k;
      if (platform::DictRef inverse = makeAction(items->at(k).dictionary())) inverses->add(inverse);
    }
  }
  platform::DictRef inverse = platform::Dictionary::make({{"type", kCMUndoTransaction}, {"items", inverses}});
  // Redoing the step is the same step by name.
  if (const platform::Value* name = record->find("name")) inverse->set("name", *name);
  return inverse;
}

platform::ArrayRef CMUndoReplay::rootLayers() {
  platform::ArrayRef layers = root_->array("layers");
  if (!layers) {
    layers = platform::Array::make();
    root_->set("layers", layers);
  }
  return layers;
}

platform::ArrayRef CMUndoReplay::targetList(const platform::Value& groupId) {
  const platform::ArrayRef root = rootLayers();
  if (!groupId.isNumber() || groupId.intValue() == CMLayerTree::kTopLevelGroupId) return root;
  platform::ArrayRef items = CMLayerTree::groupItems(CMLayerTree::find(root, groupId.intValue()).record);
  return items ? items : root;
}

void CMUndoReplay::placeInIndexOrder(std::vector<Placement> placements) {
  std::stable_sort(placements.begin(), placements.end(),
                   [](const Placement& a, const Placement& b) { return a.index < b.index; });
  for (const Placement& placement : placements) {
    // Array::insert appends past the end; a negative index from a damaged record goes first.
    const std::size_t index = placement.index < 0 ? 0 : static_cast<std::size_t>(placement.index);
    targetList(placement.groupId)->insert(index, placement.record);
  }
}

void CMUndoReplay::finishLayersChange() {
  CMMainWindowService::shared().updateEditor();
  platform::NotificationCenter::defaultCenter().post(kNotificationLayersChanged);
}

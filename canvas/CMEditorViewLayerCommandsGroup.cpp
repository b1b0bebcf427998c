// Group and ungroup: the records move into a new group at the top of the list that held them, or out of their
// group into the list that holds it, as one undo step each.

#include <algorithm>
#include <unordered_set>

#include "canvas/CMCanvasWindowService.h"
#include "canvas/CMEditorView.h"
#include "document/CMDocument.h"
#include "document/CMLayer.h"
#include "document/CMLayerTree.h"
#include "document/CMMainWindowService.h"
#include "document/CMUndoActionType.h"
#include "platform/core/log.h"

namespace {

// By "position", ascending; records of equal position keep their order.
CMEditorView::Records sortedByPosition(CMEditorView::Records records) {
  std::stable_sort(records.begin(), records.end(), [](const platform::DictRef& a, const platform::DictRef& b) {
    return a->get("position").integerValue() < b->get("position").integerValue();
  });
  return records;
}

}  // namespace

bool CMEditorView::canMakeGroupOperation(const Records& records) const {
  if (records.empty()) return true;
  if (!document_) return false;
  // The depth comes from the tree itself. Each record must be the live one its id finds, and each only once:
  // a record met twice, or two records sharing an id, would leave one record at two places.
  const CMLayerTree::Locations places = document_->locate(records);
  std::unordered_set<std::int32_t> ids;
  for (const platform::DictRef& record : records) {
    const std::int32_t id = CMLayerTree::layerId(record);
    const auto found = places.find(id);
    if (found == places.end() || found->second.record != record || !ids.insert(id).second) return false;
    if (found->second.depth != places.at(CMLayerTree::layerId(records.front())).depth) return false;
  }
  return true;
}

void CMEditorView::group() { group(groupSelectedRecords()); }

void CMEditorView::ungroup() { ungroup(groupSelectedRecords()); }

void CMEditorView::group(const Records& records) {
  if (records.empty() || !canMakeGroupOperation(records)) return;
  const platform::ArrayRef target = document_->findTopLayers(records);
  const platform::DictRef group = target ? document_->createGroup() : nullptr;
  if (!group) return;
  const Records members = sortedByPosition(records);
  CMUndoManager& undo = document_->undoManager();
  {
    CMUndoManager::Transaction transaction(undo, "Group");
    undo.regUndoDictionary(kCMUndoAdding, group);
    document_->remove(records);
    platform::ArrayRef items = group->array("items");
    if (!items) {
      items = platform::Array::make();
      group->set("items", items);
    }
    for (const platform::DictRef& member : members) items->add(member);
    target->add(group);
    undo.regUndoDictionaries(kCMUndoAdding, members);
  }
  // The new group is the selection: its members, and nothing else.
  std::unordered_set<std::int32_t> memberIds;
  for (const platform::DictRef& member : members) memberIds.insert(CMLayerTree::layerId(member));
  for (const auto& layer : layers()) {
    layer->setSelected(false);
    layer->setSelectedAsPartOfGroup(memberIds.contains(layer->layerId()));
  }
  selectedLayer_ = nullptr;
  selectedLayerDict_ = group;
  announceSelection();
  CMMainWindowService::shared().updateEditor();
  platform::log(platform::LogLevel::Debug, "Group qilindi");
}

void CMEditorView::ungroup(const Records& records) {
  if (records.empty() || !canMakeGroupOperation(records)) return;
  // Records at the top level have no group to leave.
  if (document_->locate({records.front()}).at(CMLayerTree::layerId(records.front())).depth == 0) return;
  const platform::ArrayRef list = document_->findUpLayers(records);
  if (!list) return;
  CMUndoManager& undo = document_->undoManager();
  {
    CMUndoManager::Transaction transaction(undo, "Ungroup");
    const Records members = sortedByPosition(records);
    document_->remove(records);
    for (const platform::DictRef& member : members) list->add(member);
    undo.regUndoDictionaries(kCMUndoAdding, members);
    removeUnusedLayers(list);
  }
  CMCanvasWindowService::shared().updateProperties();
  CMMainWindowService::shared().updateEditor();
}

void CMEditorView::removeUnusedLayers(const platform::ArrayRef& list) {
  if (!list || !document_) return;
  for (const platform::Value& entry : *list) {
    const platform::DictRef record = entry.dictionary();
    if (!record || record->get("type").intValue() != CMLayerTree::kGroupType) continue;
    const platform::ArrayRef items = record->array("items");
    if (items && !items->empty()) continue;
    document_->remove({record});
    return;
  }
}

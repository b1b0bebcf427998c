#include "document/CMLayerTree.h"
#include "document/CMUndoManager.h"

platform::DictRef CMUndoManager::findLayer(std::int32_t id, const platform::ArrayRef& layers,
                                           platform::ArrayRef* parent, std::size_t* index,
                                           std::int32_t* groupId) const {
  CMLayerTree::Location found = CMLayerTree::find(layers, id);
  if (!found.record) return nullptr;
  if (parent) *parent = found.list;
  if (index) *index = found.index;
  // Callers start the group id at -1; only a layer inside a group changes it.
  if (groupId && *groupId == CMLayerTree::kTopLevelGroupId) *groupId = found.groupId;
  return found.record;
}

std::int32_t CMUndoManager::findParentGroupID(std::int32_t id) const {
  std::int32_t groupId = CMLayerTree::kTopLevelGroupId;
  findLayer(id, rootLayers(), nullptr, nullptr, &groupId);
  return groupId;
}

#include <unordered_set>

#include "document/CMBaseDocument.h"
#include "document/CMLayerTree.h"

platform::ArrayRef CMBaseDocument::findTopLayers(const platform::ArrayRef& list, std::int32_t itemId) {
  return CMLayerTree::holdingList(list, itemId);
}

platform::ArrayRef CMBaseDocument::findTopLayers(const Records& records) {
  const platform::ArrayRef root = rootLayers();
  platform::ArrayRef first;
  for (const platform::DictRef& record : records) {
    platform::ArrayRef list = record ? findTopLayers(root, CMLayerTree::layerId(record)) : nullptr;
    if (!list) return nullptr;
    if (!first) first = list;
  }
  return first ? first : root;
}

CMBaseDocument::Records CMBaseDocument::outermostLayers(const Records& records) {
  const platform::ArrayRef root = rootLayers();
  Records found;
  std::unordered_set<std::int32_t> seen;
  std::unordered_set<std::int32_t> insideGivenGroups;
  for (const platform::DictRef& record : records) {
    const std::int32_t id = CMLayerTree::layerId(record);
    if (!record || !seen.insert(id).second) continue;
    CMLayerTree::Location live = CMLayerTree::find(root, id);
    if (!live.record) continue;
    found.push_back(record);
    CMLayerTree::collectMemberIds(live.record, insideGivenGroups);
  }
  std::erase_if(
      found, [&](const platform::DictRef& record) { return insideGivenGroups.contains(CMLayerTree::layerId(record)); });
  return found;
}

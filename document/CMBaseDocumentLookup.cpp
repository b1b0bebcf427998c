#include <unordered_set>

#include "document/CMBaseDocument.h"
#include "document/CMLayerTree.h"

namespace {

std::unordered_set<std::int32_t> idsOf(const CMBaseDocument::Records& records) {
  std::unordered_set<std::int32_t> ids;
  for (const platform::DictRef& record : records) {
    if (record) ids.insert(CMLayerTree::layerId(record));
  }
  return ids;
}

}  // namespace

CMLayerTree::Locations CMBaseDocument::locate(const Records& records) {
  return CMLayerTree::findAll(rootLayers(), idsOf(records));
}

platform::ArrayRef CMBaseDocument::findTopLayers(const platform::ArrayRef& list, std::int32_t itemId) {
  return CMLayerTree::holdingList(list, itemId);
}

platform::ArrayRef CMBaseDocument::findTopLayers(const Records& records) {
  const CMLayerTree::Locations found = locate(records);
  for (const platform::DictRef& record : records) {
    if (!record || !found.contains(CMLayerTree::layerId(record))) return nullptr;
  }
  return records.empty() ? rootLayers() : found.at(CMLayerTree::layerId(records.front())).list;
}

platform::ArrayRef CMBaseDocument::findUpLayers(const Records& records) {
  const CMLayerTree::Locations found = locate(records);
  for (const platform::DictRef& record : records) {
    if (!record || !found.contains(CMLayerTree::layerId(record))) return nullptr;
  }
  return records.empty() ? rootLayers() : found.at(CMLayerTree::layerId(records.front())).outerList;
}

CMBaseDocument::Records CMBaseDocument::outermostLayers(const Records& records) {
  const CMLayerTree::Locations live = locate(records);
  Records found;
  std::unordered_set<std::int32_t> seen;
  std::unordered_set<std::int32_t> insideGivenGroups;
  for (const platform::DictRef& record : records) {
    const std::int32_t id = CMLayerTree::layerId(record);
    if (!record || !live.contains(id) || !seen.insert(id).second) continue;
    found.push_back(record);
    CMLayerTree::collectMemberIds(live.at(id).record, insideGivenGroups);
  }
  std::erase_if(
      found, [&](const platform::DictRef& record) { return insideGivenGroups.contains(CMLayerTree::layerId(record)); });
  return found;
}

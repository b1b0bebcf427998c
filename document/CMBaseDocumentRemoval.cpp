#include <unordered_set>

#include "document/CMBaseDocument.h"
#include "document/CMLayerTree.h"
#include "document/CMNotificationNames.h"

void CMBaseDocument::remove(const platform::ArrayRef& list, std::int32_t itemId) {
  CMLayerTree::removeById(list, itemId);
}

void CMBaseDocument::remove(const Records& records) {
  // A layer removed together with one of its groups goes with the group: undo
  // must not put it back twice. Layers not in the tree are not registered at all.
  const Records removed = outermostLayers(records);
  undoManager_->regDelete(removed);
  std::unordered_set<std::int32_t> ids;
  for (const platform::DictRef& record : removed) ids.insert(CMLayerTree::layerId(record));
  CMLayerTree::removeAllById(rootLayers(), std::move(ids));
}

void CMBaseDocument::deleteLayers(const Records& records) {
  Records copies;
  for (const platform::DictRef& record : records) {
    if (record) copies.push_back(platform::dictionaryCopy(record));
  }
  remove(copies);
  refresh();
  post(kNotificationLayersChanged);
  post(kNotificationLayerRemoved);
}

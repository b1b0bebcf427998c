#include "document/CMCaches.h"

#include "document/CMLayerTree.h"
#include "platform/graphics/image.h"

CMCaches& CMCaches::sharedCaches() {
  static CMCaches caches;
  return caches;
}

const CMCaches::KeptImage* CMCaches::findImage(const platform::DictRef& record, bool design, float viewZoom) const {
  if (!record || record->get("dirty").boolValue()) return nullptr;
  const auto found = items_.find(CMLayerTree::layerId(record));
  if (found == items_.end()) return nullptr;
  const Item& item = found->second;
  if (item.design != design || item.viewZoom != viewZoom) return nullptr;
  return &item.kept;
}

void CMCaches::forgetImage(const platform::DictRef& record) {
  if (record) items_.erase(CMLayerTree::layerId(record));
}

void CMCaches::addImage(KeptImage kept, const platform::DictRef& record, bool design, float viewZoom) {
  if (!record || !kept.image) return;
  record->set("dirty", false);
  items_[CMLayerTree::layerId(record)] = Item{design, viewZoom, std::move(kept)};
}

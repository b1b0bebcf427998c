#include "document/CMCaches.h"

#include "document/CMLayerTree.h"
#include "platform/graphics/image.h"

CMCaches& CMCaches::sharedCaches() {
  static CMCaches caches;
  return caches;
}

std::shared_ptr<const platform::Image> CMCaches::findImage(const platform::DictRef& record, bool design,
                                                           float viewZoom) const {
  if (!record || record->get("dirty").boolValue()) return nullptr;
  const auto found = items_.find(CMLayerTree::layerId(record));
  if (found == items_.end()) return nullptr;
  const Item& item = found->second;
  if (item.design != design || item.viewZoom != viewZoom) return nullptr;
  return item.image;
}

void CMCaches::addImage(std::shared_ptr<const platform::Image> image, const platform::DictRef& record, bool design,
                        float viewZoom) {
  if (!record || !image) return;
  record->set("dirty", false);
  items_[CMLayerTree::layerId(record)] = Item{design, viewZoom, std::move(image)};
}

#include "document/CMCaches.h"

#include "document/CMLayerTree.h"
#include "platform/graphics/image.h"

namespace {

std::size_t pixelBytes(const platform::Image& image) {
  cairo_surface_t* surface = image.surface().get();
  if (!surface || cairo_surface_get_type(surface) != CAIRO_SURFACE_TYPE_IMAGE) return 0;
  return static_cast<std::size_t>(cairo_image_surface_get_stride(surface)) *
         static_cast<std::size_t>(cairo_image_surface_get_height(surface));
}

}  // namespace

CMCaches& CMCaches::sharedCaches() {
  static CMCaches caches;
  return caches;
}

const CMCaches::KeptImage* CMCaches::findImage(const platform::DictRef& record, bool design, float viewZoom) {
  if (!record || record->get("dirty").boolValue()) return nullptr;
  const auto found = items_.find(CMLayerTree::layerId(record));
  if (found == items_.end()) return nullptr;
  Item& item = found->second;
  if (item.design != design || item.viewZoom != viewZoom) return nullptr;
  uses_.splice(uses_.begin(), uses_, item.use);
  return &item.kept;
}

void CMCaches::erase(std::unordered_map<std::int32_t, Item>::iterator item) {
  bytes_ -= item->second.bytes;
  uses_.erase(item->second.use);
  items_.erase(item);
}

void CMCaches::forgetImage(const platform::DictRef& record) {
  if (!record) return;
  if (const auto found = items_.find(CMLayerTree::layerId(record)); found != items_.end()) erase(found);
}

void CMCaches::addImage(KeptImage kept, const platform::DictRef& record, bool design, float viewZoom) {
  if (!record || !kept.image) return;
  record->set("dirty", false);
  const std::int32_t id = CMLayerTree::layerId(record);
  if (const auto found = items_.find(id); found != items_.end()) erase(found);
  const std::size_t bytes = pixelBytes(*kept.image);
  uses_.push_front(id);
  items_[id] = Item{design, viewZoom, std::move(kept), bytes, uses_.begin()};
  bytes_ += bytes;
  keepWithinBudget();
}

void CMCaches::setBudget(std::size_t budget) {
  budget_ = budget;
  keepWithinBudget();
}

void CMCaches::keepWithinBudget() {
  // The picture just kept stays, even alone past the budget: the layer draws from it now.
  while (bytes_ > budget_ && uses_.size() > 1) erase(items_.find(uses_.back()));
}

#include "document/CMDrawerIndex.h"

#include <algorithm>

#include "document/CMLayer.h"

void CMDrawerIndex::Setting::applyTo(CMLayer& layer) const {
  layer.setDesign(design);
  layer.setZoom(zoom);
  layer.setZoomTransform(zoomTransform);
  layer.setBackZoomTransform(backZoomTransform);
  layer.setVectorViewMode(vectorViewMode);
}

CMDrawerIndex::~CMDrawerIndex() { unwatchAll(); }

void CMDrawerIndex::unwatchAll() noexcept {
  for (Slot slot = 0; slot < entries_.size(); ++slot) {
    layers_[slot]->setWatcher(nullptr, 0);
    entries_[slot].record->unwatch(*this, slot);
    if (entries_[slot].shape) entries_[slot].shape->unwatch(*this, slot);
  }
}

void CMDrawerIndex::reset(Layers layers) {
  unwatchAll();
  layers_.clear();
  entries_.clear();
  changed_.clear();
  selected_.clear();
  measuredAll_ = false;
  layers_.reserve(layers.size());
  entries_.reserve(layers.size());
  changed_.reserve(layers.size());
  for (std::shared_ptr<CMLayer>& layer : layers) append(std::move(layer));
}

void CMDrawerIndex::append(std::shared_ptr<CMLayer> layer) {
  const auto slot = static_cast<Slot>(entries_.size());
  entries_.push_back({layer->data(), nullptr, {}, false, false});
  layers_.push_back(std::move(layer));
  changed_.reserve(entries_.size());
  layers_[slot]->setWatcher(this, slot);
  entries_[slot].record->watch(*this, slot);
  note(slot);
}

void CMDrawerIndex::dictionaryChanged(std::uintptr_t tag) noexcept { note(static_cast<Slot>(tag)); }

void CMDrawerIndex::layerChanged(Slot slot) noexcept { note(slot); }

void CMDrawerIndex::note(Slot slot) noexcept {
  if (slot == quietSlot_ || entries_[slot].changed) return;
  entries_[slot].changed = true;
  changed_.push_back(slot);
}

void CMDrawerIndex::prepare(Slot slot) {
  quietSlot_ = slot;
  setting_.applyTo(*layers_[slot]);
  quietSlot_ = kNoSlot;
}

void CMDrawerIndex::measure(Slot slot) {
  Entry& entry = entries_[slot];
  entry.changed = false;
  quietSlot_ = slot;
  CMLayer& layer = *layers_[slot];
  setting_.applyTo(layer);
  entry.reach = layer.extent().reach;
  quietSlot_ = kNoSlot;
  // Replacing the "shape" record changes the layer record, which brings the layer here; the layer may still draw the
  // one it had, whose changes are then those that move it.
  const platform::DictRef shape = layer.shapeRecord();
  if (shape != entry.shape) {
    if (entry.shape) entry.shape->unwatch(*this, slot);
    if (shape) shape->watch(*this, slot);
    entry.shape = shape;
  }
  const bool selected = layer.selected() || layer.selectedAsPartOfGroup();
  if (selected && !entry.selected) selected_.push_back(slot);
  entry.selected = selected;
}

void CMDrawerIndex::update(const Setting& setting) {
  if (!(setting == setting_) || !measuredAll_) {
    setting_ = setting;
    measuredAll_ = true;
    for (Entry& entry : entries_) entry.changed = false;
    changed_.clear();
    for (Slot slot = 0; slot < entries_.size(); ++slot) measure(slot);
    // Keep only the layers noted after their own measure.
    std::erase_if(changed_, [this](Slot slot) { return !entries_[slot].changed; });
    refile();
    return;
  }
  if (changed_.empty()) return;
  // Measuring may change a record that another layer draws as well, which notes that layer for the next update.
  std::vector<Slot> changed;
  changed.swap(changed_);
  changed_.reserve(entries_.size());
  for (const Slot slot : changed) {
    const platform::Rect before = entries_[slot].reach;
    measure(slot);
    if (!(entries_[slot].reach == before) || slot >= filedAtRefile_) grid_.set(slot, entries_[slot].reach);
  }
  // A drawing that has grown much since its cells were sized gets cells that suit it.
  if (entries_.size() > 2 * filedAtRefile_ + 64) refile();
}

void CMDrawerIndex::refile() {
  std::vector<platform::Rect> reaches;
  reaches.reserve(entries_.size());
  for (const Entry& entry : entries_) reaches.push_back(entry.reach);
  grid_.reset(CMLayerGrid::cellSideFor(reaches));
  for (Slot slot = 0; slot < entries_.size(); ++slot) grid_.set(slot, entries_[slot].reach);
  filedAtRefile_ = entries_.size();
}

const std::vector<CMDrawerIndex::Slot>& CMDrawerIndex::selectedLayers() {
  // Deselected layers leave the list here, all at once.
  std::erase_if(selected_, [this](Slot slot) { return !entries_[slot].selected; });
  std::sort(selected_.begin(), selected_.end());
  selected_.erase(std::unique(selected_.begin(), selected_.end()), selected_.end());
  return selected_;
}

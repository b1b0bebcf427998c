#pragma once

// The drawer's index of its layer objects: where each can draw (a CMLayerGrid over the kept extents' reaches, in
// drawing order) and which are selected, kept up to date from what changed only. Each layer tells of changes to its
// own state (dirty marks, zooms, the turning centre, the selection); its record and its "shape" record tell of
// changes to their entries. A redraw then costs the layers that meet its clip, not the drawing.

#include <cstdint>
#include <memory>
#include <vector>

#include "document/CMLayerExtent.h"
#include "document/CMLayerGrid.h"
#include "platform/core/value.h"
#include "platform/graphics/affine_transform.h"

class CMLayer;

class CMDrawerIndex final : public platform::DictionaryWatcher, public CMLayerWatcher {
 public:
  using Slot = CMLayerGrid::Slot;
  using Layers = std::vector<std::shared_ptr<CMLayer>>;

  // What the drawer hands every layer before drawing it; layers are measured with it.
  struct Setting {
    bool design = false;
    float zoom = 1;
    platform::AffineTransform zoomTransform;
    platform::AffineTransform backZoomTransform;
    bool vectorViewMode = false;

    void applyTo(CMLayer& layer) const;
    bool operator==(const Setting&) const = default;
  };

  CMDrawerIndex() = default;
  ~CMDrawerIndex();
  CMDrawerIndex(const CMDrawerIndex&) = delete;
  CMDrawerIndex& operator=(const CMDrawerIndex&) = delete;

  // The layers in drawing order, indexed afresh on the next update.
  void reset(Layers layers);
  // One more layer drawn above all others.
  void append(std::shared_ptr<CMLayer> layer);
  // Measures what changed since the last update (everything when the setting changed) and files it.
  void update(const Setting& setting);
  // Hands the layer the setting it was measured with: what it changes on the way is no news.
  void prepare(Slot slot);

  const Layers& layers() const noexcept { return layers_; }
  // The layers that may draw in `rect` (drawer coordinates before the zoom transform), in drawing order.
  const std::vector<Slot>& layersMeeting(const platform::Rect& rect) { return grid_.query(rect); }
  // The selected layers (or selected as part of a group), in drawing order.
  const std::vector<Slot>& selectedLayers();

 private:
  struct Entry {
    platform::DictRef record;
    platform::DictRef shape;  // the "shape" record the layer drew when last measured, watched as well
    platform::Rect reach;
    bool changed = false;
    bool selected = false;
  };

  void dictionaryChanged(std::uintptr_t tag) noexcept override;
  void layerChanged(Slot slot) noexcept override;
  void note(Slot slot) noexcept;
  void watch(Slot slot);
  void unwatchAll() noexcept;
  // Measures the layer with the setting and watches the "shape" record it draws.
  void measure(Slot slot);
  // Files every reach in a grid sized for them.
  void refile();

  Layers layers_;
  std::vector<Entry> entries_;
  std::vector<Slot> changed_;  // never longer than entries_: reserved with it, so noting cannot fail
  std::vector<Slot> selected_;
  CMLayerGrid grid_;
  Setting setting_;
  // The slot being measured or prepared: its own changes meanwhile are what the measure sees.
  Slot quietSlot_ = kNoSlot;
  static constexpr Slot kNoSlot = ~Slot{0};
  bool measuredAll_ = false;       // every layer has been measured with setting_
  std::size_t filedAtRefile_ = 0;  // how many layers the grid's cell side was chosen for
};

#pragma once

// Where a layer draws, measured from its record once and kept by the layer object until the record, its "shape"
// record, the dirty mark, the zooms or the turning centre change: redraws and culling then read no numbers from the
// record and compute no path bounds.

#include <cstdint>

#include "platform/core/geometry.h"
#include "platform/core/value.h"
#include "platform/graphics/affine_transform.h"
#include "platform/graphics/blend_modes.h"

struct CMLayerExtent {
  platform::Rect display;  // findDisplayRect: the bounds with the margin added to the size
  float margin = 0;
  platform::Rect placed;  // the bounds with the margin on every side
  double blurRadius = 0;
  double blurRoom = 0;
  double alpha = 0;
  platform::BlendMode blendMode = platform::BlendMode::Normal;
  bool turned = false;  // the record has "rotate": `rotation` turns the frame
  platform::AffineTransform rotation;
  // Everything the layer can mark, in the drawer's coordinates before its zoom transform; unbounded when a
  // hostile number leaves it unknown.
  platform::Rect reach;
};

// What the extent was measured from; a different key measures again.
struct CMLayerExtentKey {
  std::uint64_t recordChanges = 0;
  std::uint64_t shapeChanges = 0;
  std::uint64_t dirtyMarks = 0;
  // The "shape" record the layer draws, alive while the record is unchanged (replacing it counts as a change).
  const platform::Dictionary* shape = nullptr;
  platform::AffineTransform backZoom;
  platform::Point center;
  float zoom = 0;
  float viewZoom = 0;
  bool design = false;
  bool vectorViewMode = false;
  bool centerLocked = false;

  bool operator==(const CMLayerExtentKey&) const = default;
};

// Whether a layer reaching `reach` may mark `rect`: an unknown (not finite) reach may reach anywhere.
bool reachMeets(const platform::Rect& reach, const platform::Rect& rect);
// Told by a layer object that something its extent is measured from, or its selection, may have changed.
class CMLayerWatcher {
 public:
  virtual void layerChanged(std::uint32_t slot) noexcept = 0;

 protected:
  ~CMLayerWatcher() = default;
};

// The bounds of `rect` carried through `transform`.
platform::Rect transformedBounds(const platform::AffineTransform& transform, const platform::Rect& rect);
// The clip of a target, in its own coordinates, carried back through the zoom transform its layers are drawn with,
// with room for rounding: what CMLayer::mayDrawIn takes. Unbounded when the transform has no inverse.
platform::Rect cullingRect(const platform::Rect& clip, const platform::AffineTransform& zoomTransform);

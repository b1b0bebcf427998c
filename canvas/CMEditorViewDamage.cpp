// The part of the canvas a one-layer change needs drawn again.

#include "canvas/CMEditorView.h"
#include "document/CMDrawer.h"
#include "document/CMLayer.h"
#include "platform/graphics/rect_functions.h"

platform::Rect CMEditorView::layerDamage(CMLayer& layer) const {
  // The canvas draws its layers one unit down (see drawRect).
  const platform::AffineTransform transform = drawer_->zoomTransform();
  const platform::Rect before = layer.lastReach(transform);
  layer.extent();
  const platform::Rect after = layer.lastReach(transform);
  return platform::integralRect(platform::offsetRect(platform::unionRect(before, after), 0, 1));
}

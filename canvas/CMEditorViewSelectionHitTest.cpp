// Hit-testing: the current layer's handles first, by edit mode, then the bodies
// of the visible layers from the top down. Locked layers are hit like any other.

#include "canvas/CMEditorView.h"
#include "document/CMDrawer.h"
#include "document/CMLayer.h"
#include "document/CMProject.h"
#include "platform/core/geometry_strings.h"
#include "platform/graphics/bezier_path.h"
#include "platform/graphics/rect_functions.h"
#include "platform/ui/event.h"

namespace {

// A handle is a circle of this diameter in canvas units at every zoom.
constexpr double kHandleDiameter = 12;

platform::ArrayRef handlesForEditMode(CMLayer& layer) {
  switch (CMProject::shareProject().editMode()) {
    case kCMEditModeObject:
      return layer.editingPoints();
    case kCMEditModePathPoints:
      return layer.pathEditingPoints();
    case kCMEditModeGradient:
      return layer.gradientEditingPoints();
    default:
      return nullptr;
  }
}

// Whether the layer's frame, turned with the layer, covers more than a sliver of the pixel starting at `point` (the
// pixel under the pointer), in canvas units: a line one pixel thin is hit on every pixel it is drawn on.
bool rotatedFrameContains(CMLayer& layer, platform::Point point) {
  constexpr double kPixelReach = 0.49;
  const platform::BezierPath frame = layer.framePath();
  if (frame.isEmpty()) return false;
  platform::BezierPath grown =
      platform::BezierPath::rect(platform::insetRect(frame.bounds(), -kPixelReach, -kPixelReach));
  grown.transformUsingAffineTransform(layer.rotateTransform(&frame));
  return grown.containsPoint({point.x + 0.5, point.y + 0.5});
}

}  // namespace

std::optional<CMEditorView::HitRecord> CMEditorView::findLayer(const platform::Event& event) const {
  return findLayerAt(convertPointFromWindow(event.locationInWindow));
}

std::optional<CMEditorView::HitRecord> CMEditorView::findLayerAt(platform::Point p) const {
  // The layers are met where the canvas draws them next, though a new zoom has not been drawn yet.
  drawer_->applyDrawingSetting();
  HitRecord hit;
  for (auto it = layers().rbegin(); it != layers().rend(); ++it)
    if ((*it)->selectedAsPartOfGroup() && !(*it)->selected()) hit.group.push_back(*it);

  if (selectedLayer_) {
    const platform::ArrayRef handles = handlesForEditMode(*selectedLayer_);
    const platform::BezierPath frame = selectedLayer_->framePath();
    const platform::AffineTransform rotation = selectedLayer_->rotateTransform(&frame);
    const platform::AffineTransform zoom = zoomTransform();
    if (handles) {
      for (const platform::Value& value : *handles) {
        const platform::DictRef handle = value.dictionary();
        if (!handle) continue;
        platform::Point centre = platform::pointFromString(handle->get("point").string());
        if (!viewMode_) centre = zoom.transformPoint(centre);
        const double r = kHandleDiameter / 2;
        platform::BezierPath circle = platform::BezierPath::ovalInRect({centre.x - r, centre.y - r, 2 * r, 2 * r});
        circle.transformUsingAffineTransform(rotation);
        if (circle.containsPoint(p)) {
          hit.layer = selectedLayer_;
          hit.editingPoint = handle;
          return hit;
        }
      }
    }
  }

  for (auto it = layers().rbegin(); it != layers().rend(); ++it) {
    if (!(*it)->isVisible()) continue;
    if (rotatedFrameContains(**it, p)) {
      hit.layer = *it;
      return hit;
    }
  }
  return std::nullopt;
}

bool CMEditorView::checkForGroup(platform::Point p) const {
  if (!selectedLayerDict_ || selectedLayerDict_->get("type").intValue() != 3) return false;
  const platform::ArrayRef items = selectedLayerDict_->array("items");
  if (!items) return false;
  for (const platform::Value& value : *items) {
    const platform::DictRef item = value.dictionary();
    if (!item) continue;
    const std::int32_t id = item->get("id").intValue();
    for (const auto& layer : layers())
      if (layer->layerId() == id && layer->isVisible() && rotatedFrameContains(*layer, p)) return true;
  }
  return false;
}

// The rubber band: every visible layer whose turned frame the band touches
// joins the multi-selection and stays in it for the rest of the band. The
// topmost touched layer is the primary one, as the last Shift-click would be,
// so that the commands have a layer to align with and combine into; once the
// band is let go it is the current layer, and the panels show the band's
// layers as they show any other selection.

#include <memory>

#include "canvas/CMEditorView.h"
#include "canvas/CMSelectionGeometry.h"
#include "document/CMLayer.h"
#include "platform/graphics/bezier_path.h"
#include "platform/graphics/rect_functions.h"
#include "platform/ui/event.h"

namespace {

// Left down and up, right down, moved and left dragged.
constexpr platform::EventMask kBandMask = 0x6E;

}  // namespace

void CMEditorView::selectArea(const platform::Event& event) {
  if (pressIsOnTextEditor(event)) return;
  const platform::Point start = convertPointFromWindow(event.locationInWindow);
  std::weak_ptr<platform::View> weak = weak_from_this();
  // The rulers do not follow the band: no event goes to the delegate.
  trackMouse(kBandMask, [weak, start](const platform::Event& next) {
    if (const auto view = weak.lock()) static_cast<CMEditorView&>(*view).bandStep(start, next);
  });
}

void CMEditorView::bandStep(platform::Point start, const platform::Event& event) {
  if (event.type == platform::EventType::LeftMouseUp) {
    // A press that never moved drew no band and chose nothing.
    const bool banded = showSelRect_;
    showSelRect_ = false;
    setNeedsDisplay();
    if (banded) {
      selectedLayer_ = nullptr;
      selectedLayerDict_ = nullptr;
      adoptCurrentLayer();
      announceSelection();
    }
    return;
  }
  if (event.type != platform::EventType::LeftMouseDragged) return;
  showSelRect_ = true;
  selRect_ = selection_geometry::bandRect(start, convertPointFromWindow(event.locationInWindow));
  bool primaryTaken = false;
  for (auto it = layers().rbegin(); it != layers().rend(); ++it) {
    CMLayer& layer = **it;
    if (!layer.isVisible()) continue;
    platform::BezierPath frame = layer.framePath();
    frame.transformUsingAffineTransform(layer.rotateTransform(&frame));
    if (!frame.isEmpty() && platform::intersectsRect(frame.bounds(), selRect_)) {
      layer.setSelected(!primaryTaken);
      layer.setSelectedAsPartOfGroup(true);
      primaryTaken = true;
    } else {
      layer.setSelected(false);
    }
  }
  setNeedsDisplay();
}

void CMEditorView::hideSel() {
  showSelRect_ = false;
  showSelLine_ = false;
}

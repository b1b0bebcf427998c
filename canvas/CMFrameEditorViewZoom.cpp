// The zoom steps of the frame view: in, out, 100 %, fit, and what every change of step does.

#include <algorithm>

#include "canvas/CMCanvasWindowService.h"
#include "canvas/CMEditorView.h"
#include "canvas/CMFrameEditorView.h"
#include "canvas/CMZoomSteps.h"
#include "document/CMDocument.h"
#include "platform/core/notification_center.h"
#include "platform/ui/scroll_view.h"

void CMFrameEditorView::findZoomIndex() {
  if (const std::optional<int> index = CMZoomStepIndex(zoom_)) zoomIndex_ = *index;
}

bool CMFrameEditorView::isZoomOnStep() const { return CMZoomStepIndex(zoom_).has_value(); }

void CMFrameEditorView::zoomIn(platform::Point focus) {
  if (const std::optional<int> index = CMZoomInIndex(zoom_)) applyZoomIndex(*index, focus);
}

void CMFrameEditorView::zoomOut(platform::Point focus) {
  if (const std::optional<int> index = CMZoomOutIndex(zoom_)) applyZoomIndex(*index, focus);
}

void CMFrameEditorView::zoomIn() { zoomIn(zoomCenterPoint()); }
void CMFrameEditorView::zoomOut() { zoomOut(zoomCenterPoint()); }
void CMFrameEditorView::zoom100() { setZoomIndex(kCMZoomIndex100); }

void CMFrameEditorView::zoomFit(platform::Size available) {
  if (const std::optional<int> index = CMZoomFitIndex(pageSize(), available)) setZoomIndex(*index);
}

void CMFrameEditorView::setZoomIndex(int index) { applyZoomIndex(index, zoomCenterPoint()); }

void CMFrameEditorView::applyZoomIndex(int index, platform::Point focus) {
  setPoint(focus);
  zoomIndex_ = std::clamp(index, 0, static_cast<int>(kCMZoomSteps.size()) - 1);
  zoom_ = CMZoomFactor(zoomIndex_);
  if (document_ && document_->data()) document_->data()->set("zoom", platform::Value(zoom_));
  editor_->setZoom(zoom_);
  updateEditorSize();
  setNeedsDisplay();
  platform::NotificationCenter::defaultCenter().post(kCMViewFrameDidChangeNotification);
}

platform::ScrollView* CMFrameEditorView::enclosingScrollView() const {
  platform::View* clip = superview();
  return clip ? dynamic_cast<platform::ScrollView*>(clip->superview()) : nullptr;
}

platform::Point CMFrameEditorView::zoomCenterPoint() const {
  const platform::ScrollView* scrollView = enclosingScrollView();
  if (!scrollView) return {};
  const platform::Rect visible = scrollView->documentVisibleRect();
  return {visible.origin.x + visible.size.width / 2, visible.origin.y + visible.size.height / 2};
}

void CMFrameEditorView::setPoint(platform::Point point) {
  const float width = static_cast<float>(frame().size.width);
  const float height = static_cast<float>(frame().size.height);
  // An empty frame has no relative position: keep it at the start rather than divide by zero.
  const float rx = width > 0 ? std::min(1.0f, static_cast<float>(point.x) / width) : 0.0f;
  const float ry = height > 0 ? std::min(1.0f, static_cast<float>(point.y) / height) : 0.0f;
  CMCanvasWindowService::shared().setScrollPosition({rx, ry});
}

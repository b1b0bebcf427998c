#include "ui/CMTopToolbarView.h"

#include <algorithm>

#include "document/CMStyle.h"
#include "platform/core/numeric.h"
#include "platform/graphics/graphics_context.h"
#include "ui/CMSplitView.h"
#include "ui/CMViewTags.h"

CMTopToolbarView::CMTopToolbarView() : CMToolsBase({0, 0, 100, kHeight}, kCMPaneTopToolbar) {}

void CMTopToolbarView::selectRightPanel(int type) {
  for (const int tag : {5, 2, 3, 4})
    if (CMToolbarButton* button = buttonWithTag(tag)) button->setState(tag == type ? 1 : 0);
}

void CMTopToolbarView::selectEditMode(int mode) {
  if (CMToolbarButton* button = buttonWithTag(0)) button->setState(mode == 0 ? 1 : 0);
  if (CMToolbarButton* button = buttonWithTag(1)) button->setState(mode == 1 ? 1 : 0);
}

void CMTopToolbarView::insertSubTools(std::shared_ptr<platform::View> strip, int tool) {
  if (subToolView_) subToolView_->removeFromSuperview();
  subToolView_.reset();
  if (!strip) return;
  subToolView_ = std::move(strip);
  subPanelAction_ = tool;
  addSubview(subToolView_);
  layoutSubViews();
}

void CMTopToolbarView::resizeSubviewsWithOldSize(platform::Size oldSize) {
  CMToolsBase::resizeSubviewsWithOldSize(oldSize);
  layoutSubViews();
}

void CMTopToolbarView::layoutSubViews() {
  CMToolsBase::layoutSubViews();
  if (!subToolView_) return;
  const CMSplitView* split = splitView();
  // The panel's width counts even while it is hidden, so the strip does not jump when the panel comes and goes.
  const double stripWidth = frame().size.width - (split ? split->rightPanelWidth() : 0);
  const platform::Rect strip = subToolView_->frame();
  subToolView_->setFrame({strip.origin.x, strip.origin.y, stripWidth, strip.size.height});
  placeZoomControl(stripWidth);
}

void CMTopToolbarView::placeZoomControl(double stripWidth) {
  int reach = 0;
  for (const auto& control : subToolView_->subviews()) {
    if (tagOfView(*control) == kZoomTag) continue;
    const platform::Rect frame = control->frame();
    reach = std::max(reach, platform::saturatingTruncate<int>(frame.origin.x + frame.size.width));
  }
  platform::View* zoom = subviewWithTag(*subToolView_, kZoomTag);
  if (!zoom) return;
  const double x = stripWidth - zoom->frame().size.width;
  zoom->setHidden(reach > x);
  if (!zoom->isHidden()) zoom->setFrameOrigin({x, zoom->frame().origin.y});
}

void CMTopToolbarView::drawRect(const platform::Rect&) {
  platform::GraphicsContext* context = platform::GraphicsContext::current();
  if (!context) return;
  const CMDeviceColor line = CMStyle::lineColor();
  context->setFillColor(platform::Color::device(line.red, line.green, line.blue, line.alpha));
  context->rectFill({0, 0, frame().size.width, 1});
}

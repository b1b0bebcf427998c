#include "ui/CMSplitView.h"

#include <utility>

#include "document/CMProject.h"
#include "ui/CMRightPanelView.h"

namespace {
constexpr const char* kWidthKey = "widthRightPanel";
}

CMSplitView::CMSplitView(std::shared_ptr<platform::View> workArea, std::shared_ptr<CMRightPanelView> rightPanel)
    : SplitView({0, 0, 2 * kReopenWidth + 1, 100}, std::move(workArea), rightPanel), rightPanel_(std::move(rightPanel)) {
  setDividerDidMove([this](double) { dividerDidMove(); });
  layoutSubViews();
}

void CMSplitView::layoutPane() {
  setFrame(paneFrame(kCMPaneSplitView, frame(), superview()));
  layoutSubViews();
}

void CMSplitView::layoutSubViews() {
  // The divider is one point wide, between the work area and the panel.
  setDividerPosition(frame().size.width - rightPanelWidth_ - dividerThickness());
}

void CMSplitView::resizeSubviewsWithOldSize(platform::Size) { layoutSubViews(); }

void CMSplitView::findRightPanelSize() { rightPanelWidth_ = rightPanel_->frame().size.width; }

void CMSplitView::dividerDidMove() {
  findRightPanelSize();
  if (rightPanelWidth_ < kHideBelow) setSecondPaneCollapsed(true);
  saveState();
  if (didResize_) didResize_();
}

void CMSplitView::toggleRightPanel() {
  if (isSecondPaneCollapsed()) {
    if (rightPanelWidth_ < kHideBelow) rightPanelWidth_ = kReopenWidth;
    setSecondPaneCollapsed(false);
    layoutSubViews();
  } else {
    setSecondPaneCollapsed(true);
  }
  saveState();
}

void CMSplitView::saveState() {
  CMProject::shareProject().profile().setFloat(static_cast<float>(firstPaneWidth()), kWidthKey);
}

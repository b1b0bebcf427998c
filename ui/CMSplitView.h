#pragma once

// The split view of the main window: the canvas's scroll view on the left, the
// right panel on the right. The right panel keeps its width when the window is
// resized; a drag that leaves it narrower than 200 points hides it, and showing
// it again opens it at 250 points at least. The work area's width goes to the
// profile ("widthRightPanel") at every change.

#include <functional>
#include <memory>

#include "platform/ui/split_view.h"
#include "ui/CMPaneLayout.h"

class CMRightPanelView;

class CMSplitView : public platform::SplitView {
 public:
  static constexpr double kHideBelow = 200;
  static constexpr double kReopenWidth = 250;

  CMSplitView(std::shared_ptr<platform::View> workArea, std::shared_ptr<CMRightPanelView> rightPanel);

  int paneType() const noexcept { return kCMPaneSplitView; }
  double rightPanelWidth() const noexcept { return rightPanelWidth_; }
  CMRightPanelView& rightPanelView() const noexcept { return *rightPanel_; }
  bool isRightPanelHidden() const { return isSecondPaneCollapsed(); }

  // Takes the split view's place among the main view's panes, then lays out its two sides.
  void layoutPane();
  void layoutSubViews();
  // The right panel's width as it is now.
  void findRightPanelSize();
  void toggleRightPanel();
  void saveState();
  // Told after the user's drag was applied, so the main view can lay out again.
  void setDidResizeSubviews(std::function<void()> callback) { didResize_ = std::move(callback); }

 protected:
  void resizeSubviewsWithOldSize(platform::Size oldSize) override;

 private:
  void dividerDidMove();

  std::shared_ptr<CMRightPanelView> rightPanel_;
  std::function<void()> didResize_;
  double rightPanelWidth_ = kReopenWidth;
};

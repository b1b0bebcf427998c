#pragma once

// NSSplitView with a vertical divider: two panes side by side, the divider
// dragged by the user within the panes' minimum widths; the second pane may be
// collapsed (hidden), leaving the first the whole width. Built from views so
// the panes stay ordinary subviews with frames.

#include <functional>
#include <memory>

#include "platform/ui/view.h"

namespace platform {

class SplitView : public View {
 public:
  SplitView(Rect frame, std::shared_ptr<View> first, std::shared_ptr<View> second);

  // The divider's x, i.e. the first pane's width; clamped so both panes keep their minimum widths.
  double dividerPosition() const { return position_; }
  void setDividerPosition(double position);
  double dividerThickness() const { return 1; }
  void setMinimumWidths(double first, double second);
  bool isSecondPaneCollapsed() const { return collapsed_; }
  void setSecondPaneCollapsed(bool collapsed);
  // Told after each user drag of the divider, with the position it ended at.
  void setDividerDidMove(std::function<void(double)> callback) { didMove_ = std::move(callback); }
  // The first pane's width (the whole width while the second is collapsed), told whenever it changes: by code,
  // a collapse or expansion, a resize of the split view, or a user drag (once, when the drag ends). For keeping
  // the layout in the user's profile; restore it with setDividerPosition.
  void setFirstPaneWidthDidChange(std::function<void(double)> callback) { widthDidChange_ = std::move(callback); }
  double firstPaneWidth() const { return first_->frame().size.width; }

  View& firstPane() { return *first_; }
  View& secondPane() { return *second_; }

  void mouseDown(const Event& event) override;
  void mouseMoved(const Event& event) override;
  void drawRect(const Rect& dirtyRect) override;
  View* hitTest(Point pointInSuperview) override;

 protected:
  // The first pane keeps its width as far as the minimums allow.
  void resizeSubviewsWithOldSize(Size oldSize) override;

 private:
  double clamped(double position) const;
  bool onDivider(Point local) const;
  void layoutPanes();
  void reportWidthIfChanged();

  std::shared_ptr<View> first_;
  std::shared_ptr<View> second_;
  std::function<void(double)> didMove_;
  std::function<void(double)> widthDidChange_;
  double reportedWidth_ = 0;
  double position_;
  double minimumFirst_ = 0;
  double minimumSecond_ = 0;
  bool collapsed_ = false;
  bool dragging_ = false;
};

}  // namespace platform

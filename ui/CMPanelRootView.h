#pragma once

// The root view of a right panel: fills the right pane, paints the panels' light ground (the pane's own dark grey
// shows only where no panel is) and lays its content out again at every change of size.

#include <functional>

#include "platform/ui/view.h"

class CMPanelRootView : public platform::View {
 public:
  using Layout = std::function<void(platform::Size size)>;

  CMPanelRootView(platform::Rect frame, Layout layout);

  void drawRect(const platform::Rect& dirtyRect) override;

 protected:
  void resizeSubviewsWithOldSize(platform::Size oldSize) override;

 private:
  Layout layout_;
};

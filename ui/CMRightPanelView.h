#pragma once

// The right-hand pane of the split view; the right panels' views fill it, one shown at a time.

#include "platform/ui/view.h"

class CMRightPanelView : public platform::View {
 public:
  using View::View;
  void drawRect(const platform::Rect& dirtyRect) override;

 protected:
  // Every panel view fills the pane.
  void resizeSubviewsWithOldSize(platform::Size oldSize) override;
};

#pragma once

// The tool palette at the left edge: one button per palette tool, stacked from
// the top; the current tool's button is on.

#include "ui/CMToolsBase.h"

class CMToolsView : public CMToolsBase {
 public:
  CMToolsView();

  // Every button enabled, on exactly when its tag is the tool's.
  void selectTool(int tool);
  void drawRect(const platform::Rect& dirtyRect) override;

 protected:
  void resizeSubviewsWithOldSize(platform::Size oldSize) override;
};

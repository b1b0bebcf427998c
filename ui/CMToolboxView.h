#pragma once

// A row of buttons inside a panel (the layers panel's): a strip of pane type 0 that draws nothing of its own; its
// owner places the buttons.

#include "ui/CMToolsBase.h"

class CMToolboxView : public CMToolsBase {
 public:
  explicit CMToolboxView(platform::Rect frame) : CMToolsBase(frame, kCMPaneDocumentTabs) {}
};

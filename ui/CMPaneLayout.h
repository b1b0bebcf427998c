#pragma once

// Where each pane of the main view goes. The main view is not flipped: y grows
// upward from the status bar. Panes find their neighbours among the visible
// CMPanelBase siblings, so a hidden pane gives its room to the others.

#include "platform/core/geometry.h"

namespace platform {
class View;
}

enum CMPaneType : int {
  kCMPaneDocumentTabs = 0,
  kCMPaneToolPalette = 1,
  kCMPaneStatusBar = 2,
  kCMPaneBottomStrip = 3,
  kCMPaneRightStrip = 4,
  kCMPaneSplitView = 5,
  kCMPaneTopToolbar = 6,
};

inline constexpr double kCMToolPaletteWidth = 35;

// The frame a pane of that type takes inside `superview` (a zero rectangle when
// there is none), given its current frame; an unknown type keeps the frame.
platform::Rect paneFrame(int paneType, const platform::Rect& current, const platform::View* superview);

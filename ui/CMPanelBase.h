#pragma once

// A pane of the main view: a view that knows its pane type and takes its place
// among its siblings whenever the main view lays out.

#include "platform/ui/view.h"
#include "ui/CMPaneLayout.h"

class CMPanelBase : public platform::View {
 public:
  CMPanelBase(platform::Rect frame, int paneType) : View(frame), paneType_(paneType) {}

  int paneType() const noexcept { return paneType_; }
  void setPaneType(int type) noexcept { paneType_ = type; }

  virtual void layoutPane() { setFrame(paneFrame(paneType_, frame(), superview())); }

 private:
  int paneType_;
};

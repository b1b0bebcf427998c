#include "ui/CMRightPanelWorkView.h"


void CMRightPanelWorkView::setFrame(const platform::Rect& frame) {
  View::setFrame(frame);
  for (const auto& section : subviews()) {
    const platform::Rect own = section->frame();
    section->setFrame({own.origin, {frame.size.width, own.size.height}});
  }
  if (delegate_) delegate_->didUpdateSections();
}

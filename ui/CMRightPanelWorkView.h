#pragma once

// The document view of a right panel's scroll view: the sections stacked top
// down (it is flipped), each as wide as it is. Tells its delegate after every
// change of its frame.

#include "platform/ui/view.h"

class CMRightPanelWorkViewDelegate {
 public:
  virtual ~CMRightPanelWorkViewDelegate() = default;
  virtual void didUpdateSections() = 0;
};

class CMRightPanelWorkView : public platform::View {
 public:
  using View::View;

  bool isFlipped() const override { return true; }
  CMRightPanelWorkViewDelegate* delegate() const { return delegate_; }
  void setDelegate(CMRightPanelWorkViewDelegate* delegate) { delegate_ = delegate; }

  // Every section keeps its origin and height and takes the new width.
  void setFrame(const platform::Rect& frame) override;

 private:
  CMRightPanelWorkViewDelegate* delegate_ = nullptr;
};

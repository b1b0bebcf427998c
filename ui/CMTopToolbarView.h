#pragma once

// The toolbar across the top of the window: the current tool's option strip
// at the left, ending in the zoom pop-up, and the four buttons that choose the
// right panel, kept over that panel. Controls of the strip that reach the zoom
// pop-up's place hide it rather than run under it.

#include <memory>

#include "ui/CMToolsBase.h"

class CMTopToolbarView : public CMToolsBase {
 public:
  static constexpr double kHeight = 44;
  static constexpr int kZoomTag = 100;

  CMTopToolbarView();

  // The right-panel buttons (tags 2–5): on exactly for the panel type shown.
  void selectRightPanel(int type);
  // Buttons of tags 0 and 1, where there are any, show edit modes 0 and 1.
  void selectEditMode(int mode);
  // Replaces the option strip (null just removes it) and lays the toolbar out.
  void insertSubTools(std::shared_ptr<platform::View> strip, int tool);
  platform::View* subToolView() const { return subToolView_.get(); }
  int subPanelAction() const noexcept { return subPanelAction_; }

  void layoutSubViews() override;
  void drawRect(const platform::Rect& dirtyRect) override;

 protected:
  void resizeSubviewsWithOldSize(platform::Size oldSize) override;

 private:
  void placeZoomControl(double stripWidth);

  std::shared_ptr<platform::View> subToolView_;
  int subPanelAction_ = 0;
};

#pragma once

// The status bar along the bottom of the main window: one line of text over the
// bar's grey, under a separator line at its top edge.

#include <string>

#include "ui/CMPanelBase.h"

class CMStatusBarView : public CMPanelBase {
 public:
  static constexpr double kHeight = 24;

  CMStatusBarView();

  const std::string& text() const noexcept { return text_; }
  void setText(const std::string& text);

  void drawRect(const platform::Rect& dirtyRect) override;

 private:
  std::string text_;
};

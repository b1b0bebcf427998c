#pragma once

// The swatch balloon: a pop-up window of 280 × 122 points under a colour picker, its background drawn as a white
// balloon with an arrow pointing up at the picker, holding the colour grid. A colour chosen in the grid closes the
// balloon and goes to the delegate; the balloon also closes when it loses the focus or Escape is pressed.

#include <memory>

#include "platform/graphics/color.h"
#include "platform/ui/popup_window.h"
#include "platform/ui/view.h"
#include "ui/CMColorGridView.h"

class CMColorPanelControllerDelegate {
 public:
  virtual ~CMColorPanelControllerDelegate() = default;
  virtual void didChangeColor(const platform::Color&) {}
};

class CMColorPanelBackgroundView : public platform::View {
 public:
  using View::View;
  int arrowX() const { return arrowX_; }
  void setArrowX(int x) { arrowX_ = x; }
  void drawRect(const platform::Rect& dirtyRect) override;

 private:
  int arrowX_ = 140;
};

class CMColorPanelController final : public CMColorGridViewDelegate {
 public:
  static constexpr double kWidth = 280;
  static constexpr double kHeight = 122;

  explicit CMColorPanelController(CMColorPanelControllerDelegate* delegate);

  // Opens the balloon with its top edge at the rectangle's bottom edge, centred on it (screen coordinates).
  void openPanel(const platform::Rect& rect, Gtk::Window* owner);
  void closeWindow() { window_.orderOut(); }
  void didSelectColor(const platform::Color& color) override;

  // The balloon's target frame for a control's screen rectangle whose top is the control's bottom edge.
  static platform::Rect targetFrame(const platform::Rect& rect);
  CMColorGridView& colorsGridView() const { return *grid_; }
  platform::PopupWindow& window() { return window_; }

 private:
  CMColorPanelControllerDelegate* delegate_;
  platform::PopupWindow window_;
  std::shared_ptr<CMColorGridView> grid_;
};

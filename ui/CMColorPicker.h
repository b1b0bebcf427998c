#pragma once

// The right panels' colour well: a rounded swatch of the current colour with a button square at its right end. A
// click on the swatch opens the balloon of fixed colours; a click on the square binds the shared colour panel to
// this picker, which becomes the active picker (one at a time). A colour chosen either way is stored and sent
// through the action.
//
// The active picker is known only while it lives: a picker destroyed (its panel rebuilt) lets the colour panel go.

#include <memory>

#include "platform/graphics/color.h"
#include "platform/ui/control.h"
#include "ui/CMColorPanelController.h"

namespace platform {
class ColorPanel;
}

class CMColorPicker : public platform::Control, public CMColorPanelControllerDelegate {
 public:
  explicit CMColorPicker(platform::Rect frame);
  ~CMColorPicker() override;

  const platform::Color& color() const { return color_; }
  // Stores and redraws; tells nobody.
  void setColor(const platform::Color& color);
  // The button square: (W − H, 0, H, H).
  platform::Rect btRect() const;
  bool isHighlighted() const { return isHighlighted_; }
  bool isSelected();
  static CMColorPicker* activePicker() { return activePicker_; }

  // The shared colour panel reports a colour, or the balloon does.
  void colorUpdate(platform::ColorPanel& sender);
  void didChangeColor(const platform::Color& color) override;
  // Another picker took the colour panel.
  void closePopup();
  // The colour panel stops reporting here.
  void deactivate();
  void showPopupWindow();
  CMColorPanelController* panelController() const { return panelController_.get(); }

  void drawRect(const platform::Rect& dirtyRect) override;
  void mouseDown(const platform::Event& event) override;
  void mouseUp(const platform::Event& event) override;
  void mouseMoved(const platform::Event& event) override;
  void mouseEntered(const platform::Event& event) override;
  void mouseExited(const platform::Event& event) override;

 private:
  void takeColor(const platform::Color& color);
  void windowWillClose();

  platform::Color color_;
  bool hasColor_ = false;
  bool isHighlighted_ = false;
  bool isSelected_ = false;
  std::unique_ptr<CMColorPanelController> panelController_;
  static CMColorPicker* activePicker_;
};

#pragma once

// The gradient rows' control until the gradient control takes its place: a
// swatch that shows the row's colour or gradient and sends nothing.

#include "platform/core/value.h"
#include "platform/graphics/color.h"
#include "platform/ui/control.h"

class CMPanelSwatchView : public platform::Control {
 public:
  using Control::Control;

  const platform::Color& color() const { return color_; }
  void setColor(const platform::Color& color);
  const platform::DictRef& gradient() const { return gradient_; }
  // A gradient record, drawn left to right; null goes back to the colour.
  void setGradient(platform::DictRef gradient);

  void drawRect(const platform::Rect& dirtyRect) override;

 private:
  platform::Color color_ = platform::Color::white(1, 1);
  platform::DictRef gradient_;
};

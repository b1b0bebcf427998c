#pragma once

// NSSlider: a horizontal or vertical Gtk::Scale without a value label, sending
// its action on every user change (continuous).

#include <gtkmm/scale.h>

#include "platform/ui/control.h"

namespace platform {

class Slider : public Control {
 public:
  Slider(Rect frame, double minValue, double maxValue, double value);

  double doubleValue() const;
  // Clamped to the range; NaN is ignored.
  void setDoubleValue(double value);
  double minValue() const;
  double maxValue() const;
  // Reversed or non-finite ranges are ignored.
  void setRange(double minValue, double maxValue);

  // NSControlSize mini: a trough and knob small enough for a row 20 points high.
  void setMiniControlSize();
  Gtk::Scale& gtkScale() { return *scale_; }

 private:
  Gtk::Scale* scale_;  // managed
};

}  // namespace platform

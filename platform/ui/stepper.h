#pragma once

// NSStepper: two small arrow buttons stepping a value by an increment within a
// range (wrapping around when asked); the action follows each user step.

#include <gtkmm/button.h>

#include "platform/ui/control.h"

namespace platform {

class Stepper : public Control {
 public:
  Stepper(Rect frame, double minValue, double maxValue, double increment);

  double doubleValue() const { return value_; }
  // Clamped to the range; NaN is ignored. Sends nothing.
  void setDoubleValue(double value);
  double minValue() const { return min_; }
  double maxValue() const { return max_; }
  double increment() const { return increment_; }
  void setValueWraps(bool wraps) { wraps_ = wraps; }

  // One step as the arrow buttons take it: +1 up, −1 down.
  void step(int direction);
  Gtk::Button& gtkUpButton() { return *up_; }
  Gtk::Button& gtkDownButton() { return *down_; }

 private:
  Gtk::Button* up_;    // managed
  Gtk::Button* down_;  // managed
  double min_;
  double max_;
  double increment_;
  double value_;
  bool wraps_ = false;
};

}  // namespace platform

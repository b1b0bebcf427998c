#include "platform/ui/stepper.h"

#include <gtkmm/box.h>
#include <gtkmm/cssprovider.h>
#include <gtkmm/image.h>
#include <gtkmm/stylecontext.h>

#include <algorithm>
#include <cmath>

namespace platform {

Stepper::Stepper(Rect frame, double minValue, double maxValue, double increment)
    : Control(frame),
      up_(Gtk::make_managed<Gtk::Button>()),
      down_(Gtk::make_managed<Gtk::Button>()),
      min_(std::isfinite(minValue) ? minValue : 0),
      max_(std::isfinite(maxValue) && maxValue >= min_ ? maxValue : min_),
      increment_(std::isfinite(increment) && increment > 0 ? increment : 1),
      value_(min_) {
  auto* box = Gtk::make_managed<Gtk::Box>(Gtk::ORIENTATION_VERTICAL);
  up_->set_image_from_icon_name("pan-up-symbolic", Gtk::ICON_SIZE_MENU);
  down_->set_image_from_icon_name("pan-down-symbolic", Gtk::ICON_SIZE_MENU);
  // The theme's button padding would not fit two arrows in a stepper's 20-odd points.
  auto css = Gtk::CssProvider::create();
  css->load_from_data("button { min-height: 0; min-width: 0; padding: 0; }");
  for (Gtk::Button* button : {up_, down_}) {
    button->get_style_context()->add_provider(css, GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    button->set_relief(Gtk::RELIEF_NONE);
    button->set_can_focus(false);
    box->pack_start(*button, true, true);
    button->show();
  }
  setContent(*box);
  keepConnection(up_->signal_clicked().connect([this] { step(1); }));
  keepConnection(down_->signal_clicked().connect([this] { step(-1); }));
}

void Stepper::setDoubleValue(double value) {
  if (std::isnan(value)) return;
  value_ = std::clamp(value, min_, max_);
}

void Stepper::step(int direction) {
  double next = value_ + (direction >= 0 ? increment_ : -increment_);
  if (next > max_) next = wraps_ ? min_ : max_;
  if (next < min_) next = wraps_ ? max_ : min_;
  value_ = next;
  userDidChange();
}

}  // namespace platform

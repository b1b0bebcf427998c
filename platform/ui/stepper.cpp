#include "platform/ui/stepper.h"

#include <gtkmm/box.h>
#include <gtkmm/cssprovider.h>
#include <gtkmm/image.h>
#include <gtkmm/stylecontext.h>

#include <algorithm>
#include <cmath>
#include <utility>

namespace platform {

namespace {
constexpr int kArrowSize = 8;
}  // namespace

Stepper::Stepper(Rect frame, double minValue, double maxValue, double increment)
    : Control(frame),
      up_(Gtk::make_managed<Gtk::Button>()),
      down_(Gtk::make_managed<Gtk::Button>()),
      min_(std::isfinite(minValue) ? minValue : 0),
      max_(std::isfinite(maxValue) && maxValue >= min_ ? maxValue : min_),
      increment_(std::isfinite(increment) && increment > 0 ? increment : 1),
      value_(min_) {
  auto* box = Gtk::make_managed<Gtk::Box>(Gtk::ORIENTATION_VERTICAL);
  // Each arrow takes half the height, whatever the frame: the upper half steps up, the lower down.
  box->set_homogeneous(true);
  // Arrows small enough for both to fit into a stepper's 20-odd points, with no padding or border from the theme.
  const std::pair<Gtk::Button*, const char*> arrows[] = {{up_, "pan-up-symbolic"}, {down_, "pan-down-symbolic"}};
  for (const auto& [button, icon] : arrows) {
    auto* image = Gtk::make_managed<Gtk::Image>();
    image->set_from_icon_name(icon, Gtk::ICON_SIZE_MENU);
    image->set_pixel_size(kArrowSize);
    button->set_image(*image);
    button->set_always_show_image(true);
  }
  auto css = Gtk::CssProvider::create();
  css->load_from_data("button { min-height: 0; min-width: 0; padding: 0; border-width: 0; }");
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

#include "platform/ui/slider.h"

#include <gtkmm/adjustment.h>
#include <gtkmm/cssprovider.h>

#include <algorithm>
#include <cmath>

namespace platform {

namespace {
bool validRange(double minValue, double maxValue) {
  return std::isfinite(minValue) && std::isfinite(maxValue) && minValue <= maxValue;
}
}  // namespace

Slider::Slider(Rect frame, double minValue, double maxValue, double value) : Control(frame) {
  const Gtk::Orientation orientation =
      frame.size.height > frame.size.width ? Gtk::ORIENTATION_VERTICAL : Gtk::ORIENTATION_HORIZONTAL;
  scale_ = Gtk::make_managed<Gtk::Scale>(orientation);
  scale_->set_draw_value(false);
  // AppKit's vertical sliders grow upward.
  if (orientation == Gtk::ORIENTATION_VERTICAL) scale_->set_inverted(true);
  if (!validRange(minValue, maxValue)) {
    minValue = 0;
    maxValue = 1;
  }
  scale_->set_range(minValue, maxValue);
  scale_->set_increments((maxValue - minValue) / 100, (maxValue - minValue) / 10);
  setContent(*scale_);
  keepConnection(scale_->signal_value_changed().connect([this] { userDidChange(); }));
  setDoubleValue(value);
}

void Slider::setMiniControlSize() {
  static const Glib::RefPtr<Gtk::CssProvider> mini = [] {
    Glib::RefPtr<Gtk::CssProvider> provider = Gtk::CssProvider::create();
    provider->load_from_data(
        "scale { padding: 3px 6px; min-height: 0; min-width: 0; }"
        "scale trough { min-height: 3px; min-width: 3px; }"
        "scale slider { min-height: 12px; min-width: 12px; margin: -5px; }");
    return provider;
  }();
  scale_->get_style_context()->add_provider(mini, GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
}

double Slider::doubleValue() const { return scale_->get_value(); }

void Slider::setDoubleValue(double value) {
  if (std::isnan(value)) return;
  auto blocked = guard();
  scale_->set_value(std::clamp(value, minValue(), maxValue()));
}

double Slider::minValue() const { return scale_->get_adjustment()->get_lower(); }

double Slider::maxValue() const { return scale_->get_adjustment()->get_upper(); }

void Slider::setRange(double minValue, double maxValue) {
  if (!validRange(minValue, maxValue)) return;
  auto blocked = guard();
  scale_->set_range(minValue, maxValue);
  // Keyboard steps of a hundredth and pages of a tenth of the range.
  scale_->set_increments((maxValue - minValue) / 100, (maxValue - minValue) / 10);
}

}  // namespace platform

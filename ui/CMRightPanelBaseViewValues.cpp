// A section's values: read from the delegate into the controls, and the user's changes sent back.

#include <cmath>
#include <optional>

#include "document/CMNotificationNames.h"
#include "platform/core/notification_center.h"
#include "platform/core/numeric.h"
#include "platform/ui/button.h"
#include "platform/ui/number_format.h"
#include "platform/ui/pop_up_button.h"
#include "platform/ui/segmented_control.h"
#include "platform/ui/slider.h"
#include "platform/ui/stepper.h"
#include "platform/ui/text_field.h"
#include "ui/CMColorPicker.h"
#include "ui/VDGradientControl.h"
#include "ui/CMRightPanelBaseView.h"

namespace {

using platform::DictRef;

const DictRef* parameterOf(const std::vector<CMRightPanelBaseView::ControlEntry>& controls,
                           const platform::Control& control) {
  for (const CMRightPanelBaseView::ControlEntry& entry : controls)
    if (entry.control.get() == &control) return &entry.parameter;
  return nullptr;
}

// What a field's text says, read in the C locale, as typed where the field shows it rounded; nothing for text that is
// not a finite number.
std::optional<double> fieldNumber(const platform::TextField& field) {
  if (!platform::NumberFormat{}.parse(field.stringValue())) return std::nullopt;
  return field.doubleValue();
}

}  // namespace

void CMRightPanelBaseView::updateValues() {
  if (delegate_) {
    for (const ControlEntry& entry : controls_) {
      const int propertyId = entry.parameter->get("property_id").intValue();
      const int index = entry.parameter->get("index").intValue();
      entry.control->setEnabled(delegate_->isEnable(propertyId, index));
      showValue(*entry.control, delegate_->findValue(propertyId, index));
    }
  }
  hideControls();
}

void CMRightPanelBaseView::showValue(platform::Control& control, const CMPanelValue& value) {
  if (std::holds_alternative<std::monostate>(value)) return;
  if (auto* picker = dynamic_cast<CMColorPicker*>(&control)) {
    if (const auto* color = std::get_if<platform::Color>(&value)) picker->setColor(*color);
    return;
  }
  if (auto* swatch = dynamic_cast<VDGradientControl*>(&control)) {
    // The record itself, which the gradient window edits in place.
    if (const DictRef gradient = panelValueAsValue(value).dictionary()) swatch->setGradient(gradient);
    return;
  }
  const platform::Value plain = panelValueAsValue(value);
  if (auto* popUp = dynamic_cast<platform::PopUpButton*>(&control)) {
    if (plain.isString()) {
      // A font the list does not hold (a family that is not installed, kept by the text) is shown by its name.
      if (!plain.string().empty()) popUp->selectOrShowTitle(plain.string());
    } else {
      popUp->selectItemAtIndex(plain.intValue());
    }
  } else if (auto* box = dynamic_cast<platform::Button*>(&control)) {
    box->setState(plain.boolValue() ? 1 : 0);
  } else if (auto* field = dynamic_cast<platform::TextField*>(&control)) {
    if (plain.isString()) {
      field->setStringValue(plain.string());
    } else {
      // The stored number itself, which the field's format rounds to the places it shows.
      field->setDoubleValue(plain.doubleValue());
    }
  } else if (auto* slider = dynamic_cast<platform::Slider*>(&control)) {
    slider->setDoubleValue(plain.floatValue());
  } else if (auto* stepper = dynamic_cast<platform::Stepper*>(&control)) {
    stepper->setDoubleValue(plain.floatValue());
  } else if (auto* segments = dynamic_cast<platform::SegmentedControl*>(&control)) {
    segments->setSelectedSegment(plain.intValue());
  }
}

void CMRightPanelBaseView::hideControls() {
  // A collapsed section keeps every control hidden; expanding applies the rules again.
  if (itemsIsHidden_) return;
  for (const ControlEntry& entry : controls_) {
    const int hider = entry.parameter->get("hider_prperty_id").intValue();
    if (hider == 0) continue;
    const int value =
        delegate_ ? panelValueAsValue(delegate_->findValue(hider, entry.parameter->get("index").intValue())).intValue()
                  : 0;
    entry.control->setHidden(value != entry.parameter->get("hider_value").intValue());
  }
  setNeedsDisplay();
}

void CMRightPanelBaseView::controlChanged(platform::Control& sender) {
  const DictRef* found = parameterOf(controls_, sender);
  if (!found || !delegate_) return;
  // The action may rebuild the panel and drop this section: keep it until the change is done.
  const std::shared_ptr<platform::View> self = shared_from_this();
  const DictRef parameter = *found;
  const int propertyId = parameter->get("property_id").intValue();
  const int index = parameter->get("index").intValue();
  const bool ranged = parameter->contains("min") && parameter->contains("max");
  const double low = ranged ? parameter->get("min").doubleValue() : 0;
  const double high = ranged ? parameter->get("max").doubleValue() : 0;

  // Any other control's change ends the colour panel's service to the active picker.
  auto* picker = dynamic_cast<CMColorPicker*>(&sender);
  if (CMColorPicker* active = CMColorPicker::activePicker(); active && !picker) active->deactivate();

  CMPanelValue value;
  if (picker) {
    value = picker->color();
  } else if (auto* swatch = dynamic_cast<VDGradientControl*>(&sender)) {
    value = CMGradientEdit{swatch->gradient(), swatch->previousGradient()};
  } else if (auto* popUp = dynamic_cast<platform::PopUpButton*>(&sender)) {
    if (parameter->get("control_type").intValue() == kFont) {
      value = platform::Value(popUp->titleOfSelectedItem());
    } else {
      value = platform::Value(popUp->indexOfSelectedItem());
    }
  } else if (auto* field = dynamic_cast<platform::TextField*>(&sender)) {
    std::optional<double> number = fieldNumber(*field);
    if (number && low != high) number = std::clamp(*number, low, high);
    // A row without a range takes what its stepper could reach, and no more.
    if (!number || (low == high && std::fabs(*number) > kUnrangedLimit)) {
      updateValues();
      return;
    }
    // As typed: the record keeps what the user wrote, not its nearest float.
    value = platform::Value(*number);
  } else if (auto* slider = dynamic_cast<platform::Slider*>(&sender)) {
    value = platform::Value(static_cast<float>(platform::saturatingTruncate<std::int64_t>(slider->doubleValue())));
  } else if (auto* stepper = dynamic_cast<platform::Stepper*>(&sender)) {
    value = platform::Value(static_cast<float>(stepper->doubleValue()));
  } else if (auto* box = dynamic_cast<platform::Button*>(&sender)) {
    value = platform::Value(box->state() != 0);
  } else if (auto* segments = dynamic_cast<platform::SegmentedControl*>(&sender)) {
    value = platform::Value(segments->selectedSegment());
  } else {
    return;
  }
  delegate_->setValue(value, propertyId, index);
  updateValues();
  setNeedsDisplay();
}

void CMRightPanelBaseView::textEndedEditing(platform::Control& field) {
  controlChanged(field);
  platform::NotificationCenter::defaultCenter().post(kNotificationEndTextEditing);
}

#pragma once

// A value that a right-panel row shows or reports: nothing (the control is left as it is), a property-list value
// (numbers, strings, a gradient record), a colour, or a gradient edited in place with a copy of it from just before.

#include <variant>

#include "platform/core/value.h"
#include "platform/graphics/color.h"

struct CMGradientEdit {
  platform::DictRef gradient;
  platform::DictRef previous;
};

using CMPanelValue = std::variant<std::monostate, platform::Value, platform::Color, CMGradientEdit>;

// The value as a property-list value; nil for nothing, a colour or a gradient edit.
inline platform::Value panelValueAsValue(const CMPanelValue& value) {
  if (const auto* plain = std::get_if<platform::Value>(&value)) return *plain;
  return {};
}

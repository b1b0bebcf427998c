#pragma once

// A value that a right-panel row shows or reports: nothing (the control is left as it is), a property-list value
// (numbers, strings, a gradient record), or a colour.

#include <variant>

#include "platform/core/value.h"
#include "platform/graphics/color.h"

using CMPanelValue = std::variant<std::monostate, platform::Value, platform::Color>;

// The value as a property-list value; nil for nothing or a colour.
inline platform::Value panelValueAsValue(const CMPanelValue& value) {
  if (const auto* plain = std::get_if<platform::Value>(&value)) return *plain;
  return {};
}

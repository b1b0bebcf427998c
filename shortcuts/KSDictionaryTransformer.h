#pragma once

// Shortcuts in the user defaults as {"keyCode", "modifierFlags"}, and back.
// Registered as "KSDictionaryTransformer" together with the shortcut's archive coder.

#include <string_view>

#include "platform/core/value_transformer.h"

class KSDictionaryTransformer : public platform::ValueTransformer {
 public:
  static constexpr std::string_view kName = "KSDictionaryTransformer";

  // A shortcut, or nil unless both entries are integers.
  platform::Value transformedValue(const platform::Value& value) const override;
  bool allowsReverseTransformation() const override { return true; }
  // An empty dictionary for nil; nil for anything but a shortcut.
  platform::Value reverseTransformedValue(const platform::Value& value) const override;
};

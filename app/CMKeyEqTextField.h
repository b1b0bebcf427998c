#pragma once

// A text field for typing a single key equivalent: whatever is typed shows as
// its first character in upper case once editing ends.

#include <string>

#include "platform/ui/text_field.h"

class CMKeyEqFormatter {
 public:
  // Trimmed of white space at both ends, upper-cased, cut to its first character.
  static std::string stringForObjectValue(const std::string& text);
  // Any typed text is accepted as it stands.
  static bool getObjectValue(std::string& value, const std::string& text) {
    value = text;
    return true;
  }
};

class CMKeyEqTextField : public platform::TextField {
 public:
  explicit CMKeyEqTextField(platform::Rect frame);
};

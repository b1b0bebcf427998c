#include "app/CMKeyEqTextField.h"

#include <glibmm/ustring.h>

std::string CMKeyEqFormatter::stringForObjectValue(const std::string& text) {
  const std::size_t first = text.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return {};
  const std::size_t last = text.find_last_not_of(" \t\r\n");
  const Glib::ustring upper = Glib::ustring(text.substr(first, last - first + 1)).uppercase();
  return upper.size() >= 2 ? std::string(upper.substr(0, 1)) : std::string(upper);
}

CMKeyEqTextField::CMKeyEqTextField(platform::Rect frame) : TextField(frame) {
  setAction([](platform::Control& sender) {
    auto& field = static_cast<CMKeyEqTextField&>(sender);
    field.setStringValue(CMKeyEqFormatter::stringForObjectValue(field.stringValue()));
  });
}

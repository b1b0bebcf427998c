#include "platform/graphics/attributed_string.h"

namespace platform {

AttributedString::AttributedString(std::string text, TextAttributes attributes) {
  append(std::move(text), std::move(attributes));
}

void AttributedString::append(std::string text, TextAttributes attributes) {
  if (text.empty()) return;
  runs_.push_back({std::move(text), std::move(attributes)});
}

void AttributedString::append(const AttributedString& other) {
  runs_.insert(runs_.end(), other.runs_.begin(), other.runs_.end());
}

std::string AttributedString::string() const {
  std::string text;
  for (const Run& run : runs_) text += run.text;
  return text;
}

}  // namespace platform

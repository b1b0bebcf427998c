#include <cctype>
#include <cmath>
#include <string>
#include <string_view>
#include <vector>

#include "document/CMLayer.h"

namespace {

std::string lowerCased(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower;
}

// Split at every single space, so two spaces in a row give an empty part (which reads as 0).
std::vector<std::string_view> spaceSeparated(std::string_view text) {
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  for (std::size_t space = text.find(' '); space != std::string_view::npos; space = text.find(' ', start)) {
    parts.push_back(text.substr(start, space - start));
    start = space + 1;
  }
  parts.push_back(text.substr(start));
  return parts;
}

// The arguments of a "rotate(a x y)" entry; empty when the entry is no rotation.
std::vector<float> rotateArguments(std::string_view entry) {
  const std::string lower = lowerCased(entry);
  if (lower.find("rotate") == std::string::npos) return {};
  const std::size_t open = lower.find('(');
  const std::size_t close = lower.find(')');
  if (open == std::string::npos || close == std::string::npos || close < open) return {};
  std::vector<float> arguments;
  for (std::string_view part : spaceSeparated(std::string_view(lower).substr(open + 1, close - open - 1))) {
    arguments.push_back(platform::Value(part).floatValue());
  }
  return arguments;
}

}  // namespace

void CMLayer::applyTransformation(const platform::ArrayRef& transforms) {
  if (!transforms) return;
  for (const platform::Value& entry : *transforms) {
    if (!entry.isString()) continue;
    const std::vector<float> arguments = rotateArguments(entry.string());
    if (arguments.size() < 3) continue;
    // An overflowing number from a foreign file must not reach the record.
    if (!std::isfinite(arguments[0]) || !std::isfinite(arguments[1]) || !std::isfinite(arguments[2])) continue;
    data_->set("rotate", arguments[0]);
    data_->set("rotate_x", arguments[1]);
    data_->set("rotate_y", arguments[2]);
  }
}

void CMLayer::applyTransformation() {
  // Once the layer has a rotation of its own (set by the import or later by the user), the
  // imported strings must not overwrite it on every measurement.
  if (!data_->contains("rotate")) applyTransformation(data_->array("transforms"));
  applyRotate();
  applyMatrix();
}

void CMLayer::applyRotate() {
  if (!data_->contains("rotate_x") || !data_->contains("rotate_y")) return;
  layerRect_.origin = {data_->get("rotate_x").floatValue() - layerRect_.size.width * 0.5,
                       data_->get("rotate_y").floatValue() - layerRect_.size.height * 0.5};
}

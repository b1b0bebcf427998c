#include "canvas/CMEditorViewCreationRecords.h"

#include "document/CMProject.h"
#include "platform/core/geometry_strings.h"

namespace creation_records {

platform::DictRef shapeOf(const platform::DictRef& record) {
  if (!record) return nullptr;
  platform::DictRef shape = record->dictionary("shape");
  if (!shape) {
    shape = platform::Dictionary::make();
    record->set("shape", shape);
  }
  return shape;
}

void useShownFill(const platform::DictRef& shape) {
  const platform::DictRef fill = shape ? shape->dictionary("fill") : nullptr;
  if (fill) fill->set("use", fill->get("type").intValue() != 0);
}

void applyToolLineWidth(const platform::DictRef& shape) {
  if (!shape) return;
  platform::DictRef stroke = shape->dictionary("stroke");
  if (!stroke) {
    stroke = platform::Dictionary::make();
    shape->set("stroke", stroke);
  }
  const auto width = static_cast<float>(CMProject::shareProject().profile().integerForKey("line_width"));
  stroke->set("lineWidth", width);
}

platform::DictRef penPoint(platform::Point point) {
  const std::string text = platform::stringFromPoint(point);
  return platform::Dictionary::make({{"point", text}, {"control_point1", text}, {"control_point2", text}});
}

platform::Point pointValue(const platform::DictRef& penPoint, const char* key) {
  return penPoint ? platform::pointFromString(penPoint->get(key).string()) : platform::Point{};
}

bool isClosed(const platform::Value& penPoint) {
  const platform::DictRef record = penPoint.dictionary();
  return record && record->get("closed").boolValue();
}

bool isStart(const platform::Value& penPoint) {
  const platform::DictRef record = penPoint.dictionary();
  return record && record->get("start").boolValue();
}

bool isNear(platform::Point point, platform::Point target) {
  return point.x >= target.x - 4 && point.x < target.x + 4 && point.y >= target.y - 4 && point.y < target.y + 4;
}

std::size_t subpathStart(const platform::ArrayRef& points, std::size_t index) {
  while (index > 0 && !isClosed(points->at(index - 1))) --index;
  return index;
}

}  // namespace creation_records

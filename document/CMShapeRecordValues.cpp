#include "document/CMShapeRecordValues.h"

#include <cmath>
#include <limits>

#include "platform/core/geometry_strings.h"

using platform::DictRef;
using platform::Point;

namespace {

double finiteOrZero(double value) { return std::isfinite(value) ? value : 0.0; }

}  // namespace

Point shapePointValue(const platform::Value& value) {
  const Point point = platform::pointFromString(value.string());
  return {finiteOrZero(point.x), finiteOrZero(point.y)};
}

Point shapePoint(const DictRef& record, std::string_view key) {
  return record ? shapePointValue(record->get(key)) : Point{};
}

bool setShapePoint(const DictRef& record, std::string_view key, Point point) {
  if (!record || !std::isfinite(point.x) || !std::isfinite(point.y)) return false;
  record->set(key, platform::stringFromPoint(point));
  return true;
}

bool toSingle(double value, float& single) {
  if (!std::isfinite(value) || std::fabs(value) > std::numeric_limits<float>::max()) return false;
  single = static_cast<float>(value);
  return true;
}

bool setShapeFloat(const DictRef& record, std::string_view key, double value) {
  float single = 0;
  if (!record || !toSingle(value, single)) return false;
  record->set(key, single);
  return true;
}

std::string shapeSlotKey(std::string_view base, int index) {
  std::string key(base);
  if (index > 0) key += std::to_string(index);
  return key;
}

DictRef usedShapeSlot(const DictRef& record, std::string_view key) {
  if (!record) return nullptr;
  DictRef slot = record->dictionary(key);
  return slot && slot->get("use").boolValue() ? slot : nullptr;
}

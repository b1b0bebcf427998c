#pragma once

// Shape layer records made by hand for the shape layer tests, and a walk that finds any
// non-finite number stored anywhere in a record.

#include <cctype>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/core/geometry.h"
#include "platform/core/geometry_strings.h"
#include "platform/core/value.h"

namespace document_testing {

inline platform::DictRef pointRecord(std::int64_t id, platform::Point point, std::int64_t type) {
  return platform::Dictionary::make({{"id", id}, {"point", platform::stringFromPoint(point)}, {"type", type}});
}

inline platform::DictRef curveRecord(std::int64_t id, platform::Point point, std::int64_t type,
                                     platform::Point control1, platform::Point control2) {
  platform::DictRef record = pointRecord(id, point, type);
  record->set("control_point1", platform::stringFromPoint(control1));
  record->set("control_point2", platform::stringFromPoint(control2));
  return record;
}

inline platform::DictRef shapeLayerRecord(std::int64_t shapeType, platform::DictRef shape, double x = 0,
                                          double y = 0) {
  return platform::Dictionary::make({{"id", 1},
                                     {"type", 0},
                                     {"visible", true},
                                     {"shape_type", shapeType},
                                     {"x", x},
                                     {"y", y},
                                     {"shape", std::move(shape)}});
}

// A path layer (shape type 7) over the given point records.
inline platform::DictRef pathLayerRecord(const std::vector<platform::DictRef>& points, double x = 0, double y = 0) {
  platform::ArrayRef list = platform::Array::make();
  for (const platform::DictRef& point : points) list->add(point);
  return shapeLayerRecord(7, platform::Dictionary::make({{"points", list}}), x, y);
}

// The shape record of a rectangle, oval, polygon or star: the frame in the first and third point records.
inline platform::DictRef frameShape(const platform::Rect& frame) {
  const platform::Point from = frame.origin;
  const platform::Point to{from.x + frame.size.width, from.y + frame.size.height};
  return platform::Dictionary::make({{"points", platform::Array::make({pointRecord(1, from, 1),
                                                                       pointRecord(2, {from.x, to.y}, 2),
                                                                       pointRecord(4, to, 2),
                                                                       pointRecord(5, {to.x, from.y}, 10)})}});
}

// A plain line without arrowheads, so its bounds are the box of its ends.
inline platform::DictRef lineShape(platform::Point start, platform::Point end) {
  return platform::Dictionary::make({{"x1", start.x},
                                     {"y1", start.y},
                                     {"x2", end.x},
                                     {"y2", end.y},
                                     {"type", 0},
                                     {"style", 0},
                                     {"def_width", 1}});
}

inline platform::Point pointOf(const platform::DictRef& record, const char* key = "point") {
  return platform::pointFromString(record->get(key).string());
}

inline platform::DictRef entryAt(const platform::ArrayRef& list, std::size_t index) {
  return list->at(index).dictionary();
}

// True when a real, or a number inside a string, anywhere in the value is infinite or NaN.
inline bool holdsNonFinite(const platform::Value& value) {
  if (value.isReal()) return !std::isfinite(value.doubleValue());
  if (value.isString()) {
    std::string lower;
    for (char c : value.string()) lower.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
    return lower.find("inf") != std::string::npos || lower.find("nan") != std::string::npos;
  }
  if (const platform::ArrayRef list = value.array()) {
    for (const platform::Value& entry : *list) {
      if (holdsNonFinite(entry)) return true;
    }
  }
  if (const platform::DictRef record = value.dictionary()) {
    for (const auto& [key, entry] : *record) {
      if (holdsNonFinite(entry)) return true;
    }
  }
  return false;
}

}  // namespace document_testing

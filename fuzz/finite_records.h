#pragma once

// What the import fuzz targets demand of the records a reader made: every number, and every point string, is
// finite. Walks without recursion, since hostile input nests deeply.

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "platform/core/geometry_strings.h"
#include "platform/core/value.h"

namespace fuzzing {

[[noreturn]] inline void fail(const char* target, const char* what) {
  std::fprintf(stderr, "%s: %s\n", target, what);
  std::abort();
}

inline bool isPointKey(std::string_view key) {
  return key == "point" || key == "control_point1" || key == "control_point2";
}

inline void checkFinite(const char* target, const platform::ArrayRef& records) {
  std::vector<platform::Value> pending{platform::Value(records)};
  while (!pending.empty()) {
    const platform::Value value = pending.back();
    pending.pop_back();
    if (value.isReal() && !std::isfinite(value.doubleValue())) {
      fail(target, "a record holds a number that is not finite");
    }
    if (const platform::ArrayRef array = value.array()) {
      for (const platform::Value& item : *array) pending.push_back(item);
    }
    if (const platform::DictRef dictionary = value.dictionary()) {
      for (const auto& [key, item] : *dictionary) {
        if (isPointKey(key)) {
          const platform::Point p = platform::pointFromString(item.string());
          if (!std::isfinite(p.x) || !std::isfinite(p.y)) fail(target, "a point record holds a point that is not finite");
        }
        pending.push_back(item);
      }
    }
  }
}

}  // namespace fuzzing

#pragma once

// Reading and writing the points and numbers of shape records. Reads never yield a
// non-finite coordinate and writes refuse one, so a hostile or overflowing value can
// neither poison a path nor be saved into a document.

#include <string>
#include <string_view>

#include "platform/core/geometry.h"
#include "platform/core/value.h"

// The point string under `key`, with non-finite components read as 0; (0, 0) when missing.
platform::Point shapePointValue(const platform::Value& value);
platform::Point shapePoint(const platform::DictRef& record, std::string_view key);
// Writes the point as a point string; returns false and writes nothing when it is not finite.
bool setShapePoint(const platform::DictRef& record, std::string_view key, platform::Point point);
// The value rounded to single precision; false when it is not finite or out of float range.
bool toSingle(double value, float& single);
// Writes a float; returns false and writes nothing when it is not finite.
bool setShapeFloat(const platform::DictRef& record, std::string_view key, double value);

// The key of style slot `index` (0 to 9): "fill", "fill1" … "fill9".
std::string shapeSlotKey(std::string_view base, int index);
// The slot's record when it is present and its "use" is true, else null.
platform::DictRef usedShapeSlot(const platform::DictRef& record, std::string_view key);

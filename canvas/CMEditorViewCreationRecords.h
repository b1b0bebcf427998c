#pragma once

// Record pieces the creation tools write: the shape record of a layer, the
// stroke width from the tool options, pen point records and the "near" test of
// the pen, which works in document units.

#include <cstddef>

#include "platform/core/geometry.h"
#include "platform/core/value.h"

namespace creation_records {

// The layer record's "shape", made when missing; null for a null record.
platform::DictRef shapeOf(const platform::DictRef& record);
// The profile's "line_width" as the shape's stroke "lineWidth" (a float).
void applyToolLineWidth(const platform::DictRef& shape);
// The shape's fill drawn when its type shows one: a new pen curve carries the type "Color" with the fill off, which
// the curve keeps while open and takes on once closed.
void useShownFill(const platform::DictRef& shape);

// A pen point with its point and both control points at `point`.
platform::DictRef penPoint(platform::Point point);
platform::Point pointValue(const platform::DictRef& penPoint, const char* key);
bool isClosed(const platform::Value& penPoint);
bool isStart(const platform::Value& penPoint);
// Whether `point` lies in the 8 × 8 square centred on `target`, left and top edges included.
bool isNear(platform::Point point, platform::Point target);
// The index of the first point of the subpath that holds point `index`.
std::size_t subpathStart(const platform::ArrayRef& points, std::size_t index);

}  // namespace creation_records

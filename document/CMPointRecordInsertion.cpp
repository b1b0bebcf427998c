#include "document/CMPointRecordInsertion.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

#include "document/CMPointTypes.h"
#include "document/CMShapeRecordValues.h"
#include "geometry/cubic_segments.h"

using platform::ArrayRef;
using platform::Dictionary;
using platform::DictRef;
using platform::Point;

namespace {

// A segment of the outline: the record it ends at, or, for the line a closing record draws back to its contour's
// start, the record that closes.
struct Segment {
  std::size_t index = 0;
  bool closing = false;
  bool curve = false;
  Point ends[4];  // start, first control, second control, end; a line's controls are its ends
};

struct Nearest {
  Segment segment;
  double t = 0;
  Point at;
  double distance = std::numeric_limits<double>::infinity();
};

std::int64_t kindOf(const DictRef& record) {
  const std::int64_t virtualType = record->get("virtual_type").integerValue();
  return virtualType != 0 ? virtualType : record->get("type").integerValue();
}

// The "type" and a non-zero "virtual_type" without the bits.
void clearBits(const DictRef& record, std::int64_t bits) {
  record->set("type", record->get("type").integerValue() & ~bits);
  if (const std::int64_t virtualType = record->get("virtual_type").integerValue(); virtualType != 0)
    record->set("virtual_type", virtualType & ~bits);
}

Point moveTarget(const ArrayRef& points, const DictRef& record) {
  const platform::Value* link = record->find("correction_point_id");
  if (link) {
    for (const platform::Value& entry : *points) {
      const DictRef other = entry.dictionary();
      if (other && other->get("id").integerValue() == link->integerValue()) return shapePoint(other, "point");
    }
  }
  return shapePoint(record, "point");
}

void consider(Nearest& nearest, const Segment& segment, Point q) {
  double t = 0;
  Point at;
  if (segment.curve) {
    at = nearestPointOnCurve(segment.ends, &t, q);
  } else {
    const Point a = segment.ends[0], b = segment.ends[3];
    const double dx = b.x - a.x, dy = b.y - a.y, length = dx * dx + dy * dy;
    t = length > 0 ? std::clamp(((q.x - a.x) * dx + (q.y - a.y) * dy) / length, 0.0, 1.0) : 0;
    at = {a.x + dx * t, a.y + dy * t};
  }
  const double distance = std::hypot(at.x - q.x, at.y - q.y);
  // The first of equally near segments wins; a segment's end is an anchor already, not a place to split.
  constexpr double kEnd = 1e-6;
  if (std::isfinite(distance) && distance < nearest.distance && t > kEnd && t < 1 - kEnd)
    nearest = {segment, t, at, distance};
}

// The segments as the path is built from the records, each offered to `nearest`.
std::optional<Nearest> nearestSegment(const ArrayRef& points, Point q) {
  Nearest nearest;
  std::optional<Point> current;
  Point contourStart;
  for (std::size_t index = 0; index < points->size(); ++index) {
    const DictRef record = points->at(index).dictionary();
    if (!record) continue;
    const Point point = shapePoint(record, "point");
    const std::int64_t kind = kindOf(record);
    if (kind & kCMPointMove) current = contourStart = moveTarget(points, record);
    if ((kind & (kCMPointLine | kCMPointCurve)) && !current) {
      current = contourStart = point;
    } else if (kind & kCMPointLine) {
      consider(nearest, {index, false, false, {*current, *current, point, point}}, q);
      current = point;
    } else if (kind & kCMPointCurve) {
      const Point first = shapePoint(record, "control_point1"), second = shapePoint(record, "control_point2");
      const Segment curve{index, false, true, {*current, first, second, point}};
      consider(nearest, curve, q);
      current = point;
    }
    if ((kind & kCMPointClose) && current) {
      consider(nearest, {index, true, false, {*current, *current, contourStart, contourStart}}, q);
      current = contourStart;
    }
  }
  if (!std::isfinite(nearest.distance)) return std::nullopt;
  return nearest;
}

}  // namespace

bool insertPointOnOutline(const ArrayRef& points, Point q, std::int64_t id) {
  if (!points) return false;
  const std::optional<Nearest> nearest = nearestSegment(points, q);
  if (!nearest) return false;
  const Segment& segment = nearest->segment;
  const DictRef ending = points->at(segment.index).dictionary();
  DictRef added = Dictionary::make({{"id", id}});
  if (segment.closing) {
    // The new point closes the contour in place of the record that closed it.
    clearBits(ending, kCMPointClose);
    setShapePoint(added, "point", nearest->at);
    added->set("type", kCMPointLine | kCMPointClose);
    points->insert(segment.index + 1, added);
    return true;
  }
  if (segment.curve) {
    Point left[4], right[4];
    splitCubicAtParameter(segment.ends, static_cast<float>(nearest->t), left, right);
    setShapePoint(added, "point", left[3]);
    setShapePoint(added, "control_point1", left[1]);
    setShapePoint(added, "control_point2", left[2]);
    added->set("type", kCMPointCurve);
    setShapePoint(ending, "control_point1", right[1]);
    setShapePoint(ending, "control_point2", right[2]);
  } else {
    setShapePoint(added, "point", nearest->at);
    added->set("type", kCMPointLine);
  }
  // A segment that starts its contour from elsewhere now starts the new one.
  if (kindOf(ending) & kCMPointMove) {
    added->set("type", added->get("type").integerValue() | kCMPointMove);
    if (const platform::Value* link = ending->find("correction_point_id")) {
      added->set("correction_point_id", *link);
      ending->remove("correction_point_id");
    }
    clearBits(ending, kCMPointMove);
  }
  points->insert(segment.index, added);
  return true;
}

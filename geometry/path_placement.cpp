#include "geometry/path_placement.h"

#include <algorithm>
#include <cmath>

#include "geometry/geometry_functions.h"
#include "geometry/path_length.h"
#include "geometry/path_transforms.h"

using platform::BezierPath;
using platform::Point;

namespace {

struct Positions {
  float length = 0;
  long count = 0;  // 0: the run is not possible
};

// The positions 0, I, 2I, … up to the path's length, or none.
Positions positionsAlong(const BezierPath& path, float interval) {
  if (!(interval > 0) || path.elementCount() < 2) return {};
  const float total = length(path);
  const double count = std::floor(double(total) / interval) + 1;
  if (count > kMaximumPlacements) return {};
  return {total, static_cast<long>(count)};
}

// Calls visit(point, position, slope) at every position.
template <typename Visit>
bool visitPositions(const BezierPath& path, float interval, Visit&& visit) {
  const Positions positions = positionsAlong(path, interval);
  if (positions.count == 0) return false;
  for (long k = 0; k < positions.count; ++k) {
    const float position = static_cast<float>(k) * interval;
    if (position > positions.length) break;
    float slope = 0;
    const Point point = pointOnPathAtLength(path, position, &slope);
    visit(point, position, slope);
  }
  return true;
}

}  // namespace

std::optional<std::vector<std::any>> placeObjectsOnPathAtInterval(const BezierPath& path, float interval,
                                                                  PathPlacementDelegate* delegate, void* userInfo) {
  if (!delegate) return std::nullopt;
  std::vector<std::any> objects;
  const bool ran = visitPositions(path, interval, [&](Point point, float position, float slope) {
    std::any object = delegate->placeObjectAtPoint(point, path, position, slope, userInfo);
    if (object.has_value()) objects.push_back(std::move(object));
  });
  if (!ran) return std::nullopt;
  return objects;
}

std::optional<BezierPath> bezierPathWithObjectsOnPathAtInterval(const BezierPath& path, float interval,
                                                                PathPlacementDelegate* delegate, void* userInfo) {
  const std::optional<std::vector<std::any>> objects = placeObjectsOnPathAtInterval(path, interval, delegate, userInfo);
  if (!objects || objects->empty()) return std::nullopt;
  BezierPath result;
  for (const std::any& object : *objects) {
    if (const BezierPath* piece = std::any_cast<BezierPath>(&object)) result.appendPath(*piece);
  }
  return result;
}

std::optional<BezierPath> bezierPathWithPath(const BezierPath& path, const BezierPath* shape, float interval) {
  BezierPath result;
  const bool ran = visitPositions(path, interval, [&](Point point, float, float slope) {
    if (!shape) return;
    // The turn keeps the centre in place, so that centre is what lands on the point.
    const Point centre = centreOfBounds(*shape);
    BezierPath copy = rotatedPath(*shape, slope, centre);
    platform::AffineTransform move;
    move.translate(point.x - centre.x, point.y - centre.y);
    copy.transformUsingAffineTransform(move);
    result.appendPath(copy);
  });
  if (!ran) return std::nullopt;
  return result;
}

std::optional<std::vector<std::any>> placeLinksOnPathWithEvenLinkLength(const BezierPath& path, float evenLength,
                                                                        float oddLength,
                                                                        PathPlacementDelegate* delegate,
                                                                        void* userInfo) {
  if (!delegate || !(evenLength > 0) || !(oddLength > 0) || path.elementCount() < 2) return std::nullopt;
  const float total = length(path);
  if (double(total) / std::min(evenLength, oddLength) > kMaximumPlacements) return std::nullopt;
  std::vector<std::any> objects;
  Point from = firstPoint(path);
  float arc = 0, linkLength = evenLength;
  for (int number = 0; arc + linkLength <= total; ++number) {
    const Point towards = pointOnPathAtLength(path, arc + linkLength);
    const double direction = std::atan2(towards.y - from.y, towards.x - from.x);
    const float angle = static_cast<float>(direction);
    const Point to{from.x + linkLength * std::cos(angle), from.y + linkLength * std::sin(angle)};
    std::any object = delegate->placeLinkFromPoint(from, to, path, number, userInfo);
    if (object.has_value()) objects.push_back(std::move(object));
    from = to;
    arc += linkLength;
    linkLength = (number + 1) % 2 == 0 ? evenLength : oddLength;
  }
  return objects;
}

std::optional<std::vector<std::any>> placeLinksOnPathWithLinkLength(const BezierPath& path, float linkLength,
                                                                    PathPlacementDelegate* delegate, void* userInfo) {
  return placeLinksOnPathWithEvenLinkLength(path, linkLength, linkLength, delegate, userInfo);
}

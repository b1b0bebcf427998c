#include "geometry/path_polygon_booleans.h"

#include "geometry/path_polygons.h"
#include "geometry/polygon_clipper.h"
#include "platform/graphics/rect_functions.h"

using platform::BezierPath;

namespace {
int unflatteningPolicy = 2;

bool hasCurve(const BezierPath& path) {
  int curves = 0;
  getPathMoveToCount(path, nullptr, nullptr, &curves, nullptr);
  return curves > 0;
}
}  // namespace

void setPathUnflatteningPolicy(int policy) { unflatteningPolicy = policy; }

int pathUnflatteningPolicy() { return unflatteningPolicy; }

bool unflattensBooleanResult(const BezierPath& path, const BezierPath& other) {
  switch (unflatteningPolicy) {
    case 1: return true;
    case 2: return hasCurve(path) || hasCurve(other);
    default: return false;
  }
}

BezierPath pathFromPath(BezierPath& path, BezierPath& other, PolygonOperation operation, bool unflattenResult) {
  const std::optional<PolygonRecord> subject = polygonRecord(path);
  const std::optional<PolygonRecord> clip = polygonRecord(other);
  PolygonRecord result;
  if (subject && clip) clipPolygons(operation, *subject, *clip, result);
  const BezierPath combined = bezierPathWithPolygonRecord(result);
  return unflattenResult ? bezierPathByUnflatteningPath(combined) : combined;
}

BezierPath pathFromPath(BezierPath& path, BezierPath& other, PolygonOperation operation) {
  return pathFromPath(path, other, operation, unflattensBooleanResult(path, other));
}

BezierPath pathFromUnionWithPath(BezierPath& path, BezierPath& other) {
  return pathFromPath(path, other, PolygonOperation::Union);
}

BezierPath pathFromIntersectionWithPath(BezierPath& path, BezierPath& other) {
  return pathFromPath(path, other, PolygonOperation::Intersection);
}

BezierPath pathFromDifferenceWithPath(BezierPath& path, BezierPath& other) {
  return pathFromPath(path, other, PolygonOperation::Difference);
}

BezierPath pathFromExclusiveOrWithPath(BezierPath& path, BezierPath& other) {
  return pathFromPath(path, other, PolygonOperation::ExclusiveOr);
}

bool intersectsPath(BezierPath& path, BezierPath& other) {
  if (!platform::intersectsRect(path.bounds(), other.bounds())) return false;
  return !pathFromIntersectionWithPath(path, other).isEmpty();
}

BezierPath bezierPathByUnflatteningPath(const BezierPath& path) { return path; }

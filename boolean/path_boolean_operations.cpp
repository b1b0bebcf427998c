#include "boolean/path_boolean_operations.h"

#include <cmath>

#include "boolean/bezier_graph.h"
#include "boolean/path_elements.h"
#include "platform/graphics/affine_transform.h"
#include "platform/graphics/rect_functions.h"

using platform::AffineTransform;
using platform::BezierPath;
using platform::Point;

namespace {

using GraphOperation = std::shared_ptr<PBBezierGraph> (PBBezierGraph::*)(PBBezierGraph&);

// The engine compares with fixed absolute tolerances, which stop telling
// nearby points apart far from the origin. Working around a whole-unit centre
// of both operands keeps the results independent of where the shapes lie.
Point workingCentre(const BezierPath& path, const BezierPath& other) {
  const platform::Rect box = platform::unionRect(path.controlPointBounds(), other.controlPointBounds());
  const Point centre{std::round(platform::midX(box)), std::round(platform::midY(box))};
  if (!std::isfinite(centre.x) || !std::isfinite(centre.y)) return {0, 0};
  return centre;
}

BezierPath moved(BezierPath path, Point offset) {
  if (offset.x == 0 && offset.y == 0) return path;
  AffineTransform translation;
  translation.translate(offset.x, offset.y);
  path.transformUsingAffineTransform(translation);
  return path;
}

BezierPath combine(const BezierPath& path, const BezierPath& other, GraphOperation operation) {
  const Point centre = workingCentre(path, other);
  PBBezierGraph graph(moved(path, {-centre.x, -centre.y}));
  PBBezierGraph otherGraph(moved(other, {-centre.x, -centre.y}));
  BezierPath result = moved((graph.*operation)(otherGraph)->bezierPath(), centre);
  pb_copyAttributesFrom(result, path);
  return result;
}

}  // namespace

BezierPath pb_union(const BezierPath& path, const BezierPath& other) {
  return combine(path, other, &PBBezierGraph::unionWithBezierGraph);
}

BezierPath pb_intersect(const BezierPath& path, const BezierPath& other) {
  return combine(path, other, &PBBezierGraph::intersectWithBezierGraph);
}

BezierPath pb_difference(const BezierPath& path, const BezierPath& other) {
  return combine(path, other, &PBBezierGraph::differenceWithBezierGraph);
}

BezierPath pb_xor(const BezierPath& path, const BezierPath& other) {
  return combine(path, other, &PBBezierGraph::xorWithBezierGraph);
}

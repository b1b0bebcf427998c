#include "boolean/path_boolean_operations.h"

#include <cmath>

#include "boolean/bezier_graph.h"
#include "boolean/overlay/overlay.h"
#include "boolean/path_elements.h"
#include "platform/graphics/rect_functions.h"

using platform::BezierPath;
using platform::Point;

namespace {

// Operands whose control points lie further apart than the engine's tolerance meet nowhere: the result is a choice
// of their contours, answered without the overlay.
bool apart(const BezierPath& path, const BezierPath& other) {
  if (path.isEmpty() || other.isEmpty()) return false;
  const platform::Rect a = path.controlPointBounds(), b = other.controlPointBounds();
  const double gap = 2 * PBOverlay::toleranceWithin(platform::unionRect(a, b));
  // Written so that a NaN never counts as apart.
  return std::max(platform::minX(a), platform::minX(b)) - std::min(platform::maxX(a), platform::maxX(b)) > gap ||
         std::max(platform::minY(a), platform::minY(b)) - std::min(platform::maxY(a), platform::maxY(b)) > gap;
}

BezierPath combine(const BezierPath& path, const BezierPath& other, PBOverlay::Operation operation) {
  using Operation = PBOverlay::Operation;
  BezierPath result;
  if (apart(path, other)) {
    if (operation != Operation::Intersect) result = PBBezierGraph::bezierPathOfContours(path);
    if (operation == Operation::Union || operation == Operation::Xor) {
      result.appendPath(PBBezierGraph::bezierPathOfContours(other));
    }
    result.setWindingRule(platform::WindingRule::EvenOdd);
  } else {
    result = PBOverlay(path, other).path(operation);
  }
  pb_copyAttributesFrom(result, path);
  return result;
}

}  // namespace

BezierPath pb_union(const BezierPath& path, const BezierPath& other) {
  return combine(path, other, PBOverlay::Operation::Union);
}

BezierPath pb_intersect(const BezierPath& path, const BezierPath& other) {
  return combine(path, other, PBOverlay::Operation::Intersect);
}

BezierPath pb_difference(const BezierPath& path, const BezierPath& other) {
  return combine(path, other, PBOverlay::Operation::Difference);
}

BezierPath pb_xor(const BezierPath& path, const BezierPath& other) {
  return combine(path, other, PBOverlay::Operation::Xor);
}

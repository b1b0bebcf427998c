// Combining a shape layer with another by union, exclusive-or ("subtract"), intersection or difference through
// the boolean path engine; the result becomes the receiver's point records.
//
// Both outlines are taken where they lie on the page: the shape's path plus the record's "x", "y" (a line's path
// already holds its ends). The result is stored with its bounds at (0, 0) and the receiver's origin moved by the
// bounds' origin, so it stays where the engine put it; the other layer, when written back as point records,
// keeps its place the same way. Each result is checked before anything changes: one with a coordinate that is
// not finite, or that the record cannot hold as a float, leaves both layers as they were.

#include <vector>

#include "boolean/path_boolean_operations.h"
#include "document/CMShapeLayer.h"
#include "document/CMShapeRecordValues.h"
#include "document/CMUniversalShape.h"
#include "platform/core/bundle.h"
#include "platform/core/error.h"
#include "platform/graphics/affine_transform.h"
#include "platform/graphics/finite_geometry.h"

using platform::BezierPath;
using platform::Point;

namespace {

[[noreturn]] void invalidType() {
  throw platform::Exception(std::string(platform::bundleIdentifier()), "invalid type");
}

BezierPath moved(BezierPath path, Point offset) {
  platform::AffineTransform shift;
  shift.translate(offset.x, offset.y);
  path.transformUsingAffineTransform(shift);
  return path;
}

// Whether a record can hold the result (in page coordinates): finite points, and bounds within float range (the
// control points' box, which holds the outline and is cheaper to find).
bool fitsRecord(const BezierPath& page) {
  if (!platform::isFinitePath(page)) return false;
  const platform::Rect bounds = page.isEmpty() ? platform::Rect{} : page.controlPointBounds();
  float single = 0;
  return toSingle(bounds.origin.x, single) && toSingle(bounds.origin.y, single) &&
         toSingle(bounds.size.width, single) && toSingle(bounds.size.height, single);
}

}  // namespace

BezierPath CMShapeLayer::unionPaths(const BezierPath& path1, const BezierPath& path2) { return pb_union(path1, path2); }

BezierPath CMShapeLayer::subtractPaths(const BezierPath& path1, const BezierPath& path2) {
  return pb_xor(path1, path2);
}

BezierPath CMShapeLayer::differencePaths(const BezierPath& path1, const BezierPath& path2) {
  return pb_difference(path1, path2);
}

BezierPath CMShapeLayer::intersectPaths(const BezierPath& path1, const BezierPath& path2) {
  return pb_intersect(path1, path2);
}

bool CMShapeLayer::pathUnion(CMShapeLayer& other) { return combineWith(other, kPathUnion); }
bool CMShapeLayer::pathSubtract(CMShapeLayer& other) { return combineWith(other, kPathSubtract); }
bool CMShapeLayer::pathIntersect(CMShapeLayer& other) { return combineWith(other, kPathIntersection); }
bool CMShapeLayer::pathDifference(CMShapeLayer& other) { return combineWith(other, kPathDifference); }

bool CMShapeLayer::unionPaths(CMShape& shape, Point offset) { return pathOperation(shape, offset, kPathUnion); }
bool CMShapeLayer::subtractPaths(CMShape& shape, Point offset) { return pathOperation(shape, offset, kPathSubtract); }
bool CMShapeLayer::intersectPaths(CMShape& shape, Point offset) {
  return pathOperation(shape, offset, kPathIntersection);
}
bool CMShapeLayer::differencePaths(CMShape& shape, Point offset) {
  return pathOperation(shape, offset, kPathDifference);
}

bool CMShapeLayer::pathOperation(CMShape& shape, Point offset, std::int32_t type) {
  const auto* other = dynamic_cast<const CMPathShape*>(&shape);
  if (!other || !pathShape()) invalidType();
  const Point origin = CMLayer::originPoint();
  std::optional<BezierPath> result = combinedPath(moved(pathShape()->path(), origin), *other, offset, type);
  if (!result) return false;
  takeCombinedPath(moved(std::move(*result), {-origin.x, -origin.y}));
  return true;
}

bool CMShapeLayer::combineWith(CMShapeLayer& other, std::int32_t type) { return combineWith({&other}, type).front(); }

std::vector<bool> CMShapeLayer::combineWith(const std::vector<CMShapeLayer*>& others, std::int32_t type) {
  if (!pathShape()) invalidType();
  for (const CMShapeLayer* other : others) {
    if (!other || !other->pathShape()) invalidType();
  }
  // Each outline as it lies now is the one it keeps once written as points, so every result can be judged
  // before any layer changes, and the receiver's records are written once, at the end.
  const Point origin = CMLayer::originPoint();
  BezierPath result = moved(pathShape()->path(), origin);
  std::vector<bool> taken(others.size(), false);
  bool changed = false;
  for (std::size_t index = 0; index < others.size(); ++index) {
    CMShapeLayer& other = *others[index];
    std::optional<BezierPath> next = combinedPath(result, *other.pathShape(), other.CMLayer::originPoint(), type);
    if (!next) continue;
    result = std::move(*next);
    taken[index] = changed = true;
  }
  if (!changed) return taken;
  for (std::size_t index = 0; index < others.size(); ++index) {
    if (taken[index] && others[index] != this) others[index]->saveAsBezierInPlace();
  }
  takeCombinedPath(moved(std::move(result), {-origin.x, -origin.y}));
  return taken;
}

std::optional<BezierPath> CMShapeLayer::combinedPath(const BezierPath& page, const CMPathShape& other,
                                                     Point otherOffset, std::int32_t type) {
  const BezierPath theirs = moved(other.path(), otherOffset);
  BezierPath result;
  switch (type) {
    case kPathDifference: result = differencePaths(page, theirs); break;
    case kPathIntersection: result = intersectPaths(page, theirs); break;
    case kPathSubtract: result = subtractPaths(page, theirs); break;
    default: result = unionPaths(page, theirs); break;
  }
  if (!fitsRecord(result)) return std::nullopt;
  return result;
}

void CMShapeLayer::takeCombinedPath(BezierPath path) {
  CMPathShape* shape = pathShape();
  // Whatever the shape's class, its outline is now its point records.
  shape->storePathAsPoints(std::move(path));
  shape->saveShapeAsBezier(true);
  setSize();
  setDirty(true);
}

void CMShapeLayer::saveAsBezierInPlace() {
  // Only the parametric and drawn shapes have another form to leave; a path shape is its points already.
  const auto* parametric = dynamic_cast<const CMUniversalShape*>(shape_.get());
  if (!parametric || parametric->data()->get("isbezier").boolValue()) return;
  saveAsBezier();
  setSize();
}

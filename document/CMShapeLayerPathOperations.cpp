// Combining a shape layer with another by union, exclusive-or ("subtract"), intersection or difference through
// the boolean path engine; the result becomes the receiver's point records.
//
// Both outlines are taken where they lie on the page: the shape's path plus the record's "x", "y" (a line's path
// already holds its ends). The result is stored with its bounds at (0, 0) and the receiver's origin moved by the
// bounds' origin, so it stays where the engine put it; the other layer, when written back as point records,
// keeps its place the same way. The result is checked before anything changes: one with a coordinate that is
// not finite, or that the record cannot hold as a float, leaves both layers as they were.

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

// Whether the record can hold the result: finite points, and an origin and size within float range.
bool fitsRecord(const BezierPath& local, Point origin) {
  if (!platform::isFinitePath(local)) return false;
  const platform::Rect bounds = local.isEmpty() ? platform::Rect{} : local.bounds();
  float single = 0;
  return toSingle(origin.x + bounds.origin.x, single) && toSingle(origin.y + bounds.origin.y, single) &&
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
  std::optional<BezierPath> result = combinedPath(other->path(), offset, type);
  if (!result) return false;
  takeCombinedPath(std::move(*result));
  return true;
}

bool CMShapeLayer::combineWith(CMShapeLayer& other, std::int32_t type) {
  const CMPathShape* otherShape = other.pathShape();
  if (!otherShape || !pathShape()) invalidType();
  // The other outline as it lies now is the one it keeps once written as points: the result can be judged
  // before either layer changes.
  std::optional<BezierPath> result = combinedPath(otherShape->path(), other.CMLayer::originPoint(), type);
  if (!result) return false;
  other.saveAsBezierInPlace();
  takeCombinedPath(std::move(*result));
  return true;
}

std::optional<BezierPath> CMShapeLayer::combinedPath(const BezierPath& otherPath, Point otherOffset,
                                                     std::int32_t type) const {
  const Point origin = CMLayer::originPoint();
  const BezierPath mine = moved(pathShape()->path(), origin);
  const BezierPath theirs = moved(otherPath, otherOffset);
  BezierPath result;
  switch (type) {
    case kPathDifference: result = differencePaths(mine, theirs); break;
    case kPathIntersection: result = intersectPaths(mine, theirs); break;
    case kPathSubtract: result = subtractPaths(mine, theirs); break;
    default: result = unionPaths(mine, theirs); break;
  }
  result = moved(std::move(result), {-origin.x, -origin.y});
  if (!fitsRecord(result, origin)) return std::nullopt;
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

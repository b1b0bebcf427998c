// Combining a shape layer with another by union, exclusive-or ("subtract"), intersection or difference through
// the boolean path engine; the result becomes the receiver's point records.
//
// Each outline enters the engine as the canvas draws it: the shape's path moved to the record's "x", "y" (a line's
// path already holds its ends) and turned by the layer's rotation about the centre of its frame. The result keeps
// the receiver's rotation: it is turned back and stored unturned, its bounds at (0, 0), with the origin placed so
// that the frame's centre, about which the canvas turns it, lies where the result's does. A rotated rectangle
// united with another thus stays a rotated shape, its handles along its edges, and Rotate 0 shows it upright. The
// other layer, when written back as point records, keeps its place the same way. Each result is checked before
// anything changes: one with a coordinate that is not finite, or that the record cannot hold as a float, leaves
// both layers as they were.

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

platform::AffineTransform scaledBy(double scale) {
  platform::AffineTransform transform;
  transform.scaleBy(scale);
  return transform;
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
  std::optional<BezierPath> result = combinedPath(moved(pathShape()->path(), origin), moved(other->path(), offset), type);
  if (!result) return false;
  takeCombinedPath(moved(std::move(*result), {-origin.x, -origin.y}));
  return true;
}

bool CMShapeLayer::combineWith(CMShapeLayer& other, std::int32_t type) { return combineWith({&other}, type).front(); }

platform::AffineTransform CMShapeLayer::pageRotation() {
  // The canvas turns the layer about the centre of its frame in view units; on the page that is the same turn
  // about the centre scaled back.
  BezierPath frame = framePath(false);
  if (viewZoom() != 1) frame.transformUsingAffineTransform(scaledBy(1 / viewZoom()));
  return rotateTransform(&frame);
}

BezierPath CMShapeLayer::outlineOnPage() {
  BezierPath outline = moved(pathShape()->path(), CMLayer::originPoint());
  outline.transformUsingAffineTransform(pageRotation());
  return outline;
}

std::vector<bool> CMShapeLayer::combineWith(const std::vector<CMShapeLayer*>& others, std::int32_t type) {
  if (!pathShape()) invalidType();
  for (const CMShapeLayer* other : others) {
    if (!other || !other->pathShape()) invalidType();
  }
  // Each outline as it lies now is the one it keeps once written as points, so every result can be judged
  // before any layer changes, and the receiver's records are written once, at the end.
  BezierPath result = outlineOnPage();
  std::vector<bool> taken(others.size(), false);
  bool changed = false;
  for (std::size_t index = 0; index < others.size(); ++index) {
    CMShapeLayer& other = *others[index];
    std::optional<BezierPath> next = combinedPath(result, other.outlineOnPage(), type);
    if (!next) continue;
    result = std::move(*next);
    taken[index] = changed = true;
  }
  if (!changed) return taken;
  for (std::size_t index = 0; index < others.size(); ++index) {
    if (taken[index] && others[index] != this) others[index]->saveAsBezierInPlace();
  }
  takeCombinedPath(inReceiverFrame(std::move(result)));
  return taken;
}

BezierPath CMShapeLayer::inReceiverFrame(BezierPath page) {
  const Point origin = CMLayer::originPoint();
  const platform::AffineTransform rotation = pageRotation();
  if (rotation == platform::AffineTransform{} || page.isEmpty()) return moved(std::move(page), {-origin.x, -origin.y});
  // Unturned about the page's origin, the outline has the shape it will be drawn with; the frame's centre is then
  // placed where the turn puts the unturned outline's centre.
  platform::AffineTransform back{rotation.m11, rotation.m21, rotation.m12, rotation.m22, 0, 0};
  page.transformUsingAffineTransform(back);
  const platform::Rect bounds = page.bounds();
  const Point centre{bounds.origin.x + bounds.size.width / 2, bounds.origin.y + bounds.size.height / 2};
  const Point turnedCentre{rotation.m11 * centre.x + rotation.m21 * centre.y,
                           rotation.m12 * centre.x + rotation.m22 * centre.y};
  return moved(std::move(page), {turnedCentre.x - centre.x - origin.x, turnedCentre.y - centre.y - origin.y});
}

std::optional<BezierPath> CMShapeLayer::combinedPath(const BezierPath& page, const BezierPath& theirs,
                                                     std::int32_t type) {
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

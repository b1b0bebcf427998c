#include "document/CMLayerExtent.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "document/CMLayer.h"
#include "platform/graphics/finite_geometry.h"
#include "platform/graphics/rect_functions.h"

namespace {

// Clip boxes come back from Cairo rounded outward to device pixels: a little room keeps culling on the safe side.
constexpr double kCullingSlack = 1;
// Where a layer of unknown extent may draw.
constexpr double kFar = 1e300;
constexpr platform::Rect kEverywhere{-kFar, -kFar, 2 * kFar, 2 * kFar};

}  // namespace

bool reachMeets(const platform::Rect& reach, const platform::Rect& rect) {
  return !platform::isFiniteRect(reach) || platform::intersectsRect(reach, rect);
}

platform::Rect transformedBounds(const platform::AffineTransform& transform, const platform::Rect& rect) {
  const std::array<platform::Point, 4> corners{{{platform::minX(rect), platform::minY(rect)},
                                                {platform::maxX(rect), platform::minY(rect)},
                                                {platform::maxX(rect), platform::maxY(rect)},
                                                {platform::minX(rect), platform::maxY(rect)}}};
  double left = std::numeric_limits<double>::infinity();
  double top = left;
  double right = -left;
  double bottom = -left;
  for (const platform::Point& corner : corners) {
    const platform::Point p = transform.transformPoint(corner);
    left = std::min(left, p.x);
    right = std::max(right, p.x);
    top = std::min(top, p.y);
    bottom = std::max(bottom, p.y);
  }
  return {left, top, right - left, bottom - top};
}

const CMLayerExtent& CMLayer::extent() {
  CMLayerExtentKey key;
  key.recordChanges = data_->changeCount();
  key.dirtyMarks = dirtyMarks_;
  // The "shape" record is looked up only when the layer record changed; its own changes are counted apart.
  key.shape = measured_ && key.recordChanges == extentKey_.recordChanges ? extentKey_.shape : shapeRecord().get();
  key.shapeChanges = key.shape ? key.shape->changeCount() : 0;
  key.backZoom = backZoomTransform_ ? *backZoomTransform_ : platform::AffineTransform{};
  key.center = centerPoint_;
  key.zoom = zoom_;
  key.viewZoom = viewZoom_;
  key.design = design_;
  key.vectorViewMode = vectorViewMode_;
  key.centerLocked = lockCenterPoint_;
  if (measured_ && key == extentKey_) return extent_;
  extent_ = measureExtent();
  // Measuring may write the record (a consumed mark): the key is what the record holds now.
  key.recordChanges = data_->changeCount();
  key.shapeChanges = key.shape ? key.shape->changeCount() : 0;
  extentKey_ = key;
  measured_ = true;
  return extent_;
}

platform::Rect cullingRect(const platform::Rect& clip, const platform::AffineTransform& zoomTransform) {
  platform::AffineTransform back = zoomTransform;
  if (!back.invert()) return kEverywhere;
  return transformedBounds(back, platform::insetRect(clip, -kCullingSlack, -kCullingSlack));
}

platform::Rect CMLayer::lastReach(const platform::AffineTransform& zoomTransform) const {
  if (!measured_) return {};
  const platform::Rect reach = transformedBounds(zoomTransform, extent_.reach);
  if (!platform::isFiniteRect(reach)) return kEverywhere;
  return platform::insetRect(reach, -kCullingSlack, -kCullingSlack);
}

bool CMLayer::mayDrawIn(const platform::Rect& rect) { return reachMeets(extent().reach, rect); }

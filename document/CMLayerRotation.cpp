#include <array>
#include <cmath>

#include "document/CMLayer.h"
#include "document/CMWholeUnits.h"
#include "platform/core/numeric.h"
#include "platform/graphics/graphics_context.h"

namespace {

constexpr float kRadiansPerDegree = 0.017453292f;

// The record's "rotate" in radians, in single precision; a non-finite angle counts as none.
float rotationRadians(const platform::DictRef& data) {
  const float radians = data->get("rotate").floatValue() * kRadiansPerDegree;
  return std::isfinite(radians) ? radians : 0.0f;
}

platform::Point narrowed(platform::Point point) {
  return {platform::singlePrecision(point.x), platform::singlePrecision(point.y)};
}

platform::Point boundsCenter(const platform::BezierPath* path) {
  if (!path) return {};
  const platform::Rect bounds = path->bounds();
  return {bounds.origin.x + bounds.size.width * 0.5, bounds.origin.y + bounds.size.height * 0.5};
}

platform::AffineTransform turnAbout(platform::Point center, float radians) {
  const platform::Point c = narrowed(center);
  platform::AffineTransform t;
  t.translate(c.x, c.y);
  t.rotateByRadians(radians);
  t.translate(-c.x, -c.y);
  return t;
}

void concatOntoCurrentContext(const platform::AffineTransform& transform) {
  if (platform::GraphicsContext* context = platform::GraphicsContext::current()) context->concatCTM(transform);
}

}  // namespace

platform::AffineTransform CMLayer::rotateTransform(const platform::BezierPath* path,
                                                   const platform::AffineTransform* backZoomTransform) const {
  const float radians = rotationRadians(data_);
  if (radians == 0) return {};
  platform::Point center = boundsCenter(path);
  if (lockCenterPoint_) {
    center = backZoomTransform ? backZoomTransform->transformPoint(centerPoint_) : centerPoint_;
  }
  return turnAbout(center, radians);
}

platform::AffineTransform CMLayer::rotateTransformInRect(const platform::Rect& rect) const {
  const platform::Point rectCenter{rect.origin.x + rect.size.width * 0.5, rect.origin.y + rect.size.height * 0.5};
  return turnAbout(lockCenterPoint_ ? centerPoint_ : rectCenter, rotationRadians(data_));
}

void CMLayer::rotate() {
  const platform::BezierPath frame = framePath();
  rotate(&frame);
}

void CMLayer::rotate(const platform::BezierPath* path) {
  if (data_->contains("rotate")) concatOntoCurrentContext(rotateTransform(path));
}

void CMLayer::rotate(const platform::BezierPath* path, const platform::AffineTransform* backZoomTransform) {
  if (data_->contains("rotate")) concatOntoCurrentContext(rotateTransform(path, backZoomTransform));
}

void CMLayer::rotateInRect(const platform::Rect& rect) {
  if (data_->contains("rotate")) concatOntoCurrentContext(rotateTransformInRect(rect));
}

platform::AffineTransform CMLayer::backRotateTransform(platform::Point center) const {
  return turnAbout(center, -rotationRadians(data_));
}

platform::AffineTransform CMLayer::backRotateTransform(const platform::BezierPath* path,
                                                       const platform::AffineTransform* backZoomTransform) const {
  if (!lockCenterPoint_) return backRotateTransform(boundsCenter(path));
  return backRotateTransform(backZoomTransform ? backZoomTransform->transformPoint(centerPoint_) : centerPoint_);
}

void CMLayer::lockCenter(const platform::BezierPath* path) {
  lockCenterPoint_ = true;
  centerPoint_ = narrowed(boundsCenter(path));
  noteChange();
}

void CMLayer::unlockCenter() {
  const platform::BezierPath frame = framePath();
  const platform::Rect bounds = frame.bounds();
  const double minX = bounds.origin.x;
  const double minY = bounds.origin.y;
  const double maxX = minX + bounds.size.width;
  const double maxY = minY + bounds.size.height;
  const platform::AffineTransform aboutLocked = rotateTransform(&frame);
  std::array<platform::Point, 4> corners{{{minX, minY}, {maxX, minY}, {maxX, maxY}, {minX, maxY}}};
  platform::Point mean;
  for (platform::Point& corner : corners) {
    corner = aboutLocked.transformPoint(corner);
    mean.x += corner.x;
    mean.y += corner.y;
  }
  mean = {mean.x * 0.25, mean.y * 0.25};
  // Turning the rotated frame back about its new centre gives where its origin must go.
  const platform::Point q = backRotateTransform(mean).transformPoint(corners[0]);
  const platform::Size delta{platform::singlePrecision(q.x - minX), platform::singlePrecision(q.y - minY)};
  // A displacement: only the linear part of the canvas-to-document transform applies.
  const platform::Size moved = backZoomTransform_ ? backZoomTransform_->transformSize(delta) : platform::Size{};
  // A turn alone leaves the frame's centre where it was locked: what the float arithmetic leaves of the move then is
  // noise, no move at all.
  if (std::fabs(moved.width) >= kCMUnitTolerance || std::fabs(moved.height) >= kCMUnitTolerance) {
    const platform::Point origin = originPoint();
    setOriginPoint({origin.x + moved.width, origin.y + moved.height});
  }
  editingType_ = 0;
  lockCenterPoint_ = false;
  noteChange();
  updateLayerRect();
}

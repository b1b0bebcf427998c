#include "platform/graphics/affine_transform.h"

#include <cmath>
#include <numbers>

#include "platform/graphics/bezier_path.h"

namespace platform {

namespace {

// The transform that applies `first`, then `second`.
AffineTransform composed(const AffineTransform& first, const AffineTransform& second) {
  const AffineTransform& a = first;
  const AffineTransform& b = second;
  return AffineTransform{b.m11 * a.m11 + b.m21 * a.m12,      b.m12 * a.m11 + b.m22 * a.m12,
                         b.m11 * a.m21 + b.m21 * a.m22,      b.m12 * a.m21 + b.m22 * a.m22,
                         b.m11 * a.tX + b.m21 * a.tY + b.tX, b.m12 * a.tX + b.m22 * a.tY + b.tY};
}

bool isFinite(const AffineTransform& t) {
  return std::isfinite(t.m11) && std::isfinite(t.m12) && std::isfinite(t.m21) && std::isfinite(t.m22) &&
         std::isfinite(t.tX) && std::isfinite(t.tY);
}

}  // namespace

void AffineTransform::translate(double dx, double dy) { prependTransform(AffineTransform{1, 0, 0, 1, dx, dy}); }

void AffineTransform::rotateByDegrees(double degrees) { rotateByRadians(degrees * (std::numbers::pi / 180)); }

void AffineTransform::rotateByRadians(double radians) {
  const double c = std::cos(radians), s = std::sin(radians);
  prependTransform(AffineTransform{c, s, -s, c, 0, 0});
}

void AffineTransform::scaleBy(double scale) { scaleXBy(scale, scale); }

void AffineTransform::scaleXBy(double sx, double sy) { prependTransform(AffineTransform{sx, 0, 0, sy, 0, 0}); }

bool AffineTransform::invert() {
  const double det = m11 * m22 - m12 * m21;
  if (det == 0 || !std::isfinite(det) || !isFinite(*this)) return false;
  const AffineTransform inverse{
      m22 / det, -m12 / det, -m21 / det, m11 / det, (m21 * tY - m22 * tX) / det, (m12 * tX - m11 * tY) / det};
  if (!isFinite(inverse)) return false;
  *this = inverse;
  return true;
}

void AffineTransform::appendTransform(const AffineTransform& other) { *this = composed(*this, other); }

void AffineTransform::prependTransform(const AffineTransform& other) { *this = composed(other, *this); }

Point AffineTransform::transformPoint(Point p) const {
  return {m11 * p.x + m21 * p.y + tX, m12 * p.x + m22 * p.y + tY};
}

Size AffineTransform::transformSize(Size s) const {
  return {m11 * s.width + m21 * s.height, m12 * s.width + m22 * s.height};
}

BezierPath AffineTransform::transformBezierPath(const BezierPath& path) const {
  BezierPath result = path;
  result.transformUsingAffineTransform(*this);
  return result;
}

void AffineTransform::concat(cairo_t* cr) const {
  AffineTransform check = *this;
  if (!check.invert()) return;
  const cairo_matrix_t matrix{m11, m12, m21, m22, tX, tY};
  cairo_transform(cr, &matrix);
}

}  // namespace platform

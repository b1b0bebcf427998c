#pragma once

// A 2-D affine transform: x' = m11·x + m21·y + tX, y' = m12·x + m22·y + tY.
// translate, rotate and scale act on points *before* the transform built so far,
// so translate(p), rotate(a), translate(-p) turns about p. Positive angles turn
// counter-clockwise in y-up space.

#include <cairo.h>

#include "platform/core/geometry.h"

namespace platform {

class BezierPath;

struct AffineTransform {
  double m11 = 1;
  double m12 = 0;
  double m21 = 0;
  double m22 = 1;
  double tX = 0;
  double tY = 0;

  static constexpr AffineTransform identity() { return {}; }

  void translate(double dx, double dy);
  void rotateByDegrees(double degrees);
  void rotateByRadians(double radians);
  void scaleBy(double scale);
  void scaleXBy(double sx, double sy);
  // Inverts in place; a singular or non-finite transform is left unchanged and false returned.
  bool invert();
  // `other` acts after this transform.
  void appendTransform(const AffineTransform& other);
  // `other` acts before this transform.
  void prependTransform(const AffineTransform& other);

  Point transformPoint(Point point) const;
  // The linear part only: sizes are displacements, not positions.
  Size transformSize(Size size) const;
  BezierPath transformBezierPath(const BezierPath& path) const;
  // Concatenates onto the context's CTM (acting before it). A singular or
  // non-finite transform is skipped, since Cairo would enter a permanent error state.
  void concat(cairo_t* cr) const;

  friend constexpr bool operator==(const AffineTransform&, const AffineTransform&) = default;
};

}  // namespace platform

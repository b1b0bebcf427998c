#pragma once

// Transformed copies of a path (they keep its attributes), its corner angles, and a copy
// rebuilt element by element by a delegate. Transforms about a point keep that point fixed;
// a non-finite factor, angle, amount or point gives a plain copy.

#include <optional>

#include "platform/graphics/bezier_path.h"

// (x + width/2, y + height/2) of the bounds.
platform::Point centreOfBounds(const platform::BezierPath& path);
platform::BezierPath scaledPath(const platform::BezierPath& path, float factor);
// A plain copy when the factor is exactly 1.
platform::BezierPath scaledPath(const platform::BezierPath& path, float factor, platform::Point about);
platform::BezierPath rotatedPath(const platform::BezierPath& path, float radians);
// A plain copy when the angle is exactly 0.
platform::BezierPath rotatedPath(const platform::BezierPath& path, float radians, platform::Point about);
// Scaled about the centre so that the bounds shrink by `amount` on every side (the shape
// is scaled, not offset). A plain copy for 0 and for bounds of zero width or height.
platform::BezierPath insetPathBy(const platform::BezierPath& path, float amount);
platform::BezierPath horizontallyFlippedPath(const platform::BezierPath& path, platform::Point about);
platform::BezierPath verticallyFlippedPath(const platform::BezierPath& path, platform::Point about);
platform::BezierPath horizontallyFlippedPath(const platform::BezierPath& path);
platform::BezierPath verticallyFlippedPath(const platform::BezierPath& path);

// The smallest absolute turn at a vertex, each turn wrapped into (−π, π]; curves count
// by their end points. π for fewer than 2 elements.
float minimumCornerAngle(const platform::BezierPath& path);

class PathIterationDelegate {
 public:
  virtual ~PathIterationDelegate() = default;
  // `points`: a curve's end point, first and second control points; a move's, line's or
  // close's point (a close's is its subpath's start) three times. The fourth entry is set
  // at each move: the end of the subpath's last drawing element.
  virtual void path(platform::BezierPath& result, int elementIndex, platform::PathElement kind,
                    const platform::Point points[4], int subPathIndex, bool subPathClosed, void* contextInfo) = 0;
};

// A new path filled by the delegate, element by element; nullopt for a null delegate or an
// empty path.
std::optional<platform::BezierPath> bezierPathByIteratingWithDelegate(const platform::BezierPath& path,
                                                                      PathIterationDelegate* delegate,
                                                                      void* contextInfo);

#pragma once

// Line-segment helpers used by the clipping of the curve intersection.

#include <algorithm>

#include "boolean/tolerance_functions.h"
#include "platform/core/geometry.h"

// For the line from `lineStart` to `lineEnd`: distance(point, start) / distance(start, end), negated when
// the point lies before the start. A line of zero length gives 0.
double PBParameterOfPointOnLine(platform::Point lineStart, platform::Point lineEnd, platform::Point point);
// Where the infinite lines through (line1Start, line1End) and (line2Start, line2End) meet; false when the
// result is not a number.
bool PBLinesIntersect(platform::Point line1Start, platform::Point line1End, platform::Point line2Start,
                      platform::Point line2End, platform::Point* intersection);
// Where the segment meets the horizontal line y = height; false when the height lies more than 1e-10
// outside the segment's y span. A horizontal segment within reach gives a non-finite x.
// Inline: the clipping calls it for every hull edge and band border.
inline bool PBLineIntersectsHorizontalLine(platform::Point startPoint, platform::Point endPoint, double height,
                                           platform::Point* intersection) {
  const double minimumY = std::min(startPoint.y, endPoint.y);
  const double maximumY = std::max(startPoint.y, endPoint.y);
  if ((height < minimumY && !PBAreValuesClose(height, minimumY)) ||
      (height > maximumY && !PBAreValuesClose(height, maximumY))) {
    return false;
  }
  if (startPoint.x == endPoint.x) {
    *intersection = {startPoint.x, height};
  } else {
    const double slope = (endPoint.y - startPoint.y) / (endPoint.x - startPoint.x);
    *intersection = {(height - startPoint.y) / slope + startPoint.x, height};
  }
  return true;
}

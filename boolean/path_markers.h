#pragma once

// Small marker shapes the engine's debug paths draw at crossings and start points.

#include "platform/core/geometry.h"
#include "platform/graphics/bezier_path.h"

platform::BezierPath PBCircleAtPoint(platform::Point point);
platform::BezierPath PBRectAtPoint(platform::Point point);
platform::BezierPath PBSmallCircleAtPoint(platform::Point point);
platform::BezierPath PBSmallRectAtPoint(platform::Point point);
// A triangle with its tip 15 units along `direction` and a base 10 units wide at the point.
platform::BezierPath PBTriangleAtPoint(platform::Point point, platform::Point direction);

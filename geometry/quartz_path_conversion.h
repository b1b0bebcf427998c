#pragma once

// Moving a Bezier path to a Quartz path and back, element for element: an open
// subpath stays open, and nothing is closed that the source does not close.

#include <optional>

#include "platform/graphics/bezier_path.h"
#include "platform/graphics/graphics_context.h"
#include "platform/graphics/quartz_path.h"

// The path's elements in a builder the caller may extend; nullopt for a path without elements.
std::optional<platform::QuartzPathBuilder> mutableQuartzPath(const platform::BezierPath& path);
// The same, frozen.
std::optional<platform::QuartzPath> quartzPath(const platform::BezierPath& path);

// A Bezier path with the class-wide default attributes. A quadratic becomes a cubic
// whose two control points both sit on the quadratic's control point.
platform::BezierPath bezierPathWithCGPath(const platform::QuartzPath& path);
// The context's current path, read back in its user space.
platform::BezierPath bezierPathWithPathFromContext(platform::GraphicsContext& context);

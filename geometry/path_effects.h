#pragma once

// Effects that redraw a path: smoothing, jitter, rough stroke outlines, cut lines, and
// zig-zag and wave lines along it; and the path cut into its subpaths. Lengths, spacings
// and wavelengths that are not positive (or NaN) give an empty path, as do results that
// would exceed kMaximumEffectElements elements.

#include <optional>
#include <vector>

#include "platform/graphics/bezier_path.h"

inline constexpr double kMaximumEffectElements = 1'000'000;

// Curves through every element's end point, rounder as `smoothness` (clamped to 0…1)
// grows; the path itself for 0, NaN or an empty path. A close anywhere closes the
// result's last subpath. Logged at debug level.
platform::BezierPath bezierPathByInterpolatingPath(const platform::BezierPath& path, float smoothness);
// Every point but a move's jittered by up to amount/2 per axis (amount 0: a 24th of the
// smaller side of the control-point bounds). Keeps the path's attributes; a plain copy when
// the amount is not finite, given or derived.
platform::BezierPath bezierPathByRandomisingPoints(const platform::BezierPath& path, float amount);
// The stroke outline cut into pieces of half the line width, flattened and jittered by
// `amount`; the plain outline for an amount of 0 or less; nullopt without an outline.
std::optional<platform::BezierPath> bezierPathWithRoughenedStrokeOutline(const platform::BezierPath& path,
                                                                         float amount);
// Every line cut into pieces of `fragmentLength`, the remainder dropped. Keeps attributes.
platform::BezierPath bezierPathWithFragmentedLineSegments(const platform::BezierPath& path, float fragmentLength);
// Points every `spacing` along the path pushed `amplitude` to alternate sides, joined by
// lines; closed when the path is.
platform::BezierPath bezierPathWithZig(const platform::BezierPath& path, float spacing, float amplitude);
// The same joined by curves whose handles reach spread × amplitude along the path; the
// zig-zag for a spread of 0 or less.
platform::BezierPath bezierPathWithWavelength(const platform::BezierPath& path, float wavelength, float amplitude,
                                              float spread);
// One new path per subpath of at least 2 elements.
std::vector<platform::BezierPath> subPaths(const platform::BezierPath& path);
// The moves among all elements but the last.
int countSubPaths(const platform::BezierPath& path);

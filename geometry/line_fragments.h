#pragma once

// Laying text out inside a shape: where a horizontal line crosses the path, and the
// rectangles that fit inside it line by line.

#include <optional>
#include <vector>

#include "platform/graphics/bezier_path.h"

// The crossings of the path (flattened at 5.0) with the horizontal line at y, sorted by x,
// an even count; nullopt for an empty path, a y outside the bounds, or no crossings. A
// segment owns its lower end and not its upper one, so a crossing at a shared vertex counts
// once and a vertex the path only touches counts twice or not at all.
std::optional<std::vector<platform::Point>> intersectingPointsWithHorizontalLineAtY(const platform::BezierPath& path,
                                                                                    float y);
// Rows of height `lineHeight` from the bottom of the bounds; each band between two rows
// with crossings gives the rectangles between paired crossings whose corners (inset by 1)
// lie inside the path.
std::vector<platform::Rect> lineFragmentRectsForFixedLineheight(const platform::BezierPath& path, float lineHeight);
// The first stretch inside the path, at height R.y + f × R.height (f = 0 for a datum below
// −0.5, else min(datum, 0.5) + 0.5), that starts at or right of R.x: as wide as the stretch,
// as high as R. `remaining` receives R moved to the stretch's right end (same width). Both
// are the zero rectangle when no stretch qualifies.
platform::Rect lineFragmentRectForProposedRect(const platform::BezierPath& path, const platform::Rect& proposed,
                                               platform::Rect* remaining, float datumOffset = 0);
